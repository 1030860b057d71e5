#include "link/motorreplies.h"

#include "link/canprotocol.h"

#include <cstring>

namespace MotorReplies {

namespace {

quint32 littleEndian32(const CanFrame& f, int offset) {
    return quint32(f.data[offset]) | (quint32(f.data[offset + 1]) << 8) |
           (quint32(f.data[offset + 2]) << 16) | (quint32(f.data[offset + 3]) << 24);
}

float littleEndianFloat(const CanFrame& f, int offset) {
    const quint32 bits = littleEndian32(f, offset);
    float value = 0;
    memcpy(&value, &bits, sizeof(value));
    return value;
}

qint16 littleEndian16(const CanFrame& f, int offset) {
    return qint16(f.data[offset] | (f.data[offset + 1] << 8));
}

}  // namespace

Announcement announcement(const CanFrame& frame) {
    Announcement a;
    a.valid = frame.destination() == CanProtocol::kAnnounceId;
    for (int i = 0; i < 8; ++i)
        a.mcuId |= quint64(frame.data[i]) << (8 * i);
    a.canId = quint8((frame.id >> 8) & 0x7F);
    return a;
}

Feedback feedback(const CanFrame& frame) {
    Feedback fb;
    fb.canId = quint8(frame.id >> 8);
    for (int i = 0; i < 6; ++i)
        fb.faults[i] = (frame.id >> (16 + i)) & 1;
    fb.modeState = int((frame.id >> 22) & 3);
    fb.modelReply = frame.data[0] == 0x00 && frame.data[1] == 0xC4;
    if (fb.modelReply) {
        fb.modelA = frame.data[4];
        fb.modelB = frame.data[5];
        return fb;
    }
    fb.positionRaw = (frame.data[0] << 8) | frame.data[1];
    fb.velocityRaw = (frame.data[2] << 8) | frame.data[3];
    fb.torqueRaw = (frame.data[4] << 8) | frame.data[5];
    return fb;
}

CalibrationDone calibrationDone(const CanFrame& frame) {
    CalibrationDone done;
    done.canId = quint8(frame.id >> 8);
    done.subCode = int((frame.id >> 16) & 0xFF);
    if (done.subCode == 0) {
        done.offset = littleEndianFloat(frame, 0);
    } else if (done.subCode == 1) {
        for (int i = 0; i < 6; ++i)
            done.hall[i] = quint8((frame.data[i] << 4) | (frame.data[i] >> 4));
        done.hall[6] = frame.data[6];
        done.hall[7] = frame.data[7];
    }
    return done;
}

CalibrationProgress calibrationProgress(const CanFrame& frame) {
    CalibrationProgress p;
    p.rotorAngle = littleEndianFloat(frame, 0);
    p.statorFluxAngle = littleEndianFloat(frame, 4);
    p.sensorValue = frame.dataField();
    return p;
}

CalibrationRow calibrationRow(const CanFrame& frame) {
    CalibrationRow row;
    row.canId = quint8(frame.id >> 8);
    row.number = littleEndian16(frame, 0);
    row.index = littleEndian16(frame, 2);
    row.correction = qint32(littleEndian32(frame, 4));
    return row;
}

FaultWarning faultWarning(const CanFrame& frame) {
    FaultWarning fw;
    fw.valid = frame.length == 8;
    if (!fw.valid)
        return fw;
    fw.canId = quint8(frame.id >> 8);
    fw.fault = littleEndian32(frame, 0);
    fw.warning = littleEndian32(frame, 4);
    return fw;
}

int sdoAcknowledgement(const CanFrame& frame) {
    const int index = quint16(littleEndian16(frame, 0));
    if (index != 0x7012)
        return -1;
    if (frame.data[4] == 0)
        return 0;
    if (frame.data[4] == 1)
        return 1;
    return -1;
}

}  // namespace MotorReplies
