#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QStringList>

class QObject;

namespace kx {

class DataObject;

// Bounds shared by the JSON, variant, XML and binary imports so that hostile or corrupt input
// stays finite: a nesting depth limit, and a budget for the filler children that an index
// name such as "#99999999" would otherwise create by the million. One guard lives for one
// import call; it also announces finished containers the way every form does.
class ImportGuard {
public:
    // Deeper input is skipped. Far below the recursion that a thread's stack can take, far
    // above any tree this program builds.
    static constexpr int kMaxDepth = 512;
    // Relative children created only to reach a higher index, per import call.
    static constexpr int kMaxFillers = 1024;

    explicit ImportGuard(QObject* changer);

    // True when a node at this depth may be imported; logs one W line per import otherwise.
    bool admit(int depth);

    // The node that name (a dotted path, index names by position) resolves to below node,
    // created with insert when missing and create is set; the empty node when it is missing,
    // refused or not creatable. *depth grows by the path's segment count. With byChild the
    // lookup before creation is the plain child lookup (XML, binary); otherwise the name is
    // resolved as a path (JSON, variant).
    DataObject* resolve(DataObject* node, const QString& name, bool byChild, bool create, bool replace,
                        int* depth);

    // Brings node to count children for an array or list of that size (surplus removed with
    // removeMissing, relative children appended with create) and returns the children that
    // pair with the elements, in order.
    static QList<DataObject*> fitList(DataObject* node, QObject* changer, int count, bool create,
                                      bool removeMissing);
    // A scalar ends the import of node: with setValues (and removeMissing dropping any
    // children first) node takes the value; without it nothing happens, not even a signal.
    static void setLeaf(DataObject* node, QObject* changer, const QVariant& value, bool setValues,
                        bool removeMissing);

    // A container import is over: changed() with the present value, then the activation.
    static void announce(DataObject* node, QObject* changer);

private:
    int fillersNeeded(const DataObject* node, const QStringList& segments) const;

    QObject* m_changer;
    int m_fillersLeft = kMaxFillers;
    bool m_depthReported = false;
};

}  // namespace kx
