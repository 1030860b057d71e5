#pragma once

#include <QString>
#include <QtGlobal>

#include <cmath>
#include <cstdio>
#include <cstring>

// Builds the "key=value key=value" text of a decoded record in a fixed buffer: the decoder runs
// a million times a second, so numbers are written by hand instead of through QString::arg.
class FieldText {
public:
    FieldText& key(const char* k) {
        if (m_size)
            put(' ');
        str(k);
        put('=');
        return *this;
    }
    FieldText& word(const char* w) {
        if (m_size)
            put(' ');
        return str(w);
    }
    FieldText& str(const char* s) {
        while (*s && m_size < kSize)
            m_buffer[m_size++] = *s++;
        return *this;
    }
    FieldText& text(const QString& s) { return str(s.toUtf8().constData()); }
    FieldText& put(char c) {
        if (m_size < kSize)
            m_buffer[m_size++] = c;
        return *this;
    }
    FieldText& dec(qint64 v) {
        if (v < 0) {
            put('-');
            return udec(quint64(-(v + 1)) + 1);
        }
        return udec(quint64(v));
    }
    FieldText& udec(quint64 v) {
        char digits[24];
        int n = 0;
        do {
            digits[n++] = char('0' + v % 10);
            v /= 10;
        } while (v);
        while (n)
            put(digits[--n]);
        return *this;
    }
    // "0x" and at least `width` upper-case hex digits.
    FieldText& hex(quint64 v, int width = 1) {
        static const char kHex[] = "0123456789ABCDEF";
        put('0').put('x');
        int digits = 1;
        while (digits < 16 && (v >> (4 * digits)))
            ++digits;
        for (int i = qMax(digits, width) - 1; i >= 0; --i)
            put(kHex[(v >> (4 * i)) & 0xF]);
        return *this;
    }
    FieldText& fixed(double v, int decimals) {
        if (!std::isfinite(v) || std::fabs(v) >= 1e15) {
            char tmp[32];
            std::snprintf(tmp, sizeof tmp, "%g", v);
            return str(tmp);
        }
        static const double kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
        decimals = qBound(0, decimals, 6);
        const quint64 scaled = quint64(std::llround(std::fabs(v) * kScale[decimals]));
        if (v < 0 && scaled != 0)
            put('-');
        const quint64 scale = quint64(kScale[decimals]);
        udec(scaled / scale);
        if (decimals) {
            put('.');
            quint64 fraction = scaled % scale;
            char digits[8];
            for (int i = decimals - 1; i >= 0; --i) {
                digits[i] = char('0' + fraction % 10);
                fraction /= 10;
            }
            for (int i = 0; i < decimals; ++i)
                put(digits[i]);
        }
        return *this;
    }
    FieldText& bytes(const quint8* p, int n) {
        static const char kHex[] = "0123456789ABCDEF";
        for (int i = 0; i < n; ++i) {
            if (i)
                put(' ');
            put(kHex[p[i] >> 4]).put(kHex[p[i] & 0xF]);
        }
        return *this;
    }

    QString result() const { return QString::fromUtf8(m_buffer, m_size); }

private:
    static constexpr int kSize = 240;
    char m_buffer[kSize];
    int m_size = 0;
};
