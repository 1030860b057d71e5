#pragma once

#include <QList>
#include <QtGlobal>

#include <array>
#include <mutex>

#include "link/canprotocol.h"

// What the host knows of one motor on the bus: its model (and so the ranges its frames are
// scaled with) and the values its replies last carried.
struct MotorState {
    quint8 canId = 0;
    quint64 mcuId = 0;  // from the motor's announcement; 0 until it announced itself
    bool modelKnown = false;
    int modelCode = 0;
    CanProtocol::ModelRanges ranges;

    float position = 0;
    float velocity = 0;
    float torque = 0;
    int positionRaw = 0;
    int velocityRaw = 0;
    int torqueRaw = 0;
    std::array<bool, 6> faults{};
    int modeState = 0;
    quint32 faultWord = 0;
    quint32 warningWord = 0;
    float rotorAngle = 0;
    float statorFluxAngle = 0;
    quint16 sensorValue = 0;
    qint16 caliNumber = 0;
    qint16 caliIndex = 0;
    qint32 caliCorrection = 0;
    float encoderOffset = 0;
    std::array<quint8, 8> hall{};
};

// The state of every motor heard from, keyed by CAN ID. Process-wide like the link thread;
// written by the receive path, read from any thread, guarded by one mutex.
class MotorStates {
public:
    // A copy of the motor's state; a blank one (with the CAN ID set) for a motor not heard from.
    static MotorState get(quint8 canId);
    static bool contains(quint8 canId);
    static QList<quint8> canIds();
    // Drops one motor (removed from the bus, or its CAN ID changed).
    static void forget(quint8 canId);
    static void reset();

    // Applies the model bytes of a motor's reply; false (and nothing changes) where the reply
    // names no model.
    static bool applyModel(quint8 canId, quint8 byteA, quint8 byteB);

    // Changes a motor's state under the lock, creating it on first use. change must not call
    // back into MotorStates.
    template <typename Change>
    static void update(quint8 canId, Change&& change) {
        std::lock_guard<std::mutex> lock(mutex());
        change(slot(canId));
    }

private:
    static std::mutex& mutex();
    // The entry for canId, created when missing; callers hold mutex().
    static MotorState& slot(quint8 canId);
};
