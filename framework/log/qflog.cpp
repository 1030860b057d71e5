#include "framework/log/qflog.h"

#include "framework/log/logclock.h"

namespace kx {

QFLog::QFLog(const QString& colour, const QString& tag, const QString& note, const QString& base,
             const QString& extension)
    : m_qlog(colour, tag, note), m_flog(tag, note, base, extension) {}

QFLog& QFLog::operator<<(const QString& text) {
    m_qlog << text;
    m_flog << text;
    return *this;
}

QFLog& QFLog::operator<<(const QVariant& value) {
    m_qlog << value;
    m_flog << value;
    return *this;
}

QFLog& QFLog::operator<<(const void* pointer) {
    m_qlog << pointer;
    m_flog << pointer;
    return *this;
}

QFLog& QFLog::operator<<(const char* text) {
    m_qlog.write(text);
    m_flog.write(text);
    return *this;
}

QFLog& QFLog::space() {
    m_qlog.space();
    m_flog.space();
    return *this;
}

namespace {

QFLog statement(const char* colour, const char* tagPattern) {
    const QString time = LogClock::format(QStringLiteral("MM/dd hh:mm:ss.zzz"));
    return QFLog(QLatin1String(colour), QLatin1String(tagPattern).arg(time), QString(),
                 QStringLiteral("./log/global"), QStringLiteral("log"));
}

}  // namespace

QFLog logE() {
    return statement("\33[31m", "[E|%1]");
}
QFLog logW() {
    return statement("\33[33m", "[W|%1]");
}
QFLog logI() {
    return statement("\33[36m", "[I|%1]");
}
QFLog logS() {
    return statement("\33[35m", "[S|%1]");
}
FLog logFileE() {
    return FLog(QStringLiteral("[E|%1]").arg(LogClock::format(QStringLiteral("MM/dd hh:mm:ss.zzz"))),
                QString(), QStringLiteral("./log/global"), QStringLiteral("log"));
}

}  // namespace kx
