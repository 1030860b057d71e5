#pragma once

#include <QByteArray>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "link/tap/taprecord.h"

class TapSubscription;

// One place that sees every record the link writes and receives, in order: frame records,
// AT lines, the safety writes of MotionGuard and bytes the receive path could not cut. The
// link publishes from the port's thread; an observer subscribes and gets its own bounded
// queue, which it drains on its own thread. Publishing costs one atomic load while nobody
// subscribes, and no more than a copy per subscriber otherwise: a slow observer loses records
// from its own queue (counted), never slows the link.
//
// Threads: publish() on the port's thread; subscribe()/unsubscribe() from any thread.
class FrameTap {
public:
    FrameTap();
    ~FrameTap();
    FrameTap(const FrameTap&) = delete;
    FrameTap& operator=(const FrameTap&) = delete;

    // The link's tap (created with the first call; lives as long as the process).
    static FrameTap& instance();

    // Monotonic microseconds, the clock of TapRecord::timeUs.
    static qint64 nowUs();
    // Add to a record's time for microseconds since the Unix epoch (fixed at start-up, so the
    // wall times of one trace never jump with the system clock).
    static qint64 epochOffsetUs();

    // A new observer with room for `capacity` records; it receives from now on.
    std::shared_ptr<TapSubscription> subscribe(int capacity = 65536);
    void unsubscribe(const std::shared_ptr<TapSubscription>& subscription);

    bool observed() const { return m_count.load(std::memory_order_relaxed) > 0; }

    // Called by the link for every record; cheap when nobody observes.
    void publishFrame(TapRecord::Direction direction, const CanFrame& frame, const QByteArray& raw);
    void publishText(TapRecord::Direction direction, const QByteArray& line);
    void publishGarbage(const QByteArray& bytes);
    void publish(TapRecord&& record);

private:
    std::atomic<int> m_count{0};
    std::mutex m_mutex;  // guards m_subscribers
    std::vector<std::shared_ptr<TapSubscription>> m_subscribers;
};
