#include "link/monitor/tracerecorder.h"

#include "link/monitor/tracestore.h"
#include "link/tap/frametap.h"
#include "link/tap/tapsubscription.h"

#include <QThread>
#include <QTimer>

TraceRecorder::TraceRecorder(TraceStore* store, QObject* parent)
    : QObject(parent), m_store(store), m_thread(new QThread), m_worker(new QObject) {
    m_thread->setObjectName(QStringLiteral("trace recorder"));
    m_timer = new QTimer(m_worker);
    m_timer->setSingleShot(true);
    m_timer->setInterval(kBatchMs);
    m_worker->moveToThread(m_thread);
    m_thread->start();
}

TraceRecorder::~TraceRecorder() {
    stop();
    m_thread->quit();
    m_thread->wait();
    delete m_worker;
    delete m_thread;
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
    // ready() is queued to the subscription's thread: the recorder's own.
    m_subscription->moveToThread(m_thread);
    TapSubscription* subscription = m_subscription.get();
    connect(subscription, &TapSubscription::ready, m_worker, [this] {
        if (!m_timer->isActive())
            m_timer->start();
    });
    // The drain holds the subscription, so stop() may drop it meanwhile.
    connect(m_timer, &QTimer::timeout, subscription,
            [this, weak = std::weak_ptr<TapSubscription>(m_subscription)] {
                if (const auto held = weak.lock())
                    drain(held.get());
            });
}

void TraceRecorder::stop() {
    if (!m_subscription)
        return;
    FrameTap::instance().unsubscribe(m_subscription);
    // The subscription's connections die with it; a drain running now finishes first.
    m_subscription->disconnect(m_worker);
    m_timer->disconnect(m_subscription.get());
    // What waited in the queue still belongs to the trace.
    drain(m_subscription.get());
    m_lostBefore += m_subscription->dropped();
    {
        std::lock_guard<std::mutex> lock(m_drainMutex);
        m_subscription.reset();
    }
}

quint64 TraceRecorder::lost() const {
    return m_lostBefore + (m_subscription ? m_subscription->dropped() : 0);
}

void TraceRecorder::drain(TapSubscription* subscription) {
    std::lock_guard<std::mutex> lock(m_drainMutex);
    const QVector<TapRecord> batch = subscription->take();
    if (batch.isEmpty())
        return;
    QVector<TraceRecord> records;
    records.reserve(batch.size());
    for (const TapRecord& r : batch)
        records.append(fromTap(r));
    m_store->append(records);
    emit recorded();
}
