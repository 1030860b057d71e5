#include "framework/log/logclock.h"

#include <atomic>
#include <mutex>

namespace kx {

namespace {
std::atomic<LogClock::Source> g_source{nullptr};
std::mutex g_localTimeLock;
}  // namespace

QDateTime LogClock::now() {
    const Source source = g_source.load(std::memory_order_acquire);
    return source ? source() : QDateTime::currentDateTime();
}

QString LogClock::format(const QString& pattern) {
    std::lock_guard<std::mutex> guard(g_localTimeLock);
    return now().toString(pattern);
}

void LogClock::setSource(Source source) {
    g_source.store(source, std::memory_order_release);
}

}  // namespace kx
