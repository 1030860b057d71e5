#include "link/flows/moveflow.h"

#include "link/canworker.h"
#include "link/flows/statuswatch.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/linkstates.h"
#include "link/motionguard.h"
#include "link/motorframes.h"
#include "link/motorstates.h"
#include "link/otathread.h"

#include <QElapsedTimer>

namespace {

constexpr int kModelTimeoutMs = 1000;
constexpr int kModeTimeoutMs = 5000;
// Feedback is asked for this often while the motor settles (it answers every command with it).
constexpr int kPollMs = 50;

}  // namespace

MoveFlow::MoveFlow(int canId, const Request& request, QObject* parent)
    : Flow(canId, parent), m_request(request) {}

bool MoveFlow::modeFromName(const QString& name, Request::Mode* mode) {
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("mit"))
        *mode = Request::Mode::Mit;
    else if (n == QLatin1String("position"))
        *mode = Request::Mode::Position;
    else if (n == QLatin1String("velocity"))
        *mode = Request::Mode::Velocity;
    else if (n == QLatin1String("current"))
        *mode = Request::Mode::Current;
    else if (n == QLatin1String("csp"))
        *mode = Request::Mode::Csp;
    else
        return false;
    return true;
}

void MoveFlow::poll() {
    // The frame goes straight to the motor, not as a link step: a step would post its outcome
    // line twenty times a second. The motor answers every command with its feedback.
    otaThread* link = Helper::instance()->worker()->link();
    const quint8 id = quint8(canId());
    if (m_request.mode == Request::Mode::Mit) {
        QString error;
        if (const auto frame =
                MotorFrames::mitControl(id, mitSetpoints(), MotorStates::get(id).ranges, &error))
            link->sendFrame(*frame);
        return;
    }
    // Switching on a motor that is on changes nothing.
    link->sendFrame(MotorFrames::enterMotorMode(id));
}

MotorFrames::MitSetpoints MoveFlow::mitSetpoints() const {
    MotorFrames::MitSetpoints sp;
    sp.position = float(m_request.target);
    sp.kp = float(m_request.kp);
    sp.kd = float(m_request.kd);
    return sp;
}

FlowResult MoveFlow::execute() {
    CANWorker* worker = Helper::instance()->worker();
    if (!worker || !worker->isConnected())
        return result(FlowOutcome::PortClosed, tr("The adapter is not connected."));
    const quint8 id = quint8(canId());
    // Set-points are scaled with, and recipes chosen by, the motor's model.
    if (!MotorStates::get(id).modelKnown) {
        worker->link()->sendFrame(MotorFrames::modelQuery(id));
        const LinkWait::Result r = wait([id] { return MotorStates::get(id).modelKnown; }, kModelTimeoutMs);
        if (r != LinkWait::Result::Done)
            return interrupted(r, tr("Motor %1 did not tell its model.").arg(canId()));
    }
    const int model = MotorStates::get(id).modelCode;

    using Mode = Request::Mode;
    MotionRecipe::Mode recipe = MotionRecipe::Mode::Position;
    int runMode = 0;
    switch (m_request.mode) {
        case Mode::Mit:
            runMode = 0;
            break;
        case Mode::Position:
            recipe = MotionRecipe::Mode::Position;
            break;
        case Mode::Velocity:
            recipe = MotionRecipe::Mode::Velocity;
            break;
        case Mode::Current:
            recipe = MotionRecipe::Mode::Current;
            break;
        case Mode::Csp:
            recipe = MotionRecipe::Mode::Csp;
            break;
    }
    if (m_request.mode != Mode::Mit)
        runMode = MotionRecipe::runMode(recipe, model);

    QString refusal;
    if (!LinkCommands::send(LinkCommand::setRunMode(canId(), runMode), lease(), &refusal))
        return result(FlowOutcome::Refused, refusal);
    FlowResult on = sendAndWait(LinkCommand::setMode(canId(), 1), OTA_STA_MOTOR_MODE_SUCCESS,
                                {OTA_STA_MOTOR_MODE_OVER_TIME}, kModeTimeoutMs,
                                tr("Motor %1 did not switch on.").arg(canId()));
    if (!on.ok())
        return on;
    if (MotionGuard* guard = MotionGuard::of(worker))
        guard->arm(id, MotorStates::get(id).mcuId);

    if (m_request.mode == Mode::Mit) {
        if (!LinkCommands::send(LinkCommand::mitControl(canId(), mitSetpoints()), lease(), &refusal))
            return result(FlowOutcome::Refused, refusal);
    } else {
        for (const MotionRecipe::Write& w : MotionRecipe::writes(recipe, model)) {
            double value = m_request.target;
            switch (w.field) {
                case MotionRecipe::Field::Position:
                case MotionRecipe::Field::Current:
                    value = m_request.target;
                    break;
                case MotionRecipe::Field::Velocity:
                    value = m_request.mode == Mode::Velocity ? m_request.target : m_request.speed;
                    break;
                case MotionRecipe::Field::Acceleration:
                    value = m_request.acceleration;
                    break;
                case MotionRecipe::Field::CurrentLimit:
                    value = m_request.currentLimit;
                    break;
            }
            // A limit left at 0 keeps the motor's own setting: writing 0 would stop it.
            const bool setPoint =
                w.field == MotionRecipe::Field::Position || w.field == MotionRecipe::Field::Current ||
                (w.field == MotionRecipe::Field::Velocity && m_request.mode == Mode::Velocity);
            if (!setPoint && value == 0)
                continue;
            if (!LinkCommands::send(LinkCommand::sdoFloat(canId(), w.index, value), lease(), &refusal))
                return result(FlowOutcome::Refused, refusal);
            if (w.pauseAfterMs > 0) {
                const LinkWait::Result r = wait([] { return false; }, w.pauseAfterMs);
                if (r != LinkWait::Result::TimedOut)
                    return interrupted(r, QString());
            }
        }
    }

    // Settling: the motor is asked for its feedback while the time runs; the answer to the
    // last question after the time is what it reached.
    StatusWatch watch;
    QElapsedTimer clock;
    clock.start();
    int lastPoll = -kPollMs;
    LinkWait::Options options;
    options.onTick = [&] {
        const int now = int(clock.elapsed());
        if (now - lastPoll < kPollMs)
            return;
        lastPoll = now;
        poll();
        const MotorState s = MotorStates::get(id);
        report(qMin(1.0, double(now) / qMax(1, m_request.settleMs)), tr("Settling"),
               {{QStringLiteral("position"), double(s.position)},
                {QStringLiteral("velocity"), double(s.velocity)},
                {QStringLiteral("torque"), double(s.torque)}});
    };
    options.timeoutMs = m_request.settleMs + 2000;
    int settledMark = -1;
    const LinkWait::Result r = wait(
        [&] {
            if (clock.elapsed() < m_request.settleMs)
                return false;
            if (settledMark < 0) {
                // The first question asked after the settle time.
                settledMark = watch.mark();
                lastPoll = int(clock.elapsed());
                poll();
                return false;
            }
            return watch.saw({OTA_STA_MOTOR_FEEDBACK}, canId(), settledMark);
        },
        options);
    if (r != LinkWait::Result::Done)
        return interrupted(r, tr("Motor %1 did not report its feedback.").arg(canId()));
    const MotorState s = MotorStates::get(id);
    return result(FlowOutcome::Succeeded, QString(),
                  {{QStringLiteral("position"), double(s.position)},
                   {QStringLiteral("velocity"), double(s.velocity)},
                   {QStringLiteral("torque"), double(s.torque)},
                   {QStringLiteral("mode_state"), s.modeState}});
}
