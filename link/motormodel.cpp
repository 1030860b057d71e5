#include "link/motormodel.h"

#include "link/motorstates.h"

#include <mutex>

namespace {

std::mutex g_mutex;
CanProtocol::ModelRanges g_ranges;
bool g_known = false;
int g_follow = -1;

}  // namespace

CanProtocol::ModelRanges MotorModel::ranges() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_ranges;
}

int MotorModel::code() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_ranges.modelCode;
}

bool MotorModel::known() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_known;
}

bool MotorModel::apply(quint8 byteA, quint8 byteB) {
    const auto ranges = CanProtocol::rangesForModel(byteA, byteB);
    if (!ranges)
        return false;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_ranges = *ranges;
    g_known = true;
    return true;
}

void MotorModel::reset() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_ranges = CanProtocol::ModelRanges();
    g_known = false;
    g_follow = -1;
}

void MotorModel::follow(int canId) {
    const MotorState state = canId >= 0 ? MotorStates::get(quint8(canId)) : MotorState();
    std::lock_guard<std::mutex> lock(g_mutex);
    g_follow = canId;
    if (canId < 0)
        return;
    g_ranges = state.modelKnown ? state.ranges : CanProtocol::ModelRanges();
    g_known = state.modelKnown;
}

void MotorModel::motorModelKnown(quint8 canId) {
    const MotorState state = MotorStates::get(canId);
    if (!state.modelKnown)
        return;
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_follow >= 0 && g_follow != canId)
        return;
    g_ranges = state.ranges;
    g_known = true;
}
