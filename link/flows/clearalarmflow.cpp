#include "link/flows/clearalarmflow.h"

#include "link/flows/statuswatch.h"
#include "link/linkcommands.h"
#include "link/linkstates.h"
#include "link/motorstates.h"

ClearAlarmFlow::ClearAlarmFlow(int canId, QObject* parent) : Flow(canId, parent) {}

FlowResult ClearAlarmFlow::execute() {
    StatusWatch watch;
    QString refusal;
    if (!LinkCommands::send(LinkCommand::clearAlarm(canId()), lease(), &refusal))
        return result(FlowOutcome::Refused, refusal);
    // The motor answers the clear with its feedback, fault bits included.
    const LinkWait::Result r = wait([&] { return watch.saw({OTA_STA_MOTOR_FEEDBACK}, canId()); }, 1000);
    if (r != LinkWait::Result::Done)
        return interrupted(r, tr("The motor did not answer the alarm clear."));
    const MotorState s = MotorStates::get(quint8(canId()));
    int bits = 0;
    for (size_t i = 0; i < s.faults.size(); ++i)
        bits |= s.faults[i] ? 1 << i : 0;
    const QVariantMap values{{QStringLiteral("faults"), bits}};
    if (bits != 0)
        return result(FlowOutcome::Failed,
                      tr("Motor %1 still reports a fault (0x%2).").arg(canId()).arg(bits, 0, 16), values);
    return result(FlowOutcome::Succeeded, QString(), values);
}
