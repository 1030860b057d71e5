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
    // The process holding the serial lock of that path, or 0 when none does.
    static qint64 lockHolder(const QString& path);
    // The device's own lock is taken when it opens; a program that opened the port by
    // another name (a link) locked that name. This takes the lock of the name as given too,
    // while the port is open: false, with the holder's process, when another holds it.
    static bool lockAlias(const QString& port, qint64* holder);
    static void unlockAlias(const QString& port);
};
