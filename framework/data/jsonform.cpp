#include "framework/data/jsonform.h"

#include "framework/data/dataobject.h"
#include "framework/data/formvalue.h"
#include "framework/data/importguard.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QVector>

#include <algorithm>

#include <cstring>

namespace kx {

namespace {

// Walks JSON text alongside the tree imported from it (see JsonForm::applyKeyOrder).
class KeyOrder {
public:
    explicit KeyOrder(const QByteArray& text) : m_text(text) {}

    void apply(DataObject* node) {
        skipBom();
        value(node);
    }

private:
    void skipBom() {
        if (m_text.startsWith("\xEF\xBB\xBF"))
            m_pos = 3;
    }
    void space() {
        while (m_pos < m_text.size() && strchr(" \t\r\n", m_text[m_pos]))
            ++m_pos;
    }
    QString string() {
        const int start = ++m_pos;  // after the opening quote
        while (m_pos < m_text.size() && m_text[m_pos] != '"')
            m_pos += m_text[m_pos] == '\\' ? 2 : 1;
        const QByteArray raw = m_text.mid(start, m_pos - start);
        ++m_pos;
        // Template keys are plain names; escapes would only matter for values.
        return QString::fromUtf8(raw);
    }
    void value(DataObject* node) {
        space();
        if (m_pos >= m_text.size())
            return;
        // Text nested deeper than any tree would only exhaust the stack: the walk ends there.
        if (m_depth >= kMaxDepth) {
            m_pos = m_text.size();
            return;
        }
        ++m_depth;
        nested(node);
        --m_depth;
    }
    void nested(DataObject* node) {
        const char c = m_text[m_pos];
        if (c == '{') {
            object(node);
        } else if (c == '[') {
            array(node);
        } else if (c == '"') {
            string();
        } else {
            while (m_pos < m_text.size() && !strchr(",}] \t\r\n", m_text[m_pos]))
                ++m_pos;
        }
    }
    void object(DataObject* node) {
        ++m_pos;
        QStringList names;
        for (;;) {
            space();
            if (m_pos >= m_text.size() || m_text[m_pos] == '}')
                break;
            const QString key = string();
            space();
            ++m_pos;  // ':'
            value(node ? node->cdobj(key) : nullptr);
            names << key;
            space();
            if (m_pos < m_text.size() && m_text[m_pos] == ',')
                ++m_pos;
        }
        ++m_pos;
        if (node && !node->isEmpty() && node->cdobjNames() != names && node->size() == names.size())
            node->reorder(nullptr, names);
    }
    void array(DataObject* node) {
        ++m_pos;
        for (int i = 0;; ++i) {
            space();
            if (m_pos >= m_text.size() || m_text[m_pos] == ']')
                break;
            const int before = m_pos;
            value(node ? node->cdobj(i) : nullptr);
            // A stray '}' is no value: stop instead of looking at it forever.
            if (m_pos == before)
                break;
            space();
            if (m_pos < m_text.size() && m_text[m_pos] == ',')
                ++m_pos;
        }
        ++m_pos;
    }

    static constexpr int kMaxDepth = 512;
    QByteArray m_text;
    int m_pos = 0;
    int m_depth = 0;
};
// JSON numbers are doubles: a 64-bit integer beyond 2^53 (an MCU ID) would lose its last
// digits, so such a value is written as its decimal text, which toULongLong() reads back.
QJsonValue leafValue(const QVariant& value) {
    constexpr qint64 kExact = qint64(1) << 53;
    if (value.userType() == QMetaType::ULongLong && value.toULongLong() > quint64(kExact)) {
        return value.toString();
    }
    if (value.userType() == QMetaType::LongLong &&
        (value.toLongLong() > kExact || value.toLongLong() < -kExact)) {
        return value.toString();
    }
    return QJsonValue::fromVariant(value);
}

void importValue(ImportGuard& guard, DataObject* node, QObject* changer, const QJsonValue& value, bool create,
                 bool setValues, bool removeMissing, int depth) {
    if (node->isEmpty() || !guard.admit(depth)) {
        return;
    }
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        // The elements sit one level below; an array too deep is left alone as a whole.
        if (!guard.admit(depth + 1)) {
            return;
        }
        const QList<DataObject*> children =
            ImportGuard::fitList(node, changer, array.size(), create, removeMissing);
        for (int i = 0; i < children.size(); ++i) {
            importValue(guard, children.at(i), changer, array.at(i), create, setValues, removeMissing,
                        depth + 1);
        }
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        if (removeMissing) {
            for (DataObject* child : node->cdobjs()) {
                if (!object.contains(child->name())) {
                    node->remove(changer, child, true);
                }
            }
        }
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            int childDepth = depth;
            DataObject* child = guard.resolve(node, it.key(), false, create, setValues, &childDepth);
            if (!child->isEmpty()) {
                importValue(guard, child, changer, it.value(), create, setValues, removeMissing, childDepth);
            }
        }
    } else {
        // JSON has one number type: a number is a double, also when it has no fraction.
        ImportGuard::setLeaf(node, changer, value.isDouble() ? QVariant(value.toDouble()) : value.toVariant(),
                             setValues, removeMissing);
        return;
    }
    // A container announces itself once, after all its descendants.
    ImportGuard::announce(node, changer);
}

}  // namespace

QJsonValue JsonForm::exportNode(const DataObject* node, bool skipPrivate) {
    const QList<DataObject*> children = node->cdobjs();
    if (children.isEmpty()) {
        return leafValue(node->get());
    }
    if (children.first()->isRelative()) {
        QJsonArray array;
        for (const DataObject* child : children) {
            array.append(exportNode(child, skipPrivate));
        }
        return array;
    }
    // A JSON object keeps its keys sorted: inserting them in child order moves the tail of
    // the object on every insertion, which makes wide nodes quadratic. In sorted order every
    // insertion appends.
    QVector<const DataObject*> sorted;
    sorted.reserve(children.size());
    for (const DataObject* child : children) {
        if (!skipPrivate || !FormValue::isPrivateName(child->name())) {
            sorted.append(child);
        }
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const DataObject* a, const DataObject* b) { return a->name() < b->name(); });
    QJsonObject object;
    for (const DataObject* child : qAsConst(sorted)) {
        object.insert(child->name(), exportNode(child, skipPrivate));
    }
    return object;
}

void JsonForm::importNode(DataObject* node, QObject* changer, const QJsonValue& value, bool create,
                          bool setValues, bool removeMissing) {
    ImportGuard guard(changer);
    importValue(guard, node, changer, value, create, setValues, removeMissing, 0);
}

}  // namespace kx

namespace kx {

void JsonForm::applyKeyOrder(DataObject* node, const QByteArray& text) {
    KeyOrder(text).apply(node);
}

}  // namespace kx
