#include "commission/commissionrunner.h"

#include "link/linkwait.h"

#include <QUuid>

#include <algorithm>

namespace {

// A step's log is for people; a flow that reports progress every tick must not fill memory.
constexpr int kMaxLogLines = 500;

}  // namespace

CommissionRunner::CommissionRunner(const Plan& plan, RunFlows* flows, const Settings& settings,
                                   QObject* parent)
    : QObject(parent), m_plan(plan), m_flows(flows), m_settings(settings) {}

CommissionRunner::~CommissionRunner() = default;

void CommissionRunner::cancel(const QString& reason) {
    if (m_cancelled.exchange(true))
        return;
    m_cancelReason = reason.isEmpty() ? tr("The run was cancelled.") : reason;
    if (m_current && !m_safing)
        m_current->cancel(m_cancelReason);
}

bool CommissionRunner::stopRequested() {
    if (m_endReason.isEmpty()) {
        if (m_cancelled)
            m_endReason = m_cancelReason;
        else if (m_lease.isValid() && m_lease.preempted())
            m_endReason = m_lease.preemptReason();
    }
    return !m_endReason.isEmpty();
}

RunRecord CommissionRunner::run() {
    m_record = RunRecord();
    m_record.uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_record.planName = m_plan.name;
    m_record.planPath = m_plan.path;
    m_record.planSha256 = m_plan.sha256;
    m_record.station = m_settings.station;
    m_record.operatorName = m_settings.operatorName;
    m_record.toolVersion = m_settings.toolVersion;
    m_record.startUtc = QDateTime::currentDateTimeUtc();
    m_runs.clear();
    m_endReason.clear();
    m_portLost = false;
    m_alarmStop = false;
    m_flows->watchAlarms([this](int canId) { onAlarmNews(canId); });

    QString refusal;
    m_lease = LinkLease::acquire(-1, tr("commissioning"), &refusal);
    if (!m_lease.isValid()) {
        m_endReason = refusal;
    } else {
        const PlanStep* detectStep =
            m_plan.steps.first().kind == QLatin1String("detect") ? &m_plan.steps.first() : nullptr;
        if (detect(detectStep)) {
            int i = detectStep ? 1 : 0;
            while (i < m_plan.steps.size() && !stopRequested()) {
                if (m_plan.steps[i].allMotors) {
                    runAllMotors(m_plan.steps[i]);
                    ++i;
                    continue;
                }
                int last = i;
                while (last + 1 < m_plan.steps.size() && !m_plan.steps[last + 1].allMotors)
                    ++last;
                runSegment(i, last);
                i = last + 1;
            }
        }
    }
    stopRequested();
    m_flows->watchAlarms(nullptr);
    skipRemaining();
    // The safe-leave flows must run even after an emergency stop took the lease away: they
    // take a lease of their own.
    m_lease = LinkLease::Token();
    leaveEveryMotorSafe();
    m_record.message = m_endReason;
    m_record.endUtc = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < m_record.motors.size(); ++i) {
        MotorRecord& motor = m_record.motors[i];
        if (!motor.endUtc.isValid())
            motor.endUtc = m_record.endUtc;
        std::sort(motor.steps.begin(), motor.steps.end(),
                  [](const StepRecord& a, const StepRecord& b) { return a.index < b.index; });
    }
    m_record.settleOutcomes();
    return m_record;
}

bool CommissionRunner::detect(const PlanStep* step) {
    StepRecord r;
    r.index = step ? step->index : 0;
    r.kind = QStringLiteral("detect");
    r.title = step ? step->title : tr("Detect the motors");
    r.startUtc = QDateTime::currentDateTimeUtc();
    QElapsedTimer clock;
    clock.start();
    const FlowResult result = runFlow(m_flows->detect(), -1, r.index, &r);
    if (!result.ok()) {
        judgeFlow(result, &r);
        if (m_endReason.isEmpty())
            m_endReason = result.reason.isEmpty() ? tr("The motors could not be detected.") : result.reason;
        return false;
    }
    struct Found {
        quint64 mcuId = 0;
        int canId = 0;
        int model = -1;
    };
    QVector<Found> found;
    for (const QVariant& v : result.values.value(QStringLiteral("motors")).toList()) {
        const QVariantMap m = v.toMap();
        bool ok = false;
        const quint64 mcu = m.value(QStringLiteral("mcu_id")).toString().toULongLong(&ok, 16);
        const int canId = m.value(QStringLiteral("can_id")).toInt();
        if (ok && canId > 0)
            found.append({mcu, canId, m.value(QStringLiteral("model"), -1).toInt()});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.canId < b.canId; });
    for (const Found& f : found)
        m_busCanIds << f.canId;
    if (found.isEmpty()) {
        // A run never passes on an empty bus.
        m_endReason = tr("No motor answered.");
        return false;
    }

    QVector<Found> chosen;
    switch (m_settings.scope) {
        case Scope::OneCanId:
            for (const Found& f : found) {
                if (f.canId == m_settings.canId)
                    chosen << f;
            }
            if (chosen.isEmpty()) {
                m_endReason = tr("Motor %1 did not answer.").arg(m_settings.canId);
                return false;
            }
            break;
        case Scope::AllMotors:
            chosen = found;
            break;
        case Scope::OnlyMotor:
            if (found.size() > 1) {
                QStringList ids;
                for (const Found& f : found)
                    ids << QString::number(f.canId);
                m_needsChoice = true;
                m_endReason =
                    tr("%1 motors answer (CAN IDs %2): choose one with --can-id or all of them with --all.")
                        .arg(found.size())
                        .arg(ids.join(QStringLiteral(", ")));
                return false;
            }
            chosen = found;
            break;
    }

    // Without a limit of its own, detection needs one motor: a run never passes on an empty bus.
    Limit limit;
    limit.hasLow = true;
    limit.low = 1;
    if (step && step->as<DetectStep>()->motors)
        limit = *step->as<DetectStep>()->motors;
    const Measurement count = limit.measure(tr("motors"), QString(), found.size());
    const QVector<int> models = step ? step->as<DetectStep>()->models : QVector<int>();
    QStringList modelNames;
    for (int m : models)
        modelNames << QString::number(m);

    for (const Found& f : chosen) {
        MotorRecord motor;
        motor.mcuId = f.mcuId;
        motor.canId = f.canId;
        motor.modelCode = f.model;
        motor.startUtc = r.startUtc;
        m_record.motors << motor;
        MotorRun run;
        // A fault the motor already had is reported, but only a new one fails a step.
        run.alarmBase = m_flows->alarm(f.canId);
        if (!run.alarmBase.isEmpty())
            r.log << tr("Motor %1 reports an alarm before the run: %2").arg(f.canId).arg(run.alarmBase.text);
        m_runs << run;
    }
    emit motorsFound(m_record);
    if (!step)
        return true;

    r.seconds = clock.elapsed() / 1000.0;
    for (int i = 0; i < chosen.size(); ++i) {
        StepRecord own = r;
        addMeasurement(&own, count);
        if (!models.isEmpty()) {
            Measurement model;
            model.name = tr("model");
            model.numeric = false;
            model.text = chosen[i].model < 0 ? tr("unknown") : QString::number(chosen[i].model);
            model.expected = tr("one of %1").arg(modelNames.join(QStringLiteral(", ")));
            model.outcome = models.contains(chosen[i].model) ? Outcome::Pass : Outcome::Fail;
            addMeasurement(&own, model);
        }
        emit stepStarted(i, *step);
        finishStep(i, *step, own);
    }
    return true;
}

void CommissionRunner::runSegment(int first, int last) {
    for (int motor = 0; motor < m_runs.size(); ++motor) {
        for (int k = first; k <= last; ++k) {
            if (stopRequested() || !m_runs[motor].active)
                break;
            emit stepStarted(motor, m_plan.steps[k]);
            finishStep(motor, m_plan.steps[k], execute(motor, m_plan.steps[k]));
        }
        if (!m_endReason.isEmpty())
            return;
    }
}

void CommissionRunner::runAllMotors(const PlanStep& step) {
    if (stopRequested())
        return;
    QList<int> motors;
    for (int i = 0; i < m_runs.size(); ++i) {
        if (!m_runs[i].active)
            continue;
        StepRecord refused;
        refused.index = step.index;
        refused.kind = step.kind;
        refused.title = step.title;
        refused.startUtc = QDateTime::currentDateTimeUtc();
        // A motor that reported a fault while it waited for this step is not driven.
        if (judgeAlarm(i, &refused)) {
            emit stepStarted(i, step);
            finishStep(i, step, refused);
            continue;
        }
        motors << i;
    }
    if (motors.isEmpty())
        return;
    QVector<StepRecord> records(motors.size());
    for (int k = 0; k < motors.size(); ++k) {
        records[k].index = step.index;
        records[k].kind = step.kind;
        records[k].title = step.title;
        records[k].startUtc = QDateTime::currentDateTimeUtc();
        m_runs[motors[k]].touched = true;
        emit stepStarted(motors[k], step);
    }
    QElapsedTimer clock;
    clock.start();
    if (const auto* s = step.as<CalibrateStep>())
        stepCalibrate(motors, *s, &records);
    else if (const auto* s = step.as<ParamsStep>())
        stepParams(motors, *s, &records);
    else if (const auto* s = step.as<CaptureStep>())
        stepCapture(motors, *s, step.index, &records);
    const double seconds = clock.elapsed() / 1000.0;
    for (int k = 0; k < motors.size(); ++k) {
        records[k].seconds = seconds;
        judgeAlarm(motors[k], &records[k]);
        finishStep(motors[k], step, records[k]);
    }
}

StepRecord CommissionRunner::execute(int motor, const PlanStep& step) {
    StepRecord r;
    r.index = step.index;
    r.kind = step.kind;
    r.title = step.title;
    r.startUtc = QDateTime::currentDateTimeUtc();
    QElapsedTimer clock;
    clock.start();
    // A motor that reported a fault while it waited for this step is not driven.
    if (judgeAlarm(motor, &r))
        return r;
    QVector<StepRecord> one{r};
    // Prompts and waits send nothing; identify only reads.
    if (step.kind != QLatin1String("prompt") && step.kind != QLatin1String("wait") &&
        step.kind != QLatin1String("identify"))
        m_runs[motor].touched = true;
    if (const auto* s = step.as<IdentifyStep>())
        stepIdentify(motor, *s, &r);
    else if (const auto* s = step.as<SetCanIdStep>())
        stepSetCanId(motor, *s, &r);
    else if (const auto* s = step.as<FlashStep>())
        stepFlash(motor, *s, &r);
    else if (const auto* s = step.as<ParamsStep>())
        stepParams({motor}, *s, &one);
    else if (step.as<ZeroStep>())
        stepZero(motor, &r);
    else if (const auto* s = step.as<CalibrateStep>())
        stepCalibrate({motor}, *s, &one);
    else if (const auto* s = step.as<MoveStep>())
        stepMove(motor, *s, &r);
    else if (const auto* s = step.as<CaptureStep>())
        stepCapture({motor}, *s, step.index, &one);
    else if (const auto* s = step.as<EstopStep>())
        stepEstop(motor, *s, &r);
    else if (const auto* s = step.as<PromptStep>())
        stepPrompt(*s, &r);
    else if (const auto* s = step.as<WaitStep>())
        stepWait(*s, &r);
    if (step.as<ParamsStep>() || step.as<CalibrateStep>() || step.as<CaptureStep>())
        r = one.first();
    r.seconds = clock.elapsed() / 1000.0;
    judgeAlarm(motor, &r);
    return r;
}

void CommissionRunner::finishStep(int motor, const PlanStep& step, StepRecord record) {
    for (const Measurement& m : record.measurements)
        record.outcome = Outcomes::worst(record.outcome, m.outcome);
    MotorRecord& motorRecord = m_record.motors[motor];
    motorRecord.steps << record;
    emit stepFinished(motor, record);
    const bool failed = record.outcome == Outcome::Fail || record.outcome == Outcome::Error;
    if (!m_endReason.isEmpty() || (failed && !step.continueOnFail))
        stopMotor(motor, step);
}

void CommissionRunner::stopMotor(int motor, const PlanStep& step) {
    if (!m_runs[motor].active)
        return;
    m_runs[motor].active = false;
    m_runs[motor].stoppedAt = step.index;
    m_record.motors[motor].endUtc = QDateTime::currentDateTimeUtc();
    // A motor whose run ends is made safe at once, not after the others' runs.
    if (m_endReason.isEmpty())
        leaveSafe(motor, &m_record.motors[motor].steps.last());
    emit motorFinished(motor, m_record.motors[motor]);
}

void CommissionRunner::leaveSafe(int motor, StepRecord* log) {
    if (!m_runs[motor].touched)
        return;
    const int canId = m_record.motors[motor].canId;
    StepRecord scratch;
    const bool wasSafing = m_safing;
    m_safing = true;
    const FlowResult result = runFlow(m_flows->leaveSafe(canId), motor, log->index, &scratch);
    m_safing = wasSafing;
    if (result.ok())
        log->log << tr("Motor %1 left in reset mode.").arg(canId);
    else
        log->log << tr("Motor %1 could not be put into reset mode: %2").arg(canId).arg(result.reason);
}

void CommissionRunner::leaveEveryMotorSafe() {
    // The last step that ran carries the lines (skipped ones never ran).
    auto lastRun = [this](int motor) {
        QVector<StepRecord>& steps = m_record.motors[motor].steps;
        StepRecord* last = &steps.last();
        for (StepRecord& s : steps) {
            if (s.outcome != Outcome::Skipped || s.index <= 1)
                last = &s;
        }
        return last;
    };
    QList<int> touched;
    for (int motor = 0; motor < m_runs.size(); ++motor) {
        if (m_runs[motor].touched && !m_record.motors[motor].steps.isEmpty())
            touched << motor;
    }
    if (touched.isEmpty())
        return;
    m_safing = true;
    if (m_portLost) {
        emit notice(
            tr("The adapter went away: waiting up to %n second(s) for it to come back, to leave "
               "the motors safe.",
               nullptr, (m_settings.reconnectWaitMs + 999) / 1000));
        StepRecord scratch;
        const FlowResult back =
            runFlow(m_flows->reconnect(canIdsOf(touched), m_settings.reconnectWaitMs), -1, 0, &scratch);
        if (!back.ok()) {
            for (int motor : touched) {
                const QString line = tr("Motor %1 could not be reached to leave it safe: %2")
                                         .arg(m_record.motors[motor].canId)
                                         .arg(back.reason);
                lastRun(motor)->log << line;
                emit notice(line);
            }
            m_safing = false;
            return;
        }
    }
    for (int motor : touched) {
        StepRecord* last = lastRun(motor);
        leaveSafe(motor, last);
        emit notice(last->log.last());
    }
    m_safing = false;
}

void CommissionRunner::skipRemaining() {
    for (int motor = 0; motor < m_record.motors.size(); ++motor) {
        MotorRecord& record = m_record.motors[motor];
        QSet<int> done;
        for (const StepRecord& s : record.steps)
            done.insert(s.index);
        for (const PlanStep& step : m_plan.steps) {
            if (done.contains(step.index))
                continue;
            StepRecord r;
            r.index = step.index;
            r.kind = step.kind;
            r.title = step.title;
            r.outcome = Outcome::Skipped;
            if (!m_endReason.isEmpty())
                r.message = tr("not run: %1").arg(m_endReason);
            else
                r.message = tr("not run: step %1 did not pass").arg(m_runs[motor].stoppedAt);
            record.steps << r;
        }
        if (m_runs[motor].active) {
            m_runs[motor].active = false;
            record.endUtc = QDateTime::currentDateTimeUtc();
            emit motorFinished(motor, record);
        }
    }
}

FlowResult CommissionRunner::runFlow(std::unique_ptr<Flow> flow, int motor, int stepIndex, StepRecord* r) {
    if (!flow) {
        FlowResult missing;
        missing.outcome = FlowOutcome::Failed;
        missing.reason = tr("This step cannot run with this link.");
        r->log << missing.reason;
        return missing;
    }
    if (m_lease.isValid())
        flow->runUnder(m_lease);
    flow->setAllowInput(m_settings.allowInput);
    connect(flow.get(), &Flow::progress, this, [this, motor, stepIndex, r](const FlowProgress& p) {
        emit stepProgress(motor, stepIndex, p);
        if (!p.text.isEmpty() && (r->log.isEmpty() || r->log.last() != p.text) &&
            r->log.size() < kMaxLogLines)
            r->log << p.text;
    });
    // Leaving motors safe goes on after a cancel: that is what the cancel asked for.
    if (m_cancelled && !m_safing)
        flow->cancel(m_cancelReason);
    m_current = flow.get();
    m_currentMotor = flow->canId() >= 0 ? motor : -1;
    FlowResult result = flow->run();
    m_current = nullptr;
    m_currentMotor = -1;
    // Stopped for its motor's fault: the step failed; the run goes on with the other motors.
    if (m_alarmStop && result.outcome == FlowOutcome::Cancelled && !m_cancelled &&
        !(m_lease.isValid() && m_lease.preempted()))
        result.outcome = FlowOutcome::Failed;
    m_alarmStop = false;
    QString line = tr("%1: %2").arg(result.flow, FlowResult::outcomeName(result.outcome));
    if (!result.reason.isEmpty())
        line += QStringLiteral(" (%1)").arg(result.reason);
    r->log << line;
    return result;
}

FlowResult CommissionRunner::motorResult(const FlowResult& all, int canId) {
    if (!all.values.contains(QStringLiteral("motors")))
        return all;
    FlowResult one = all;
    one.canId = canId;
    const QVariantMap mine =
        all.values.value(QStringLiteral("motors")).toMap().value(QString::number(canId)).toMap();
    if (mine.isEmpty()) {
        // No word about this motor: the flow's own outcome stands, failing if it succeeded.
        if (all.ok()) {
            one.outcome = FlowOutcome::Failed;
            one.reason = tr("The flow reported nothing for motor %1.").arg(canId);
        }
        one.values.clear();
        return one;
    }
    one.values = mine;
    one.reason = mine.value(QStringLiteral("reason")).toString();
    const QString name = mine.value(QStringLiteral("outcome")).toString();
    one.outcome = FlowOutcome::Failed;
    for (int o = int(FlowOutcome::Succeeded); o <= int(FlowOutcome::Cancelled); ++o) {
        if (FlowResult::outcomeName(FlowOutcome(o)) == name)
            one.outcome = FlowOutcome(o);
    }
    return one;
}

Outcome CommissionRunner::judgeFlow(const FlowResult& result, StepRecord* r) {
    Outcome outcome = Outcome::Pass;
    switch (result.outcome) {
        case FlowOutcome::Succeeded:
            return Outcome::Pass;
        case FlowOutcome::Refused:
        case FlowOutcome::Failed:
            outcome = Outcome::Fail;
            break;
        case FlowOutcome::Busy:
        case FlowOutcome::TimedOut:
        case FlowOutcome::DeviceRemoved:
            outcome = Outcome::Error;
            break;
        case FlowOutcome::PortClosed:
            m_portLost = true;
            [[fallthrough]];
        case FlowOutcome::Cancelled:
            // Nothing more can be done on this link (or the operator said stop).
            outcome = Outcome::Error;
            if (m_endReason.isEmpty())
                m_endReason = m_cancelled ? m_cancelReason : result.reason;
            break;
    }
    if (r->message.isEmpty())
        r->message = result.reason;
    r->outcome = Outcomes::worst(r->outcome, outcome);
    return outcome;
}

void CommissionRunner::addMeasurement(StepRecord* r, const Measurement& m) {
    r->measurements << m;
    r->outcome = Outcomes::worst(r->outcome, m.outcome);
}

QList<int> CommissionRunner::canIdsOf(const QList<int>& motors) const {
    QList<int> ids;
    for (int m : motors)
        ids << m_record.motors[m].canId;
    return ids;
}

bool CommissionRunner::judgeAlarm(int motor, StepRecord* r) {
    const RunFlows::Alarm now = m_flows->alarm(m_record.motors[motor].canId);
    const bool fresh = !now.newSince(m_runs[motor].alarmBase).isEmpty();
    // Judged once: a fault that stays set fails only the step it came in.
    m_runs[motor].alarmBase = now;
    if (!fresh)
        return false;
    Measurement m;
    m.name = tr("alarm");
    m.numeric = false;
    m.text = now.text;
    m.expected = tr("none");
    m.outcome = Outcome::Fail;
    addMeasurement(r, m);
    const QString why = tr("Motor %1 reported a fault: %2").arg(m_record.motors[motor].canId).arg(now.text);
    if (r->message.isEmpty())
        r->message = why;
    r->log << why;
    return true;
}

void CommissionRunner::onAlarmNews(int canId) {
    if (!m_current || m_currentMotor < 0 || m_alarmStop || m_safing)
        return;
    if (m_record.motors[m_currentMotor].canId != canId)
        return;
    const RunFlows::Alarm now = m_flows->alarm(canId);
    if (now.newSince(m_runs[m_currentMotor].alarmBase).isEmpty())
        return;
    m_alarmStop = true;
    m_current->cancel(tr("Motor %1 reported a fault: %2").arg(canId).arg(now.text));
}
