#pragma once

#include "link/flows/flow.h"

// Brakes one motor the way the emergency stop does (the brake frame written at once) and
// times the motor's confirmation of brake mode. It checks the stop; it does not end the flow
// that runs it (no preemption).
// Values: "brake_ms": from the brake frame to the motor's confirmation.
class EstopFlow : public Flow {
    Q_OBJECT

public:
    explicit EstopFlow(int canId, int timeoutMs = 3000, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("estop"); }
    QString activity() const override { return tr("braking"); }

protected:
    FlowResult execute() override;

private:
    int m_timeoutMs;
};
