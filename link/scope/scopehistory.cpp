#include "link/scope/scopehistory.h"

#include <algorithm>

void ScopeHistory::reset(int capacity, int channels) {
    m_capacity = qMax(1, capacity);
    m_channels = qBound(0, channels, kChannels);
    m_times.fill(0, m_capacity);
    m_values.fill(0, m_capacity * kChannels);
    m_head = 0;
    m_size = 0;
}

void ScopeHistory::append(double time, const double* values) {
    if (m_capacity == 0)
        reset(1, m_channels);
    int s;
    if (m_size < m_capacity) {
        s = slot(m_size);
        ++m_size;
    } else {
        // Full: the new record takes the oldest one's slot.
        s = m_head;
        m_head = m_head + 1 == m_capacity ? 0 : m_head + 1;
    }
    m_times[s] = time;
    std::copy(values, values + m_channels, m_values.begin() + s * kChannels);
}

int ScopeHistory::indexAt(double t) const {
    if (m_size == 0)
        return -1;
    int lo = 0, hi = m_size - 1;
    if (t <= time(0))
        return 0;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (time(mid) <= t)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}
