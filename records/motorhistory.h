#pragma once

#include "records/runquery.h"

#include <QVector>

// One motor's part in one run, as its timeline shows it.
struct MotorRun {
    QString runUuid;
    QString planName;
    QString station;
    Outcome runOutcome = Outcome::Pass;
    QDateTime startUtc;  // the motor's own start, else the run's
    QDateTime endUtc;
    MotorSummary motor;
    // Differs from the last earlier run that read it (runs that did not read it are passed over).
    bool firmwareChanged = false;
    bool paramsChanged = false;
};

namespace MotorHistory {
// Sets the change marks of a timeline given oldest first.
void markChanges(QVector<MotorRun>* timeline);
}  // namespace MotorHistory
