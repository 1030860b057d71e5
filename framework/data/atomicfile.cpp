#include "framework/data/atomicfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#endif

#include <cerrno>

namespace kx {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("AtomicFile", text);
}

enum class Kind { Missing, Regular, CharacterDevice, Directory, Other };

Kind kindOf(const QString& path) {
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    if (!info.exists())
        return Kind::Missing;
    return info.isDir() ? Kind::Directory : info.isFile() ? Kind::Regular : Kind::Other;
#else
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return Kind::Missing;
    if (S_ISREG(st.st_mode))
        return Kind::Regular;
    if (S_ISCHR(st.st_mode))
        return Kind::CharacterDevice;
    return S_ISDIR(st.st_mode) ? Kind::Directory : Kind::Other;
#endif
}

// Replaces to with from in one step, as rename(2) does; the reason in *error.
bool replaceFile(const QString& from, const QString& to, QString* error) {
#ifdef Q_OS_WIN
    const std::wstring source = QDir::toNativeSeparators(from).toStdWString();
    const std::wstring target = QDir::toNativeSeparators(to).toStdWString();
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    *error = tr("cannot replace %1 (error %2)").arg(to).arg(GetLastError());
    return false;
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
#endif
}

}  // namespace

AtomicFile::AtomicFile(const QString& path) : m_path(path), m_target(path) {}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::fail(const QString& reason) {
    // Qt leaves the reason of a failed buffered flush unknown; the system's is still in errno.
    const int error = errno;
    if (!m_error.isEmpty())
        return;
    const bool unknown = reason.isEmpty() || reason == QLatin1String("Unknown error");
    m_error = unknown && error != 0 ? qt_error_string(error) : unknown ? tr("unknown error") : reason;
}

bool AtomicFile::open() {
    discard();
    m_error.clear();
    if (m_path.isEmpty()) {
        fail(tr("no file name"));
        return false;
    }
    const QFileInfo link(m_path);
    m_target = link.isSymLink() ? link.symLinkTarget() : m_path;
    const Kind kind = kindOf(m_target);
    if (kind == Kind::Directory) {
        fail(tr("%1 is a directory").arg(m_path));
        return false;
    }
    if (kind == Kind::Other) {
        fail(tr("%1 is not a regular file").arg(m_path));
        return false;
    }
    if (kind == Kind::CharacterDevice) {
        m_direct = std::make_unique<QFile>(m_target);
        if (!m_direct->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            fail(m_direct->errorString());
            m_direct.reset();
            return false;
        }
        return true;
    }
    const QFileInfo existing(m_target);
    if (kind == Kind::Regular && !existing.isWritable()) {
        fail(tr("%1 is not writable").arg(m_path));
        return false;
    }
    m_temp = std::make_unique<QTemporaryFile>(m_target + QStringLiteral(".XXXXXX"));
    m_temp->setAutoRemove(true);
    if (!m_temp->open()) {
        fail(m_temp->errorString());
        m_temp.reset();
        return false;
    }
    // The new file gets the old one's permissions, or those a new file would get; a
    // temporary file starts readable by its owner alone.
    if (kind == Kind::Regular) {
        m_temp->setPermissions(existing.permissions());
    } else {
#ifndef Q_OS_WIN
        static const mode_t mask = [] {
            const mode_t m = ::umask(0022);
            ::umask(m);
            return m;
        }();
        ::fchmod(m_temp->handle(), 0666 & ~mask);
#endif
    }
    return true;
}

bool AtomicFile::isOpen() const {
    return m_temp || m_direct;
}

QIODevice* AtomicFile::device() const {
    if (m_temp)
        return m_temp.get();
    return m_direct.get();
}

bool AtomicFile::write(const QByteArray& data) {
    if (failed())
        return false;
    QIODevice* dev = device();
    if (!dev) {
        fail(tr("the file is not open"));
        return false;
    }
    errno = 0;
    if (dev->write(data) != data.size()) {
        fail(dev->errorString());
        return false;
    }
    return true;
}

bool AtomicFile::finishWriting() {
    QFileDevice* file = m_temp ? static_cast<QFileDevice*>(m_temp.get()) : m_direct.get();
    if (!file) {
        fail(tr("the file is not open"));
        return false;
    }
    // Buffered bytes fail only when they are flushed; a writer that streamed into the device
    // left its failures in the device's error.
    errno = 0;
    if (!failed() && (!file->flush() || file->error() != QFileDevice::NoError))
        fail(file->errorString());
#ifndef Q_OS_WIN
    if (!failed() && m_temp && ::fsync(m_temp->handle()) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
#endif
    return !failed();
}

bool AtomicFile::commit() {
    return commitAs(m_target);
}

bool AtomicFile::commitAs(const QString& path) {
    if (!finishWriting()) {
        discard();
        return false;
    }
    if (m_direct) {
        m_direct->close();
        if (m_direct->error() != QFileDevice::NoError)
            fail(m_direct->errorString());
        m_direct.reset();
        return !failed();
    }
    const QString temp = m_temp->fileName();
    m_temp->close();
    QString why;
    if (!replaceFile(temp, path, &why)) {
        fail(why);
        discard();
        return false;
    }
    m_temp->setAutoRemove(false);
    m_temp.reset();
    return true;
}

void AtomicFile::discard() {
    m_temp.reset();  // removes the temporary file
    m_direct.reset();
}

bool AtomicFile::writeAll(const QString& path, const QByteArray& data, QString* error) {
    AtomicFile file(path);
    const bool ok = file.open() && file.write(data) && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

}  // namespace kx
