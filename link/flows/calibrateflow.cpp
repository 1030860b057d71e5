#include "link/flows/calibrateflow.h"

#include "link/canworker.h"
#include "link/flows/statuswatch.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/linkstates.h"
#include "link/motorstates.h"

namespace {

// The motor confirms calibration mode within its step's two seconds.
constexpr int kEnterTimeoutMs = 8000;

}  // namespace

CalibrateFlow::CalibrateFlow(const QList<int>& canIds, int timeoutMs, QObject* parent)
    : Flow(canIds.size() == 1 ? canIds.first() : -1, parent), m_canIds(canIds), m_timeoutMs(timeoutMs) {}

FlowResult CalibrateFlow::execute() {
    if (m_canIds.isEmpty())
        return result(FlowOutcome::Refused, tr("No motor to calibrate."));
    CANWorker* worker = Helper::instance()->worker();
    const auto unplugged = [worker] { return !worker || !worker->isConnected(); };
    StatusWatch watch;
    QMap<int, FlowResult> outcome;  // per motor, once decided
    QList<int> running;

    for (int id : m_canIds) {
        const int from = watch.mark();
        QString refusal;
        if (!LinkCommands::send(LinkCommand::calibrate(id), lease(), &refusal)) {
            outcome[id] = result(FlowOutcome::Refused, refusal);
            continue;
        }
        // Calibration mode is confirmed by the mode reply, or the first progress frame.
        const LinkWait::Result r = wait(
            [&] {
                return watch.saw(
                    {OTA_STA_CALI_MODE_SUCCESS, OTA_STA_CALI_MODE_OVER_TIME, OTA_STA_ENCODER_CALI_ING}, id,
                    from);
            },
            kEnterTimeoutMs);
        if (r == LinkWait::Result::Cancelled)
            return interrupted(r, QString());
        if (r != LinkWait::Result::Done ||
            watch.seen({OTA_STA_CALI_MODE_SUCCESS, OTA_STA_CALI_MODE_OVER_TIME, OTA_STA_ENCODER_CALI_ING}, id,
                       from) == OTA_STA_CALI_MODE_OVER_TIME) {
            outcome[id] = unplugged()
                              ? result(FlowOutcome::PortClosed,
                                       tr("The adapter was disconnected before the calibration started."))
                              : result(FlowOutcome::Failed, tr("The motor did not enter calibration mode."));
            continue;
        }
        running << id;
    }

    const QList<int> done{OTA_STA_ENCODER_CALI_DONE, OTA_STA_HALL_CALI_DONE};
    const auto allDone = [&] {
        for (int id : running) {
            if (!watch.saw(done, id))
                return false;
        }
        return true;
    };
    LinkWait::Options options;
    options.timeoutMs = m_timeoutMs;
    QString shownStage;
    options.onTick = [&] {
        int finished = 0;
        bool saving = false;
        for (int id : running) {
            finished += watch.saw(done, id) ? 1 : 0;
            saving = saving || watch.saw({OTA_STA_ENCODER_CALI_RESULT}, id);
        }
        // Once the result rows arrive the motor is storing its result.
        const QString stage = saving ? QStringLiteral("saving") : QStringLiteral("calibrating");
        if (!running.isEmpty() && stage != shownStage) {
            shownStage = stage;
            report(double(finished) / running.size(),
                   saving ? tr("Saving calibration result...") : tr("Calibrating encoder..."),
                   {{QStringLiteral("stage"), stage}});
        }
    };
    const LinkWait::Result r = running.isEmpty() ? LinkWait::Result::Done : wait(allDone, options);
    if (r == LinkWait::Result::Cancelled)
        return interrupted(r, QString());
    for (int id : running) {
        if (watch.saw(done, id)) {
            const MotorState s = MotorStates::get(quint8(id));
            outcome[id] = result(FlowOutcome::Succeeded, QString(),
                                 {{QStringLiteral("offset"), double(s.encoderOffset)}});
        } else if (r == LinkWait::Result::PortClosed) {
            outcome[id] =
                result(FlowOutcome::PortClosed, tr("The adapter was disconnected during the calibration."));
        } else {
            outcome[id] = result(FlowOutcome::TimedOut, tr("The calibration did not finish in time."));
        }
    }

    if (m_canIds.size() == 1) {
        FlowResult single = outcome.value(m_canIds.first());
        return single;
    }
    QList<QPair<int, FlowResult>> perMotor;
    for (int id : m_canIds)
        perMotor.append({id, outcome.value(id)});
    return combined(perMotor);
}
