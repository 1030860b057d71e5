#pragma once

#include "link/flows/flow.h"
#include "link/flows/motionrecipe.h"
#include "link/motorframes.h"

// Drives one motor to a set-point in a mode and reads where it got: the run mode is written,
// the motor switched on (MotionGuard resets it when the port closes), the set-points sent by
// the model's recipe, then, while the settle time runs, the motor is asked for its feedback
// (it reports only when addressed). The motor stays on: the caller decides when it rests.
//
// Values: "position" (rad), "velocity" (rad/s), "torque" (Nm) of the last feedback after the
// settle time, and "mode_state" (the mode bits the motor reported).
class MoveFlow : public Flow {
    Q_OBJECT

public:
    struct Request {
        enum class Mode { Mit, Position, Velocity, Current, Csp };
        Mode mode = Mode::Position;
        double target = 0;        // rad, rad/s or A by mode
        double speed = 0;         // position modes; 0: the motor's own setting
        double acceleration = 0;  // 0: the motor's own setting
        double currentLimit = 0;  // velocity mode; 0: the motor's own setting
        double kp = 0;            // MIT control
        double kd = 0;
        int settleMs = 1000;
    };

    MoveFlow(int canId, const Request& request, QObject* parent = nullptr);

    // "mit", "position", "velocity", "current", "csp"; false for another word.
    static bool modeFromName(const QString& name, Request::Mode* mode);

    QString name() const override { return QStringLiteral("move"); }
    QString activity() const override { return tr("moving"); }

protected:
    FlowResult execute() override;

private:
    void poll();
    MotorFrames::MitSetpoints mitSetpoints() const;

    Request m_request;
};
