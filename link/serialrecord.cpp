#include "link/serialrecord.h"

namespace SerialRecord {

QByteArray fromFrame(const CanFrame& frame) {
    int n = frame.length;
    std::array<quint8, 8> data = frame.data;
    if (n == 0) {
        n = 1;
        data[0] = 0;
    } else if (n > 8) {
        n = 8;
    }
    const quint32 word = (frame.id << 3) | 0x04;
    QByteArray out(n + 9, Qt::Uninitialized);
    char* p = out.data();
    p[0] = 'A';
    p[1] = 'T';
    p[2] = char(word >> 24);
    p[3] = char(word >> 16);
    p[4] = char(word >> 8);
    p[5] = char(word);
    p[6] = char(n);
    for (int i = 0; i < n; ++i)
        p[7 + i] = char(data[size_t(i)]);
    p[7 + n] = '\r';
    p[8 + n] = '\n';
    return out;
}

bool toFrame(const QByteArray& record, CanFrame* frame) {
    const int size = record.size();
    if (size < 9)
        return false;
    const auto* p = reinterpret_cast<const quint8*>(record.constData());
    const int n = p[6];
    if (p[0] != 'A' || p[1] != 'T' || n > 8 || size != n + 9 || p[7 + n] != '\r' || p[8 + n] != '\n')
        return false;
    if (frame) {
        const quint32 word = quint32(p[2]) << 24 | quint32(p[3]) << 16 | quint32(p[4]) << 8 | p[5];
        frame->id = word >> 3;
        frame->length = quint8(n);
        frame->data.fill(0);
        for (int i = 0; i < n; ++i)
            frame->data[size_t(i)] = p[7 + i];
    }
    return true;
}

}  // namespace SerialRecord
