#pragma once

#include <QList>

#include "link/flows/flow.h"

// Encoder calibration of one motor or several at once: each is put into calibration mode in
// turn (the link follows one request at a time), then the flow waits until every one has
// reported its result. Progress carries "stage": "calibrating", then "saving" once the result
// rows arrive.
//
// Values: "offset" (the encoder's electrical offset) for one motor; for several, "motors": a
// map from the CAN ID as text to {"outcome", "reason", "offset"}.
class CalibrateFlow : public Flow {
    Q_OBJECT

public:
    // timeoutMs: how long a calibration may take once it runs (-1: no limit; it still ends
    // when the adapter or the motor goes away).
    explicit CalibrateFlow(const QList<int>& canIds, int timeoutMs = 120000, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("calibrate"); }
    QString activity() const override { return tr("calibrating"); }

protected:
    FlowResult execute() override;

private:
    QList<int> m_canIds;
    int m_timeoutMs;
};
