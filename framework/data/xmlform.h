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

    // The form uses three attributes per element; this many is certainly not the form.
    static constexpr int kMaxAttributes = 64;
    // Qt's reader checks each attribute against all before it, so an element with a hundred
    // thousand of them takes minutes. One linear pass over the text finds such an element
    // first: the reason (with its line) when one has more than kMaxAttributes, else empty.
    static QString attributeProblem(const QByteArray& xml);
};

}  // namespace kx
