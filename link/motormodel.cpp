#include "link/motormodel.h"

#include <mutex>

namespace {

std::mutex g_mutex;
CanProtocol::ModelRanges g_ranges;
bool g_known = false;

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
}
