#include "framework/data/variantform.h"

#include "framework/data/dataobject.h"
#include "framework/data/dataobjectprivate.h"
#include "framework/data/formvalue.h"
#include "framework/data/importguard.h"

namespace kx {

namespace {

bool isList(const QVariant& value) {
    return value.userType() == QMetaType::QVariantList;
}

void importValue(ImportGuard& guard, DataObject* node, QObject* changer, const QVariant& value, bool create,
                 bool setValues, bool removeMissing, int depth);

template <typename Map>
void importMap(ImportGuard& guard, DataObject* node, QObject* changer, const Map& map, bool create,
               bool setValues, bool removeMissing, int depth) {
    if (removeMissing) {
        for (DataObject* child : node->cdobjs()) {
            if (!map.contains(child->name())) {
                node->remove(changer, child, true);
            }
        }
    }
    // A hash has no order of its own; sorted keys make the import order the one of a map.
    QStringList keys = map.keys();
    keys.sort();
    for (const QString& key : qAsConst(keys)) {
        int childDepth = depth;
        DataObject* child = guard.resolve(node, key, false, create, setValues, &childDepth);
        if (!child->isEmpty()) {
            importValue(guard, child, changer, map.value(key), create, setValues, removeMissing, childDepth);
        }
    }
}

void importValue(ImportGuard& guard, DataObject* node, QObject* changer, const QVariant& value, bool create,
                 bool setValues, bool removeMissing, int depth) {
    if (node->isEmpty() || !guard.admit(depth)) {
        return;
    }
    if (isList(value)) {
        const QVariantList list = value.toList();
        // The elements sit one level below; an array too deep is left alone as a whole.
        if (!guard.admit(depth + 1)) {
            return;
        }
        const QList<DataObject*> children =
            ImportGuard::fitList(node, changer, list.size(), create, removeMissing);
        for (int i = 0; i < children.size(); ++i) {
            importValue(guard, children.at(i), changer, list.at(i), create, setValues, removeMissing,
                        depth + 1);
        }
    } else if (value.userType() == QMetaType::QVariantMap) {
        importMap(guard, node, changer, value.toMap(), create, setValues, removeMissing, depth);
    } else if (value.userType() == QMetaType::QVariantHash) {
        importMap(guard, node, changer, value.toHash(), create, setValues, removeMissing, depth);
    } else {
        ImportGuard::setLeaf(node, changer, value, setValues, removeMissing);
        return;
    }
    ImportGuard::announce(node, changer);
}

}  // namespace

QVariant VariantForm::exportNode(const DataObject* node, bool skipPrivate) {
    const QList<DataObject*> children = node->cdobjs();
    if (children.isEmpty()) {
        return DataObjectAccess::storedValue(node);
    }
    if (children.first()->isRelative()) {
        QVariantList list;
        list.reserve(children.size());
        for (const DataObject* child : children) {
            list.append(exportNode(child, skipPrivate));
        }
        return list;
    }
    QVariantMap map;
    for (const DataObject* child : children) {
        if (skipPrivate && FormValue::isPrivateName(child->name())) {
            continue;
        }
        map.insert(child->name(), exportNode(child, skipPrivate));
    }
    return map;
}

void VariantForm::importNode(DataObject* node, QObject* changer, const QVariant& value, bool create,
                             bool setValues, bool removeMissing) {
    ImportGuard guard(changer);
    importValue(guard, node, changer, value, create, setValues, removeMissing, 0);
}

}  // namespace kx
