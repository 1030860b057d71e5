#pragma once

#include <QVariant>

namespace kx {

class DataObject;

// The variant form of a subtree: nested variant lists and maps, leaves as their values.
class VariantForm {
public:
    static QVariant exportNode(const DataObject* node, bool skipPrivate);
    static void importNode(DataObject* node, QObject* changer, const QVariant& value, bool create,
                           bool setValues, bool removeMissing);
};

}  // namespace kx
