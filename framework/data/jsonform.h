#pragma once

#include <QJsonValue>

namespace kx {

class DataObject;

// The JSON form of a subtree: leaves as values, lists as arrays, named children as objects.
class JsonForm {
public:
    static QJsonValue exportNode(const DataObject* node, bool skipPrivate);
    static void importNode(DataObject* node, QObject* changer, const QJsonValue& value, bool create,
                           bool setValues, bool removeMissing);
};

}  // namespace kx
