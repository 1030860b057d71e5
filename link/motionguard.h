#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>

class CANWorker;

namespace kx {
class DataObject;
}

// The host's promise that it never leaves a motor running on its own: the motion sidebar
// registers every motor it switches on and every jog it starts, and when the port is about to
// close (Disconnect, a port error, the end of the program) the guard writes, while the port
// still takes writes, the jog stop to each jogging motor and reset mode to each motor it
// switched on. It also sends the emergency brake to many motors at once, without going
// through the step machine, which can only follow one request at a time.
//
// Lives on the port's (GUI) thread as a child of the worker; all members are used only there.
class MotionGuard : public QObject {
    Q_OBJECT

public:
    // The guard of worker, created on first use.
    static MotionGuard* of(CANWorker* worker);

    // A motor switched on (into motor mode) by the host; reset mode will follow on close.
    void arm(quint8 canId, quint64 mcuId);
    // The motor is in reset or brake mode again.
    void disarm(quint8 canId);

    void setJogging(quint8 canId, bool jogging);

    // The emergency stop: brake mode to each motor, written at once in the order given;
    // disarms them. It is never refused: a flow holding the link is told to stop (preempt).
    // A flow that tests the brake itself passes preempt false. Returns the number of frames
    // written (zero without an open port).
    int brake(const QList<quint8>& canIds, bool preempt = true);
    // Asks a motor for its model (its set-point ranges) once per connection; the sidebar's
    // pages wait for the answer.
    void queryModel(quint8 canId);
    // The CAN IDs of the connected device records (every motor the host talks to).
    static QList<quint8> connectedCanIds();
    static quint8 canIdOf(kx::DataObject* record);
    static quint64 mcuIdOf(kx::DataObject* record);

signals:
    // The port closes right after this (same call): listeners still may write.
    void portClosing();

private:
    explicit MotionGuard(CANWorker* worker);
    void onPortClosing();

    CANWorker* m_worker;
    QHash<quint8, quint64> m_armed;  // CAN ID -> MCU ID (reset mode needs both)
    QSet<quint8> m_jogging;
    QSet<quint8> m_modelAsked;
};
