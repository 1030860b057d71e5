#pragma once

#include <QString>

#include <optional>

#include "link/canframe.h"
#include "link/canprotocol.h"

// The request frames the host sends to a motor. Builders that scale set-points against the
// model's ranges refuse (nullopt plus a user-facing reason) instead of producing a frame from
// an empty range or a value outside it: a wrapped 16-bit set-point would command a real motor
// somewhere else entirely.
namespace MotorFrames {

struct MitSetpoints {
    float torque = 0;
    float position = 0;
    float velocity = 0;
    float kp = 0;
    float kd = 0;
};

CanFrame identityRequest(quint8 canId);
CanFrame enterMotorMode(quint8 target);
CanFrame enterResetMode(quint8 target, quint64 mcuId);
CanFrame enterBrakeMode(quint8 target);
CanFrame enterCalibration(quint8 target);
CanFrame setMechanicalZero(quint8 target, quint8 zeroFlag);
CanFrame setCanId(quint8 currentId, quint8 newId, quint64 mcuId);
CanFrame clearAlarm(quint8 target);
CanFrame modelQuery(quint8 canId);
CanFrame otaStart(quint8 target, quint64 mcuId);
CanFrame sdoWriteUint(quint8 target, quint16 index, quint32 value);
CanFrame sdoWriteFloat(quint8 target, quint16 index, float value);
CanFrame runModeWrite(quint8 target, quint8 mode);

std::optional<CanFrame> mitControl(quint8 target, const MitSetpoints& setpoints,
                                   const CanProtocol::ModelRanges& ranges, QString* error);
std::optional<CanFrame> jog(quint8 target, float speed, bool flag, const CanProtocol::ModelRanges& ranges,
                            QString* error);

}  // namespace MotorFrames
