#pragma once

#include <QDataStream>
#include <QVariant>

namespace kx {

// Reads a value in Qt's variant encoding from a record that may be hostile. Qt's own reader
// reserves a list for whatever element count the input claims (a count of 2^31 is an
// allocation of many gigabytes) and recurses through nested lists without bound. Lists, string
// lists, byte-array lists, maps and hashes are therefore read here, with counts checked against
// the bytes left and the nesting bounded; other types are handed to Qt only when their
// encoding is of fixed or self-limiting size.
class BinVariantReader {
public:
    static constexpr int kMaxNesting = 64;

    // Whether values of this type can be read back safely; values of other types are saved
    // without a value so that the record stays readable.
    static bool isReadable(int type);

    // Reads one encoded variant. False when the input is unreadable or of a refused type;
    // *type then holds the type number read (0 when not even that could be read).
    static bool read(QDataStream& stream, QVariant* value, int* type);

    // QString and QByteArray, refused at once when the length read exceeds the bytes left (Qt
    // would allocate up to a megabyte-sized block before finding out).
    static bool readString(QDataStream& stream, QString* text);
    static bool readBytes(QDataStream& stream, QByteArray* bytes);

private:
    static bool lengthFits(QDataStream& stream);
    static bool readAt(QDataStream& stream, QVariant* value, int* type, int nesting);
};

}  // namespace kx
