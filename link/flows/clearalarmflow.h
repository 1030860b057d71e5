#pragma once

#include "link/flows/flow.h"

// Clears a motor's alarm and reads its answer: Failed when the motor still reports a fault.
// Values: "faults": the fault bits of its answer (0 once cleared).
class ClearAlarmFlow : public Flow {
    Q_OBJECT

public:
    explicit ClearAlarmFlow(int canId, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("clear-alarm"); }
    QString activity() const override { return tr("clearing its alarm"); }

protected:
    FlowResult execute() override;
};
