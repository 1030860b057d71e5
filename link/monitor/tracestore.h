#pragma once

#include <QVector>

#include <mutex>
#include <vector>

#include "link/monitor/tracerecord.h"

// The bus trace: a bounded ring of records, each with a sequence number that keeps counting
// across wraps and clears. Written by the recorder's thread, read by the page, the exports and
// the CLI; one mutex with short critical sections (readers copy what they need).
class TraceStore {
public:
    static constexpr int kDefaultCapacity = 1000000;

    explicit TraceStore(int capacity = kDefaultCapacity);

    int capacity() const { return m_capacity; }
    // Empties the trace and keeps at most capacity records from now on.
    void setCapacity(int capacity);

    void append(const TraceRecord& record);
    void append(const QVector<TraceRecord>& records);
    // Forgets every record; sequence numbers go on.
    void clear();

    // Sequence numbers of the oldest record held and one past the newest.
    quint64 first() const;
    quint64 end() const;
    quint64 size() const;
    // Records that gave way to newer ones since the last clear.
    quint64 droppedFromStart() const;

    bool at(quint64 seq, TraceRecord* out) const;
    // The records [from, to) that are still held, oldest first; *firstTaken is the sequence
    // number of the first one returned.
    QVector<TraceRecord> range(quint64 from, quint64 to, quint64* firstTaken = nullptr) const;

private:
    void appendLocked(const TraceRecord& record);
    size_t slotOf(quint64 seq) const { return size_t((seq - m_base) % quint64(m_capacity)); }

    mutable std::mutex m_mutex;
    int m_capacity;
    std::vector<TraceRecord> m_ring;  // guarded by m_mutex; grows up to m_capacity
    quint64 m_first = 0;              // guarded by m_mutex
    quint64 m_end = 0;                // guarded by m_mutex
    quint64 m_clearedAt = 0;          // guarded by m_mutex: m_end at the last clear
    quint64 m_base = 0;               // guarded by m_mutex: the sequence number in slot 0
};
