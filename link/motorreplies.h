#pragma once

#include <QtGlobal>

#include <array>

#include "link/canframe.h"

// Decoding of the frames a motor sends to the host. Pure functions: the link thread stores
// the results and turns them into statuses.
namespace MotorReplies {

struct Announcement {
    bool valid = false;  // sent to the announce destination 0xFE
    quint64 mcuId = 0;
    quint8 canId = 0;  // bits 14-8: bit 15 is not part of a 7-bit CAN ID
};

struct Feedback {
    quint8 canId = 0;
    std::array<bool, 6> faults{};
    int modeState = 0;  // 0 reset, 1 calibration, 2 motor, 3 brake
    bool modelReply = false;
    quint8 modelA = 0;
    quint8 modelB = 0;
    int positionRaw = 0;
    int velocityRaw = 0;
    int torqueRaw = 0;
};

struct CalibrationDone {
    quint8 canId = 0;
    int subCode = 0;  // 0 encoder offset, 1 Hall table, other values are ignored
    float offset = 0;
    std::array<quint8, 8> hall{};
};

struct CalibrationProgress {
    float rotorAngle = 0;
    float statorFluxAngle = 0;
    quint16 sensorValue = 0;
};

struct CalibrationRow {
    quint8 canId = 0;
    qint16 number = 0;
    qint16 index = 0;
    qint32 correction = 0;
};

struct FaultWarning {
    bool valid = false;  // only 8-byte frames carry both words
    quint8 canId = 0;
    quint32 fault = 0;
    quint32 warning = 0;
};

Announcement announcement(const CanFrame& frame);
Feedback feedback(const CanFrame& frame);
CalibrationDone calibrationDone(const CanFrame& frame);
CalibrationProgress calibrationProgress(const CanFrame& frame);
CalibrationRow calibrationRow(const CanFrame& frame);
FaultWarning faultWarning(const CanFrame& frame);
// 0 or 1 for an acknowledgement of object 0x7012, -1 for anything else.
int sdoAcknowledgement(const CanFrame& frame);

}  // namespace MotorReplies
