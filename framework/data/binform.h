#pragma once

#include <QByteArray>

class QObject;

namespace kx {

class DataObject;

// The binary record of a subtree (QDataStream, version 19): kind and value, child count,
// child names, then each child's record nested as a byte array.
class BinForm {
public:
    static QByteArray exportNode(const DataObject* node, bool skipPrivate);
    static void importNode(DataObject* node, QObject* changer, const QByteArray& record, bool create,
                           bool setValues, bool removeMissing);

    // Where a record stops being readable: the byte offset of the first field that cannot be
    // read, or -1 when the whole record reads. Import skips damaged parts quietly; a caller
    // that must not take a fragment for the whole checks first.
    static qint64 damageOffset(const QByteArray& record);

    // The largest record uncompress() expands; a data tree of this program stays far below.
    static constexpr qint64 kMaxExpanded = 64 * 1024 * 1024;

    // qUncompress for untrusted input: the 4-byte size header is checked against what the
    // compressed bytes can possibly expand to (zlib stays below 1032:1) and against
    // kMaxExpanded before anything is allocated, and the data may not expand beyond what the
    // header says (qUncompress would keep doubling its buffer). Empty when implausible or
    // corrupt, with the reason in *why.
    static QByteArray uncompress(const QByteArray& compressed, QString* why = nullptr);
};

}  // namespace kx
