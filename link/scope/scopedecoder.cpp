#include "link/scope/scopedecoder.h"

#include "link/canprotocol.h"
#include "link/frames/scopeframes.h"
#include "link/scope/scopebatchqueue.h"
#include "link/scope/scopewavefile.h"

#include <QtEndian>

#include <algorithm>
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
    m_lastStamp = m_prevStamp = m_suspect = 0;
    m_lastTime = m_prevTime = m_suspectTime = 0;
    m_lastGap = 0;
    m_haveStamp = m_havePrev = false;
    m_damagedSince = 0;
    m_records = m_lost = m_damaged = m_incomplete = m_badFrames = 0;
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

namespace {

// A gap of more records than this in one go is not believed from one stamp alone.
constexpr int kLongestGap = 100;

int ticksBetween(quint16 from, quint16 to) {
    return int(qint16(quint16(to - from)));
}

}  // namespace

bool ScopeDecoder::plausible(int ticks) const {
    // Several records may share a coarse tick; otherwise time must move on.
    const int least = m_ticksPerRecord < 1 ? 0 : 1;
    const double most = std::min(32767.0, std::max(2.0, m_ticksPerRecord) * kLongestGap);
    return ticks >= least && ticks <= most;
}

void ScopeDecoder::accept(quint16 stamp, int ticks, quint16 fromStamp, double fromTime, int between) {
    const double steps = std::round(ticks / m_ticksPerRecord);
    const quint64 gap = steps - 1 - between > 0 ? quint64(steps - 1 - between) : 0;
    m_lost += gap;
    m_prevStamp = fromStamp;
    m_prevTime = fromTime;
    m_havePrev = true;
    m_time = fromTime + double(ticks) * m_setup.periodUs / 1e6;
    m_lastStamp = stamp;
    m_lastTime = m_time;
    m_lastGap = gap;
    m_damagedSince = 0;
}

void ScopeDecoder::placeStamp(quint16 stamp) {
    if (!m_haveStamp || m_ticksPerRecord <= 0) {
        // The first record, or no tick length to judge by: the stamps are taken as they come.
        const quint16 ticks = quint16(stamp - m_lastStamp);
        m_time += double(ticks) * m_setup.periodUs / 1e6;
        m_lastStamp = stamp;
        m_lastTime = m_time;
        m_haveStamp = true;
        return;
    }
    const int ticks = ticksBetween(m_lastStamp, stamp);
    if (plausible(ticks)) {
        accept(stamp, ticks, m_lastStamp, m_lastTime, m_damagedSince);
        return;
    }
    // Backwards from a stamp that had opened a gap, but in step with the one before it: the
    // gap was that stamp's damage.
    if (m_havePrev && m_lastGap > 0 && m_damagedSince == 0 && plausible(ticksBetween(m_prevStamp, stamp))) {
        m_lost -= m_lastGap;
        ++m_damaged;
        accept(stamp, ticksBetween(m_prevStamp, stamp), m_prevStamp, m_prevTime, 1);
        return;
    }
    // In step with the damaged one before it: the time line really jumped there.
    if (m_damagedSince > 0 && plausible(ticksBetween(m_suspect, stamp))) {
        --m_damaged;
        accept(stamp, ticksBetween(m_suspect, stamp), m_suspect, m_suspectTime, 0);
        return;
    }
    ++m_damaged;
    ++m_damagedSince;
    m_suspect = stamp;
    m_time = m_lastTime + double(m_damagedSince) * m_ticksPerRecord * m_setup.periodUs / 1e6;
    m_suspectTime = m_time;
}

void ScopeDecoder::decode() {
    placeStamp(qFromLittleEndian<quint16>(m_buffer.data()));
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
