#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <QVector>

#include <deque>
#include <random>

#include "link/canframe.h"
#include "link/recordcutter.h"
#include "sim/simsettings.h"

class SimMotor;

// The USB-CAN adapter on a byte stream: a text face (AT commands answered with "OK") and a data
// face (frame records to and from the motors on its bus). It hears and answers only while the
// host's line rate equals its own, "AT+USART_PARAM=<baud>,..." changes its rate, and the faults
// of SimFaults are applied on the way in and out. Bytes for the host leave through bytesOut.
class SimAdapter : public QObject {
    Q_OBJECT

public:
    explicit SimAdapter(const SimSettings& settings, QObject* parent = nullptr);
    ~SimAdapter() override;

    // Bytes written by the host.
    void feed(const QByteArray& bytes);
    // The host's current line rate (0 = unknown, which counts as matching).
    void setHostRate(int rate) { m_hostRate = rate; }
    int hostRate() const { return m_hostRate; }
    int rate() const { return m_rate; }
    void setRate(int rate) { m_rate = rate; }
    bool hears() const { return m_hostRate <= 0 || m_hostRate == m_rate; }

    const SimFaults& faults() const { return m_faults; }
    void setFaults(const SimFaults& faults);
    const QVector<SimMotor*>& motors() const { return m_motors; }
    SimMotor* motorByCanId(int canId) const;

    // Loads the state file (if any) into the motors; a broken file is reported and ignored.
    bool loadState(QString* error);
    // Writes every motor's kept values to the state file atomically.
    bool saveState();
    // Log of every record in and out; empty path closes it.
    bool openLog(const QString& path);
    // Sends a frame to the host as a motor on the bus would (faults and log included).
    void transmit(const CanFrame& frame) { onMotorFrame(frame); }

    // Counters for the status command and the tests.
    struct Counters {
        qint64 framesIn = 0, framesOut = 0, textIn = 0, dropped = 0, corrupted = 0, unheard = 0;
    };
    const Counters& counters() const { return m_counters; }

signals:
    void bytesOut(const QByteArray& bytes);
    // Every frame the host put on the bus, after the faults on the way in.
    void hostFrame(const CanFrame& frame);

private:
    void onRecord(const QByteArray& record);
    void onText(const QByteArray& line);
    void onMotorFrame(const CanFrame& frame);
    void send(const QByteArray& bytes);
    void flushDelayed();
    void logLine(const char* direction, const QByteArray& record, const QString& note = QString());
    bool roll(double fraction);
    void corrupt(QByteArray* record);

    SimSettings m_settings;
    SimFaults m_faults;
    int m_rate;
    int m_hostRate = 0;
    RecordCutter m_cutter;
    QVector<SimMotor*> m_motors;
    std::mt19937 m_rng;
    QFile m_log;
    QElapsedTimer m_clock;
    Counters m_counters;
    // Records held back by the latency fault, oldest first, with their due time.
    std::deque<std::pair<qint64, QByteArray>> m_delayed;
    QTimer m_delayTimer;
};
