#include "link/tap/frametap.h"

#include "link/tap/tapsubscription.h"

#include <QDateTime>

#include <algorithm>
#include <chrono>

namespace {

qint64 steadyUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

FrameTap::FrameTap() {
    qRegisterMetaType<TapRecord>("TapRecord");
}

FrameTap::~FrameTap() = default;

FrameTap& FrameTap::instance() {
    static FrameTap tap;
    return tap;
}

qint64 FrameTap::nowUs() {
    return steadyUs();
}

qint64 FrameTap::epochOffsetUs() {
    static const qint64 offset = QDateTime::currentMSecsSinceEpoch() * 1000 - steadyUs();
    return offset;
}

std::shared_ptr<TapSubscription> FrameTap::subscribe(int capacity) {
    epochOffsetUs();  // fixed before the first record is stamped
    auto subscription = std::make_shared<TapSubscription>(qMax(1, capacity));
    std::lock_guard<std::mutex> lock(m_mutex);
    m_subscribers.push_back(subscription);
    m_count.store(int(m_subscribers.size()), std::memory_order_relaxed);
    return subscription;
}

void FrameTap::unsubscribe(const std::shared_ptr<TapSubscription>& subscription) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_subscribers.erase(std::remove(m_subscribers.begin(), m_subscribers.end(), subscription),
                        m_subscribers.end());
    m_count.store(int(m_subscribers.size()), std::memory_order_relaxed);
}

void FrameTap::publishFrame(TapRecord::Direction direction, const CanFrame& frame, const QByteArray& raw) {
    if (!observed())
        return;
    TapRecord record;
    record.timeUs = steadyUs();
    record.direction = direction;
    record.kind = TapRecord::Kind::Frame;
    record.frame = frame;
    record.raw = raw;
    publish(std::move(record));
}

void FrameTap::publishText(TapRecord::Direction direction, const QByteArray& line) {
    if (!observed())
        return;
    TapRecord record;
    record.timeUs = steadyUs();
    record.direction = direction;
    record.kind = TapRecord::Kind::Text;
    record.raw = line;
    publish(std::move(record));
}

void FrameTap::publishGarbage(const QByteArray& bytes) {
    if (!observed() || bytes.isEmpty())
        return;
    TapRecord record;
    record.timeUs = steadyUs();
    record.direction = TapRecord::Direction::Rx;
    record.kind = TapRecord::Kind::Garbage;
    record.raw = bytes;
    publish(std::move(record));
}

void FrameTap::publish(TapRecord&& record) {
    if (!observed())
        return;
    if (record.timeUs == 0)
        record.timeUs = steadyUs();
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& subscriber : m_subscribers)
        subscriber->push(record);
}
