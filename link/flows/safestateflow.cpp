#include "link/flows/safestateflow.h"

#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/motionguard.h"
#include "link/motorframes.h"
#include "link/motorstates.h"
#include "link/otathread.h"

SafeStateFlow::SafeStateFlow(int canId, QObject* parent) : Flow(canId, parent) {}

FlowResult SafeStateFlow::execute() {
    CANWorker* worker = Helper::instance()->worker();
    if (!worker || !worker->isConnected())
        return result(FlowOutcome::PortClosed, tr("The adapter is not connected."));
    const quint8 id = quint8(canId());
    // The jog stop needs no ranges (zero speed) and goes out before anything else.
    QString error;
    if (const auto stop = MotorFrames::jog(id, 0, false, MotorStates::get(id).ranges, &error))
        worker->link()->sendFrame(*stop);
    FlowResult r =
        sendAndWait(LinkCommand::setMode(canId(), 2), OTA_STA_RST_MODE_SUCCESS, {OTA_STA_RST_MODE_OVER_TIME},
                    5000, tr("Motor %1 did not confirm reset mode.").arg(canId()));
    if (r.ok()) {
        if (MotionGuard* guard = MotionGuard::of(worker)) {
            guard->setJogging(id, false);
            guard->disarm(id);
        }
    }
    return r;
}
