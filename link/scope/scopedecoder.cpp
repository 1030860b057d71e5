#include "link/scope/scopedecoder.h"

#include "link/canprotocol.h"
#include "link/frames/scopeframes.h"
#include "link/scope/scopebatchqueue.h"
#include "link/scope/scopewavefile.h"

#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <cstring>

ScopeDecoder::ScopeDecoder() {
    configure(Setup());
}

void ScopeDecoder::configure(const Setup& setup) {
    m_setup = setup;
    if (m_setup.types.size() > 8)
        m_setup.types.resize(8);
    m_offsets.clear();
    int size = 2;
    for (int t : m_setup.types) {
        m_offsets << size;
        size += CanProtocol::valueTypeSize(t);
    }
    // At most 8 channels of at most 16 bytes: the buffer always holds a whole record. A record
    // of more than 16 frames cannot be numbered and never completes.
    m_recordSize = size;
    m_frameCount = ScopeFrames::framesPerRecord(m_recordSize);
    m_fullMask = (quint32(1) << m_frameCount) - 1;
    m_mask = 0;
    m_buffer.fill(0);
    m_values.fill(0);
    m_time = 0;
    m_lastStamp = 0;
    m_haveStamp = false;
    m_records = m_lost = m_incomplete = m_badFrames = 0;
    const int frequency = qMax(1, m_setup.frequency);
    m_ticksPerRecord = m_setup.periodUs > 0 ? 1e6 / (double(frequency) * m_setup.periodUs) : 0;
    m_decimation = qMax(frequency / 50, 1);
    m_pending = 0;
    newBatch();
}

void ScopeDecoder::setSinks(ScopeBatchQueue* batches, ScopeWaveFile* file) {
    m_queue = batches;
    m_file = file;
}

void ScopeDecoder::newBatch() {
    m_batch = std::make_shared<ScopeBatch>();
    m_batch->channels = m_setup.types.size();
    m_batch->generation = m_setup.generation;
    m_batch->times.reserve(m_decimation);
    m_batch->values.reserve(m_decimation * m_batch->channels);
}

bool ScopeDecoder::feed(int index, const quint8* data) {
    if (index < 0 || index >= m_frameCount) {
        ++m_badFrames;
        return false;
    }
    const quint32 bit = quint32(1) << index;
    if (m_mask & bit) {
        // A place filled twice: the record before lost a frame; this one begins a new record.
        ++m_incomplete;
        m_mask = 0;
    }
    m_mask |= bit;
    const int at = index * 8;
    std::memcpy(m_buffer.data() + at, data, size_t(qMin(8, int(m_buffer.size()) - at)));
    if (m_mask != m_fullMask)
        return false;
    m_mask = 0;
    decode();
    return true;
}

void ScopeDecoder::decode() {
    const quint16 stamp = qFromLittleEndian<quint16>(m_buffer.data());
    const quint16 ticks = quint16(stamp - m_lastStamp);
    m_time += double(ticks) * m_setup.periodUs / 1e6;
    if (m_haveStamp && m_ticksPerRecord > 0) {
        const double steps = std::round(ticks / m_ticksPerRecord);
        if (steps > 1)
            m_lost += quint64(steps) - 1;
    }
    m_lastStamp = stamp;
    m_haveStamp = true;
    ++m_records;

    const int channels = m_setup.types.size();
    for (int i = 0; i < channels; ++i)
        m_values[size_t(i)] = ScopeFrames::valueAt(m_setup.types[i], m_buffer.data() + m_offsets[i]);

    // The acquisition always hands its file over; a record is formatted only while it is open.
    if (m_file && m_file->isOpen()) {
        if (m_file->format() == ScopeWaveFile::Format::Csv)
            formatCsvLine(&m_line, m_time, m_setup.types, m_buffer.data() + 2);
        else
            formatLine(&m_line, m_time, m_setup.types, m_buffer.data() + 2);
        m_file->write(m_line);
    }
    if (m_queue) {
        m_batch->times.append(m_time);
        for (int i = 0; i < channels; ++i)
            m_batch->values.append(m_values[size_t(i)]);
        if (++m_pending >= m_decimation)
            flush();
    }
}

void ScopeDecoder::flush() {
    if (!m_queue || m_batch->records() == 0)
        return;
    m_queue->push(std::move(m_batch));
    m_pending = 0;
    newBatch();
}

void ScopeDecoder::formatLine(QByteArray* line, double time, const QVector<int>& types, const uchar* p) {
    char buf[400];  // "%16.8f" of the largest double takes 318 characters
    line->resize(0);
    line->append(buf, std::snprintf(buf, sizeof buf, "%14.6f", time));
    for (int t : types) {
        int n = 0;
        switch (t) {
            case 0:
                n = std::snprintf(buf, sizeof buf, "%4u", unsigned(p[0]));
                break;
            case 1:
                n = std::snprintf(buf, sizeof buf, "%5d", int(qint8(p[0])));
                break;
            case 2:
                n = std::snprintf(buf, sizeof buf, "%6u", unsigned(qFromLittleEndian<quint16>(p)));
                break;
            case 3:
                n = std::snprintf(buf, sizeof buf, "%7d", int(qFromLittleEndian<qint16>(p)));
                break;
            case 4:
                n = std::snprintf(buf, sizeof buf, "%10lu", (unsigned long)qFromLittleEndian<quint32>(p));
                break;
            case 5:
                n = std::snprintf(buf, sizeof buf, "%11ld", (long)qFromLittleEndian<qint32>(p));
                break;
            case 6:
                n = std::snprintf(buf, sizeof buf, "%12.6f", ScopeFrames::valueAt(6, p));
                break;
            case 7:
                n = std::snprintf(buf, sizeof buf, "%15llu",
                                  (unsigned long long)qFromLittleEndian<quint64>(p));
                break;
            case 8:
                n = std::snprintf(buf, sizeof buf, "%16lld", (long long)qFromLittleEndian<qint64>(p));
                break;
            case 9:
                n = std::snprintf(buf, sizeof buf, "%16.8f", ScopeFrames::valueAt(9, p));
                break;
            default:
                n = std::snprintf(buf, sizeof buf, "null");
                break;
        }
        // A huge double may not fit the buffer; the text is cut rather than overrun.
        line->append(buf, qBound(0, n, int(sizeof buf) - 1));
        p += CanProtocol::valueTypeSize(t);
    }
    line->append("\r\n", 2);
}

void ScopeDecoder::formatCsvLine(QByteArray* line, double time, const QVector<int>& types, const uchar* p) {
    char buf[400];
    line->resize(0);
    line->append(buf, std::snprintf(buf, sizeof buf, "%.6f", time));
    for (int t : types) {
        int n = 0;
        switch (t) {
            case 4:
                n = std::snprintf(buf, sizeof buf, ",%lu", (unsigned long)qFromLittleEndian<quint32>(p));
                break;
            case 5:
                n = std::snprintf(buf, sizeof buf, ",%ld", (long)qFromLittleEndian<qint32>(p));
                break;
            case 6:
                n = std::snprintf(buf, sizeof buf, ",%.9g", ScopeFrames::valueAt(6, p));
                break;
            case 7:
                n = std::snprintf(buf, sizeof buf, ",%llu",
                                  (unsigned long long)qFromLittleEndian<quint64>(p));
                break;
            case 8:
                n = std::snprintf(buf, sizeof buf, ",%lld", (long long)qFromLittleEndian<qint64>(p));
                break;
            case 9:
                n = std::snprintf(buf, sizeof buf, ",%.17g", ScopeFrames::valueAt(9, p));
                break;
            default:
                // The small integers are exact as doubles; other types have no value.
                n = t >= 0 && t <= 3 ? std::snprintf(buf, sizeof buf, ",%d", int(ScopeFrames::valueAt(t, p)))
                                     : std::snprintf(buf, sizeof buf, ",");
                break;
        }
        line->append(buf, qBound(0, n, int(sizeof buf) - 1));
        p += CanProtocol::valueTypeSize(t);
    }
    line->append("\r\n", 2);
}
