#pragma once

#include <functional>

namespace kx {
class DataObject;
}

// The link's wait-until: sleeps in an event loop that runs everything but user input (frames,
// statuses, timers) and re-tests its condition on every link status and every 20 ms. A wait
// "without limit" still ends when the adapter's port closes or the device record it watches
// is deleted, so an unplugged adapter never leaves a flow hanging.
class LinkWait {
public:
    enum class Result { Done, TimedOut, PortClosed, DeviceRemoved, Cancelled };

    struct Options {
        int timeoutMs = -1;  // -1: no limit
        // With a progress counter the time-out is the longest time without a change of it.
        std::function<unsigned long long()> progress;
        kx::DataObject* device = nullptr;  // ends the wait when this record is deleted
        // Called every 20 ms while waiting (a flow updates its display from here).
        std::function<void()> onTick;
        // Ends the wait with Result::Cancelled once it returns true (a cancelled flow, an
        // emergency stop).
        std::function<bool()> cancelled;
        // Lets user input through while waiting: a flow started from a page that keeps the
        // emergency stop reachable. Without it, input waits until the wait ends.
        bool allowInput = false;
    };

    static Result until(const std::function<bool()>& done, const Options& options);
    static Result until(const std::function<bool()>& done, int timeoutMs);
};
