#pragma once

#include <QDateTime>
#include <QString>

namespace kx {

// The time source of log tags and of the dated log file name. Tests replace it to step over
// midnight without waiting for one; the program always uses the local wall clock.
class LogClock {
public:
    using Source = QDateTime (*)();

    static QDateTime now();
    // The current time in the given QDateTime format. Local-time conversions of statements on
    // different threads are serialised here: the C library's time zone state is shared.
    static QString format(const QString& pattern);
    // A null source restores the wall clock.
    static void setSource(Source source);
};

}  // namespace kx
