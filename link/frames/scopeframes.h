#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

#include "link/canframe.h"

// The scope's type-10 frames, as host and motor exchange them. Identifier data field:
// bits 17-16 the sub-command (0 rate, 1 channels, 2 sample, 3 stop), bits 19-18 a result code
// (channel frames: the frame number), bits 23-20 the channel count - 1 (channel requests) or
// the frame's place in its sample record; bits 15-8 the sender's ID. All numbers little-endian.
namespace ScopeFrames {

enum Sub { Rate = 0, Channels = 1, Sample = 2, Stop = 3 };

constexpr int kMaxChannels = 8;
// The value the host sends after the rate; it is the motor's, the host only passes it on.
constexpr quint16 kRateArgument = 17;

struct Header {
    int sub = 0;
    int code = 0;   // bits 19-18
    int index = 0;  // bits 23-20
    quint8 sender = 0;
};
Header header(const CanFrame& frame);

// Host requests.
CanFrame rateRequest(quint8 target, quint16 frequency, quint32 baudRate);
// The channel frame starting at `cursor` (a multiple of 4) of the active codes.
CanFrame channelRequest(quint8 target, const QVector<quint16>& codes, int cursor);
CanFrame startRequest(quint8 target);
CanFrame stopRequest(quint8 target);

// Motor replies.
struct RateReply {
    quint32 periodUs = 0;  // microseconds per time-stamp tick
    quint16 word1 = 0;
    quint16 word2 = 0;
};
RateReply rateReply(const CanFrame& frame);
CanFrame makeRateReply(quint8 canId, int code, const RateReply& reply);
// One type code per channel in the data nibbles (channel i in data[i / 2], low nibble first).
QVector<int> channelTypes(const CanFrame& frame, int count);
CanFrame makeChannelReply(quint8 canId, int code, const QVector<int>& types);
CanFrame makeStopReply(quint8 canId);

// Sample records: a 16-bit time stamp followed by each channel's value in its own type.
int recordSize(const QVector<int>& types);
int framesPerRecord(int recordSize);
// Cuts a record into its numbered sample frames (the last one zero-padded).
QVector<CanFrame> sampleFrames(quint8 canId, const QByteArray& record);
// The value at `bytes` read as type code `type` (little-endian); 0 for codes above 9.
double valueAt(int type, const uchar* bytes);

}  // namespace ScopeFrames
