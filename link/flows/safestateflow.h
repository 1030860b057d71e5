#pragma once

#include "link/flows/flow.h"

// Leaves a motor at rest: a jog stopped, then reset mode (confirmed), and the host's promise
// to reset it at port close released. Meant for the end of a run, whatever ended it, so it
// also runs after an emergency stop.
class SafeStateFlow : public Flow {
    Q_OBJECT

public:
    explicit SafeStateFlow(int canId, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("leave-safe"); }
    QString activity() const override { return tr("resetting"); }

protected:
    FlowResult execute() override;
};
