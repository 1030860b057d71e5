#include "sim/simreplay.h"

#include "sim/simadapter.h"

SimReplay::SimReplay(SimAdapter* adapter, QVector<TraceRecord> records, bool fast, QObject* parent)
    : QObject(parent), m_adapter(adapter), m_records(std::move(records)), m_fast(fast) {
    m_clock.start();
    m_timer.setSingleShot(true);
    // Recorded spacings are often a millisecond or less: a coarse timer would stretch them.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SimReplay::play);
    connect(adapter, &SimAdapter::hostFrame, this, &SimReplay::onHostFrame);
}

void SimReplay::onHostFrame(const CanFrame& frame) {
    m_waiting.emplace_back(m_clock.nsecsElapsed(), frame);
    if (!m_timer.isActive())
        play();
}

int SimReplay::cueFor(const CanFrame& frame) const {
    int cues = 0;
    for (int i = m_next; i < m_records.size() && cues < kLookAhead; ++i) {
        const TraceRecord& r = m_records[i];
        if (!r.isTx())
            continue;
        ++cues;
        if (r.frame.type() == frame.type() && r.frame.destination() == frame.destination())
            return i;
    }
    return -1;
}

void SimReplay::play() {
    while (m_next < m_records.size()) {
        const TraceRecord& r = m_records[m_next];
        if (r.isTx()) {
            // A cue: wait for the host.
            if (m_waiting.empty())
                return;
            const auto [arrivalNs, frame] = m_waiting.front();
            m_waiting.pop_front();
            const int cue = cueFor(frame);
            if (cue < 0) {
                ++m_counters.unmatched;
                continue;
            }
            // Motor frames between here and the cue still go out, in order, at once.
            for (; m_next < cue; ++m_next) {
                if (!m_records[m_next].isTx()) {
                    m_adapter->transmit(m_records[m_next].frame);
                    ++m_counters.sent;
                }
            }
            ++m_counters.matched;
            m_anchored = true;
            m_anchorNs = arrivalNs;
            m_anchorTraceUs = m_records[cue].timeUs;
            ++m_next;
            continue;
        }
        if (!m_fast && m_anchored) {
            const qint64 dueNs = m_anchorNs + (r.timeUs - m_anchorTraceUs) * 1000;
            const qint64 now = m_clock.nsecsElapsed();
            if (dueNs > now) {
                m_timer.start(int((dueNs - now + 999999) / 1000000));
                return;
            }
        }
        m_adapter->transmit(r.frame);
        ++m_counters.sent;
        ++m_next;
    }
    m_waiting.clear();
    if (!m_doneSent) {
        m_doneSent = true;
        emit done();
    }
}
