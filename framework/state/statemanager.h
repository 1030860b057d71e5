#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace kx {

class EmptyStateObject;
class StateObject;
class StateWatcher;

// Named states per owner object, each owner's current state and a watcher that announces its
// changes. Used from the thread that owns the manager (the first user's). An owner's states
// and watcher go when the owner is destroyed, so a later object at the same address starts
// afresh.
class StateManager : public QObject {
    Q_OBJECT

public:
    enum ConnectionType {
        Unconnected = 0,  // register the states only
        Chained = 1,      // each state's next is the following one
        Ring = 2,         // chained, and the last state's next is the first
    };
    Q_ENUM(ConnectionType)

    static StateManager& instance();

    StateObject* regist(QObject* owner, const QString& name, bool makeCurrent = false);
    bool regist(QObject* owner, const QStringList& names, bool makeCurrent = false,
                ConnectionType type = Unconnected);
    StateObject* get(QObject* owner, const QString& name) const;
    StateObject* current(QObject* owner) const;
    StateWatcher* watcher(QObject* owner) const;
    StateObject* emptyState() const;
    StateWatcher* emptyWatcher() const;

    void change(QObject* owner, StateObject* to);
    void change(QObject* owner, const QString& name);
    void toNext(QObject* owner);
    void toPrevious(QObject* owner);
    // One state, or with an empty name all of the owner's states.
    bool cancel(QObject* owner, const QString& name = QString());

private:
    StateManager();
    void forget(QObject* owner);

    EmptyStateObject* m_emptyState;
    StateWatcher* m_emptyWatcher;
    QHash<QObject*, QHash<QString, StateObject*>> m_states;
    // Guarded: an owner may be moved to a state that another owner later cancels.
    QHash<QObject*, QPointer<StateObject>> m_current;
    QHash<QObject*, StateWatcher*> m_watchers;
};

StateManager& state();

}  // namespace kx
