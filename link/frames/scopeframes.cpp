#include "link/frames/scopeframes.h"

#include "link/canprotocol.h"

#include <QtEndian>

#include <cstring>

namespace ScopeFrames {

namespace {

CanFrame make(int sub, int code, int index, quint8 sender, quint8 destination) {
    CanFrame f;
    const quint16 field = quint16(((index & 0xF) << 12) | ((code & 3) << 10) | ((sub & 3) << 8) | sender);
    f.id = CanFrame::makeId(CANCOM_PARA_UPDATE, field, destination);
    f.length = 8;
    return f;
}

}  // namespace

Header header(const CanFrame& frame) {
    const int high = frame.dataField() >> 8;
    return {high & 3, (high >> 2) & 3, (high >> 4) & 0xF, quint8(frame.dataField() & 0xFF)};
}

CanFrame rateRequest(quint8 target, quint16 frequency, quint32 baudRate) {
    CanFrame f = make(Rate, 0, 0, CanProtocol::kHostId, target);
    qToLittleEndian(frequency, &f.data[0]);
    qToLittleEndian(kRateArgument, &f.data[2]);
    qToLittleEndian(baudRate, &f.data[4]);
    return f;
}

CanFrame channelRequest(quint8 target, const QVector<quint16>& codes, int cursor) {
    CanFrame f = make(Channels, (cursor / 4) % 4, qMax(0, codes.size() - 1), CanProtocol::kHostId, target);
    // Places past the last channel stay zero: code 0 names no entry.
    for (int i = 0; i < 4 && cursor + i < codes.size(); ++i)
        qToLittleEndian(codes[cursor + i], &f.data[size_t(2 * i)]);
    return f;
}

CanFrame startRequest(quint8 target) {
    return make(Sample, 0, 0, CanProtocol::kHostId, target);
}

CanFrame stopRequest(quint8 target) {
    return make(Stop, 0, 0, CanProtocol::kHostId, target);
}

RateReply rateReply(const CanFrame& frame) {
    RateReply r;
    r.periodUs = qFromLittleEndian<quint32>(&frame.data[0]);
    r.word1 = qFromLittleEndian<quint16>(&frame.data[4]);
    r.word2 = qFromLittleEndian<quint16>(&frame.data[6]);
    return r;
}

CanFrame makeRateReply(quint8 canId, int code, const RateReply& reply) {
    CanFrame f = make(Rate, code, 0, canId, CanProtocol::kHostId);
    qToLittleEndian(reply.periodUs, &f.data[0]);
    qToLittleEndian(reply.word1, &f.data[4]);
    qToLittleEndian(reply.word2, &f.data[6]);
    return f;
}

QVector<int> channelTypes(const CanFrame& frame, int count) {
    QVector<int> types;
    for (int i = 0; i < qBound(0, count, kMaxChannels * 2); ++i)
        types << ((frame.data[size_t(i / 2)] >> (i % 2 ? 4 : 0)) & 0xF);
    return types;
}

CanFrame makeChannelReply(quint8 canId, int code, const QVector<int>& types) {
    CanFrame f = make(Channels, code, 0, canId, CanProtocol::kHostId);
    for (int i = 0; i < qMin(types.size(), 16); ++i)
        f.data[size_t(i / 2)] |= quint8((types[i] & 0xF) << (i % 2 ? 4 : 0));
    return f;
}

CanFrame makeStopReply(quint8 canId) {
    return make(Stop, 0, 0, canId, CanProtocol::kHostId);
}

int recordSize(const QVector<int>& types) {
    int size = 2;
    for (int t : types)
        size += CanProtocol::valueTypeSize(t);
    return size;
}

int framesPerRecord(int recordSize) {
    return (recordSize + 7) / 8;
}

QVector<CanFrame> sampleFrames(quint8 canId, const QByteArray& record) {
    QVector<CanFrame> frames;
    for (int at = 0, index = 0; at < record.size() && index < 16; at += 8, ++index) {
        CanFrame f = make(Sample, 0, index, canId, CanProtocol::kHostId);
        std::memcpy(f.data.data(), record.constData() + at, size_t(qMin(8, record.size() - at)));
        frames << f;
    }
    return frames;
}

double valueAt(int type, const uchar* p) {
    switch (type) {
        case 0:
            return p[0];
        case 1:
            return qint8(p[0]);
        case 2:
            return qFromLittleEndian<quint16>(p);
        case 3:
            return qFromLittleEndian<qint16>(p);
        case 4:
            return qFromLittleEndian<quint32>(p);
        case 5:
            return qFromLittleEndian<qint32>(p);
        case 6: {
            const quint32 bits = qFromLittleEndian<quint32>(p);
            float v;
            std::memcpy(&v, &bits, sizeof v);
            return double(v);
        }
        case 7:
            return double(qFromLittleEndian<quint64>(p));
        case 8:
            return double(qFromLittleEndian<qint64>(p));
        case 9: {
            const quint64 bits = qFromLittleEndian<quint64>(p);
            double v;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
        default:
            return 0;
    }
}

}  // namespace ScopeFrames
