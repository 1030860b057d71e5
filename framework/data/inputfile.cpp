#include "framework/data/inputfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace kx {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("InputFile", text);
}

}  // namespace

bool InputFile::check(const QString& path, QString* error) {
    const QFileInfo info(path);
    QString why;
    // A missing file is left to the open, which says so in the system's words.
    if (!info.exists())
        return true;
    if (info.isDir())
        why = tr("a directory, not a file");
    else if (!info.isFile())
        why = tr("not a regular file");
    if (why.isEmpty())
        return true;
    if (error)
        *error = why;
    return false;
}

bool InputFile::read(const QString& path, qint64 maxBytes, QByteArray* data, QString* error) {
    if (!check(path, error))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // One byte past the limit tells a file that is too large without reading it whole.
    const QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (bytes.size() > maxBytes) {
        if (error)
            *error = tr("larger than %1 bytes").arg(maxBytes);
        return false;
    }
    *data = bytes;
    return true;
}

}  // namespace kx
