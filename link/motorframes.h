#pragma once

#include <QString>

#include <optional>

#include "link/canframe.h"
#include "link/canprotocol.h"
#include "link/frames/motorcommandframes.h"

// The request frames the host sends to a motor. Their layouts are the shared command frames;
// what the host adds is scaling: builders that scale set-points against the model's ranges
// refuse (nullopt plus a user-facing reason) instead of producing a frame from an empty range
// or a value outside it, since a wrapped 16-bit set-point would command a real motor somewhere
// else entirely.
namespace MotorFrames {

using MotorCommandFrames::clearAlarm;
using MotorCommandFrames::enterBrakeMode;
using MotorCommandFrames::enterCalibration;
using MotorCommandFrames::enterMotorMode;
using MotorCommandFrames::enterResetMode;
using MotorCommandFrames::identityRequest;
using MotorCommandFrames::modelQuery;
using MotorCommandFrames::runModeWrite;
using MotorCommandFrames::sdoWriteFloat;
using MotorCommandFrames::sdoWriteUint;
using MotorCommandFrames::setCanId;
using MotorCommandFrames::setMechanicalZero;

struct MitSetpoints {
    float torque = 0;
    float position = 0;
    float velocity = 0;
    float kp = 0;
    float kd = 0;
};

std::optional<CanFrame> mitControl(quint8 target, const MitSetpoints& setpoints,
                                   const CanProtocol::ModelRanges& ranges, QString* error);
std::optional<CanFrame> jog(quint8 target, float speed, bool flag, const CanProtocol::ModelRanges& ranges,
                            QString* error);

}  // namespace MotorFrames
