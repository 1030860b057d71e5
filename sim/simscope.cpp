#include "sim/simscope.h"

#include "link/canprotocol.h"
#include "link/frames/scopeframes.h"
#include "sim/simparamtable.h"
#include "link/frames/paramvalue.h"

#include <QtEndian>

SimScope::SimScope(const SimParamTable* table, std::function<void(qint64)> advance, QObject* parent)
    : QObject(parent), m_table(table), m_advance(std::move(advance)) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SimScope::onTick);
}

quint32 SimScope::sampleTickUs() const {
    // Fine ticks for the usual rates; slow rates need coarser ones so that the 16-bit stamp
    // does not wrap between two samples.
    return m_rate >= 20 ? 10 : 1000;
}

void SimScope::handle(const CanFrame& req, quint8 canId) {
    m_canId = canId;
    const ScopeFrames::Header h = ScopeFrames::header(req);
    switch (h.sub) {
        case ScopeFrames::Rate: {
            const int rate = qFromLittleEndian<quint16>(&req.data[0]);
            const bool ok = rate >= 1 && rate <= kMaxRate;
            if (ok)
                m_rate = rate;
            ScopeFrames::RateReply r;
            r.periodUs = sampleTickUs();
            r.word1 = quint16(m_rate);
            r.word2 = qFromLittleEndian<quint16>(&req.data[2]);
            emit frameOut(ScopeFrames::makeRateReply(m_canId, ok ? 0 : 1, r));
            break;
        }
        case ScopeFrames::Channels: {
            const int frameIndex = h.code;
            const int count = h.index + 1;
            int error = 0;
            if (frameIndex == 0) {
                m_codes.clear();
                m_types.clear();
                m_expectedCount = count;
            }
            if (count > kMaxChannels)
                error = 2;
            else if (frameIndex != m_codes.size() / 4 || count != m_expectedCount)
                error = 3;
            for (int i = 0; i < 4 && !error && m_codes.size() < count; ++i) {
                const quint16 code = qFromLittleEndian<quint16>(&req.data[size_t(2 * i)]);
                const SimParamTable::Entry* e = m_table->entry(code);
                if (!e || e->type > 9) {
                    error = 1;
                    break;
                }
                m_codes << code;
                m_types << e->type;
            }
            if (error) {
                m_codes.clear();
                m_types.clear();
            }
            emit frameOut(ScopeFrames::makeChannelReply(m_canId, error, m_types));
            break;
        }
        case ScopeFrames::Sample:
            if (!m_timer.isActive()) {
                m_startUs = m_clock ? m_clock->nsecsElapsed() / 1000 : 0;
                m_produced = 0;
                // Wake often enough for smooth output, rarely enough to stay cheap.
                m_timer.start(qBound(2, 1000 / m_rate, 20));
            }
            break;
        case ScopeFrames::Stop:
            m_timer.stop();
            emit frameOut(ScopeFrames::makeStopReply(m_canId));
            break;
    }
}

void SimScope::onTick() {
    if (!m_clock)
        return;
    const qint64 nowUs = m_clock->nsecsElapsed() / 1000;
    qint64 due = (nowUs - m_startUs) * m_rate / 1000000 + 1;
    // After a stall (a loaded machine, a debugger) skip ahead instead of bursting a backlog.
    if (due - m_produced > m_rate / 4 + 8) {
        m_skipped += due - 1 - m_produced;
        m_produced = due - 1;
    }
    while (m_produced < due) {
        sendRecord(m_startUs + m_produced * 1000000 / m_rate);
        ++m_produced;
    }
}

void SimScope::sendRecord(qint64 sampleUs) {
    if (m_advance)
        m_advance(sampleUs / 1000);
    QByteArray record(2, '\0');
    qToLittleEndian(quint16((sampleUs / sampleTickUs()) & 0xFFFF), record.data());
    for (int i = 0; i < m_codes.size(); ++i) {
        const QByteArray raw = ParamValue::toRaw(m_types[i], m_table->value(m_codes[i]));
        record.append(raw.left(CanProtocol::valueTypeSize(m_types[i])));
    }
    for (const CanFrame& f : ScopeFrames::sampleFrames(m_canId, record))
        emit frameOut(f);
}
