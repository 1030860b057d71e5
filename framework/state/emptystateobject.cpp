#include "framework/state/emptystateobject.h"

namespace kx {

EmptyStateObject::EmptyStateObject(QObject* parent) : StateObject(QString(), parent) {}

bool EmptyStateObject::isEmptyState() const {
    return true;
}

void EmptyStateObject::setPreviousState(StateObject*, bool) {}

void EmptyStateObject::setNextState(StateObject*, bool) {}

void EmptyStateObject::setVar(const QVariant&) {}

}  // namespace kx
