#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVector>

#include <functional>

#include "link/canframe.h"

class SimParamTable;

// The motor's sampler: takes the rate and up to eight entry codes (type 10 frames, sub-codes 0
// and 1), streams sample records on start (sub-code 2) and stops on request (sub-code 3). A
// record is a 16-bit time stamp in ticks of sampleTickUs() followed by the channels' values in
// their own types, cut into 8-byte frames numbered in identifier bits 23-20.
class SimScope : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxChannels = 8;
    static constexpr int kMaxRate = 10000;

    // `advance` brings the motor model to a sample's time (ms since the bench started).
    SimScope(const SimParamTable* table, std::function<void(qint64)> advance, QObject* parent = nullptr);

    // Handles one type-10 request; replies go out through frameOut.
    void handle(const CanFrame& request, quint8 canId);
    void setCanId(quint8 canId) { m_canId = canId; }
    bool running() const { return m_timer.isActive(); }
    int rate() const { return m_rate; }
    quint32 sampleTickUs() const;
    // Samples never sent because the bench fell too far behind (a stall, a debugger).
    qint64 skipped() const { return m_skipped; }
    // Bench time in ms; shared with the motor model.
    void setClock(const QElapsedTimer* clock) { m_clock = clock; }

signals:
    void frameOut(const CanFrame& frame);

private:
    void onTick();
    void sendRecord(qint64 sampleUs);

    const SimParamTable* m_table;
    std::function<void(qint64)> m_advance;
    const QElapsedTimer* m_clock = nullptr;
    quint8 m_canId = 1;
    int m_rate = 100;
    QVector<quint16> m_codes;  // confirmed channels
    QVector<int> m_types;
    int m_expectedCount = 0;
    QTimer m_timer;
    qint64 m_startUs = 0;
    qint64 m_produced = 0;
    qint64 m_skipped = 0;
};
