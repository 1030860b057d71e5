#include "link/flows/estopflow.h"

#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/motionguard.h"

#include <QElapsedTimer>

EstopFlow::EstopFlow(int canId, int timeoutMs, QObject* parent)
    : Flow(canId, parent), m_timeoutMs(timeoutMs) {}

FlowResult EstopFlow::execute() {
    MotionGuard* guard = MotionGuard::of(Helper::instance()->worker());
    if (!guard || guard->brake({quint8(canId())}, false) == 0)
        return result(FlowOutcome::PortClosed, tr("The adapter is not connected."));
    QElapsedTimer clock;
    clock.start();
    // The brake frame went out first; the mode step asks again and reads the confirmation.
    FlowResult r = sendAndWait(LinkCommand::setMode(canId(), 0), OTA_STA_BRAKE_MODE_SUCCESS,
                               {OTA_STA_BRAKE_MODE_OVER_TIME}, m_timeoutMs,
                               tr("Motor %1 did not confirm brake mode.").arg(canId()));
    r.values.insert(QStringLiteral("brake_ms"), clock.nsecsElapsed() / 1e6);
    return r;
}
