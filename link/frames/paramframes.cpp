#include "link/frames/paramframes.h"

#include "link/canprotocol.h"

namespace ParamFrames {

namespace {

CanFrame request(quint8 type, quint8 argument, quint8 canId) {
    CanFrame f;
    f.id = CanFrame::makeId(type, quint16((argument << 8) | CanProtocol::kHostId), canId);
    f.length = 8;
    return f;
}

CanFrame reply(quint8 type, quint8 high, quint8 canId) {
    CanFrame f;
    f.id = CanFrame::makeId(type, quint16((high << 8) | canId), CanProtocol::kHostId);
    f.length = 8;
    return f;
}

void putCode(CanFrame* f, quint16 code) {
    f->data[0] = quint8(code);
    f->data[1] = quint8(code >> 8);
}

void put16(CanFrame* f, int at, int value) {
    f->data[size_t(at)] = quint8(value);
    f->data[size_t(at + 1)] = quint8(value >> 8);
}

void putBytes(CanFrame* f, int at, const QByteArray& bytes, int from, int count) {
    for (int i = 0; i < count; ++i)
        f->data[size_t(at + i)] = quint8(from + i < bytes.size() ? bytes[from + i] : 0);
}

quint16 codeIn(const CanFrame& f) {
    return quint16(f.data[0] | (f.data[1] << 8));
}

int high(const CanFrame& f) {
    return int((f.id >> 16) & 0xFF);
}

}  // namespace

CanFrame describeRequest(quint8 canId, quint64 mcuId) {
    CanFrame f = request(CANCOM_PARA_STR_INFO, 0, canId);
    for (int i = 0; i < 8; ++i)
        f.data[size_t(i)] = quint8(mcuId >> (8 * i));
    return f;
}

CanFrame readRequest(quint8 canId, quint16 code) {
    CanFrame f = request(CANCOM_PARA_READ, 0, canId);
    putCode(&f, code);
    return f;
}

CanFrame writeRequest(quint8 canId, quint16 code, int type, int chunk, const QByteArray& bytes) {
    CanFrame f = request(CANCOM_PARA_WRITE, kWrite, canId);
    putCode(&f, code);
    f.data[2] = quint8(type);
    f.data[3] = quint8(chunk);
    putBytes(&f, 4, bytes, 0, 4);
    return f;
}

CanFrame saveRequest(quint8 canId) {
    return request(CANCOM_PARA_WRITE, kSave, canId);
}

CanFrame factoryResetRequest(quint8 canId) {
    CanFrame f = request(CANCOM_PARA_WRITE, kFactoryReset, canId);
    for (int i = 0; i < 8; ++i)
        f.data[size_t(i)] = quint8(i + 1);
    return f;
}

CanFrame describeFrame(quint8 canId, int phase, quint16 code, const QByteArray& content) {
    CanFrame f = reply(CANCOM_PARA_STR_INFO, quint8(phase), canId);
    putCode(&f, code);
    putBytes(&f, 2, content, 0, 6);
    return f;
}

CanFrame limitsFrame(quint8 canId, quint16 code, qint16 minRaw, qint16 maxRaw, qint8 exponent, int type,
                     int property) {
    CanFrame f = reply(CANCOM_PARA_STR_INFO, 3, canId);
    putCode(&f, code);
    put16(&f, 2, minRaw);
    put16(&f, 4, maxRaw);
    f.data[6] = quint8(exponent);
    f.data[7] = quint8((type & 0x1F) | ((property & 7) << 5));
    return f;
}

CanFrame valueFrame(quint8 canId, int phase, quint16 code, int type, const QByteArray& raw) {
    CanFrame f = reply(CANCOM_PARA_STR_INFO, quint8(phase), canId);
    putCode(&f, code);
    f.data[3] = quint8(type);
    putBytes(&f, 4, raw, phase == 5 ? 4 : 0, 4);
    return f;
}

CanFrame summaryFrame(quint8 canId, int configCount, const std::array<int, 4>& counts) {
    CanFrame f = reply(CANCOM_PARA_STR_INFO, kPhaseSummary, canId);
    f.data[0] = quint8(configCount);
    f.data[2] = quint8(counts[0]);
    f.data[3] = quint8(counts[1]);
    put16(&f, 4, counts[2]);
    put16(&f, 6, counts[3]);
    return f;
}

CanFrame readReply(quint8 canId, quint16 code, int type, int chunk, const QByteArray& bytes) {
    CanFrame f = reply(CANCOM_PARA_READ, 0, canId);
    putCode(&f, code);
    f.data[2] = quint8(type);
    f.data[3] = quint8(chunk);
    putBytes(&f, 4, bytes, 0, 4);
    return f;
}

CanFrame readMissing(quint8 canId, quint16 code) {
    CanFrame f = reply(CANCOM_PARA_READ, 1, canId);
    putCode(&f, code);
    return f;
}

CanFrame writeReply(quint8 canId, const CanFrame& request, int error) {
    const int sub = high(request) & 3;
    CanFrame f = reply(CANCOM_PARA_WRITE, quint8(((error & 0x3F) << 2) | sub), canId);
    f.data = request.data;
    return f;
}

Description description(const CanFrame& f) {
    Description d;
    d.canId = quint8(f.id >> 8);
    d.phase = high(f);
    d.code = codeIn(f);
    for (int i = 0; i < 6; ++i)
        d.content[size_t(i)] = f.data[size_t(i + 2)];
    return d;
}

Summary summary(const CanFrame& f) {
    Summary s;
    s.configCount = f.data[0];
    s.counts[0] = f.data[2];
    s.counts[1] = f.data[3];
    s.counts[2] = f.data[4] | (f.data[5] << 8);
    s.counts[3] = f.data[6] | (f.data[7] << 8);
    return s;
}

ReadChunk readChunk(const CanFrame& f) {
    ReadChunk r;
    r.canId = quint8(f.id >> 8);
    r.missing = high(f) == 1;
    r.code = codeIn(f);
    r.type = f.data[2];
    r.chunk = f.data[3];
    for (int i = 0; i < 4; ++i)
        r.bytes[size_t(i)] = f.data[size_t(i + 4)];
    return r;
}

WriteChunk writeReplyOf(const CanFrame& f) {
    WriteChunk w;
    w.canId = quint8(f.id >> 8);
    w.sub = high(f) & 3;
    w.error = high(f) >> 2;
    w.code = codeIn(f);
    w.type = f.data[2];
    w.chunk = f.data[3];
    for (int i = 0; i < 4; ++i)
        w.bytes[size_t(i)] = f.data[size_t(i + 4)];
    return w;
}

WriteChunk writeRequestOf(const CanFrame& f) {
    WriteChunk w = writeReplyOf(f);
    w.canId = f.destination();
    w.sub = high(f);
    w.error = 0;
    return w;
}

}  // namespace ParamFrames
