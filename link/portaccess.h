#pragma once

#include <QString>

// What the user can do when the system refuses a serial port, by platform: on Linux the
// ports belong to the dialout group (or a udev rule opens them up); elsewhere there is no
// general remedy to offer and the text is empty. A port that another program holds is named
// with that program's process instead.
class PortAccess {
public:
    // The explanation with the exact commands; empty where the platform has none.
    static QString permissionHelp(const QString& port);
    // The commands alone, for help texts that explain the driver as well.
    static QString fixCommands();

    // The device a port name stands for, links followed (/dev/serial/by-id/... and a
    // simulator's link lead to /dev/ttyUSB0 or /dev/pts/3): the port is opened and locked
    // under this name, so two names of one adapter cannot open it twice. The name as given
    // where it leads nowhere (or on platforms without links).
    static QString devicePath(const QString& port);
    // The process holding the lock of that device, or 0 when none does.
    static qint64 lockHolder(const QString& devicePath);
};
