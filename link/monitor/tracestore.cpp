#include "link/monitor/tracestore.h"

TraceStore::TraceStore(int capacity) : m_capacity(qMax(1, capacity)) {}

void TraceStore::setCapacity(int capacity) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_capacity = qMax(1, capacity);
    std::vector<TraceRecord>().swap(m_ring);
    m_first = m_end;
    m_clearedAt = m_end;
    m_base = m_end;
}

void TraceStore::appendLocked(const TraceRecord& record) {
    const size_t slot = slotOf(m_end);
    // The ring grows until it wraps for the first time.
    if (m_ring.size() < size_t(m_capacity) && slot == m_ring.size())
        m_ring.push_back(record);
    else
        m_ring[slot] = record;
    ++m_end;
    if (m_end - m_first > quint64(m_capacity))
        m_first = m_end - quint64(m_capacity);
}

void TraceStore::append(const TraceRecord& record) {
    std::lock_guard<std::mutex> lock(m_mutex);
    appendLocked(record);
}

void TraceStore::append(const QVector<TraceRecord>& records) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const TraceRecord& r : records)
        appendLocked(r);
}

void TraceStore::clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_first = m_end;
    m_clearedAt = m_end;
}

quint64 TraceStore::first() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_first;
}

quint64 TraceStore::end() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_end;
}

quint64 TraceStore::size() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_end - m_first;
}

quint64 TraceStore::droppedFromStart() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_first - m_clearedAt;
}

bool TraceStore::at(quint64 seq, TraceRecord* out) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (seq < m_first || seq >= m_end)
        return false;
    *out = m_ring[slotOf(seq)];
    return true;
}

QVector<TraceRecord> TraceStore::range(quint64 from, quint64 to, quint64* firstTaken) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    from = qMax(from, m_first);
    to = qMin(to, m_end);
    if (firstTaken)
        *firstTaken = from;
    QVector<TraceRecord> out;
    if (to <= from)
        return out;
    out.reserve(int(to - from));
    for (quint64 seq = from; seq < to; ++seq)
        out.append(m_ring[slotOf(seq)]);
    return out;
}
