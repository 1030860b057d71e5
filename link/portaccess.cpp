#include "link/portaccess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>

#include <memory>

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

namespace {

// Serial ports are locked with a file "LCK.." + the name below /dev with "/" as "_", in the
// first of the usual lock directories that can hold it.
QStringList lockDirectories() {
    return {QStringLiteral("/var/lock"),
            QStringLiteral("/etc/locks"),
            QStringLiteral("/var/spool/locks"),
            QStringLiteral("/var/spool/uucp"),
            QStringLiteral("/tmp"),
            QStringLiteral("/var/tmp"),
            QStringLiteral("/var/lock/lockdev"),
            QStringLiteral("/run/lock"),
            QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
}

QString lockFileName(const QString& path) {
    QString name = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("/LCK..") + name;
}

// Where the lock of path is, or would be made.
QString lockPathFor(const QString& path) {
    for (const QString& directory : lockDirectories()) {
        const QFileInfo info(directory);
        const QString file = directory + lockFileName(path);
        if (info.isReadable() && (QFileInfo::exists(file) || info.isWritable()))
            return file;
    }
    return QString();
}

// The locks this process holds on the names ports were given by (port's thread only).
QHash<QString, std::shared_ptr<QLockFile>>& aliasLocks() {
    static QHash<QString, std::shared_ptr<QLockFile>> locks;
    return locks;
}

}  // namespace

qint64 PortAccess::lockHolder(const QString& path) {
    for (const QString& directory : lockDirectories()) {
        const QString lock = directory + lockFileName(path);
        if (!QFileInfo::exists(lock))
            continue;
        // The process number is the first line, in Qt's lock files and the classic ones.
        QFile file(lock);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const qint64 pid = file.readLine(64).trimmed().toLongLong();
        // A lock whose process is gone does not count: opening takes it over.
        if (pid > 0 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)))
            return pid;
    }
    return 0;
}

bool PortAccess::lockAlias(const QString& port, qint64* holder) {
    if (holder)
        *holder = 0;
    if (devicePath(port) == port || aliasLocks().contains(port))
        return true;
    const QString path = lockPathFor(port);
    if (path.isEmpty())
        return true;  // nowhere to lock: the device's own lock still stands
    auto lock = std::make_shared<QLockFile>(path);
    if (!lock->tryLock(0)) {
        if (lock->error() == QLockFile::LockFailedError) {
            if (holder)
                *holder = lockHolder(port);
            return false;
        }
        return true;  // a lock directory we may not write to: as without one
    }
    aliasLocks().insert(port, lock);
    return true;
}

void PortAccess::unlockAlias(const QString& port) {
    aliasLocks().remove(port);
}

QString PortAccess::permissionHelp(const QString& port) {
    // Qt reports a port locked by another program as a permission error: the program is
    // named when its lock says which it is.
    qint64 holder = lockHolder(devicePath(port));
    if (!holder && devicePath(port) != port)
        holder = lockHolder(port);
    if (holder)
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

qint64 PortAccess::lockHolder(const QString& path) {
    Q_UNUSED(path);
    return 0;
}

bool PortAccess::lockAlias(const QString& port, qint64* holder) {
    Q_UNUSED(port);
    if (holder)
        *holder = 0;
    return true;
}

void PortAccess::unlockAlias(const QString& port) {
    Q_UNUSED(port);
}

#endif
