#include "framework/state/statemanager.h"

#include "framework/state/emptystateobject.h"
#include "framework/state/stateaction.h"
#include "framework/state/stateobject.h"
#include "framework/state/statewatcher.h"

namespace kx {

StateManager& StateManager::instance() {
    static StateManager manager;
    return manager;
}

StateManager& state() {
    return StateManager::instance();
}

StateManager::StateManager()
    : m_emptyState(new EmptyStateObject(this)), m_emptyWatcher(new StateWatcher(this)) {}

StateObject* StateManager::regist(QObject* owner, const QString& name, bool makeCurrent) {
    if (!owner) {
        return m_emptyState;
    }
    if (!m_watchers.contains(owner)) {
        m_states.insert(owner, {});
        m_watchers.insert(owner, new StateWatcher(this));
        connect(owner, &QObject::destroyed, this, [this, owner] { forget(owner); });
    }
    QHash<QString, StateObject*>& states = m_states[owner];
    StateObject* result = states.value(name);
    if (!result) {
        result = new StateObject(name, this);
        states.insert(name, result);
    }
    if (makeCurrent) {
        m_current.insert(owner, result);
    }
    return result;
}

bool StateManager::regist(QObject* owner, const QStringList& names, bool makeCurrent, ConnectionType type) {
    if (names.isEmpty() || !owner) {
        return false;
    }
    QList<StateObject*> chain;
    chain.append(regist(owner, names.first(), makeCurrent));
    for (int i = 1; i < names.size(); ++i) {
        chain.append(regist(owner, names.at(i), false));
    }
    if (type == Chained || type == Ring) {
        for (int i = 0; i + 1 < chain.size(); ++i) {
            chain.at(i)->setNextState(chain.at(i + 1), true);
        }
    }
    if (type == Ring) {
        chain.last()->setNextState(chain.first(), true);
    }
    return true;
}

StateObject* StateManager::get(QObject* owner, const QString& name) const {
    StateObject* found = m_states.value(owner).value(name);
    return found ? found : m_emptyState;
}

StateObject* StateManager::current(QObject* owner) const {
    StateObject* found = m_current.value(owner).data();
    return found ? found : m_emptyState;
}

StateWatcher* StateManager::watcher(QObject* owner) const {
    StateWatcher* found = m_watchers.value(owner);
    return found ? found : m_emptyWatcher;
}

StateObject* StateManager::emptyState() const {
    return m_emptyState;
}

StateWatcher* StateManager::emptyWatcher() const {
    return m_emptyWatcher;
}

void StateManager::change(QObject* owner, StateObject* to) {
    if (!to) {
        return;
    }
    StateObject* from = current(owner);
    if (!from->isEmptyState()) {
        emit from->raus(to);
    }
    m_current.insert(owner, to);
    if (!to->isEmptyState()) {
        emit to->rein(from);
    }
    if (StateWatcher* own = m_watchers.value(owner)) {
        emit own->changed(from, to);
    }
}

void StateManager::change(QObject* owner, const QString& name) {
    change(owner, get(owner, name));
}

void StateManager::toNext(QObject* owner) {
    change(owner, current(owner)->nextState());
}

void StateManager::toPrevious(QObject* owner) {
    change(owner, current(owner)->previousState());
}

bool StateManager::cancel(QObject* owner, const QString& name) {
    auto states = m_states.find(owner);
    if (states == m_states.end()) {
        return false;
    }
    QList<StateObject*> doomed;
    if (name.isEmpty()) {
        doomed = states->values();
        states->clear();
    } else {
        StateObject* one = states->take(name);
        if (!one) {
            return false;
        }
        doomed.append(one);
    }
    for (StateObject* state : doomed) {
        if (m_current.value(owner) == state) {
            m_current.remove(owner);
        }
        // Neighbours hold guarded pointers, so they lose the link with the state.
        delete state;
    }
    return true;
}

void StateManager::forget(QObject* owner) {
    cancel(owner);
    m_states.remove(owner);
    m_current.remove(owner);
    delete m_watchers.take(owner);
}

}  // namespace kx
