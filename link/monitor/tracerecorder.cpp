#include "link/monitor/tracerecorder.h"

#include "link/monitor/tracestore.h"
#include "link/tap/frametap.h"
#include "link/tap/tapsubscription.h"

#include <chrono>

TraceRecorder::TraceRecorder(TraceStore* store, QObject* parent) : QObject(parent), m_store(store) {}

TraceRecorder::~TraceRecorder() {
    stop();
}

TraceRecord TraceRecorder::fromTap(const TapRecord& in) {
    TraceRecord out;
    out.timeUs = in.timeUs + FrameTap::epochOffsetUs();
    out.direction =
        in.direction == TapRecord::Direction::Tx ? TraceRecord::Direction::Tx : TraceRecord::Direction::Rx;
    switch (in.kind) {
        case TapRecord::Kind::Frame:
            out.kind = TraceRecord::Kind::Frame;
            out.frame = in.frame;
            break;
        case TapRecord::Kind::Text:
            out.kind = TraceRecord::Kind::Text;
            out.bytes = in.raw;
            break;
        case TapRecord::Kind::Garbage:
            out.kind = TraceRecord::Kind::Garbage;
            out.bytes = in.raw;
            break;
    }
    return out;
}

void TraceRecorder::start() {
    if (m_subscription)
        return;
    m_subscription = FrameTap::instance().subscribe(kQueueCapacity);
    {
        std::lock_guard<std::mutex> lock(m_wakeMutex);
        m_stopping = false;
    }
    m_thread = std::thread([this, subscription = m_subscription] { run(subscription); });
}

void TraceRecorder::stop() {
    if (!m_subscription)
        return;
    FrameTap::instance().unsubscribe(m_subscription);
    {
        std::lock_guard<std::mutex> lock(m_wakeMutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
    // What waited in the queue still belongs to the trace.
    drain(m_subscription.get());
    m_lostBefore += m_subscription->dropped();
    m_subscription.reset();
}

quint64 TraceRecorder::lost() const {
    return m_lostBefore + (m_subscription ? m_subscription->dropped() : 0);
}

void TraceRecorder::run(std::shared_ptr<TapSubscription> subscription) {
    bool busy = false;
    std::unique_lock<std::mutex> lock(m_wakeMutex);
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(busy ? kBusyMs : kIdleMs),
                            [this] { return m_stopping; })) {
        lock.unlock();
        busy = drain(subscription.get());
        lock.lock();
    }
}

bool TraceRecorder::drain(TapSubscription* subscription) {
    std::lock_guard<std::mutex> lock(m_drainMutex);
    const QVector<TapRecord> batch = subscription->take();
    if (batch.isEmpty())
        return false;
    QVector<TraceRecord> records;
    records.reserve(batch.size());
    for (const TapRecord& r : batch)
        records.append(fromTap(r));
    m_store->append(records);
    emit recorded();
    return true;
}
