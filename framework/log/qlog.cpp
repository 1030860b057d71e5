#include "framework/log/qlog.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kx {

namespace {

const char* const kReset = "\33[0m";

// Colour codes only where a terminal shows them: in a file or a pipe they are noise. Asked
// per line, as stderr may be redirected while the program runs.
bool consoleIsTerminal() {
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

}  // namespace

QLog::Line::Line() : stream(&text) {
    stream.nospace().noquote();
}

QLog::Line::~Line() {
    if (spaced && text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    if (coloured)
        text += QLatin1String(kReset);
    QMessageLogger().debug().noquote().nospace() << text;
}

QLog::QLog(const QString& colour, const QString& tag, const QString& note)
    : m_line(std::make_shared<Line>()) {
    m_line->coloured = consoleIsTerminal() && !colour.isEmpty();
    if (m_line->coloured)
        m_line->stream << colour;
    m_line->stream << tag;
    if (!note.isEmpty())
        m_line->stream << note;
}

QLog::QLog(const QLog& other) = default;
QLog& QLog::operator=(const QLog& other) = default;
QLog::~QLog() = default;

QLog& QLog::operator<<(const QString& text) {
    m_line->stream << text;
    return *this;
}

QLog& QLog::operator<<(const QVariant& value) {
    m_line->stream << value.toString();
    return *this;
}

QLog& QLog::operator<<(const void* pointer) {
    m_line->stream << pointer;
    return *this;
}

QLog& QLog::space() {
    m_line->spaced = true;
    m_line->stream.setAutoInsertSpaces(true);
    return *this;
}

}  // namespace kx
