#pragma once

#include "link/flows/flow.h"

// Gives a motor a new CAN ID and waits until it announces itself under it (its record and
// state follow it). An ID another detected motor has is refused before anything is sent.
// Values: "can_id": the ID the motor announced.
class SetCanIdFlow : public Flow {
    Q_OBJECT

public:
    // timeoutMs: how long the motor has to announce itself under the new ID.
    SetCanIdFlow(int canId, int newCanId, int timeoutMs = 5000, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("set-can-id"); }
    QString activity() const override { return tr("changing its CAN ID"); }

protected:
    FlowResult execute() override;

private:
    int m_newCanId;
    int m_timeoutMs;
};
