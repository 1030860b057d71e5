#include "link/flows/setcanidflow.h"

#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/motorstates.h"

SetCanIdFlow::SetCanIdFlow(int canId, int newCanId, int timeoutMs, QObject* parent)
    : Flow(canId, parent), m_newCanId(newCanId), m_timeoutMs(timeoutMs) {}

FlowResult SetCanIdFlow::execute() {
    if (m_newCanId == canId())
        return result(FlowOutcome::Succeeded, QString(), {{QStringLiteral("can_id"), m_newCanId}});
    const quint64 mcuId = MotorStates::get(quint8(canId())).mcuId;
    FlowResult r = sendAndWait(LinkCommand::setCanId(canId(), m_newCanId), OTA_STA_SET_ID_SUCCESS,
                               {OTA_STA_SET_ID_OVER_TIME}, m_timeoutMs,
                               tr("The motor did not announce itself under CAN ID %1.").arg(m_newCanId));
    if (!r.ok())
        return r;
    // Any announcement ends the step: make sure it was this motor, under the new ID.
    CANWorker* worker = Helper::instance()->worker();
    const auto moved = [&] {
        const MotorState s = MotorStates::get(quint8(m_newCanId));
        return worker && worker->deviceForCanId(quint8(m_newCanId)) && (mcuId == 0 || s.mcuId == mcuId);
    };
    const LinkWait::Result w = wait(moved, m_timeoutMs);
    if (w != LinkWait::Result::Done)
        return interrupted(w, tr("The motor did not announce itself under CAN ID %1.").arg(m_newCanId));
    return result(FlowOutcome::Succeeded, QString(), {{QStringLiteral("can_id"), m_newCanId}});
}
