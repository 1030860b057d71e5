#include "link/motorstates.h"

namespace {

// A CAN ID is one byte: a fixed table keeps the receive path free of allocations.
struct Table {
    std::array<MotorState, 256> states{};
    std::array<bool, 256> present{};
};

Table& table() {
    static Table t;
    return t;
}

}  // namespace

std::mutex& MotorStates::mutex() {
    static std::mutex m;
    return m;
}

MotorState& MotorStates::slot(quint8 canId) {
    Table& t = table();
    if (!t.present[canId]) {
        t.states[canId] = MotorState();
        t.states[canId].canId = canId;
        t.present[canId] = true;
    }
    return t.states[canId];
}

MotorState MotorStates::get(quint8 canId) {
    std::lock_guard<std::mutex> lock(mutex());
    const Table& t = table();
    if (t.present[canId])
        return t.states[canId];
    MotorState blank;
    blank.canId = canId;
    return blank;
}

bool MotorStates::contains(quint8 canId) {
    std::lock_guard<std::mutex> lock(mutex());
    return table().present[canId];
}

QList<quint8> MotorStates::canIds() {
    std::lock_guard<std::mutex> lock(mutex());
    QList<quint8> ids;
    for (int id = 0; id < 256; ++id) {
        if (table().present[size_t(id)])
            ids << quint8(id);
    }
    return ids;
}

void MotorStates::forget(quint8 canId) {
    std::lock_guard<std::mutex> lock(mutex());
    table().present[canId] = false;
}

void MotorStates::reset() {
    std::lock_guard<std::mutex> lock(mutex());
    table().present.fill(false);
}

bool MotorStates::applyModel(quint8 canId, quint8 byteA, quint8 byteB) {
    const auto ranges = CanProtocol::rangesForModel(byteA, byteB);
    if (!ranges)
        return false;
    std::lock_guard<std::mutex> lock(mutex());
    MotorState& state = slot(canId);
    state.ranges = *ranges;
    state.modelCode = ranges->modelCode;
    state.modelKnown = true;
    return true;
}
