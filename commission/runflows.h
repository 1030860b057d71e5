#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "link/flows/flow.h"

// What a commissioning run asks of the link: one flow per kind of work, each addressed by CAN
// ID and ending with a typed FlowResult. The runner only starts these and reads their values;
// it never builds or sends a frame itself. The link's flows stand behind LinkRunFlows.
//
// Values the runner reads (FlowResult::values):
//  detect        "motors": list of {"mcu_id": hex text, "can_id": int, "model": int, -1 unknown}
//  readParams    "entries": list of {"code": int, "group": int, "name", "type", "value": text,
//                "writable": bool}
//  applyParams   per motor (see below): "written": int, "entries" (read back, as readParams);
//                Refused (nothing written) when the profile does not fit the motor, Failed
//                with "mismatches": list of {"code", "name", "expected", "actual"}
//  setCanId      "can_id": int, as the motor announced itself afterwards; Refused when
//                another motor on the bus holds the ID
//  flash         "packets", "resends": int, "seconds": double
//  zero          nothing
//  calibrate     per motor: "offset": double (the encoder's electrical offset)
//  move          "position" (rad), "velocity" (rad/s), "torque" (Nm): the feedback after settling
//  capture       per motor: "csv": bytes with the header "time,<channel>,...", "channels": the
//                channel names in the order asked, "records", "lost": int
//  estop         "brake_ms": double, the time until the motor confirmed brake mode
//  leaveSafe     nothing; stops a jog and puts the motor into reset mode
//  reconnect     nothing; succeeds once the adapter is back with the motors registered
//
// Flows over several motors (calibrate, applyParams, capture take a list of CAN IDs; a list
// of one is one motor) report each motor under "motors": a map from the CAN ID as text to a
// map with that motor's values plus "outcome" (FlowResult::outcomeName) and "reason".
class RunFlows {
public:
    struct MoveRequest {
        QString mode;  // "mit", "position", "velocity", "current"
        double target = 0;
        double speed = 0;  // position mode; 0: the motor's own
        double kp = 0;     // mit mode
        double kd = 0;
        int settleMs = 0;
    };

    // What a motor reports as going wrong: the fault flags of its feedback and the fault word
    // of its last fault frame. Warnings are not alarms.
    struct Alarm {
        quint32 flags = 0;
        quint32 fault = 0;
        QString text;  // for people: "flags 0, 1; fault 0x3"

        bool isEmpty() const { return flags == 0 && fault == 0; }
        // The bits set here that were not set in `before` (text left empty).
        Alarm newSince(const Alarm& before) const {
            Alarm a;
            a.flags = flags & ~before.flags;
            a.fault = fault & ~before.fault;
            return a;
        }
    };

    virtual ~RunFlows() = default;

    virtual std::unique_ptr<Flow> detect() = 0;
    virtual std::unique_ptr<Flow> readParams(int canId) = 0;
    virtual std::unique_ptr<Flow> applyParams(const QList<int>& canIds, const QString& profile,
                                              bool save) = 0;
    virtual std::unique_ptr<Flow> setCanId(int canId, int newCanId) = 0;
    virtual std::unique_ptr<Flow> flash(int canId, const QString& image) = 0;
    virtual std::unique_ptr<Flow> zero(int canId) = 0;
    virtual std::unique_ptr<Flow> calibrate(const QList<int>& canIds) = 0;
    virtual std::unique_ptr<Flow> move(int canId, const MoveRequest& request) = 0;
    virtual std::unique_ptr<Flow> capture(const QList<int>& canIds, const QStringList& channels, int rate,
                                          double seconds) = 0;
    virtual std::unique_ptr<Flow> estop(int canId) = 0;
    virtual std::unique_ptr<Flow> leaveSafe(int canId) = 0;
    // Waits up to timeoutMs for an adapter that went away to come back with these motors.
    virtual std::unique_ptr<Flow> reconnect(const QList<int>& canIds, int timeoutMs) = 0;

    // The motor's alarm as last reported.
    virtual Alarm alarm(int canId) = 0;
    // Calls `changed` (on the port's thread) whenever a motor reports something its alarm
    // may have changed with; an empty function stops the calls.
    virtual void watchAlarms(std::function<void(int canId)> changed) = 0;
};
