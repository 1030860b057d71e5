#pragma once

#include "link/flows/flow.h"

// Gives a motor a new CAN ID and waits until it announces itself under it (its record and
// state follow it). An ID another detected motor has is refused before anything is sent.
// Values: "can_id": the ID the motor announced.
class SetCanIdFlow : public Flow {
    Q_OBJECT

public:
    SetCanIdFlow(int canId, int newCanId, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("set-can-id"); }
    QString activity() const override { return tr("changing its CAN ID"); }

protected:
    FlowResult execute() override;

private:
    int m_newCanId;
};
