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
};

}  // namespace kx
