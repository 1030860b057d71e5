#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

// Identity of one simulated motor on the bus.
struct SimMotorIdentity {
    quint64 mcuId = 0;
    quint8 canId = 1;
    quint8 modelA = 0;  // model bytes of the model reply
    quint8 modelB = 2;
};

// Faults the bench can inject; switchable at start and at run time. Fractions are 0..1.
struct SimFaults {
    double dropRx = 0;     // host -> motors frames lost on the way
    double dropTx = 0;     // motors -> host frames lost on the way
    double corruptRx = 0;  // one bit flipped somewhere in the record
    double corruptTx = 0;
    double crlf = 0;          // fraction of feedback frames carrying 0D 0A in their spare data bytes
    int latencyMs = 0;        // added to every record the adapter sends
    bool silent = false;      // the adapter hears but never answers
    bool wrongCanId = false;  // replies name a CAN ID one above the motor's own
    int resendEvery = 0;      // every n-th firmware packet is answered with a resend request
};

// Everything the bench needs to start; the command line fills it.
struct SimSettings {
    QVector<SimMotorIdentity> motors;
    int baud = 921600;         // the adapter's own line rate
    bool pacing = true;        // output at baud / 10 bytes per second
    QString stateFile;         // saved parameters persist here across runs
    QString logFile;           // every record received and sent
    int eraseDelayMs = 1500;   // time a motor spends erasing before it confirms update mode
    int calibrationMs = 3000;  // length of an encoder calibration run
    quint32 seed = 1;          // fault dice, so that a failing run can be repeated
    SimFaults faults;

    // n motors with CAN IDs 1..n and distinct MCU IDs.
    static QVector<SimMotorIdentity> defaultMotors(int count);
};
