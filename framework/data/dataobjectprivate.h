#pragma once

#include "framework/data/dataobject.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <atomic>
#include <mutex>

namespace kx {

// The private record of a node. The node's lock guards its value, its child list and child
// index, and the sibling links of its children. At most one node lock is held at any time,
// and never while a signal is emitted, so no lock order can deadlock.
class DataObjectPrivate {
public:
    explicit DataObjectPrivate(const QString& name, DataObject* parent) : parent(parent), name(name) {}

    // Written under the parent's lock on insert/remove; read lock-free by navigation.
    std::atomic<DataObject*> parent;
    DataObject* prev = nullptr;  // guarded by the parent's lock
    DataObject* next = nullptr;  // guarded by the parent's lock
    DataObject* first = nullptr;
    DataObject* last = nullptr;
    // Keyed by views of the children's stored names: a path segment is looked up without
    // building a QString. A stored name never changes while its node is in an index.
    QHash<QStringView, DataObject*> index;
    QString name;
    QVariant value;
    // True while the node is in its parent's list: only then is the parent known to be alive.
    std::atomic<bool> linked{false};
    std::atomic<bool> quiet{false};
    std::atomic<bool> watching{false};
    mutable std::mutex lock;
};

// The position an index name "#n" stands for, or -1 when the text is no index name.
inline int indexOfSegment(QStringView segment) {
    if (segment.isEmpty() || segment.front() != QLatin1Char('#'))
        return -1;
    bool ok = false;
    const int n = segment.mid(1).toInt(&ok, 10);
    return ok ? n : -1;
}

// Helpers that need the private records of several nodes; every function named *Locked
// expects the lock of the node whose list it touches to be held by the caller.
struct DataObjectAccess {
    static DataObjectPrivate* d(const DataObject* node) { return node->d_ptr; }

    // The value as stored. get() hands out its default for values that Qt calls null (a point
    // 0,0, a size 0x0, a null string); copies, events and the interchange forms take the stored
    // value so that such a value is not lost on the way.
    static QVariant storedValue(const DataObject* node) {
        std::lock_guard<std::mutex> guard(node->d_ptr->lock);
        return node->d_ptr->value;
    }

    static DataObject* childAtLocked(const DataObjectPrivate* d, int index) {
        const int count = d->index.size();
        if (index < 0 || index >= count)
            return nullptr;
        if (index > count / 2) {
            DataObject* node = d->last;
            for (int i = count - 1; i > index; --i)
                node = node->d_ptr->prev;
            return node;
        }
        DataObject* node = d->first;
        for (int i = 0; i < index; ++i)
            node = node->d_ptr->next;
        return node;
    }

    static DataObject* findChildLocked(const DataObjectPrivate* d, QStringView name, bool real) {
        if (!real) {
            const int n = indexOfSegment(name);
            if (n >= 0)
                return childAtLocked(d, n);
        }
        return d->index.value(name, nullptr);
    }

    static int positionLocked(const DataObjectPrivate* d, const DataObject* child) {
        int i = 0;
        for (DataObject* node = d->first; node; node = node->d_ptr->next, ++i) {
            if (node == child)
                return i;
        }
        return -1;
    }

    static bool isLinkedLocked(const DataObjectPrivate* d, const DataObject* child) {
        return d->index.value(QStringView(child->d_ptr->name), nullptr) == child;
    }

    // Takes the child out of the list and index and detaches it from this parent, so a
    // removed node never points back at a parent that may die before it.
    static void unlinkLocked(DataObjectPrivate* d, DataObject* child) {
        DataObjectPrivate* c = child->d_ptr;
        if (c->prev)
            c->prev->d_ptr->next = c->next;
        else
            d->first = c->next;
        if (c->next)
            c->next->d_ptr->prev = c->prev;
        else
            d->last = c->prev;
        c->prev = nullptr;
        c->next = nullptr;
        d->index.remove(QStringView(c->name));
        c->parent.store(nullptr);
        c->linked.store(false);
    }

    static void linkLocked(DataObjectPrivate* d, DataObject* self, DataObject* child, int index) {
        DataObjectPrivate* c = child->d_ptr;
        c->parent.store(self);
        c->prev = nullptr;
        c->next = nullptr;
        const int count = d->index.size();
        if (count == 0) {
            d->first = d->last = child;
        } else if (index == count) {
            c->prev = d->last;
            d->last->d_ptr->next = child;
            d->last = child;
        } else if (index == 0) {
            c->next = d->first;
            d->first->d_ptr->prev = child;
            d->first = child;
        } else {
            DataObject* before = childAtLocked(d, index - 1);
            DataObject* after = before->d_ptr->next;
            c->prev = before;
            c->next = after;
            before->d_ptr->next = child;
            after->d_ptr->prev = child;
        }
        d->index.insert(QStringView(c->name), child);
        c->linked.store(true);
    }
};

}  // namespace kx
