#include "commission/linkrunflows.h"

// The link's flows (link/flows/) are bound here one by one as they become available.

std::unique_ptr<Flow> LinkRunFlows::detect() {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::readParams(int) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::applyParams(const QList<int>&, const QString&, bool) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::setCanId(int, int) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::flash(int, const QString&) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::zero(int) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::calibrate(const QList<int>&) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::move(int, const MoveRequest&) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::capture(const QList<int>&, const QStringList&, int, double) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::estop(int) {
    return nullptr;
}

std::unique_ptr<Flow> LinkRunFlows::leaveSafe(int) {
    return nullptr;
}
