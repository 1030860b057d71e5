#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Values of parameter entries as they travel: little-endian bytes of the entry's value type
// (codes 0-9), or 16 bytes of text (code 10). Shared by the host and the simulated motors.
namespace ParamValue {

constexpr int kTextType = 10;
constexpr int kTextSize = 16;

// Bytes a value of the type occupies (1, 1, 2, 2, 4, 4, 4, 8, 8, 8; 16 for text; 0 otherwise).
int size(int type);
// Chunks of four bytes that carry one value of the type.
int chunks(int type);
bool isSigned(int type);
bool isInteger(int type);

// The number converted to the type and written as 8 raw bytes: integer types truncate toward
// zero and wrap to their width (a number beyond 64 bits gives 0), 6 is stored as float, 9 as
// double; any other type gives zeros.
QByteArray toRaw(int type, double value);
// Exact 64-bit integers, which a double cannot carry past 2^53.
QByteArray toRawInteger(int type, qint64 value);
QByteArray toRawUnsigned(int type, quint64 value);
double toDouble(int type, const QByteArray& raw);

// Integer types in decimal (signed ones sign-extended), 6 with 6 decimals, 9 with 12; "none"
// for any other type.
QString formatRaw(int type, const QByteArray& raw);
// "none" above 9; fixed-point with `decimals` digits for 6 and 9, none for integers.
QString formatLimit(int type, double value, int decimals);
// toRaw, then the stored value formatted as formatRaw does; other types store 0 and give "0".
QString storeRaw(int type, double value, QByteArray* raw);

// Parses an edited number by the type's rule: signed decimal integers for 1, 3, 5, 8; unsigned
// decimal integers for 0, 2, 4, 7 (a sign is refused); floating point for 6 and 9. On success
// stores the raw bytes and the number (for the range check); nullopt when it does not parse.
std::optional<double> parse(int type, const QString& text, QByteArray* raw);

// Text of a 16-byte text value: up to the first zero byte.
QString textOf(const QByteArray& bytes);
// Whether a text entry can hold the text as written: ASCII without a zero byte, which would
// end it early.
bool isText(const QString& text);
// Up to 16 bytes of text, padded with zeros to 16.
QByteArray textBytes(const QByteArray& text);

}  // namespace ParamValue
