#pragma once

#include <QByteArray>
#include <QVector>

#include <array>
#include <memory>

#include "link/scope/scopebatch.h"

class ScopeBatchQueue;
class ScopeWaveFile;

// Turns the numbered sample frames of the motor's stream back into records and decodes them:
// time from the 16-bit time stamps, lost records from gaps between stamps, one value per
// channel, the waveform line and the display batches. Used by the receive path only.
//
// Records carry no checksum, so a time stamp may arrive damaged. One that runs backwards or
// jumps implausibly far is counted as damaged, not as a gap: its record gets the next time on
// the grid and the stamps after it are measured from the last good one. A stamp damaged
// forward within reach looks like a gap until the next record runs backwards from it; then
// its gap is taken back. Two records in a row that agree on a new time line were a real jump.
class ScopeDecoder {
public:
    struct Setup {
        QVector<int> types;      // confirmed value type per active channel
        quint32 periodUs = 0;    // microseconds per time-stamp tick
        int frequency = 1;       // records per second the motor was asked for
        quint64 generation = 0;  // tags the batches of this configuration
    };

    ScopeDecoder();

    // Starts afresh: time 0, no partial record, counters cleared. Display batches hold
    // max(frequency / 50, 1) records.
    void configure(const Setup& setup);
    // Where finished batches and waveform lines go; either may be null.
    void setSinks(ScopeBatchQueue* batches, ScopeWaveFile* file);

    // One sample frame: `index` is its place in the record, data its 8 bytes. Returns true when
    // it completed a record (which is then decoded). Frames with an index past the record are
    // counted as bad and otherwise ignored.
    bool feed(int index, const quint8* data);
    // Hands over the records decoded since the last batch (at the end of a stream).
    void flush();

    int recordSize() const { return m_recordSize; }
    int decimation() const { return m_decimation; }
    quint64 records() const { return m_records; }
    quint64 lost() const { return m_lost; }
    // Records whose time stamp arrived damaged (not lost: their values arrived).
    quint64 damaged() const { return m_damaged; }
    quint64 incomplete() const { return m_incomplete; }
    quint64 badFrames() const { return m_badFrames; }
    double time() const { return m_time; }
    // The values of the last decoded record.
    const std::array<double, 8>& lastValues() const { return m_values; }

    // The waveform line of one record: time "%14.6f", then each value in its type's field,
    // no separators, CR LF. Integers are printed from their raw bytes so 64-bit values keep
    // every digit.
    static void formatLine(QByteArray* line, double time, const QVector<int>& types, const uchar* values);
    // The same record as a CSV row: time and values separated by commas, shortest exact
    // forms, CR LF.
    static void formatCsvLine(QByteArray* line, double time, const QVector<int>& types, const uchar* values);

private:
    void decode();
    void newBatch();
    // Places the record's stamp on the time line, counting gaps and damage; sets m_time.
    void placeStamp(quint16 stamp);
    // Whether a stamp this many ticks after the reference can follow it.
    bool plausible(int ticks) const;
    // Takes a stamp ticks after the reference (stamp, time), with `between` damaged records
    // between the two.
    void accept(quint16 stamp, int ticks, quint16 fromStamp, double fromTime, int between);

    Setup m_setup;
    int m_recordSize = 2;
    int m_frameCount = 1;
    quint32 m_fullMask = 1;
    quint32 m_mask = 0;
    std::array<uchar, 256> m_buffer{};
    std::array<double, 8> m_values{};
    QVector<int> m_offsets;
    double m_time = 0;
    double m_ticksPerRecord = 0;
    // The time line: the last good stamp and the one before it, with the gap each added.
    quint16 m_lastStamp = 0;
    double m_lastTime = 0;
    quint64 m_lastGap = 0;
    bool m_haveStamp = false;
    quint16 m_prevStamp = 0;
    double m_prevTime = 0;
    bool m_havePrev = false;
    // Damaged stamps since the last good one; the latest of them, in case it was a real jump.
    int m_damagedSince = 0;
    quint16 m_suspect = 0;
    double m_suspectTime = 0;
    quint64 m_records = 0;
    quint64 m_lost = 0;
    quint64 m_damaged = 0;
    quint64 m_incomplete = 0;
    quint64 m_badFrames = 0;
    int m_decimation = 1;
    int m_pending = 0;
    std::shared_ptr<ScopeBatch> m_batch;
    QByteArray m_line;
    ScopeBatchQueue* m_queue = nullptr;
    ScopeWaveFile* m_file = nullptr;
};
