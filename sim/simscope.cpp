#include "sim/simscope.h"

#include "link/canprotocol.h"
#include "sim/simparamtable.h"
#include "link/frames/paramvalue.h"

#include <QtEndian>

#include <cstring>

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

CanFrame SimScope::reply(int sub, int error, int frameIndex) const {
    CanFrame f;
    const quint8 high = quint8((frameIndex & 0xF) << 4 | (error & 3) << 2 | (sub & 3));
    f.id = CanFrame::makeId(CANCOM_PARA_UPDATE, quint16(high << 8 | m_canId), CanProtocol::kHostId);
    f.length = 8;
    return f;
}

void SimScope::handle(const CanFrame& req, quint8 canId) {
    m_canId = canId;
    const int high = (req.id >> 16) & 0xFF;
    const int sub = high & 3;
    switch (sub) {
        case 0: {
            const int rate = req.data[0] | req.data[1] << 8;
            const bool ok = rate >= 1 && rate <= kMaxRate;
            if (ok)
                m_rate = rate;
            CanFrame f = reply(0, ok ? 0 : 1);
            qToLittleEndian(sampleTickUs(), &f.data[0]);
            qToLittleEndian(quint16(m_rate), &f.data[4]);
            qToLittleEndian(quint16(req.data[2] | req.data[3] << 8), &f.data[6]);
            emit frameOut(f);
            break;
        }
        case 1: {
            const int frameIndex = (high >> 2) & 3;
            const int count = ((high >> 4) & 0xF) + 1;
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
                const quint16 code = quint16(req.data[size_t(2 * i)] | req.data[size_t(2 * i + 1)] << 8);
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
            CanFrame f = reply(1, error);
            for (int i = 0; i < m_types.size(); ++i)
                f.data[size_t(i / 2)] |= quint8((m_types[i] & 0xF) << (i % 2 ? 4 : 0));
            emit frameOut(f);
            break;
        }
        case 2:
            if (!m_timer.isActive()) {
                m_startUs = m_clock ? m_clock->nsecsElapsed() / 1000 : 0;
                m_produced = 0;
                // Wake often enough for smooth output, rarely enough to stay cheap.
                m_timer.start(qBound(2, 1000 / m_rate, 20));
            }
            break;
        case 3:
            m_timer.stop();
            emit frameOut(reply(3, 0));
            break;
    }
}

void SimScope::onTick() {
    if (!m_clock)
        return;
    const qint64 nowUs = m_clock->nsecsElapsed() / 1000;
    qint64 due = (nowUs - m_startUs) * m_rate / 1000000 + 1;
    // After a stall (a loaded machine, a debugger) skip ahead instead of bursting a backlog.
    if (due - m_produced > m_rate / 4 + 8)
        m_produced = due - 1;
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
    for (int at = 0, index = 0; at < record.size(); at += 8, ++index) {
        CanFrame f = reply(2, 0, index);
        std::memcpy(f.data.data(), record.constData() + at, size_t(qMin(8, record.size() - at)));
        emit frameOut(f);
    }
}
