#pragma once

#include <QString>

// What the user can do when the system refuses a serial port, by platform: on Linux the
// ports belong to the dialout group (or a udev rule opens them up); elsewhere there is no
// general remedy to offer and the text is empty.
class PortAccess {
public:
    // The explanation with the exact commands; empty where the platform has none.
    static QString permissionHelp(const QString& port);
    // The commands alone, for help texts that explain the driver as well.
    static QString fixCommands();
};
