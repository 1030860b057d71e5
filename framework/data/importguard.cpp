#include "framework/data/importguard.h"

#include "framework/data/dataobject.h"
#include "framework/data/dataobjectprivate.h"
#include "framework/data/datamanager.h"
#include "framework/log/qflog.h"

#include <QStringList>

namespace kx {

ImportGuard::ImportGuard(QObject* changer) : m_changer(changer) {}

bool ImportGuard::admit(int depth) {
    if (depth <= kMaxDepth) {
        return true;
    }
    if (!m_depthReported) {
        m_depthReported = true;
        logW() << "<m><" << m_changer << "> import nested deeper than " << kMaxDepth
               << " levels, the deeper part is skipped";
    }
    return false;
}

int ImportGuard::fillersNeeded(const DataObject* node, const QStringList& segments) const {
    // Walk as far as the path exists; every missing index segment #n appends children up to n.
    const DataObject* current = node;
    bool exists = true;
    qint64 fillers = 0;
    for (const QString& segment : segments) {
        const int index = DataObject::indexOfRname(segment);
        if (exists) {
            const DataObject* next = index >= 0 ? current->cdobj(index) : current->cdobj(segment, true);
            if (!next->isEmpty()) {
                current = next;
                continue;
            }
            exists = false;
            if (index >= 0) {
                fillers += index - current->size();
            }
        } else if (index >= 0) {
            fillers += index;
        }
        if (fillers > kMaxFillers) {
            break;
        }
    }
    return int(qMin<qint64>(fillers, kMaxFillers + 1));
}

DataObject* ImportGuard::resolve(DataObject* node, const QString& name, bool byChild, bool create,
                                 bool replace, int* depth) {
    DataObject* empty = DataManager::instance().emptyDobj();
    if (node->isEmpty()) {
        return empty;
    }
    const QStringList segments = name.split(DataManager::separator());
    *depth += segments.size();
    if (!admit(*depth)) {
        return empty;
    }
    DataObject* found = byChild ? node->cdobj(name) : node->rdobj(name);
    if (!found->isEmpty() || !create) {
        return found;
    }
    // An empty part ("", "a..b") can never be looked up again; creating it would only leave
    // an unreachable node behind.
    if (segments.contains(QString())) {
        logW() << "<m><" << m_changer << "> import name with an empty part skipped: \"" << name << "\"";
        return empty;
    }
    const int fillers = fillersNeeded(node, segments);
    if (fillers > m_fillersLeft) {
        logW() << "<m><" << m_changer << "> index name out of range in import: \"" << name << "\"";
        return empty;
    }
    m_fillersLeft -= fillers;
    if (!node->insert(m_changer, name, replace)) {
        return empty;
    }
    return node->rdobj(name);
}

QList<DataObject*> ImportGuard::fitList(DataObject* node, QObject* changer, int count, bool create,
                                        bool removeMissing) {
    if (removeMissing) {
        while (node->size() > count) {
            node->remove(changer, node->last(), true);
        }
    }
    if (create) {
        while (node->size() < count) {
            if (node->append(changer)->isEmpty()) {
                break;
            }
        }
    }
    // One snapshot instead of a walk along the sibling list per element.
    QList<DataObject*> children = node->cdobjs();
    if (children.size() > count) {
        children.erase(children.begin() + count, children.end());
    }
    return children;
}

void ImportGuard::setLeaf(DataObject* node, QObject* changer, const QVariant& value, bool setValues,
                          bool removeMissing) {
    if (!setValues) {
        return;
    }
    if (removeMissing) {
        for (DataObject* child : node->cdobjs()) {
            node->remove(changer, child, true);
        }
    }
    node->set(changer, value);
}

void ImportGuard::announce(DataObject* node, QObject* changer) {
    if (node->isQuiet()) {
        return;
    }
    const QVariant value = DataObjectAccess::storedValue(node);
    emit node->changed(value, value, changer);
    if (node->isWatching()) {
        emit node->activated(node, DataObject::ACTIVATE_SET, changer);
        DataObject* parent = node->pdobj();
        if (!parent->isEmpty() && parent->isWatching()) {
            parent->activate(changer, node, DataObject::ACTIVATE_SET);
        }
    }
}

}  // namespace kx
