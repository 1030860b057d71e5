// The structural operations of DataObject: linking, unlinking, reordering, clearing,
// copying, the flags, activation and the dump.
#include "framework/data/dataobject.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobjectprivate.h"
#include "framework/log/qflog.h"

#include <QSet>
#include <QVector>

#include <memory>

namespace kx {

namespace {

DataObject* emptyNode() {
    return DataManager::instance().emptyDobj();
}

}  // namespace

bool DataObject::insert(QObject* changer, const QString& path, bool replace) {
    DataObject* node = this;
    QStringView rest(path);
    for (;;) {
        if (node->isEmpty())
            return false;
        const qsizetype dot = rest.indexOf(QLatin1Char('.'));
        const QString part = (dot < 0 ? rest : rest.left(dot)).toString();
        if (part.isEmpty())
            return false;  // an empty segment can never name a node
        const int n = indexOfRname(part);
        if (n >= 0) {
            while (node->size() < n + 1) {
                auto* child = new DataObject(generateId(node), node);
                if (!node->insert(changer, child, replace, -1)) {
                    delete child;
                    return false;
                }
            }
        } else if (node->cdobj(part, true)->isEmpty()) {
            auto* child = new DataObject(part, node);
            if (!node->insert(changer, child, replace, -1)) {
                delete child;
                return false;
            }
        }
        node = node->cdobj(part, false);
        if (dot < 0)
            return !node->isEmpty();
        rest = rest.mid(dot + 1);
    }
}

bool DataObject::insert(QObject* changer, DataObject* node, bool replace, int index) {
    if (!node || node->isEmpty()) {
        logE().space() << "<mobj><" << changer << "> attempt to insert a null module obj";
        return false;
    }
    // A node inside another list, this node itself or one of its ancestors would corrupt
    // the tree (a second owner or a cycle); refuse them like a null node.
    if (node == this || isRdobjOf(node)) {
        logE().space() << "<mobj><" << changer
                       << "> attempt to insert an ancestor module obj: " << node->d_ptr->name;
        return false;
    }
    if (node->d_ptr->linked.load()) {
        logE().space() << "<mobj><" << changer
                       << "> attempt to insert a linked module obj: " << node->d_ptr->name;
        return false;
    }
    if (node->d_ptr->name.isEmpty()) {
        node->d_ptr->name = generateId(this);
    } else if (DataObject* present = cdobj(node->d_ptr->name, true); !present->isEmpty()) {
        if (!replace) {
            logE().space() << "<mobj><" << changer
                           << "> attempt to insert an existed module obj: " << node->d_ptr->name;
            return false;
        }
        if (!remove(changer, present, true))
            return false;
    }
    if (!isQuiet())
        emit gonnaInsert(node, this, changer);
    QString rname;
    {
        std::unique_lock<std::mutex> guard(d_ptr->lock);
        // Another thread may have taken the name since the check above.
        if (d_ptr->index.contains(QStringView(node->d_ptr->name))) {
            guard.unlock();
            logE().space() << "<mobj><" << changer
                           << "> attempt to insert an existed module obj: " << node->d_ptr->name;
            return false;
        }
        node->d_ptr->watching.store(isWatching());
        const int count = d_ptr->index.size();
        if (index < 0 || index > count)
            index = count;
        DataObjectAccess::linkLocked(d_ptr, this, node, index);
        rname = node->isRelative() ? dIndex(index) : node->d_ptr->name;
    }
    if (!isQuiet())
        emit added(rname, changer);
    if (isWatching())
        activate(changer, node, ACTIVATE_INSERT);
    return true;
}

DataObject* DataObject::append(QObject* changer, const QString& name) {
    auto* child = new DataObject(name.isEmpty() ? generateId(this) : name, this);
    if (!insert(changer, child, false, -1)) {
        delete child;
        return emptyNode();
    }
    return child;
}

bool DataObject::remove(QObject* changer, const QString& path, bool destroy) {
    DataObject* target = rdobj(path);
    if (target->isEmpty())
        return false;
    return target->pdobj()->remove(changer, target, destroy);
}

bool DataObject::remove(QObject* changer, DataObject* node, bool destroy) {
    if (!node || node->isEmpty()) {
        logE().space() << "<mobj><" << changer << "> attempt to remove a null module obj";
        return false;
    }
    bool linked;
    {
        std::lock_guard<std::mutex> guard(d_ptr->lock);
        // Identity, not just the name: a foreign node of the same name must not be unlinked.
        linked = DataObjectAccess::isLinkedLocked(d_ptr, node);
    }
    if (!linked) {
        logE().space() << "<mobj><" << changer
                       << "> attempt to remove an unexisted module obj: " << node->d_ptr->name;
        return false;
    }
    if (!isQuiet())
        emit gonnaRemove(node, this, changer);
    QString rname;
    {
        std::lock_guard<std::mutex> guard(d_ptr->lock);
        if (!DataObjectAccess::isLinkedLocked(d_ptr, node))
            return false;  // removed meanwhile by another thread
        rname =
            node->isRelative() ? dIndex(DataObjectAccess::positionLocked(d_ptr, node)) : node->d_ptr->name;
        DataObjectAccess::unlinkLocked(d_ptr, node);
    }
    if (!isQuiet())
        emit removed(rname, changer);
    if (isWatching())
        activate(changer, node, ACTIVATE_REMOVE);
    if (destroy)
        delete node;
    return true;
}

bool DataObject::reorder(QObject* changer, int from, int to) {
    if (from == to || size() < 2)
        return false;
    DataObject* child = cdobj(from);
    if (child->isEmpty())
        return false;
    if (!remove(changer, child, false))
        return false;
    if (!insert(changer, child, false, to)) {
        delete child;  // cannot happen for a name that was just free; never leak the node
        return false;
    }
    return true;
}

bool DataObject::reorder(QObject* changer, const QStringList& names) {
    if (names.isEmpty())
        return false;
    {
        std::lock_guard<std::mutex> guard(d_ptr->lock);
        const int count = d_ptr->index.size();
        if (count < 2 || names.size() > count)
            return false;
        QVector<DataObject*> order;
        order.reserve(count);
        QSet<DataObject*> taken;
        for (const QString& name : names) {
            DataObject* child = DataObjectAccess::findChildLocked(d_ptr, name, false);
            if (child && !taken.contains(child)) {
                taken.insert(child);
                order.append(child);
            }
        }
        for (DataObject* child = d_ptr->first; child; child = child->d_ptr->next) {
            if (!taken.contains(child))
                order.append(child);
        }
        for (int i = 0; i < order.size(); ++i) {
            DataObjectPrivate* c = order[i]->d_ptr;
            c->prev = i > 0 ? order[i - 1] : nullptr;
            c->next = i + 1 < order.size() ? order[i + 1] : nullptr;
        }
        d_ptr->first = order.first();
        d_ptr->last = order.last();
    }
    if (isWatching() && !isQuiet()) {
        emit activated(this, ACTIVATE_REORDER, changer);
        DataObject* parent = d_ptr->parent.load();
        if (parent && parent->isWatching())
            parent->activate(changer, this, ACTIVATE_REORDER);
    }
    return true;
}

void DataObject::clear(QObject* changer, bool destroy, bool keepStructure) {
    const QList<DataObject*> children = cdobjs();
    for (DataObject* child : children) {
        if (keepStructure)
            child->clear(changer, destroy, keepStructure);
        else
            remove(changer, child, destroy);
    }
    set(changer, QVariant());
}

void DataObject::copyFrom(QObject* changer, DataObject* source, bool create, bool removeMissing) {
    if (!source)
        return;
    // Copying an ancestor into its own subtree would feed on the nodes it creates, and
    // copying a descendant could delete the source midway (removeMissing); copy a detached
    // snapshot of the source instead.
    std::unique_ptr<DataObject> snapshot;
    if (source != this && (isRdobjOf(source) || source->isRdobjOf(this))) {
        snapshot = std::make_unique<DataObject>(source->name());
        snapshot->copyFrom(nullptr, source, true, false);
        source = snapshot.get();
    }
    if (removeMissing) {
        const QList<DataObject*> children = cdobjs();
        for (DataObject* child : children) {
            if (!source->hasCdobj(child->rname(), false))
                remove(changer, child, true);
        }
    }
    const QStringList names = source->cdobjNames(false);
    for (const QString& name : names) {
        DataObject* from = source->cdobj(name, false);
        if (from->isEmpty())
            continue;
        DataObject* to = cdobj(name, false);
        if (to->isEmpty() && create && insert(changer, name, false))
            to = cdobj(name, false);
        if (!to->isEmpty())
            to->copyFrom(changer, from, create, removeMissing);
    }
    set(changer, DataObjectAccess::storedValue(source));
}

// The empty node is shared by every failed lookup: its flags stay as they are, and it never
// emits, so a listener connected to a missing path hears nothing of unrelated callers.
void DataObject::quiet(bool on, bool recursive) {
    if (isEmpty())
        return;
    d_ptr->quiet.store(on);
    if (!recursive)
        return;
    const QList<DataObject*> children = cdobjs();
    for (DataObject* child : children)
        child->quiet(on, true);
}

void DataObject::watch(bool on, bool recursive) {
    if (isEmpty())
        return;
    d_ptr->watching.store(on);
    if (!recursive)
        return;
    const QList<DataObject*> children = cdobjs();
    for (DataObject* child : children)
        child->watch(on, true);
}

void DataObject::activate(QObject* changer, DataObject* node, int type) {
    if (isQuiet() || isEmpty())
        return;
    emit activated(node, type, changer);
    for (DataObject* p = d_ptr->parent.load(); p && p->isWatching() && !p->isQuiet();
         p = p->d_ptr->parent.load())
        emit p->activated(node, type, changer);
}

void DataObject::dump(const DataObject* base) const {
    logS() << "<mobj>" << fullName(base) << ": " << get().toString() << ", children: "
           << QLatin1Char('(') + cdobjNames(false).join(QStringLiteral(", ")) + QLatin1Char(')');
    const QList<DataObject*> children = cdobjs();
    for (DataObject* child : children)
        child->dump(nullptr);
}

}  // namespace kx
