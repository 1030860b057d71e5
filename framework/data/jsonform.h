#pragma once

#include <QByteArray>
#include <QJsonValue>

namespace kx {

class DataObject;

// The JSON form of a subtree: leaves as values, lists as arrays, named children as objects.
class JsonForm {
public:
    static QJsonValue exportNode(const DataObject* node, bool skipPrivate);
    static void importNode(DataObject* node, QObject* changer, const QJsonValue& value, bool create,
                           bool setValues, bool removeMissing);
    // The JSON parser hands objects back with their keys sorted: this walks the text the
    // subtree was imported from and puts every object's children back into the order they
    // were written in. Objects whose children differ from the text's keys are left alone.
    static void applyKeyOrder(DataObject* node, const QByteArray& text);
};

}  // namespace kx
