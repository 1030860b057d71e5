#include "link/frames/firmwareframes.h"

#include "link/canprotocol.h"

#include <QByteArray>
#include <QtEndian>

namespace FirmwareFrames {

namespace {

CanFrame frameOf(quint8 type, quint16 dataField, quint8 destination) {
    CanFrame f;
    f.id = CanFrame::makeId(type, dataField, destination);
    f.length = 8;
    return f;
}

// Identifier bits 15-8 are the low byte of the data field.
quint16 hostField() {
    return CanProtocol::kHostId;
}

}  // namespace

quint32 packetCount(quint32 size) {
    return size / 8 + (size % 8 ? 1 : 0);
}

CanFrame enter(quint8 target, quint64 mcuId) {
    CanFrame f = frameOf(CANCOM_OTA_START, hostField(), target);
    qToLittleEndian(mcuId, f.data.data());
    return f;
}

CanFrame info(quint8 target, quint32 size, quint32 count) {
    CanFrame f = frameOf(CANCOM_OTA_INFO, hostField(), target);
    qToLittleEndian(size, &f.data[0]);
    qToLittleEndian(count, &f.data[4]);
    return f;
}

CanFrame packet(quint8 target, quint32 index, const QByteArray& image) {
    CanFrame f = frameOf(CANCOM_OTA_ING, quint16(index), target);
    const qint64 from = qint64(index) * 8;
    for (int i = 0; i < 8; ++i) {
        const qint64 at = from + i;
        f.data[i] = at < image.size() ? quint8(image.at(int(at))) : kPadByte;
    }
    return f;
}

CanFrame end(quint8 target, quint32 count) {
    CanFrame f = frameOf(CANCOM_OTA_END, 0, target);
    qToLittleEndian(count, &f.data[0]);
    return f;
}

quint64 enterMcuId(const CanFrame& frame) {
    return qFromLittleEndian<quint64>(frame.data.data());
}

quint32 infoSize(const CanFrame& frame) {
    return qFromLittleEndian<quint32>(&frame.data[0]);
}

quint32 infoCount(const CanFrame& frame) {
    return qFromLittleEndian<quint32>(&frame.data[4]);
}

quint16 packetIndex(const CanFrame& frame) {
    return frame.dataField();
}

quint32 endCount(const CanFrame& frame) {
    return qFromLittleEndian<quint32>(&frame.data[0]);
}

CanFrame accept(quint8 type, quint8 canId) {
    return frameOf(type, canId, CanProtocol::kHostId);
}

CanFrame retry(quint8 type, quint8 canId, quint16 packet) {
    CanFrame f = frameOf(type, quint16(canId + kRetryOffset), CanProtocol::kHostId);
    qToLittleEndian(packet, &f.data[0]);
    return f;
}

CanFrame infoAnswer(quint8 canId, bool ok, quint32 size, quint32 count) {
    CanFrame f = frameOf(CANCOM_OTA_INFO, quint16(canId + (ok ? 0 : kRetryOffset)), CanProtocol::kHostId);
    qToLittleEndian(size, &f.data[0]);
    qToLittleEndian(count, &f.data[4]);
    return f;
}

Answer answer(const CanFrame& frame, quint8 target) {
    Answer a;
    if (frame.destination() != CanProtocol::kHostId)
        return a;
    if (frame.dataField() == target) {
        a.kind = Answer::Accepted;
    } else if (frame.dataField() == quint16(target + kRetryOffset)) {
        a.kind = Answer::Retry;
        a.packet = qFromLittleEndian<quint16>(&frame.data[0]);
    }
    return a;
}

}  // namespace FirmwareFrames
