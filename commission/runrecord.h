#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The record of one commissioning run: one structure from which every report (JSON, JUnit,
// HTML, PDF) is rendered and which the records store keeps. Plain values only, so it can be
// built on the runner's thread and handed around by copy.

// Outcome of a step, a motor and a run. Order matters: a motor's outcome is the worst of its
// steps' (SKIPPED counts as PASS), a run's the worst of its motors'.
enum class Outcome { Pass, Marginal, Skipped, Fail, Error };

namespace Outcomes {
QString name(Outcome outcome);  // "PASS", "MARGINAL", "SKIPPED", "FAIL", "ERROR"
// The name in the user's language, for screens; files and the CLI keep name().
QString label(Outcome outcome);
bool fromName(const QString& name, Outcome* outcome);
// The worse of the two (ERROR > FAIL > MARGINAL > PASS/SKIPPED).
Outcome worst(Outcome a, Outcome b);
}  // namespace Outcomes

// One measured value with its limits. A numeric measurement has `value` and may have low/high
// (absolute limits) and a marginal band; a text measurement (firmware version, model code
// checked against a pattern) has `text` and `expected`.
struct Measurement {
    QString name;  // "position", "offset", "rms(0x3000-0x3001)", "AppCodeVersion"
    QString unit;  // "rad", "rad/s", "Nm", "A", "" for none
    bool numeric = true;
    double value = 0;
    bool hasLow = false;
    double low = 0;
    bool hasHigh = false;
    double high = 0;
    // Inside [low, high] but within this margin of a limit: MARGINAL (0 = no band).
    double marginal = 0;
    QString text;
    QString expected;  // pattern or minimum version of a text measurement
    Outcome outcome = Outcome::Pass;
};

// A file that belongs to a step: a capture as CSV, a parameter table as JSON.
struct Attachment {
    QString name;      // file name as written into the report folder, e.g. "capture-1.csv"
    QString mimeType;  // "text/csv", "application/json"
    QByteArray data;
};

struct StepRecord {
    int index = 0;  // position in the plan, from 1
    QString kind;   // "detect", "move", "capture", ...
    QString title;  // the plan's name for the step, or the kind
    Outcome outcome = Outcome::Pass;
    QString message;  // why, for FAIL/ERROR/SKIPPED; empty for PASS
    QDateTime startUtc;
    double seconds = 0;
    QVector<Measurement> measurements;
    QStringList log;  // the step's log lines, in order
    QVector<Attachment> attachments;
};

struct MotorRecord {
    quint64 mcuId = 0;
    int canId = 0;        // at the end of the run (a set-can-id step changes it)
    int modelCode = -1;   // -1: unknown
    QString firmware;     // as read from the motor; empty when not read
    QString paramSha256;  // of the saved parameter table; empty when not read
    Outcome outcome = Outcome::Pass;
    QDateTime startUtc;
    QDateTime endUtc;
    QVector<StepRecord> steps;
};

struct RunRecord {
    static constexpr int kFormatVersion = 1;

    QString uuid;  // braceless, lower case; a run is stored once under it
    QString planName;
    QString planPath;
    QString planSha256;
    QString station;  // host name unless configured
    QString operatorName;
    QString toolVersion;
    QDateTime startUtc;
    QDateTime endUtc;
    Outcome outcome = Outcome::Pass;
    QString message;  // why the run ended early (E-stop, unplug, Ctrl+C), else empty
    QVector<MotorRecord> motors;

    // Recomputes every motor's outcome from its steps and the run's from its motors.
    void settleOutcomes();

    // The versioned JSON form (report.json); attachments inline as base64.
    QJsonObject toJson() const;
    // False (with the reason) for a document that is not a run record of a known version.
    static bool fromJson(const QJsonObject& json, RunRecord* record, QString* error);
};
