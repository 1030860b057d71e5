#include "commission/linkrunflows.h"

#include "link/flows/calibrateflow.h"
#include "link/flows/detectflow.h"
#include "link/flows/estopflow.h"
#include "link/flows/moveflow.h"
#include "link/flows/reconnectflow.h"
#include "link/flows/safestateflow.h"
#include "link/flows/setcanidflow.h"
#include "link/flows/zeroflow.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/motorfaults.h"
#include "link/motorstates.h"

// The link's flows (link/flows/), as a run asks for them.

LinkRunFlows::~LinkRunFlows() = default;

std::unique_ptr<Flow> LinkRunFlows::detect() {
    DetectFlow::Options options;
    options.wholeBus = true;
    options.rescan = m_settings.rescan;
    return std::make_unique<DetectFlow>(options);
}

std::unique_ptr<Flow> LinkRunFlows::readParams(int) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::applyParams(const QList<int>&, const QString&, bool) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::setCanId(int canId, int newCanId) {
    return std::make_unique<SetCanIdFlow>(canId, newCanId);
}

std::unique_ptr<Flow> LinkRunFlows::flash(int, const QString&) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::zero(int canId) {
    return std::make_unique<ZeroFlow>(canId);
}

std::unique_ptr<Flow> LinkRunFlows::calibrate(const QList<int>& canIds) {
    return std::make_unique<CalibrateFlow>(canIds);
}

std::unique_ptr<Flow> LinkRunFlows::move(int canId, const MoveRequest& request) {
    MoveFlow::Request r;
    if (!MoveFlow::modeFromName(request.mode, &r.mode))
        return nullptr;
    r.target = request.target;
    r.speed = request.speed;
    r.kp = request.kp;
    r.kd = request.kd;
    r.settleMs = request.settleMs;
    return std::make_unique<MoveFlow>(canId, r);
}

std::unique_ptr<Flow> LinkRunFlows::capture(const QList<int>&, const QStringList&, int, double) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::estop(int canId) {
    return std::make_unique<EstopFlow>(canId);
}

std::unique_ptr<Flow> LinkRunFlows::leaveSafe(int canId) {
    return std::make_unique<SafeStateFlow>(canId);
}

std::unique_ptr<Flow> LinkRunFlows::reconnect(const QList<int>& canIds, int timeoutMs) {
    return std::make_unique<ReconnectFlow>(canIds, timeoutMs);
}

RunFlows::Alarm LinkRunFlows::alarm(int canId) {
    const MotorState s = MotorStates::get(quint8(canId));
    Alarm a;
    for (size_t i = 0; i < s.faults.size(); ++i)
        a.flags |= s.faults[i] ? 1u << i : 0u;
    a.fault = s.faultWord;
    a.text = MotorFaults::describe(a.flags, a.fault, 0);
    return a;
}

void LinkRunFlows::watchAlarms(std::function<void(int canId)> changed) {
    QObject::disconnect(m_alarmConnection);
    CANWorker* worker = Helper::instance()->worker();
    if (!changed || !worker)
        return;
    m_alarmConnection = QObject::connect(
        worker, &CANWorker::motorChanged, &m_alarmContext, [changed](quint8 canId, int status) {
            if (status == OTA_STA_MOTOR_FEEDBACK || status == OTA_STA_MOTOR_FAULTWARN)
                changed(canId);
        });
}
