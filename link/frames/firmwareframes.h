#pragma once

#include <QtGlobal>

#include "link/canframe.h"

// The firmware update frames (types 11-14) as both ends build and read them. Host requests
// carry the host identifier in bits 15-8 of the data field, except the packet (its data
// field is the packet number) and the end frame (data field 0). Motor answers put the
// motor's CAN ID into the data field, plus kRetryOffset when they ask for a resend or refuse;
// a resend request names its packet in data[0..1].
namespace FirmwareFrames {

constexpr quint32 kMaxImage = 524288;  // 512 KiB: 65536 packets
constexpr quint16 kRetryOffset = 0x0F00;
constexpr quint8 kPadByte = 0xFF;

// Packets of 8 bytes, the last one padded.
quint32 packetCount(quint32 size);

// Host -> motor.
CanFrame enter(quint8 target, quint64 mcuId);
CanFrame info(quint8 target, quint32 size, quint32 count);
// Packet number index of image (16 bits on the bus); bytes past the end are kPadByte.
CanFrame packet(quint8 target, quint32 index, const QByteArray& image);
CanFrame end(quint8 target, quint32 count);

// Fields of the host's requests, as the motor reads them.
quint64 enterMcuId(const CanFrame& frame);
quint32 infoSize(const CanFrame& frame);
quint32 infoCount(const CanFrame& frame);
quint16 packetIndex(const CanFrame& frame);
quint32 endCount(const CanFrame& frame);

// Motor -> host. A refusal or resend request names a packet; an info answer echoes size and
// count.
CanFrame accept(quint8 type, quint8 canId);
CanFrame retry(quint8 type, quint8 canId, quint16 packet);
CanFrame infoAnswer(quint8 canId, bool ok, quint32 size, quint32 count);

// How the host reads an answer of one of the four types from motor target.
struct Answer {
    enum Kind { Other, Accepted, Retry };
    Kind kind = Other;
    quint16 packet = 0;  // Retry: the packet the motor names
};
Answer answer(const CanFrame& frame, quint8 target);

}  // namespace FirmwareFrames
