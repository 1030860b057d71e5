#pragma once

#include "link/flows/flow.h"

// Sets the motor's mechanical zero at its present position and waits for its confirmation.
class ZeroFlow : public Flow {
    Q_OBJECT

public:
    // flag: 1 sets the zero here (the device tools offer the motor's other initialisations).
    explicit ZeroFlow(int canId, int flag = 1, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("zero"); }
    QString activity() const override { return tr("setting the mechanical zero"); }

protected:
    FlowResult execute() override;

private:
    int m_flag;
};
