#pragma once

#include <QObject>
#include <QString>

class CANWorker;

namespace kx {
class DataObject;
}

// Keeps each motor's alarm state in its device record ("_fault": the six feedback fault
// flags as bits 0-5, and the fault and warning words of the last fault/warning frame), so the
// device tree can show it, and posts one "ERROR" status line naming the motor when a fault
// appears that was not already shown. Runs on the port's thread, where the worker announces
// what each motor sent.
class MotorFaults : public QObject {
    Q_OBJECT

public:
    explicit MotorFaults(CANWorker* worker);

    // What a motor reported, applied to its record: feedback replaces the flags, a
    // fault/warning frame replaces both words.
    void feedbackFlags(quint8 canId, quint32 flags);
    void faultWords(quint8 canId, quint32 fault, quint32 warning);

    // Forgets the alarms of a record (the alarm was cleared on the motor).
    static void clear(kx::DataObject* record);
    // "flags 0, 3; fault 0x00000009; warning 0x00000001"; empty when nothing is set.
    static QString describe(quint32 flags, quint32 fault, quint32 warning);
    static QString describe(kx::DataObject* record);

private:
    void apply(kx::DataObject* record, quint32 flags, quint32 fault, quint32 warning);

    CANWorker* m_worker;
};
