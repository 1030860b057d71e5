#include "commission/linkrunflows.h"

#include "link/flows/calibrateflow.h"
#include "link/flows/detectflow.h"
#include "link/flows/estopflow.h"
#include "link/flows/moveflow.h"
#include "link/flows/safestateflow.h"
#include "link/flows/setcanidflow.h"
#include "link/flows/zeroflow.h"

// The link's flows (link/flows/), as a run asks for them.

std::unique_ptr<Flow> LinkRunFlows::detect() {
    DetectFlow::Options options;
    options.wholeBus = true;
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
