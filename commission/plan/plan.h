#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>
#include <variant>

#include "commission/plan/limit.h"

// A commissioning plan as read from its YAML file and checked by PlanReader: every value is
// typed and within reason, every path absolute, every limit resolved to bounds. The runner
// never has to doubt what it finds here.

// Where something was written in the plan file (line and column from 1).
struct PlanPosition {
    int line = 0;
    int column = 0;
};

// A limit on a named value: a feedback quantity, a parameter entry, a capture statistic.
struct NamedLimit {
    QString name;
    Limit limit;
};

// A check on a text entry of the motor's parameter table.
struct EntryText {
    QString entry;  // name as the motor describes it, or a code such as "0x1002"
    TextCheck check;
};

struct DetectStep {
    std::optional<Limit> motors;  // how many motors answer
    QVector<int> models;          // model codes every motor must report (empty: any)
};

struct IdentifyStep {
    QVector<int> models;    // empty: any model, but the model must be known
    QString firmwareEntry;  // the entry that holds the firmware version, recorded per motor
    QVector<EntryText> entries;
};

struct SetCanIdStep {
    int id = -1;        // a fixed ID, or -1
    int nextFree = -1;  // the lowest free ID from this one up, or -1
};

struct FlashStep {
    QString image;  // absolute path
    QString version;
    QString versionEntry;
};

struct ParamsStep {
    QString profile;  // absolute path of a parameter backup; empty: only checks
    bool save = true;
    QVector<NamedLimit> checks;  // by entry name or code
};

struct ZeroStep {};

struct CalibrateStep {
    std::optional<Limit> offset;
};

enum class MoveMode { Mit, Position, Velocity, Current };

struct MoveStep {
    MoveMode mode = MoveMode::Position;
    double target = 0;
    std::optional<double> speed;  // position mode: the speed limit on the way
    double kp = 0;                // MIT mode gains
    double kd = 0;
    double settleSeconds = 0;
    QVector<NamedLimit> checks;  // "position", "velocity", "torque"
};

struct CaptureCheck {
    QString measure;       // peak, rms, mean, min, max, peak_to_peak, rms_diff
    QStringList channels;  // one; two for rms_diff
    Limit limit;
};

struct CaptureStep {
    QStringList channels;  // names or codes
    int rate = 0;          // Hz
    double seconds = 0;
    QVector<CaptureCheck> checks;
};

struct EstopStep {
    double withinSeconds = 0;
};

struct PromptStep {
    QString text;
};

struct WaitStep {
    double seconds = 0;
};

using StepSettings = std::variant<DetectStep, IdentifyStep, SetCanIdStep, FlashStep, ParamsStep, ZeroStep,
                                  CalibrateStep, MoveStep, CaptureStep, EstopStep, PromptStep, WaitStep>;

struct PlanStep {
    int index = 0;  // from 1, in plan order
    QString kind;   // "detect", "set-can-id", ...
    QString title;  // the plan's name for the step, else the kind
    bool continueOnFail = false;
    bool allMotors = false;
    PlanPosition at;
    StepSettings settings;

    template <typename T>
    const T* as() const {
        return std::get_if<T>(&settings);
    }
};

struct Plan {
    static constexpr int kFormatVersion = 1;

    QString name;
    QString description;
    QString path;    // absolute
    QString folder;  // where relative paths in the plan start
    QString sha256;  // of the file as read, lower-case hex
    QVector<PlanStep> steps;

    // Every step kind a plan may use, in the order a plan usually has them.
    static const QStringList& kinds();
    // Kinds that may run on every motor at once (all_motors).
    static bool allowsAllMotors(const QString& kind);
    static QString moveModeName(MoveMode mode);
    // A capture channel written as a code ("0x3000", "0X3000") compares by its value, one
    // written as a name by its text.
    static QString channelKey(const QString& channel);
};
