#include "link/motorframes.h"

#include <QCoreApplication>

#include <cstring>

namespace MotorFrames {

namespace {

constexpr quint16 kRunModeIndex = 0x7005;
constexpr quint8 kJogRunMode = 7;

CanFrame request(quint8 type, quint8 argument, quint8 target) {
    CanFrame frame;
    frame.id = CanFrame::makeId(type, quint16((argument << 8) | CanProtocol::kHostId), target);
    frame.length = 8;
    return frame;
}

void putMcuId(CanFrame* frame, quint64 mcuId) {
    for (int i = 0; i < 8; ++i)
        frame->data[i] = quint8(mcuId >> (8 * i));
}

void putBigEndian16(CanFrame* frame, int offset, int value) {
    frame->data[offset] = quint8(value >> 8);
    frame->data[offset + 1] = quint8(value);
}

QString tr(const char* text) {
    return QCoreApplication::translate("MotorFrames", text);
}

// Checks one set-point against its range; fills error and returns false when the range is
// still empty (no model reply yet) or the value lies outside it.
bool checkRange(const char* name, float value, float min, float max, QString* error) {
    if (!(max > min)) {
        if (error)
            *error = tr("No motor model known yet (the value ranges are empty): %1 refused.")
                         .arg(QString::fromLatin1(name));
        return false;
    }
    if (!CanProtocol::inRange(value, min, max)) {
        if (error)
            *error = tr("%1 %2 is outside the range [%3, %4]: command refused.")
                         .arg(QString::fromLatin1(name))
                         .arg(double(value), 0, 'g', 6)
                         .arg(double(min), 0, 'g', 6)
                         .arg(double(max), 0, 'g', 6);
        return false;
    }
    return true;
}

}  // namespace

CanFrame identityRequest(quint8 canId) {
    CanFrame frame = request(CANCOM_ANNOUNCE_DEVID, 0, canId);
    frame.length = 1;
    return frame;
}

CanFrame enterMotorMode(quint8 target) {
    return request(CANCOM_MOTOR_IN, 0, target);
}

CanFrame enterResetMode(quint8 target, quint64 mcuId) {
    CanFrame frame = request(CANCOM_MOTOR_RESET, 0, target);
    putMcuId(&frame, mcuId);
    return frame;
}

CanFrame enterBrakeMode(quint8 target) {
    return request(CANCOM_MOTOR_BRAKE, 0, target);
}

CanFrame enterCalibration(quint8 target) {
    return request(CANCOM_MOTOR_CALI, 0, target);
}

CanFrame setMechanicalZero(quint8 target, quint8 zeroFlag) {
    CanFrame frame = request(CANCOM_MOTOR_ZERO, 0, target);
    frame.data[0] = zeroFlag;
    frame.data[1] = 1;
    return frame;
}

CanFrame setCanId(quint8 currentId, quint8 newId, quint64 mcuId) {
    CanFrame frame = request(CANCOM_MOTOR_ID, newId, currentId);
    putMcuId(&frame, mcuId);
    return frame;
}

CanFrame clearAlarm(quint8 target) {
    CanFrame frame = request(CANCOM_MOTOR_RESET, 0, target);
    frame.data[0] = 1;
    return frame;
}

CanFrame modelQuery(quint8 canId) {
    CanFrame frame = request(CANCOM_MOTOR_RESET, 0, canId);
    frame.data[1] = 0xC4;
    return frame;
}

CanFrame otaStart(quint8 target, quint64 mcuId) {
    CanFrame frame = request(CANCOM_OTA_START, 0, target);
    putMcuId(&frame, mcuId);
    return frame;
}

CanFrame sdoWriteUint(quint8 target, quint16 index, quint32 value) {
    CanFrame frame = request(CANCOM_SDO_WRITE, 0, target);
    frame.data[0] = quint8(index);
    frame.data[1] = quint8(index >> 8);
    for (int i = 0; i < 4; ++i)
        frame.data[4 + i] = quint8(value >> (8 * i));
    return frame;
}

CanFrame sdoWriteFloat(quint8 target, quint16 index, float value) {
    quint32 bits = 0;
    static_assert(sizeof(bits) == sizeof(value), "IEEE 754 single precision");
    memcpy(&bits, &value, sizeof(bits));
    return sdoWriteUint(target, index, bits);
}

CanFrame runModeWrite(quint8 target, quint8 mode) {
    return sdoWriteUint(target, kRunModeIndex, mode);
}

std::optional<CanFrame> mitControl(quint8 target, const MitSetpoints& sp, const CanProtocol::ModelRanges& r,
                                   QString* error) {
    if (!checkRange("Position", sp.position, CanProtocol::kPosMin, CanProtocol::kPosMax, error) ||
        !checkRange("Velocity", sp.velocity, -r.velMax, r.velMax, error) ||
        !checkRange("Kp", sp.kp, 0, r.kpMax, error) || !checkRange("Kd", sp.kd, 0, r.kdMax, error) ||
        !checkRange("Torque", sp.torque, -r.torqueMax, r.torqueMax, error))
        return std::nullopt;
    const int torque = CanProtocol::encodeRange(sp.torque, -r.torqueMax, r.torqueMax);
    CanFrame frame;
    frame.id = CanFrame::makeId(CANCOM_MOTOR_CTRL, quint16(torque), target);
    frame.length = 8;
    putBigEndian16(&frame, 0,
                   CanProtocol::encodeRange(sp.position, CanProtocol::kPosMin, CanProtocol::kPosMax));
    putBigEndian16(&frame, 2, CanProtocol::encodeRange(sp.velocity, -r.velMax, r.velMax));
    putBigEndian16(&frame, 4, CanProtocol::encodeRange(sp.kp, 0, r.kpMax));
    putBigEndian16(&frame, 6, CanProtocol::encodeRange(sp.kd, 0, r.kdMax));
    return frame;
}

std::optional<CanFrame> jog(quint8 target, float speed, bool flag, const CanProtocol::ModelRanges& r,
                            QString* error) {
    CanFrame frame = sdoWriteUint(target, kRunModeIndex, 0);
    frame.data[4] = kJogRunMode;
    frame.data[5] = flag ? 1 : 0;
    if (!flag) {
        // Stopping must always be possible, also before a model reply: a stop carries zero
        // speed (the middle of any symmetric range) whatever speed the caller passed.
        putBigEndian16(&frame, 6, 0x7FFF);
        return frame;
    }
    if (!checkRange("Speed", speed, -r.velMax, r.velMax, error))
        return std::nullopt;
    putBigEndian16(&frame, 6, CanProtocol::encodeRange(speed, -r.velMax, r.velMax));
    return frame;
}

}  // namespace MotorFrames
