#include "framework/log/flog.h"

#include "framework/log/logclock.h"

#include <QDir>
#include <QFileInfo>

namespace kx {

FLog::FLog(const QString& tag, const QString& note, const QString& base, const QString& extension)
    : m_stream(&m_text) {
    m_stream.nospace().noquote();
    setFileName(fileName(base, extension));
    const QFileInfo info(QFile::fileName());
    const QDir dir = info.absoluteDir();
    if (!dir.exists())
        QDir().mkpath(dir.absolutePath());
    if (!open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    m_stream << tag;
    if (!note.isEmpty())
        m_stream << note;
}

FLog::~FLog() {
    if (!isOpen())
        return;
    if (m_spaced && m_text.endsWith(QLatin1Char(' ')))
        m_text.chop(1);
    m_text += QLatin1Char('\n');
    QFile::write(m_text.toLocal8Bit());
    flush();
    close();
}

FLog& FLog::operator<<(const QString& text) {
    return write(text);
}

FLog& FLog::operator<<(const QVariant& value) {
    return write(value.toString());
}

FLog& FLog::operator<<(const void* pointer) {
    return write(pointer);
}

FLog& FLog::space() {
    m_spaced = true;
    m_stream.setAutoInsertSpaces(true);
    return *this;
}

QString FLog::fileName(const QString& base, const QString& extension) {
    return QStringLiteral("%1_%2.%3").arg(base, LogClock::format(QStringLiteral("yyyyMMdd")), extension);
}

}  // namespace kx
