#pragma once

#include <QMap>
#include <QStringList>

#include <array>

#include "link/monitor/tracerecord.h"

// Per-CAN-ID counters of a trace, the way bus analysers count per identifier: records per
// communication type, the rate, the spacing of feedback frames, the last fault word and the
// records that could not be decoded. Records that concern no motor (AT lines, skipped bytes)
// count under -1.
struct IdStatistics {
    int canId = -1;
    quint64 records = 0;
    quint64 received = 0;               // records that came from the bus or the adapter
    std::array<quint64, 32> perType{};  // frames per communication type
    quint64 text = 0;                   // AT lines
    quint64 failed = 0;                 // records that could not be decoded
    qint64 firstUs = 0;
    qint64 lastUs = 0;
    quint64 feedback = 0;
    qint64 lastFeedbackUs = 0;
    qint64 minIntervalUs = 0;  // between consecutive feedback frames
    qint64 maxIntervalUs = 0;
    double sumIntervalUs = 0;
    quint64 intervals = 0;
    bool faultSeen = false;
    quint32 lastFault = 0;
    quint32 lastWarning = 0;

    // Records per second between the first and the last one; 0 until they are a second apart.
    double rate() const;
    double meanIntervalUs() const { return intervals ? sumIntervalUs / double(intervals) : 0; }
    // "MOTOR_FEEDBACK 1200, FAULT_WARN 3"
    QString typeCounts() const;
};

class TraceStatistics {
public:
    void add(const TraceRecord& record);
    void clear() { m_ids.clear(); }
    bool isEmpty() const { return m_ids.isEmpty(); }
    // Ordered by CAN ID (-1 first).
    QVector<IdStatistics> rows() const { return m_ids.values().toVector(); }
    // A plain-text table for a terminal, one line per CAN ID with a header; CAN IDs the host
    // only addressed (a scan's silent probes) are summed up in one line.
    QStringList table() const;

private:
    QMap<int, IdStatistics> m_ids;
};
