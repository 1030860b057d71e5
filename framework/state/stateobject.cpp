#include "framework/state/stateobject.h"

#include "framework/state/statemanager.h"

namespace kx {

namespace {

// The empty state stands for "no neighbour" and is never stored as one.
StateObject* stored(StateObject* state) {
    return state && !state->isEmptyState() ? state : nullptr;
}

}  // namespace

StateObject::StateObject(const QString& name, QObject* parent) : QObject(parent), m_name(name) {}

bool StateObject::isEmptyState() const {
    return false;
}

void StateObject::setPreviousState(StateObject* state, bool linkBack) {
    m_previous = stored(state);
    if (linkBack && m_previous) {
        m_previous->setNextState(this, false);
    }
}

void StateObject::setNextState(StateObject* state, bool linkBack) {
    m_next = stored(state);
    if (linkBack && m_next) {
        m_next->setPreviousState(this, false);
    }
}

void StateObject::setVar(const QVariant& value) {
    m_var = value;
}

QString StateObject::name() const {
    return m_name;
}

QVariant StateObject::var() const {
    return m_var;
}

StateObject* StateObject::previousState() const {
    return m_previous ? m_previous.data() : StateManager::instance().emptyState();
}

StateObject* StateObject::nextState() const {
    return m_next ? m_next.data() : StateManager::instance().emptyState();
}

}  // namespace kx
