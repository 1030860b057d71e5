#include "framework/data/xmlform.h"

#include "framework/data/dataobject.h"
#include "framework/data/dataobjectprivate.h"
#include "framework/data/formvalue.h"
#include "framework/data/importguard.h"
#include "framework/log/qflog.h"

#include <QCoreApplication>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QSizeF>
#include <QVector>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace kx {

namespace {

const QString kTop = QStringLiteral("m");
const QString kNamed = QStringLiteral("c");
const QString kRelative = QStringLiteral("l");
const QString kName = QStringLiteral("name");
const QString kType = QStringLiteral("type");
const QString kValue = QStringLiteral("value");

bool isPair(int type) {
    return type == QMetaType::QSize || type == QMetaType::QSizeF || type == QMetaType::QPoint ||
           type == QMetaType::QPointF;
}

QString pairText(double first, double second, bool integral) {
    if (integral) {
        return QStringLiteral("%1,%2").arg(qint64(first)).arg(qint64(second));
    }
    return QStringLiteral("%1,%2").arg(QString::number(first, 'g', 6), QString::number(second, 'g', 6));
}

// The "value" attribute; false when the type has no text form.
bool valueText(const QVariant& value, QString* text) {
    switch (value.userType()) {
        case QMetaType::QSize: {
            const QSize s = value.toSize();
            *text = pairText(s.width(), s.height(), true);
            return true;
        }
        case QMetaType::QSizeF: {
            const QSizeF s = value.toSizeF();
            *text = pairText(s.width(), s.height(), false);
            return true;
        }
        case QMetaType::QPoint: {
            const QPoint p = value.toPoint();
            *text = pairText(p.x(), p.y(), true);
            return true;
        }
        case QMetaType::QPointF: {
            const QPointF p = value.toPointF();
            *text = pairText(p.x(), p.y(), false);
            return true;
        }
        default:
            if (!value.canConvert<QString>()) {
                return false;
            }
            *text = value.toString();
            return true;
    }
}

QVariant pairValue(int type, const QString& text, bool* ok) {
    const QStringList parts = text.split(QLatin1Char(','));
    bool firstOk = true;
    bool secondOk = true;
    const double first = parts.value(0).trimmed().isEmpty() ? 0.0 : parts.value(0).toDouble(&firstOk);
    const double second = parts.value(1).trimmed().isEmpty() ? 0.0 : parts.value(1).toDouble(&secondOk);
    *ok = firstOk && secondOk;
    switch (type) {
        case QMetaType::QSize:
            return QSize(int(qBound(-2147483648.0, first, 2147483647.0)),
                         int(qBound(-2147483648.0, second, 2147483647.0)));
        case QMetaType::QSizeF:
            return QSizeF(first, second);
        case QMetaType::QPoint:
            return QPoint(int(qBound(-2147483648.0, first, 2147483647.0)),
                          int(qBound(-2147483648.0, second, 2147483647.0)));
        default:
            return QPointF(first, second);
    }
}

QVariant elementValue(const QXmlStreamReader& reader, QObject* changer) {
    const QXmlStreamAttributes attributes = reader.attributes();
    if (!attributes.hasAttribute(kValue)) {
        return QVariant();
    }
    const QString text = attributes.value(kValue).toString();
    if (!attributes.hasAttribute(kType)) {
        return text;
    }
    bool typeOk = false;
    const int type = attributes.value(kType).toInt(&typeOk);
    QVariant value;
    bool converted = false;
    if (typeOk && isPair(type)) {
        value = pairValue(type, text, &converted);
    } else {
        value = text;
        converted = typeOk && value.convert(type);
    }
    if (!converted) {
        logW() << "<m><" << changer << "> cannot convert in xml: (" << reader.lineNumber() << ", "
               << reader.columnNumber() << ")";
    }
    return value;
}

// One element being imported: its node, how many child elements it accepted (the next "l" is
// #accepted), its depth in the tree below the target and the value recorded for its end.
struct Frame {
    DataObject* node;
    int accepted;
    int depth;
    QVariant value;
};

}  // namespace

void XmlForm::exportNode(const DataObject* node, QXmlStreamWriter& writer, bool isTop, bool skipPrivate) {
    const QString name = node->name();
    if (isTop) {
        writer.writeStartElement(kTop);
    } else if (node->isRelative()) {
        writer.writeStartElement(kRelative);
    } else {
        writer.writeStartElement(kNamed);
        writer.writeAttribute(kName, FormValue::xmlSafe(name));
    }
    const QVariant value = DataObjectAccess::storedValue(node);
    if (!FormValue::isNull(value)) {
        writer.writeAttribute(kType, QString::number(value.userType()));
        QString text;
        if (valueText(value, &text)) {
            writer.writeAttribute(kValue, FormValue::xmlSafe(text));
        }
    }
    for (const DataObject* child : node->cdobjs()) {
        if (skipPrivate && FormValue::isPrivateName(child->name())) {
            continue;
        }
        exportNode(child, writer, false, skipPrivate);
    }
    writer.writeEndElement();
}

void XmlForm::importNode(DataObject* node, QObject* changer, QXmlStreamReader& reader, bool create,
                         bool setValues, bool strict) {
    if (node->isEmpty()) {
        return;
    }
    ImportGuard guard(changer);
    // An explicit stack rather than parent pointers: a dotted name enters several levels at
    // once, and its end must lead back to the element's own parent.
    QVector<Frame> stack;
    stack.append(Frame{node, 0, 0, QVariant()});
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringRef element = reader.name();
            const QVariant value = elementValue(reader, changer);
            if (element == kTop) {
                if (setValues) {
                    const bool wasQuiet = node->isQuiet();
                    node->quiet(true, false);
                    node->set(changer, value);
                    node->quiet(wasQuiet, false);
                }
                continue;
            }
            QString childName;
            if (element == kNamed) {
                childName = reader.attributes().value(kName).toString();
                if (childName.isEmpty()) {
                    logW() << "<m><" << changer << "> no name specified in xml: (" << reader.lineNumber()
                           << ", " << reader.columnNumber() << ")";
                    reader.skipCurrentElement();
                    continue;
                }
            } else if (element == kRelative) {
                childName = QLatin1Char('#') + QString::number(stack.last().accepted);
            } else if (strict) {
                logW() << "<m><" << changer << "> non-standard xml element: \"" << element.toString() << "\"";
                reader.skipCurrentElement();
                continue;
            } else {
                childName = element.toString();
            }
            Frame& current = stack.last();
            int depth = current.depth;
            DataObject* child = guard.resolve(current.node, childName, true, create, setValues, &depth);
            if (child->isEmpty()) {
                if (!create && depth <= ImportGuard::kMaxDepth) {
                    logW() << "<m><" << changer << "> importing xml element not exist: \"" << childName
                           << "\"";
                }
                reader.skipCurrentElement();
                continue;
            }
            ++current.accepted;
            stack.append(Frame{child, 0, depth, setValues ? value : QVariant()});
        } else if (token == QXmlStreamReader::EndElement) {
            if (reader.name() == kTop) {
                continue;
            }
            if (stack.size() == 1) {
                break;  // the end of the element that holds the target: the import is over
            }
            const Frame done = stack.takeLast();
            if (setValues) {
                done.node->set(changer, done.value);
            }
        }
    }
    ImportGuard::announce(node, changer);
}

QString XmlForm::attributeProblem(const QByteArray& xml) {
    enum class State { Text, Tag, Quoted, Skip };
    State state = State::Text;
    char quote = 0;
    QByteArray skipEnd;  // what ends a comment, processing instruction or CDATA section
    int attributes = 0;
    int line = 1;
    const int n = xml.size();
    for (int i = 0; i < n; ++i) {
        const char c = xml[i];
        if (c == '\n')
            ++line;
        switch (state) {
            case State::Text:
                if (c != '<')
                    break;
                if (xml.mid(i, 4) == "<!--") {
                    skipEnd = "-->";
                } else if (xml.mid(i, 9) == "<![CDATA[") {
                    skipEnd = "]]>";
                } else if (i + 1 < n && (xml[i + 1] == '?' || xml[i + 1] == '!')) {
                    skipEnd = ">";
                } else {
                    state = State::Tag;
                    attributes = 0;
                    break;
                }
                state = State::Skip;
                break;
            case State::Tag:
                if (c == '"' || c == '\'') {
                    quote = c;
                    state = State::Quoted;
                } else if (c == '=') {
                    if (++attributes > kMaxAttributes)
                        return QCoreApplication::translate(
                                   "XmlForm", "an element with more than %1 attributes at line %2")
                            .arg(kMaxAttributes)
                            .arg(line);
                } else if (c == '>') {
                    state = State::Text;
                }
                break;
            case State::Quoted:
                if (c == quote)
                    state = State::Tag;
                break;
            case State::Skip:
                if (c == skipEnd.back() && i + 1 >= skipEnd.size() &&
                    xml.mid(i + 1 - skipEnd.size(), skipEnd.size()) == skipEnd)
                    state = State::Text;
                break;
        }
    }
    return QString();
}

QString XmlForm::exportString(const DataObject* node, int indent, bool skipPrivate) {
    QString xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(indent > 0);
    if (indent > 0) {
        writer.setAutoFormattingIndent(indent);
    }
    writer.writeStartDocument();
    if (!node->isEmpty()) {
        exportNode(node, writer, true, skipPrivate);
    }
    writer.writeEndDocument();
    return xml;
}

}  // namespace kx
