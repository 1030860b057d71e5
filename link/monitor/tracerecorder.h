#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "link/monitor/tracerecord.h"

class TapSubscription;
class TraceStore;
struct TapRecord;

// Fills a trace store from the link's frame tap on a thread of its own, so neither the link nor
// a busy viewer decides what the trace keeps. The tap's queue for the recorder is large; what
// it still loses (the recorder's thread starved for seconds) is counted, never hidden.
//
// Threads: start(), stop() and lost() on the owner's thread; the recorder's thread only takes
// from the subscription and appends to the store (both guarded by their own mutexes).
class TraceRecorder : public QObject {
    Q_OBJECT

public:
    // Room in the tap's queue: several seconds of a saturated line.
    static constexpr int kQueueCapacity = 1 << 17;
    // Records are taken in batches this often while the bus is busy, so a busy line costs a few
    // wake-ups a second instead of one per record; an idle bus is looked at a few times a second.
    static constexpr int kBusyMs = 20;
    static constexpr int kIdleMs = 250;

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
    void run(std::shared_ptr<TapSubscription> subscription);
    // Takes what waits and appends it; serialised, so batches reach the store in order.
    bool drain(TapSubscription* subscription);

    TraceStore* m_store;
    std::mutex m_drainMutex;
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;
    bool m_stopping = false;  // guarded by m_wakeMutex
    std::thread m_thread;
    std::shared_ptr<TapSubscription> m_subscription;  // owner's thread only
    quint64 m_lostBefore = 0;                         // owner's thread only
};
