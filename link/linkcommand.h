#pragma once

#include <QString>

#include "link/linkstates.h"
#include "link/motorframes.h"

// One request to one motor, named by its CAN ID: what LinkCommands::send turns into a frame
// or a link step. Built with the named constructors below; the fields a kind does not use
// stay at their defaults.
struct LinkCommand {
    enum class Kind {
        SetCanId,    // number: the new CAN ID
        SetRunMode,  // number: the run mode (0 MIT control ... 8 open loop)
        SetMode,     // number: 0 brake, 1 motor, 2 reset
        MitControl,  // mit: the set-points
        SdoFloat,    // number: object index; value
        SdoUint,     // number: object index; value (a whole number within 32 bits)
        Jog,         // value: speed (rad/s); flag: jogging (false stops)
        LoadParam,   // reads the parameter table's description
        Calibrate,   // encoder calibration
        Zero,        // number: the zero flag (1: set the mechanical zero here)
        ClearAlarm,
        Update,   // enters the firmware update mode
        RunStep,  // number: a link step started as it is (parameter transfers, factory reset)
    };

    Kind kind = Kind::RunStep;
    int canId = 0;
    int number = 0;
    double value = 0;
    bool flag = false;
    MotorFrames::MitSetpoints mit;

    static LinkCommand setCanId(int canId, int newId) { return make(Kind::SetCanId, canId, newId); }
    static LinkCommand setRunMode(int canId, int mode) { return make(Kind::SetRunMode, canId, mode); }
    static LinkCommand setMode(int canId, int mode) { return make(Kind::SetMode, canId, mode); }
    static LinkCommand mitControl(int canId, const MotorFrames::MitSetpoints& setpoints) {
        LinkCommand c = make(Kind::MitControl, canId);
        c.mit = setpoints;
        return c;
    }
    static LinkCommand sdoFloat(int canId, int index, double value) {
        return make(Kind::SdoFloat, canId, index, value);
    }
    static LinkCommand sdoUint(int canId, int index, double value) {
        return make(Kind::SdoUint, canId, index, value);
    }
    static LinkCommand jog(int canId, double speed, bool jogging) {
        LinkCommand c = make(Kind::Jog, canId, 0, speed);
        c.flag = jogging;
        return c;
    }
    static LinkCommand loadParam(int canId) { return make(Kind::LoadParam, canId); }
    static LinkCommand calibrate(int canId) { return make(Kind::Calibrate, canId); }
    static LinkCommand zero(int canId, int flag = 1) { return make(Kind::Zero, canId, flag); }
    static LinkCommand clearAlarm(int canId) { return make(Kind::ClearAlarm, canId); }
    static LinkCommand update(int canId) { return make(Kind::Update, canId); }
    static LinkCommand runStep(int canId, canComStep step) { return make(Kind::RunStep, canId, int(step)); }

    // "SET_CAN_ID", "MOVE_JOG", ... as the log lines name it; empty for RunStep.
    QString name() const;
    // Whether the command starts a link step (and so replaces the step that runs).
    bool startsStep() const;

private:
    static LinkCommand make(Kind kind, int canId, int number = 0, double value = 0) {
        LinkCommand c;
        c.kind = kind;
        c.canId = canId;
        c.number = number;
        c.value = value;
        return c;
    }
};
