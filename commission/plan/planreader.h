#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <optional>

#include "commission/plan/plan.h"
#include "commission/plan/planproblem.h"

class YamlMap;
namespace YAML {
class Node;
}

// Reads a commissioning plan and checks everything that can be checked before a frame is
// sent: unknown keys, wrong types, impossible limits, missing files. It reports every problem
// it finds, each with file, line and column, not only the first, so a plan is mended in one
// pass. Relative paths in a plan (firmware images, parameter profiles) start at the plan's
// folder, so a plan runs the same from wherever it is started.
class PlanReader {
    Q_DECLARE_TR_FUNCTIONS(PlanReader)

public:
    // Plan files are small; anything bigger is not a plan.
    static constexpr qint64 kMaxFileBytes = 1 << 20;
    static constexpr int kMaxSteps = 1000;

    static std::optional<Plan> readFile(const QString& path, QVector<PlanProblem>* problems);
    // fileName names the plan in messages; folder is where relative paths start.
    static std::optional<Plan> read(const QByteArray& yaml, const QString& fileName, const QString& folder,
                                    QVector<PlanProblem>* problems);

private:
    struct Context {
        QString folder;
        PlanProblems* problems = nullptr;
    };

    static void readStep(const YAML::Node& node, int index, bool planContinues, const Context& context,
                         Plan* plan);
    static bool readSettings(const QString& kind, YamlMap& map, const Context& context,
                             StepSettings* settings);

    static DetectStep readDetect(YamlMap& map);
    static IdentifyStep readIdentify(YamlMap& map);
    static SetCanIdStep readSetCanId(YamlMap& map);
    static FlashStep readFlash(YamlMap& map, const Context& context);
    static ParamsStep readParams(YamlMap& map, const Context& context);
    static CalibrateStep readCalibrate(YamlMap& map);
    static MoveStep readMove(YamlMap& map);
    static CaptureStep readCapture(YamlMap& map);

    // A limit written as its own mapping under key (or, with allowCount, as a whole number
    // meaning exactly that many). implicitExpect stands in for a missing "expect" next to a
    // tolerance (a move's target).
    static std::optional<Limit> readLimit(YamlMap& parent, const QString& key, bool allowCount = false,
                                          std::optional<double> implicitExpect = std::nullopt);
    // The limit keys (min, max, expect, tolerance, marginal) of a mapping that may hold others.
    static std::optional<Limit> readLimitKeys(YamlMap& map, std::optional<double> implicitExpect);
    static std::optional<TextCheck> readTextCheck(const YAML::Node& node, const QString& label,
                                                  PlanProblems* problems, const PlanPosition& at);
    static QVector<int> readModels(YamlMap& map, const QString& key);
    // A plan-relative path made absolute.
    static QString resolve(const QString& folder, const QString& path);
};
