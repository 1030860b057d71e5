#pragma once

class SidebarForm;

// The set-point limits of each motor model: spin box ranges, the acceleration rows and the
// PP mode a model has or lacks. Codes without an entry leave everything as it was.
class MotionRanges {
public:
    struct Limits {
        double torque;   // torque ±
        double mitVel;   // MIT velocity ±
        double posVel;   // PP and CSP velocity setting, 0 to
        double velCmd;   // velocity command ±
        double ppAcc;    // PP acceleration, 0 to
        double velAcc;   // velocity-mode acceleration, 0 to; negative: unchanged
        double current;  // current limit max and current command ±
        double kp;
        double kd;
        bool ppAccShown;
        bool velAccShown;
        bool ppModeShown;
        bool velAccResetShown;
    };

    // The limits of a model code; false for codes without an entry.
    static bool limitsFor(int code, Limits* limits);
    // Applies the limits of code to the form; false (nothing changes) for an unknown code.
    static bool apply(SidebarForm* form, int code);

    // The current rows' limit of a model (the design limit without a known model).
    static double currentMax(int code);
    // Caps the current limit row and the current command at the motor's own current limit
    // (its limit_cur parameter) where that is below the model's; limit <= 0: not known.
    static void capCurrent(SidebarForm* form, double modelMax, double limit);
};
