#include "link/frames/paramvalue.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace ParamValue {

namespace {

// Truncates toward zero; nullopt past the 64-bit range (no width can hold it).
std::optional<qint64> truncated(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double t = std::trunc(value);
    if (t >= 9223372036854775808.0 || t < -9223372036854775808.0)
        return std::nullopt;
    return qint64(t);
}

quint64 bits(const QByteArray& raw) {
    QByteArray b = raw.left(8);
    b.append(QByteArray(8 - b.size(), '\0'));
    return qFromLittleEndian<quint64>(b.constData());
}

}  // namespace

int size(int type) {
    switch (type) {
        case 0:
        case 1:
            return 1;
        case 2:
        case 3:
            return 2;
        case 4:
        case 5:
        case 6:
            return 4;
        case 7:
        case 8:
        case 9:
            return 8;
        case kTextType:
            return kTextSize;
        default:
            return 0;
    }
}

int chunks(int type) {
    return (size(type) + 3) / 4;
}

bool isSigned(int type) {
    return type == 1 || type == 3 || type == 5 || type == 8;
}

bool isInteger(int type) {
    return type >= 0 && type <= 8 && type != 6;
}

QByteArray toRawInteger(int type, qint64 value) {
    QByteArray raw(8, '\0');
    if (!isInteger(type))
        return toRaw(type, double(value));
    // Narrowing keeps the low bytes: the wrap of a C cast to the type's width.
    const quint64 u = quint64(value);
    qToLittleEndian(u, raw.data());
    raw.resize(size(type));
    raw.append(QByteArray(8 - raw.size(), '\0'));
    return raw;
}

QByteArray toRawUnsigned(int type, quint64 value) {
    return toRawInteger(type, qint64(value));
}

QByteArray toRaw(int type, double value) {
    QByteArray raw(8, '\0');
    if (isInteger(type)) {
        if (type == 7 && std::isfinite(value) && value >= 9223372036854775808.0 &&
            value < 18446744073709551616.0)
            return toRawUnsigned(type, quint64(value));
        const auto t = truncated(value);
        return t ? toRawInteger(type, *t) : raw;
    }
    if (type == 6)
        qToLittleEndian(float(value), raw.data());
    else if (type == 9)
        qToLittleEndian(value, raw.data());
    return raw;
}

double toDouble(int type, const QByteArray& raw) {
    const quint64 u = bits(raw);
    switch (type) {
        case 0:
            return quint8(u);
        case 1:
            return qint8(u);
        case 2:
            return quint16(u);
        case 3:
            return qint16(u);
        case 4:
            return quint32(u);
        case 5:
            return qint32(u);
        case 6: {
            const quint32 b = quint32(u);
            float f;
            std::memcpy(&f, &b, sizeof f);
            return f;
        }
        case 7:
            return double(u);
        case 8:
            return double(qint64(u));
        case 9: {
            double d;
            std::memcpy(&d, &u, sizeof d);
            return d;
        }
        default:
            return 0;
    }
}

QString formatRaw(int type, const QByteArray& raw) {
    const quint64 u = bits(raw);
    switch (type) {
        case 0:
            return QString::number(quint8(u));
        case 1:
            return QString::number(qint8(u));
        case 2:
            return QString::number(quint16(u));
        case 3:
            return QString::number(qint16(u));
        case 4:
            return QString::number(quint32(u));
        case 5:
            return QString::number(qint32(u));
        case 7:
            return QString::number(u);
        case 8:
            return QString::number(qint64(u));
        case 6:
            return QString::number(toDouble(6, raw), 'f', 6);
        case 9:
            return QString::number(toDouble(9, raw), 'f', 12);
        default:
            return QStringLiteral("none");
    }
}

QString formatLimit(int type, double value, int decimals) {
    if (type < 0 || type > 9)
        return QStringLiteral("none");
    if (type == 6 || type == 9)
        return QString::number(value, 'f', qMax(0, decimals));
    return QString::number(value, 'f', 0);
}

QString storeRaw(int type, double value, QByteArray* raw) {
    if (type < 0 || type > 9) {
        if (raw)
            *raw = QByteArray(8, '\0');
        return QStringLiteral("0");
    }
    const QByteArray bytes = toRaw(type, value);
    if (raw)
        *raw = bytes;
    return formatRaw(type, bytes);
}

std::optional<double> parse(int type, const QString& text, QByteArray* raw) {
    const QString t = text.trimmed();
    bool ok = false;
    if (isSigned(type)) {
        const qint64 v = t.toLongLong(&ok, 10);
        if (!ok)
            return std::nullopt;
        if (raw)
            *raw = toRawInteger(type, v);
        return double(v);
    }
    if (isInteger(type)) {
        // toULongLong accepts "-1" as a huge number; an unsigned entry takes no sign.
        if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')))
            return std::nullopt;
        const quint64 v = t.toULongLong(&ok, 10);
        if (!ok)
            return std::nullopt;
        if (raw)
            *raw = toRawUnsigned(type, v);
        return double(v);
    }
    if (type == 6 || type == 9) {
        const double v = t.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return std::nullopt;
        if (raw)
            *raw = toRaw(type, v);
        return v;
    }
    return std::nullopt;
}

QString textOf(const QByteArray& bytes) {
    const int end = bytes.indexOf('\0');
    return QString::fromLatin1(end < 0 ? bytes : bytes.left(end));
}

bool isText(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() == 0 || c.unicode() >= 0x80)
            return false;
    }
    return true;
}

QByteArray textBytes(const QByteArray& text) {
    QByteArray b = text.left(kTextSize);
    b.append(QByteArray(kTextSize - b.size(), '\0'));
    return b;
}

}  // namespace ParamValue
