#include "link/portaccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>

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

QString PortAccess::devicePath(const QString& port) {
    const QString resolved = QFileInfo(port).canonicalFilePath();
    return resolved.isEmpty() ? port : resolved;
}

qint64 PortAccess::lockHolder(const QString& devicePath) {
    // The serial port's lock file: "LCK.." and the device's name below /dev with "/" as "_",
    // in the first of the usual lock directories that holds it.
    QString name = devicePath.startsWith(QLatin1String("/dev/")) ? devicePath.mid(5) : devicePath;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QStringList directories = {QStringLiteral("/var/lock"),
                                     QStringLiteral("/etc/locks"),
                                     QStringLiteral("/var/spool/locks"),
                                     QStringLiteral("/var/spool/uucp"),
                                     QStringLiteral("/tmp"),
                                     QStringLiteral("/var/tmp"),
                                     QStringLiteral("/var/lock/lockdev"),
                                     QStringLiteral("/run/lock"),
                                     QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
    for (const QString& directory : directories) {
        const QString path = directory + QStringLiteral("/LCK..") + name;
        if (!QFileInfo::exists(path))
            continue;
        // The process number is the first line, in Qt's lock files and the classic ones.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const qint64 pid = file.readLine(64).trimmed().toLongLong();
        // A lock whose process is gone does not count: opening takes it over.
        if (pid > 0 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)))
            return pid;
    }
    return 0;
}

QString PortAccess::permissionHelp(const QString& port) {
    // Qt reports a port locked by another program as a permission error: the program is
    // named when its lock says which it is.
    if (const qint64 holder = lockHolder(devicePath(port)))
        return tr("%1 is in use by process %2.").arg(port).arg(holder);
    // Otherwise the same error may still stand for a port held by another program, so both
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

QString PortAccess::devicePath(const QString& port) {
    return port;
}

qint64 PortAccess::lockHolder(const QString& devicePath) {
    Q_UNUSED(devicePath);
    return 0;
}

#endif
