#pragma once

#include <QString>

class QWidget;

// What the detection dialog's driver link does on this platform. On Windows it installs the
// adapter's serial driver carried in the resources; on Linux the driver is part of the
// kernel, so it explains how to get permission to open the port instead.
class DriverHelp {
public:
    static void offer(QWidget* parent);
    // The Linux help text (exact commands for the dialout group and a udev rule) and its title.
    static QString linuxHelpText();
    static QString linuxHelpTitle();
    // The link the detection dialog shows: the driver installer on Windows, the help title on
    // Linux, where there is no driver to install.
    static QString linkText();
};
