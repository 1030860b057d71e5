#pragma once

#include <QObject>

#include <atomic>
#include <memory>
#include <mutex>

#include "link/monitor/tracerecord.h"

class QThread;
class QTimer;
class TapSubscription;
class TraceStore;
struct TapRecord;

// Fills a trace store from the link's frame tap on a thread of its own, so neither the link nor
// a busy viewer decides what the trace keeps. The tap's queue for the recorder is large; what
// it still loses (the recorder's thread starved for seconds) is counted, never hidden.
class TraceRecorder : public QObject {
    Q_OBJECT

public:
    // Room in the tap's queue: several seconds of a saturated line.
    static constexpr int kQueueCapacity = 1 << 17;
    // Records are taken in batches at most this often, so a busy line costs a few wake-ups a
    // second instead of one per record.
    static constexpr int kBatchMs = 20;

    explicit TraceRecorder(TraceStore* store, QObject* parent = nullptr);
    ~TraceRecorder() override;

    bool isRecording() const { return m_subscription != nullptr; }
    void start();
    void stop();
    // Records the tap had to drop before the recorder took them.
    quint64 lost() const;

    // A tap record as the trace keeps it (wall time, frame or bytes).
    static TraceRecord fromTap(const TapRecord& record);

signals:
    // New records are in the store (emitted from the recorder's thread).
    void recorded();

private:
    // Takes what waits and appends it; serialised, so batches reach the store in order.
    void drain(TapSubscription* subscription);

    TraceStore* m_store;
    QThread* m_thread;
    QObject* m_worker;  // lives on m_thread; coalesces ready() into a few drains a second
    QTimer* m_timer;    // m_worker's child, on m_thread
    std::mutex m_drainMutex;
    std::shared_ptr<TapSubscription> m_subscription;  // owner's thread only
    std::atomic<quint64> m_lostBefore{0};             // lost by subscriptions that were stopped
};
