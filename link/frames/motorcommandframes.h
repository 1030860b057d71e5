#pragma once

#include <QtGlobal>

#include "link/canframe.h"

// The command frames a host sends to a motor (identity request, MIT control, modes, reset,
// clear alarm, model query, mechanical zero, CAN ID change, object writes), with the fields as
// the motor reads them back. Values travel raw here: scaling set-points against a model's
// ranges, and refusing those outside them, is the caller's business. Requests carry the host
// identifier in identifier bits 15-8 and a small argument in 23-16, except MIT control, whose
// torque fills bits 23-8. An MCU ID travels little-endian in data[0..7]; the MIT set-points
// and the jog speed big-endian, the object index and value little-endian.
namespace MotorCommandFrames {

constexpr quint16 kRunModeIndex = 0x7005;
constexpr quint8 kJogRunMode = 7;

// Each field is the 16-bit raw value of its range.
struct MitRaw {
    quint16 torque = 0;
    quint16 position = 0;
    quint16 velocity = 0;
    quint16 kp = 0;
    quint16 kd = 0;
};

// --- Host -> motor ---------------------------------------------------------------------------
CanFrame identityRequest(quint8 canId);
CanFrame mitControl(quint8 target, const MitRaw& raw);
CanFrame enterMotorMode(quint8 target);
CanFrame enterResetMode(quint8 target, quint64 mcuId);
CanFrame clearAlarm(quint8 target);
CanFrame modelQuery(quint8 canId);
CanFrame enterCalibration(quint8 target);
CanFrame setMechanicalZero(quint8 target, quint8 zeroFlag);
CanFrame setCanId(quint8 currentId, quint8 newId, quint64 mcuId);
CanFrame enterBrakeMode(quint8 target);
CanFrame sdoWriteUint(quint8 target, quint16 index, quint32 value);
CanFrame sdoWriteFloat(quint8 target, quint16 index, float value);
CanFrame runModeWrite(quint8 target, quint8 mode);
CanFrame jog(quint8 target, bool run, quint16 speedRaw);

// --- As the motor reads them -----------------------------------------------------------------
MitRaw mitOf(const CanFrame& frame);

// Type 4 carries three requests that only their data tells apart. A reset naming an MCU ID
// whose bytes happen to read as a clear alarm or a model query is taken as those: the motor
// cannot tell, so neither can we.
struct ResetRequest {
    enum Kind { Reset, ClearAlarm, ModelQuery };
    Kind kind = Reset;
    quint64 mcuId = 0;  // Reset: the MCU ID named
};
ResetRequest resetOf(const CanFrame& frame);

quint8 zeroFlagOf(const CanFrame& frame);

struct CanIdChange {
    quint8 currentId = 0;  // the destination
    quint8 newId = 0;      // bits 23-16
    quint64 mcuId = 0;     // only the motor with this MCU ID takes the new address
};
CanIdChange canIdChangeOf(const CanFrame& frame);

struct ObjectWrite {
    quint16 index = 0;
    quint32 uintValue = 0;  // data[4..7]
    float floatValue = 0;   // the same bytes as IEEE 754 single precision
    // The run-mode object: data[4] is the mode; mode 7 (jog) adds the run flag and a speed.
    quint8 runMode = 0;
    bool jogRun = false;
    quint16 jogSpeedRaw = 0;

    bool isJog() const { return index == kRunModeIndex && runMode == kJogRunMode; }
};
ObjectWrite objectWriteOf(const CanFrame& frame);

}  // namespace MotorCommandFrames
