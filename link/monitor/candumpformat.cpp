#include "link/monitor/candumpformat.h"

#include <QCoreApplication>

namespace CandumpFormat {

namespace {

const char kHex[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Writes value as decimal digits into p, zero-padded to width; returns the end.
char* putDecimal(char* p, quint64 value, int width) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = char('0' + value % 10);
        value /= 10;
    } while (value);
    while (n < width)
        digits[n++] = '0';
    while (n)
        *p++ = digits[--n];
    return p;
}

}  // namespace

void appendLine(QByteArray* out, const TraceRecord& record, const char* interface) {
    char line[96];
    char* p = line;
    const qint64 us = qMax<qint64>(0, record.timeUs);
    *p++ = '(';
    p = putDecimal(p, quint64(us / 1000000), 10);
    *p++ = '.';
    p = putDecimal(p, quint64(us % 1000000), 6);
    *p++ = ')';
    *p++ = ' ';
    for (const char* i = interface; *i && p < line + 40; ++i)
        *p++ = *i;
    *p++ = ' ';
    const quint32 id = record.frame.id & 0x1FFFFFFF;
    for (int shift = 28; shift >= 0; shift -= 4)
        *p++ = kHex[(id >> shift) & 0xF];
    *p++ = '#';
    const int n = qMin<int>(record.frame.length, 8);
    for (int i = 0; i < n; ++i) {
        *p++ = kHex[record.frame.data[size_t(i)] >> 4];
        *p++ = kHex[record.frame.data[size_t(i)] & 0xF];
    }
    *p++ = ' ';
    *p++ = record.isTx() ? 'T' : 'R';
    *p++ = '\n';
    out->append(line, int(p - line));
}

TraceLine parseLine(const char* line, int size, TraceRecord* record, const char** reason) {
    const char* p = line;
    const char* end = line + size;
    while (end > p && (isBlank(end[-1]) || end[-1] == '\n'))
        --end;
    while (p < end && isBlank(*p))
        ++p;
    if (p == end)
        return TraceLine::Skip;
    auto corrupt = [reason](const char* why) {
        *reason = why;
        return TraceLine::Corrupt;
    };

    // (seconds.fraction)
    if (*p != '(')
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "no time stamp"));
    ++p;
    quint64 seconds = 0;
    int digits = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p, ++digits)
        seconds = seconds * 10 + quint64(*p - '0');
    if (digits == 0 || digits > 12 || p == end || *p != '.')
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad time stamp"));
    ++p;
    quint64 micros = 0;
    digits = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p, ++digits) {
        if (digits < 6)
            micros = micros * 10 + quint64(*p - '0');
    }
    if (digits == 0 || p == end || *p != ')')
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad time stamp"));
    for (; digits < 6; ++digits)
        micros *= 10;
    ++p;

    // interface
    if (p == end || !isBlank(*p))
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "no interface"));
    while (p < end && isBlank(*p))
        ++p;
    const char* interfaceStart = p;
    while (p < end && !isBlank(*p))
        ++p;
    if (p == interfaceStart || p == end)
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "no frame"));
    while (p < end && isBlank(*p))
        ++p;

    // identifier#data
    const char* idStart = p;
    quint32 id = 0;
    while (p < end && *p != '#') {
        const int v = hexValue(*p);
        if (v < 0)
            return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad identifier"));
        id = (id << 4) | quint32(v);
        ++p;
        if (p - idStart > 8)
            return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad identifier"));
    }
    const int idDigits = int(p - idStart);
    if (p == end || (idDigits != 3 && idDigits != 8))
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad identifier"));
    ++p;  // '#'
    const bool fd = p < end && *p == '#';
    const bool remote = p < end && (*p == 'R' || *p == 'r');
    std::array<quint8, 8> data{};
    int length = 0;
    if (!fd && !remote) {
        while (p < end && !isBlank(*p)) {
            if (*p == '.') {
                ++p;
                continue;
            }
            const int hi = hexValue(*p);
            const int lo = p + 1 < end ? hexValue(p[1]) : -1;
            if (hi < 0 || lo < 0)
                return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad data bytes"));
            if (length == 8)
                return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "more than 8 data bytes"));
            data[size_t(length++)] = quint8(hi << 4 | lo);
            p += 2;
        }
    } else {
        while (p < end && !isBlank(*p))
            ++p;
    }

    // optional direction
    while (p < end && isBlank(*p))
        ++p;
    char direction = 0;
    if (p < end) {
        if (end - p != 1 || (*p != 'R' && *p != 'T'))
            return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "unexpected text after the frame"));
        direction = *p;
    }

    if (idDigits == 3)
        return TraceLine::Standard;
    if (id & 0x20000000)
        return TraceLine::Error;
    if (id > 0x1FFFFFFF)
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad identifier"));
    if (fd || remote)
        return TraceLine::Other;

    record->timeUs = qint64(seconds * 1000000 + micros);
    record->kind = TraceRecord::Kind::Frame;
    record->bytes.clear();
    record->frame.id = id;
    record->frame.length = quint8(length);
    record->frame.data = data;
    record->direction = direction == 'T'   ? TraceRecord::Direction::Tx
                        : direction == 'R' ? TraceRecord::Direction::Rx
                                           : TraceRecord::directionOf(record->frame);
    return TraceLine::Frame;
}

}  // namespace CandumpFormat
