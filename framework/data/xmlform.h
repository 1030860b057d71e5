#pragma once

#include <QString>

class QObject;
class QXmlStreamReader;
class QXmlStreamWriter;

namespace kx {

class DataObject;

// The XML form of a subtree: "m" for the top node, "c" for named and "l" for relative
// children, with "type" and "value" attributes.
class XmlForm {
public:
    static void exportNode(const DataObject* node, QXmlStreamWriter& writer, bool isTop, bool skipPrivate);
    static void importNode(DataObject* node, QObject* changer, QXmlStreamReader& reader, bool create,
                           bool setValues, bool strict);
    static QString exportString(const DataObject* node, int indent, bool skipPrivate);
};

}  // namespace kx
