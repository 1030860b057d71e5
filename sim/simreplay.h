#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVector>

#include <deque>

#include "link/monitor/tracerecord.h"

class SimAdapter;

// Plays the motors' side of a recorded trace instead of simulated motors: the host's frames in
// the trace are cues, and the motors' frames after each cue go out once the host has sent a
// matching frame (same type and destination), with their recorded spacing from the cue or as
// fast as the line allows. A host frame the trace does not expect next is matched against the
// next few cues (the trace's frames in between still go out, in order), else ignored.
class SimReplay : public QObject {
    Q_OBJECT

public:
    // How far ahead a host frame may find its cue.
    static constexpr int kLookAhead = 64;

    SimReplay(SimAdapter* adapter, QVector<TraceRecord> records, bool fast, QObject* parent = nullptr);

    struct Counters {
        qint64 sent = 0;       // motor frames sent to the host
        qint64 matched = 0;    // host frames that met their cue
        qint64 unmatched = 0;  // host frames the trace did not expect
    };
    const Counters& counters() const { return m_counters; }
    bool finished() const { return m_next >= m_records.size(); }

signals:
    void done();

private:
    void onHostFrame(const CanFrame& frame);
    void play();
    // The cue at or after m_next (within kLookAhead cues) that frame answers; -1 when none.
    int cueFor(const CanFrame& frame) const;

    SimAdapter* m_adapter;
    QVector<TraceRecord> m_records;
    bool m_fast;
    int m_next = 0;
    bool m_anchored = false;
    qint64 m_anchorNs = 0;                              // m_clock when the last cue was met
    qint64 m_anchorTraceUs = 0;                         // the cue's time in the trace
    std::deque<std::pair<qint64, CanFrame>> m_waiting;  // host frames not yet matched, with arrival
    QElapsedTimer m_clock;
    QTimer m_timer;
    Counters m_counters;
    bool m_doneSent = false;
};
