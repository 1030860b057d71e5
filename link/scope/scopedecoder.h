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
    quint16 m_lastStamp = 0;
    bool m_haveStamp = false;
    quint64 m_records = 0;
    quint64 m_lost = 0;
    quint64 m_incomplete = 0;
    quint64 m_badFrames = 0;
    int m_decimation = 1;
    int m_pending = 0;
    std::shared_ptr<ScopeBatch> m_batch;
    QByteArray m_line;
    ScopeBatchQueue* m_queue = nullptr;
    ScopeWaveFile* m_file = nullptr;
};
