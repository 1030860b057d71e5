#include "link/monitor/ascformat.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <cstdio>

namespace AscFormat {

namespace {

const char kHex[] = "0123456789ABCDEF";

// The date as the analysers write it, always in English: "Mon Dec 9 10:26:40.123 am 2024".
QByteArray dateText(qint64 us) {
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(us / 1000);
    return QLocale::c().toString(t, QStringLiteral("ddd MMM d hh:mm:ss.zzz ap yyyy")).toLatin1();
}

struct Token {
    const char* begin = nullptr;
    int size = 0;
    bool is(const char* text) const {
        return size == int(qstrlen(text)) && qstrnicmp(begin, text, uint(size)) == 0;
    }
    QByteArray bytes() const { return QByteArray(begin, size); }
};

// Splits at blanks; at most max tokens (the rest of the line is not needed).
int tokenize(const char* p, const char* end, Token* tokens, int max) {
    int n = 0;
    while (p < end && n < max) {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n'))
            ++p;
        if (p == end)
            break;
        tokens[n].begin = p;
        while (p < end && !(*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n'))
            ++p;
        tokens[n].size = int(p - tokens[n].begin);
        ++n;
    }
    return n;
}

bool parseNumber(const Token& t, int base, quint32* value) {
    bool ok = false;
    *value = t.bytes().toUInt(&ok, base);
    return ok;
}

// Seconds with a fraction ("12.345678") to microseconds.
bool parseSeconds(const Token& t, qint64* us) {
    const char* p = t.begin;
    const char* end = t.begin + t.size;
    bool negative = false;
    if (p < end && *p == '-') {
        negative = true;
        ++p;
    }
    qint64 seconds = 0;
    int digits = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p, ++digits)
        seconds = seconds * 10 + (*p - '0');
    if (digits == 0 || digits > 12)
        return false;
    qint64 micros = 0;
    int fraction = 0;
    if (p < end && *p == '.') {
        for (++p; p < end && *p >= '0' && *p <= '9'; ++p, ++fraction) {
            if (fraction < 6)
                micros = micros * 10 + (*p - '0');
        }
    }
    if (p != end)
        return false;
    for (; fraction < 6; ++fraction)
        micros *= 10;
    *us = (seconds * 1000000 + micros) * (negative ? -1 : 1);
    return true;
}

bool parseDate(const QByteArray& text, qint64* us) {
    const QString date = QString::fromLatin1(text).simplified();
    static const char* const formats[] = {
        "ddd MMM d hh:mm:ss.zzz ap yyyy",
        "ddd MMM d hh:mm:ss ap yyyy",
        "ddd MMM d HH:mm:ss.zzz yyyy",
        "ddd MMM d HH:mm:ss yyyy",
    };
    for (const char* format : formats) {
        const QDateTime t = QLocale::c().toDateTime(date, QLatin1String(format));
        if (t.isValid()) {
            *us = t.toMSecsSinceEpoch() * 1000;
            return true;
        }
    }
    return false;
}

}  // namespace

QByteArray header(qint64 startUs) {
    const QByteArray date = dateText(startUs);
    return "date " + date +
           "\n"
           "base hex  timestamps absolute\n"
           "no internal events logged\n"
           "Begin Triggerblock " +
           date +
           "\n"
           "   0.000000 Start of measurement\n";
}

QByteArray footer() {
    return QByteArrayLiteral("End TriggerBlock\n");
}

void appendLine(QByteArray* out, const TraceRecord& record, qint64 startUs) {
    // The header's date has millisecond resolution: times count from that millisecond.
    const qint64 base = startUs - startUs % 1000;
    // Times before the header's date (a record older than the first) would need a sign.
    const qint64 us = qMax<qint64>(0, record.timeUs - base);
    char line[128];
    int n = std::snprintf(line, 40, "%4lld.%06lld 1  ", (long long)(us / 1000000), (long long)(us % 1000000));
    char id[12];
    int idSize = 0;
    const quint32 value = record.frame.id & 0x1FFFFFFF;
    bool started = false;
    for (int shift = 28; shift >= 0; shift -= 4) {
        const int digit = (value >> shift) & 0xF;
        if (digit || started || shift == 0) {
            id[idSize++] = kHex[digit];
            started = true;
        }
    }
    id[idSize++] = 'x';
    for (int i = 0; i < idSize; ++i)
        line[n++] = id[i];
    for (int i = idSize; i < 16; ++i)
        line[n++] = ' ';
    line[n++] = ' ';
    line[n++] = record.isTx() ? 'T' : 'R';
    line[n++] = 'x';
    for (int i = 0; i < 3; ++i)
        line[n++] = ' ';
    line[n++] = 'd';
    line[n++] = ' ';
    const int length = qMin<int>(record.frame.length, 8);
    line[n++] = char('0' + length);
    for (int i = 0; i < length; ++i) {
        line[n++] = ' ';
        line[n++] = kHex[record.frame.data[size_t(i)] >> 4];
        line[n++] = kHex[record.frame.data[size_t(i)] & 0xF];
    }
    line[n++] = '\n';
    out->append(line, n);
}

TraceLine Parser::parseLine(const char* line, int size, TraceRecord* record, const char** reason) {
    Token t[16];
    const int count = tokenize(line, line + size, t, 16);
    if (count == 0)
        return TraceLine::Skip;
    auto corrupt = [reason](const char* why) {
        *reason = why;
        return TraceLine::Corrupt;
    };
    if (t[0].size >= 2 && t[0].begin[0] == '/' && t[0].begin[1] == '/')
        return TraceLine::Skip;
    if (t[0].is("date")) {
        const char* rest = t[count > 1 ? 1 : 0].begin;
        m_hasDate = count > 1 && parseDate(QByteArray(rest, int(line + size - rest)), &m_startUs);
        if (!m_hasDate)
            return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "unreadable date"));
        m_lastUs = 0;
        return TraceLine::Skip;
    }
    if (t[0].is("base")) {
        for (int i = 1; i < count; ++i) {
            if (t[i].is("hex") || t[i].is("dec"))
                m_hex = t[i].is("hex");
            else if (t[i].is("relative") || t[i].is("absolute"))
                m_relative = t[i].is("relative");
        }
        return TraceLine::Skip;
    }
    if (t[0].is("internal") || t[0].is("no") || t[0].is("begin") || t[0].is("end"))
        return TraceLine::Skip;

    qint64 us = 0;
    if (!parseSeconds(t[0], &us))
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "not an event line"));
    if (count < 2)
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "not an event line"));
    if (m_relative) {
        us += m_lastUs;
    }
    m_lastUs = us;
    if (t[1].is("start"))
        return TraceLine::Skip;
    quint32 channel = 0;
    if (!parseNumber(t[1], 10, &channel))
        return TraceLine::Other;  // CANFD and the analysers' other event lines
    if (count < 3)
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "not an event line"));
    if (t[2].is("errorframe"))
        return TraceLine::Error;
    // A frame: identifier, direction, d|r, length, bytes.
    Token id = t[2];
    const bool extended = id.size > 1 && (id.begin[id.size - 1] == 'x' || id.begin[id.size - 1] == 'X');
    if (count < 4 || !(t[3].is("rx") || t[3].is("tx")))
        return TraceLine::Other;  // status and statistics events carry no direction
    if (extended)
        --id.size;
    quint32 value = 0;
    if (!parseNumber(id, m_hex ? 16 : 10, &value))
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad identifier"));
    if (count < 5)
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "no data field"));
    if (t[4].is("r"))
        return TraceLine::Other;
    if (!t[4].is("d"))
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "no data field"));
    quint32 length = 0;
    if (count < 6 || !parseNumber(t[5], 16, &length))
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad length"));
    if (length > 8)
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "more than 8 data bytes"));
    if (count < 6 + int(length))
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "missing data bytes"));
    std::array<quint8, 8> data{};
    for (int i = 0; i < int(length); ++i) {
        quint32 byte = 0;
        if (!parseNumber(t[6 + i], m_hex ? 16 : 10, &byte) || byte > 0xFF)
            return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad data bytes"));
        data[size_t(i)] = quint8(byte);
    }
    if (!extended)
        return TraceLine::Standard;
    if (value > 0x1FFFFFFF)
        return corrupt(QT_TRANSLATE_NOOP("TraceFileReader", "bad identifier"));

    record->timeUs = m_startUs + us;
    record->kind = TraceRecord::Kind::Frame;
    record->bytes.clear();
    record->frame.id = value;
    record->frame.length = quint8(length);
    record->frame.data = data;
    record->direction = t[3].is("tx") ? TraceRecord::Direction::Tx : TraceRecord::Direction::Rx;
    return TraceLine::Frame;
}

}  // namespace AscFormat
