#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>

#include "link/canframe.h"

// Frames of the parameter table: description (type 19), read (type 9) and write (type 8),
// in both directions. The entry code travels little-endian in data[0..1] of every one.
// Requests carry the host identifier in identifier bits 15-8 and the motor's CAN ID in 7-0;
// replies carry the motor's CAN ID in bits 15-8 and the host identifier in 7-0.
namespace ParamFrames {

// Write sub-commands (identifier bits 17-16 of a type-8 frame).
constexpr int kWrite = 0;
constexpr int kSave = 2;
constexpr int kFactoryReset = 3;
// Description phases (identifier bits 23-16 of a type-19 reply).
constexpr int kPhaseSummary = 9;

constexpr int groupOf(quint16 code) {
    return code >> 12;
}
constexpr int indexOf(quint16 code) {
    return code & 0x0FFF;
}
constexpr quint16 codeOf(int group, int index) {
    return quint16((group << 12) | (index & 0x0FFF));
}

// --- Requests (host -> motor) ----------------------------------------------------------------
CanFrame describeRequest(quint8 canId, quint64 mcuId);
CanFrame readRequest(quint8 canId, quint16 code);
// One chunk (up to four bytes of value) of a write.
CanFrame writeRequest(quint8 canId, quint16 code, int type, int chunk, const QByteArray& bytes);
CanFrame saveRequest(quint8 canId);
CanFrame factoryResetRequest(quint8 canId);

// --- Replies (motor -> host) -----------------------------------------------------------------
// One description frame: the phase and six content bytes (data[2..7]).
CanFrame describeFrame(quint8 canId, int phase, quint16 code, const QByteArray& content);
// Phase 3 of a group-2 entry: limits as raw x 10^exponent, type code and property bits.
CanFrame limitsFrame(quint8 canId, quint16 code, qint16 minRaw, qint16 maxRaw, qint8 exponent, int type,
                     int property);
// Phases 4 and 5: type code in data[3], value bytes 0-3 or 4-7 in data[4..7].
CanFrame valueFrame(quint8 canId, int phase, quint16 code, int type, const QByteArray& raw);
CanFrame summaryFrame(quint8 canId, int configCount, const std::array<int, 4>& counts);
CanFrame readReply(quint8 canId, quint16 code, int type, int chunk, const QByteArray& bytes);
CanFrame readMissing(quint8 canId, quint16 code);
// The reply to a write chunk: the request's data echoed, sub-command and motor error code.
CanFrame writeReply(quint8 canId, const CanFrame& request, int error);

// --- Decoding --------------------------------------------------------------------------------
struct Description {
    quint8 canId = 0;  // identifier bits 15-8
    int phase = 0;
    quint16 code = 0;
    std::array<quint8, 6> content{};  // data[2..7]
};
Description description(const CanFrame& frame);

struct Summary {
    int configCount = 0;
    std::array<int, 4> counts{};
};
Summary summary(const CanFrame& frame);

struct ReadChunk {
    quint8 canId = 0;
    bool missing = false;  // the motor has no such code
    quint16 code = 0;
    int type = 0;
    int chunk = 0;
    std::array<quint8, 4> bytes{};
};
ReadChunk readChunk(const CanFrame& frame);

struct WriteChunk {
    quint8 canId = 0;  // requests: the destination; replies: bits 15-8
    int sub = 0;       // bits 17-16
    int error = 0;     // replies: the motor's error code, bits 23-18
    quint16 code = 0;
    int type = 0;
    int chunk = 0;
    std::array<quint8, 4> bytes{};
};
WriteChunk writeReplyOf(const CanFrame& frame);
WriteChunk writeRequestOf(const CanFrame& frame);

}  // namespace ParamFrames
