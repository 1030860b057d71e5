#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

#include "commission/plan/plan.h"
#include "commission/runflows.h"
#include "commission/runrecord.h"
#include "link/flows/flowresult.h"
#include "link/flows/linklease.h"

// Runs a checked plan over one motor or the bus and builds the run record.
//
// Order: the motors one after the other, each through the plan's steps, except that a step
// marked all_motors runs on every motor still in the run in one pass (the steps before it are
// done on every motor first). A FAIL or ERROR ends that motor's run unless the step continues
// on failure; its remaining steps are recorded as SKIPPED. A cancel (Ctrl+C, SIGTERM, the
// window closed), an emergency stop or the adapter going away ends the whole run.
//
// Whatever ended it, every motor the run touched is left safe (jog stopped, reset mode), each
// as soon as its own run ends and all of them again at the very end. When the adapter went
// away, the runner first waits a while for it to come back, since nothing can reach the
// motors until then.
//
// A motor that reports a new fault during the run fails the step it is in (a flow of that
// motor alone is stopped at once), or its next step when the fault came while it waited.
//
// Lives on the port's (GUI) thread; run() returns when the run is over. cancel() may be
// called from a slot while run() waits (the flows run local event loops).
class CommissionRunner : public QObject {
    Q_OBJECT

public:
    enum class Scope {
        OnlyMotor,  // the one motor on the bus; refused when several answer
        OneCanId,   // the motor with canId
        AllMotors,  // every motor that answers
    };

    struct Settings {
        Scope scope = Scope::OnlyMotor;
        int canId = -1;
        QString station;
        QString operatorName;
        QString toolVersion;
        // Flows let user input through while they wait (a window, whose emergency stop must
        // stay reachable).
        bool allowInput = false;
        // How long to wait for an adapter that went away, to leave the motors safe.
        int reconnectWaitMs = 10000;
    };

    // Asks the operator to confirm text; false when declined or nobody can answer (then *why
    // says so).
    using Prompter = std::function<bool(const QString& text, QString* why)>;

    CommissionRunner(const Plan& plan, RunFlows* flows, const Settings& settings, QObject* parent = nullptr);
    ~CommissionRunner() override;

    void setPrompter(Prompter prompter) { m_prompter = std::move(prompter); }

    RunRecord run();
    // Ends the run at the running flow's next wait; reason goes into the record.
    void cancel(const QString& reason);
    bool isCancelled() const { return m_cancelled.load(); }
    // Several motors answered and the settings did not say which: a usage problem, not a
    // failure of the motors.
    bool needsChoice() const { return m_needsChoice; }

signals:
    // The motors the run covers are known (after detection).
    void motorsFound(const RunRecord& record);
    void stepStarted(int motor, const PlanStep& step);
    void stepProgress(int motor, int stepIndex, const FlowProgress& progress);
    void stepFinished(int motor, const StepRecord& step);
    void motorFinished(int motor, const MotorRecord& record);
    // News about the run as a whole (waiting for the adapter, motors left safe).
    void notice(const QString& text);

private:
    struct MotorRun {
        bool active = true;    // still going through the plan
        bool touched = false;  // something was sent to it beyond detection
        int stoppedAt = 0;     // the step that ended its run
        // The alarm already known: only bits beyond it fail a step.
        RunFlows::Alarm alarmBase;
    };

    // Detection and the choice of motors; false when the run cannot go on.
    bool detect(const PlanStep* step);
    void runSegment(int first, int last);
    void runAllMotors(const PlanStep& step);
    // Runs one step on one motor and files its record; false when the motor's run ends.
    bool runStep(int motor, const PlanStep& step);
    StepRecord execute(int motor, const PlanStep& step);
    void finishStep(int motor, const PlanStep& step, StepRecord record);
    void stopMotor(int motor, const PlanStep& step);
    void leaveSafe(int motor, StepRecord* log);
    void leaveEveryMotorSafe();
    void skipRemaining();
    // True (with the end reason set) once the operator cancelled or an emergency stop took the
    // lease.
    bool stopRequested();
    // A fault the motor reported since its alarm was last judged: recorded as a failed
    // measurement in r; true when there was one.
    bool judgeAlarm(int motor, StepRecord* r);
    void onAlarmNews(int canId);

    // The per-kind steps (commissionsteps.cpp).
    void stepIdentify(int motor, const IdentifyStep& s, StepRecord* r);
    void stepSetCanId(int motor, const SetCanIdStep& s, StepRecord* r);
    void stepFlash(int motor, const FlashStep& s, StepRecord* r);
    void stepParams(const QList<int>& motors, const ParamsStep& s, QVector<StepRecord>* records);
    void stepZero(int motor, StepRecord* r);
    void stepCalibrate(const QList<int>& motors, const CalibrateStep& s, QVector<StepRecord>* records);
    void stepMove(int motor, const MoveStep& s, StepRecord* r);
    void stepCapture(const QList<int>& motors, const CaptureStep& s, int stepIndex,
                     QVector<StepRecord>* records);
    void stepEstop(int motor, const EstopStep& s, StepRecord* r);
    void stepPrompt(const PromptStep& s, StepRecord* r);
    void stepWait(const WaitStep& s, StepRecord* r);

    // Runs a flow under the run's lease, logging into r; a missing flow is an ERROR.
    FlowResult runFlow(std::unique_ptr<Flow> flow, int motor, int stepIndex, StepRecord* r);
    // The part of a flow over several motors that belongs to one of them.
    static FlowResult motorResult(const FlowResult& all, int canId);
    // FAIL for refusals and wrong answers, ERROR for everything that kept the step from
    // judging; PASS for success. Ends the run on cancel, E-stop and unplug.
    Outcome judgeFlow(const FlowResult& result, StepRecord* r);
    void addMeasurement(StepRecord* r, const Measurement& m);
    QList<int> canIdsOf(const QList<int>& motors) const;

    Plan m_plan;
    RunFlows* m_flows;
    Settings m_settings;
    Prompter m_prompter;
    RunRecord m_record;
    QVector<MotorRun> m_runs;
    QList<int> m_busCanIds;  // every CAN ID on the bus, motors outside the run included
    LinkLease::Token m_lease;
    Flow* m_current = nullptr;
    int m_currentMotor = -1;   // the one motor m_current works on; -1 for several or none
    bool m_alarmStop = false;  // m_current was stopped for its motor's fault
    bool m_portLost = false;   // the adapter went away during the run
    bool m_safing = false;     // leaving motors safe: neither a cancel nor a fault stops that
    std::atomic<bool> m_cancelled{false};
    QString m_cancelReason;
    bool m_needsChoice = false;
    QString m_endReason;  // why the run ended early; empty while it goes on
};
