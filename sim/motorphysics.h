#pragma once

#include <QtGlobal>

// A single joint as the simulated motors drive it: rotor inertia with viscous and Coulomb
// friction, a torque limit, and the control law of the active mode (MIT PD with feed-forward,
// a profiled position loop, a PI velocity loop, direct current, jog) plus the sine test,
// which adds a sinusoidal current. Integrated lazily in 1 ms steps whenever someone looks, so
// an idle bench costs nothing.
class MotorPhysics {
public:
    enum class Control { Off, Brake, Mit, Position, Velocity, Current, Jog };

    struct Gains {
        double locKp = 30;    // position loop, (rad/s) per rad
        double spdKp = 2;     // velocity loop, A per (rad/s)
        double spdKi = 0.02;  // A per (rad/s) per step
        double kt = 1.0;      // Nm per A
    };

    // Advances the model to the time `nowMs` (monotonic, milliseconds).
    void advanceTo(qint64 nowMs);
    // Starts the clock without integrating the time before it.
    void resetClock(qint64 nowMs);

    void setControl(Control c);
    Control control() const { return m_control; }

    void setMit(double pos, double vel, double kp, double kd, double torque);
    void setPositionTarget(double pos) { m_posTarget = pos; }
    void setVelocityTarget(double vel) { m_velTarget = vel; }
    void setCurrentTarget(double iq) { m_iqTarget = iq; }
    void setJog(double speed) { m_jogSpeed = speed; }
    void setSine(bool on, double amplitude, double frequency);

    // Limits and gains (from the parameter table and object writes).
    double torqueLimit = 14;
    double speedLimit = 10;    // rad/s, position and velocity modes
    double currentLimit = 14;  // A
    double acceleration = 20;  // rad/s^2 of the profiles
    Gains gains;
    double inertia = 0.01;  // kg m^2, rotor and reflected load
    double viscous = 0.01;  // Nm per (rad/s)
    double coulomb = 0.03;  // Nm

    // Mechanical zero: the present position reads 0 afterwards.
    void setZero() { m_zero = m_pos; }

    double position() const { return m_pos - m_zero; }
    double velocity() const { return m_vel; }
    double torque() const { return m_torque; }
    double current() const { return m_iq; }
    double temperature() const { return m_temp; }
    double busVoltage() const { return 24.0 - 0.05 * std::abs(m_iq); }
    double energy() const { return m_energy; }
    double sineTime() const { return m_sineTime; }

private:
    void step(double dt);
    double velocityLoop(double target, double dt, double* damping);
    double velocityPi(double reference, double* damping);

    Control m_control = Control::Off;
    double m_pos = 0, m_vel = 0, m_torque = 0, m_iq = 0, m_temp = 25, m_energy = 0;
    double m_zero = 0;
    double m_mitPos = 0, m_mitVel = 0, m_mitKp = 0, m_mitKd = 0, m_mitTorque = 0;
    double m_posTarget = 0, m_posRef = 0, m_posRefVel = 0;
    double m_velTarget = 0, m_velRef = 0, m_velIntegral = 0;
    double m_iqTarget = 0, m_jogSpeed = 0;
    bool m_sineOn = false;
    double m_sineAmp = 0, m_sineFreq = 0, m_sineTime = 0;
    qint64 m_lastMs = -1;
};
