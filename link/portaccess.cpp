#include "link/portaccess.h"

#include <QCoreApplication>

namespace {
QString tr(const char* text) {
    return QCoreApplication::translate("PortAccess", text);
}
}  // namespace

#ifdef Q_OS_LINUX

QString PortAccess::fixCommands() {
    return tr(
        "Add your user to the dialout group, then log out and in again:\n"
        "    sudo usermod -aG dialout $USER\n"
        "or let every user open USB-CAN adapters with a udev rule:\n"
        "    echo 'SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523\", "
        "MODE=\"0666\"' | sudo tee /etc/udev/rules.d/99-usb-can.rules\n"
        "    sudo udevadm control --reload-rules && sudo udevadm trigger");
}

QString PortAccess::permissionHelp(const QString& port) {
    // The same error stands for a port held by another program (Qt's lock file), so both
    // causes are named.
    return tr("Permission denied opening %1: your user may not open serial ports (they belong to the "
              "dialout group), or another program is using the port.")
               .arg(port) +
           QLatin1String("\n") + fixCommands();
}

#else

QString PortAccess::fixCommands() {
    return QString();
}

QString PortAccess::permissionHelp(const QString& port) {
    Q_UNUSED(port);
    return QString();
}

#endif
