#pragma once

#include <deque>
#include <mutex>

#include "link/scope/scopebatch.h"

// Hand-over of finished batches from the receive path to the plot's frame timer. Guarded by
// one std::mutex held only to move shared pointers. Bounded: when nobody takes the batches,
// the oldest go once more records wait than the history keeps, since a consumer would drop
// them anyway.
class ScopeBatchQueue {
public:
    void setLimit(int records);
    void push(ScopeBatchPtr batch);
    std::deque<ScopeBatchPtr> takeAll();
    void clear();

private:
    std::mutex m_mutex;
    std::deque<ScopeBatchPtr> m_batches;  // guarded by m_mutex
    int m_records = 0;                    // guarded by m_mutex
    int m_limit = 1000;                   // guarded by m_mutex
};
