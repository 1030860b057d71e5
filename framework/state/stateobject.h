#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

namespace kx {

// One named state of an owner. Its neighbours are not owned; a neighbour that is cancelled
// simply stops being a neighbour.
class StateObject : public QObject {
    Q_OBJECT

public:
    StateObject(const QString& name, QObject* parent);

    virtual bool isEmptyState() const;
    virtual void setPreviousState(StateObject* state, bool linkBack = false);
    virtual void setNextState(StateObject* state, bool linkBack = false);
    virtual void setVar(const QVariant& value);

    QString name() const;
    QVariant var() const;
    // The neighbours, or the empty state when unset.
    StateObject* previousState() const;
    StateObject* nextState() const;

signals:
    void rein(kx::StateObject* from);
    void raus(kx::StateObject* to);

private:
    QString m_name;
    QPointer<StateObject> m_previous;
    QPointer<StateObject> m_next;
    QVariant m_var;
};

}  // namespace kx
