#pragma once

#include "framework/log/flog.h"
#include "framework/log/qlog.h"

namespace kx {

// A log statement: the same line to the console and to the dated log file.
class QFLog {
public:
    QFLog(const QString& colour, const QString& tag, const QString& note, const QString& base,
          const QString& extension);

    QFLog& operator<<(const QString& text);
    QFLog& operator<<(const QVariant& value);
    QFLog& operator<<(const void* pointer);
    QFLog& operator<<(const char* text);
    QFLog& space();

    // Any other value Qt's debug stream can write (integers, QObject pointers, ...).
    template <typename T>
    QFLog& operator<<(const T& value) {
        m_qlog.write(value);
        m_flog.write(value);
        return *this;
    }

private:
    QLog m_qlog;
    FLog m_flog;  // declared last so that the file line is finished before the console line
};

// The four levels; each returns a statement on "./log/global" with the level's colour and tag.
QFLog logE();
QFLog logW();
QFLog logI();
QFLog logS();
// An error line for the dated file only, for errors the user is told about in another way.
FLog logFileE();

}  // namespace kx
