#pragma once

#include "commission/runrecord.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

// What a search of the records asks for; every field left empty matches everything.
struct RunQuery {
    std::optional<quint64> mcuId;
    int canId = -1;
    QString plan;     // part of the plan's name, any case
    QString station;  // the whole station name
    // The run's outcome; with an MCU ID or CAN ID given, that motor's outcome in the run.
    std::optional<Outcome> outcome;
    QDateTime since;  // runs that started at or after
    QDateTime until;  // runs that started before
    int limit = 100;  // newest first; 0 for all
};

// One motor of a run as a search shows it.
struct MotorSummary {
    quint64 mcuId = 0;
    int canId = 0;
    int modelCode = -1;
    QString firmware;
    QString paramSha256;
    Outcome outcome = Outcome::Pass;
};

// One run as a search shows it: the run without its steps.
struct RunSummary {
    QString uuid;
    QString planName;
    QString station;
    QString operatorName;
    QDateTime startUtc;
    QDateTime endUtc;
    Outcome outcome = Outcome::Pass;
    QString message;
    QVector<MotorSummary> motors;
    bool waiting = false;  // kept by this station, not yet on the server
};

namespace RunSummaries {
// The runs of both lists once each (a run on the server is no longer waiting), newest first,
// at most `limit` of them (0: all).
QVector<RunSummary> merge(const QVector<RunSummary>& server, const QVector<RunSummary>& local, int limit);
}  // namespace RunSummaries
