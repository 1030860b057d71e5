#pragma once

#include "link/flows/flow.h"

// Puts a motor into brake, motor or reset mode and waits until it confirms the mode.
class ModeFlow : public Flow {
    Q_OBJECT

public:
    enum class Mode { Brake = 0, Motor = 1, Reset = 2 };

    ModeFlow(int canId, Mode mode, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("mode"); }
    QString activity() const override;

protected:
    FlowResult execute() override;

private:
    Mode m_mode;
};
