#include "link/frames/motorcommandframes.h"

#include "link/canprotocol.h"

#include <QtEndian>

#include <algorithm>

namespace MotorCommandFrames {

namespace {

constexpr quint8 kModelQueryByte = 0xC4;

CanFrame request(quint8 type, quint8 argument, quint8 target) {
    CanFrame f;
    f.id = CanFrame::makeId(type, quint16((argument << 8) | CanProtocol::kHostId), target);
    f.length = 8;
    return f;
}

quint8 argumentOf(const CanFrame& f) {
    return quint8(f.dataField() >> 8);
}

}  // namespace

CanFrame identityRequest(quint8 canId) {
    CanFrame f = request(CANCOM_ANNOUNCE_DEVID, 0, canId);
    f.length = 1;
    return f;
}

CanFrame mitControl(quint8 target, const MitRaw& raw) {
    CanFrame f;
    f.id = CanFrame::makeId(CANCOM_MOTOR_CTRL, raw.torque, target);
    f.length = 8;
    qToBigEndian(raw.position, &f.data[0]);
    qToBigEndian(raw.velocity, &f.data[2]);
    qToBigEndian(raw.kp, &f.data[4]);
    qToBigEndian(raw.kd, &f.data[6]);
    return f;
}

CanFrame enterMotorMode(quint8 target) {
    return request(CANCOM_MOTOR_IN, 0, target);
}

CanFrame enterResetMode(quint8 target, quint64 mcuId) {
    CanFrame f = request(CANCOM_MOTOR_RESET, 0, target);
    qToLittleEndian(mcuId, f.data.data());
    return f;
}

CanFrame clearAlarm(quint8 target) {
    CanFrame f = request(CANCOM_MOTOR_RESET, 0, target);
    f.data[0] = 1;
    return f;
}

CanFrame modelQuery(quint8 canId) {
    CanFrame f = request(CANCOM_MOTOR_RESET, 0, canId);
    f.data[1] = kModelQueryByte;
    return f;
}

CanFrame enterCalibration(quint8 target) {
    return request(CANCOM_MOTOR_CALI, 0, target);
}

CanFrame setMechanicalZero(quint8 target, quint8 zeroFlag) {
    CanFrame f = request(CANCOM_MOTOR_ZERO, 0, target);
    f.data[0] = zeroFlag;
    f.data[1] = 1;
    return f;
}

CanFrame setCanId(quint8 currentId, quint8 newId, quint64 mcuId) {
    CanFrame f = request(CANCOM_MOTOR_ID, newId, currentId);
    qToLittleEndian(mcuId, f.data.data());
    return f;
}

CanFrame enterBrakeMode(quint8 target) {
    return request(CANCOM_MOTOR_BRAKE, 0, target);
}

CanFrame sdoWriteUint(quint8 target, quint16 index, quint32 value) {
    CanFrame f = request(CANCOM_SDO_WRITE, 0, target);
    qToLittleEndian(index, &f.data[0]);
    qToLittleEndian(value, &f.data[4]);
    return f;
}

CanFrame sdoWriteFloat(quint8 target, quint16 index, float value) {
    CanFrame f = request(CANCOM_SDO_WRITE, 0, target);
    qToLittleEndian(index, &f.data[0]);
    qToLittleEndian(value, &f.data[4]);
    return f;
}

CanFrame runModeWrite(quint8 target, quint8 mode) {
    return sdoWriteUint(target, kRunModeIndex, mode);
}

CanFrame jog(quint8 target, bool run, quint16 speedRaw) {
    CanFrame f = runModeWrite(target, kJogRunMode);
    f.data[5] = run ? 1 : 0;
    qToBigEndian(speedRaw, &f.data[6]);
    return f;
}

MitRaw mitOf(const CanFrame& f) {
    MitRaw raw;
    raw.torque = f.dataField();
    raw.position = qFromBigEndian<quint16>(&f.data[0]);
    raw.velocity = qFromBigEndian<quint16>(&f.data[2]);
    raw.kp = qFromBigEndian<quint16>(&f.data[4]);
    raw.kd = qFromBigEndian<quint16>(&f.data[6]);
    return raw;
}

ResetRequest resetOf(const CanFrame& f) {
    ResetRequest r;
    if (f.data[0] == 0 && f.data[1] == kModelQueryByte) {
        r.kind = ResetRequest::ModelQuery;
    } else if (f.data[0] == 1 &&
               std::all_of(f.data.begin() + 1, f.data.end(), [](quint8 b) { return b == 0; })) {
        r.kind = ResetRequest::ClearAlarm;
    } else {
        r.kind = ResetRequest::Reset;
        r.mcuId = qFromLittleEndian<quint64>(f.data.data());
    }
    return r;
}

quint8 zeroFlagOf(const CanFrame& f) {
    return f.data[0];
}

CanIdChange canIdChangeOf(const CanFrame& f) {
    CanIdChange c;
    c.currentId = f.destination();
    c.newId = argumentOf(f);
    c.mcuId = qFromLittleEndian<quint64>(f.data.data());
    return c;
}

ObjectWrite objectWriteOf(const CanFrame& f) {
    ObjectWrite w;
    w.index = qFromLittleEndian<quint16>(&f.data[0]);
    w.uintValue = qFromLittleEndian<quint32>(&f.data[4]);
    w.floatValue = qFromLittleEndian<float>(&f.data[4]);
    w.runMode = f.data[4];
    w.jogRun = f.data[5] != 0;
    w.jogSpeedRaw = qFromBigEndian<quint16>(&f.data[6]);
    return w;
}

}  // namespace MotorCommandFrames
