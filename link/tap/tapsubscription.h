#pragma once

#include <QObject>
#include <QVector>

#include <atomic>
#include <deque>
#include <mutex>

#include "link/tap/taprecord.h"

// An observer's queue of the frame tap: bounded, filled on the port's thread, drained by the
// observer on its own thread. When it is full the oldest records give way and are counted.
// `ready` is emitted (queued to the subscription's thread) when records start waiting in an
// empty queue; an observer that drains on a timer of its own may ignore it.
class TapSubscription : public QObject {
    Q_OBJECT

public:
    explicit TapSubscription(int capacity);

    // Everything waiting, oldest first.
    QVector<TapRecord> take();
    // Records lost because the queue was full, since the subscription began.
    quint64 dropped() const { return m_dropped.load(std::memory_order_relaxed); }
    int capacity() const { return m_capacity; }

    // The tap's side.
    void push(const TapRecord& record);

signals:
    void ready();

private:
    const int m_capacity;
    std::mutex m_mutex;             // guards m_queue and m_signalled
    std::deque<TapRecord> m_queue;  // guarded by m_mutex
    bool m_signalled = false;       // guarded by m_mutex: a ready() is on its way
    std::atomic<quint64> m_dropped{0};
};
