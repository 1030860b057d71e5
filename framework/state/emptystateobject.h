#pragma once

#include "framework/state/stateobject.h"

namespace kx {

// The state every failed lookup returns; it cannot be linked or given a value.
class EmptyStateObject : public StateObject {
    Q_OBJECT

public:
    explicit EmptyStateObject(QObject* parent);

    bool isEmptyState() const override;
    void setPreviousState(StateObject* state, bool linkBack = false) override;
    void setNextState(StateObject* state, bool linkBack = false) override;
    void setVar(const QVariant& value) override;
};

}  // namespace kx
