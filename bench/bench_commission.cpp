// Commissioning run figures against the simulated bench (trivane-sim, paced like the real
// line, in its own process): the wall time of a plan beside the sum of what its steps must take
// by their nature (settle, calibration, capture and wait times, and the protocol's floor: the
// bus scan's probes and the pauses between set-point writes), the runner's own time between
// steps, and the same plan over several motors with every step that allows it (calibrate,
// params, capture) marked all_motors.
//
//   build/bin/bench_commission [--steps] [PLAN.yaml] [MOTORS...]  (default: the bench check, 1 and 8)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

#include "commission/commissionrunner.h"
#include "commission/linkrunflows.h"
#include "commission/plan/planreader.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/flows/detectflow.h"
#include "link/flows/motionrecipe.h"
#include "link/helper.h"
#include "link/userprompt.h"

namespace {

// The scan probes every CAN ID 0..127, one identity request per 20 ms.
constexpr double kScanSeconds = 128 * 0.020;
constexpr int kCalibrationMs = 3000;

class QuietPrompt : public UserPrompt {
public:
    void showError(const QString&, const QString&) override {}
    void showInformation(const QString&, const QString&) override {}
    bool askNotice(const QString&, const QString&) override { return true; }
    void showWarning(const QString&, const QString&) override {}
};

struct Figures {
    double wall = 0;      // s, the runner's run()
    double stepTime = 0;  // s, the steps' own measured durations, each pass counted once
    double ideal = 0;     // s, what the steps must take
    int steps = 0;        // step passes (an all_motors step over every motor is one)
    Outcome outcome = Outcome::Error;
    QString message;
};

// What a step must take by its nature on one pass.
double ownSeconds(const PlanStep& step) {
    if (const auto* m = step.as<MoveStep>()) {
        // The recipe pauses after each limit or set-point write that is followed by another.
        double pauses = 0;
        const MotionRecipe::Mode mode = m->mode == MoveMode::Velocity  ? MotionRecipe::Mode::Velocity
                                        : m->mode == MoveMode::Current ? MotionRecipe::Mode::Current
                                                                       : MotionRecipe::Mode::Position;
        if (m->mode != MoveMode::Mit) {
            for (const MotionRecipe::Write& w : MotionRecipe::writes(mode, 0)) {
                const bool written = w.field == MotionRecipe::Field::Position ||
                                     w.field == MotionRecipe::Field::Current ||
                                     (w.field == MotionRecipe::Field::Velocity &&
                                      (m->mode == MoveMode::Velocity || m->speed.value_or(0) != 0));
                if (written)
                    pauses += w.pauseAfterMs / 1000.0;
            }
        }
        return m->settleSeconds + pauses;
    }
    if (step.as<CalibrateStep>())
        return kCalibrationMs / 1000.0;
    if (const auto* c = step.as<CaptureStep>())
        return c->seconds;
    if (const auto* w = step.as<WaitStep>())
        return w->seconds;
    if (step.as<DetectStep>())
        return kScanSeconds;
    return 0;
}

Figures runOnce(const Plan& plan, int motors, const QString& sim, bool showSteps) {
    Figures f;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QProcess bench;
    bench.start(sim, {"--motors", QString::number(motors), "--cali-time", QString::number(kCalibrationMs),
                      "--control"});
    if (!bench.waitForStarted(10000) || !bench.waitForReadyRead(10000)) {
        f.message = QStringLiteral("the simulated bench did not start");
        return f;
    }
    const QString port = QString::fromLocal8Bit(bench.readLine()).trimmed();
    Helper::instance()->createBackends();
    DetectFlow::Options connect;
    connect.address = port;
    connect.connectOnly = true;
    if (!DetectFlow(connect).run().ok()) {
        f.message = QStringLiteral("cannot connect to ") + port;
        return f;
    }

    LinkRunFlows flows;
    CommissionRunner::Settings settings;
    settings.scope = CommissionRunner::Scope::AllMotors;
    CommissionRunner runner(plan, &flows, settings);
    runner.setPrompter([](const QString&, QString*) { return true; });
    QElapsedTimer clock;
    clock.start();
    const RunRecord record = runner.run();
    f.wall = clock.nsecsElapsed() / 1e9;
    f.outcome = record.outcome;
    f.message = record.message;

    // Each step pass once: an all_motors step ran for every motor at the same time.
    for (const PlanStep& step : plan.steps) {
        const int passes = step.allMotors || step.kind == QLatin1String("detect") ? 1 : record.motors.size();
        double seconds = 0;
        for (const MotorRecord& m : record.motors) {
            for (const StepRecord& s : m.steps) {
                if (s.index == step.index && s.outcome != Outcome::Skipped)
                    seconds = step.allMotors || step.kind == QLatin1String("detect") ? s.seconds
                                                                                     : seconds + s.seconds;
            }
        }
        if (showSteps)
            std::fprintf(stderr, "  %-12s %2d pass(es) %7.2f s (own %.2f s each)\n", qPrintable(step.kind),
                         passes, seconds, ownSeconds(step));
        f.stepTime += seconds;
        f.ideal += passes * ownSeconds(step);
        f.steps += passes;
    }

    Helper::instance()->worker()->disconnectPort();
    Helper::instance()->destroyBackends();
    bench.closeWriteChannel();
    if (!bench.waitForFinished(5000))
        bench.kill();
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QuietPrompt prompt;
    Helper::instance()->setPrompt(&prompt);
    QStringList args = app.arguments().mid(1);
    // --steps: where each run's time went, step by step, on stderr.
    const bool showSteps = args.removeAll(QStringLiteral("--steps")) > 0;
    QString planPath = QStringLiteral(TRIVANE_EXAMPLES_DIR "/bench-check.yaml");
    if (!args.isEmpty() && args.first().endsWith(QLatin1String(".yaml")))
        planPath = QFileInfo(args.takeFirst()).absoluteFilePath();
    QList<int> counts;
    for (const QString& a : args)
        counts << qBound(1, a.toInt(), 14);
    if (counts.isEmpty())
        counts = {1, 8};
    const QString sim = QCoreApplication::applicationDirPath() + QStringLiteral("/trivane-sim");

    QVector<PlanProblem> problems;
    const std::optional<Plan> plan = PlanReader::readFile(planPath, &problems);
    if (!plan) {
        for (const PlanProblem& p : problems)
            std::fprintf(stderr, "%s\n", qPrintable(p.text()));
        return 2;
    }
    std::printf("plan %s (%d steps), simulated bench paced at 921600 baud, calibration %d ms\n",
                qPrintable(QFileInfo(planPath).fileName()), int(plan->steps.size()), kCalibrationMs);
    std::printf("%6s %8s %9s %9s %11s %13s %9s\n", "motors", "outcome", "wall s", "ideal s", "wall/ideal",
                "overhead/step", "vs 1 motor");
    double single = 0;
    int status = 0;
    // Over several motors every step that may run on all of them at once does.
    Plan together = *plan;
    for (PlanStep& step : together.steps)
        step.allMotors = step.allMotors || Plan::allowsAllMotors(step.kind);
    for (int motors : counts) {
        const Figures f = runOnce(motors > 1 ? together : *plan, motors, sim, showSteps);
        if (motors == 1)
            single = f.wall;
        const double overheadMs = f.steps > 0 ? (f.wall - f.stepTime) / f.steps * 1000 : 0;
        std::printf(
            "%6d %8s %9.2f %9.2f %11.3f %10.2f ms %9s\n", motors, qPrintable(Outcomes::name(f.outcome)),
            f.wall, f.ideal, f.ideal > 0 ? f.wall / f.ideal : 0, overheadMs,
            single > 0 && motors > 1 ? qPrintable(QString::number(f.wall / single, 'f', 2) + "x") : "");
        if (!f.message.isEmpty())
            std::printf("       %s\n", qPrintable(f.message));
        if (f.outcome != Outcome::Pass && f.outcome != Outcome::Marginal)
            status = 1;
    }
    return status;
}
