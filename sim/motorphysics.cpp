#include "sim/motorphysics.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kStep = 0.001;
// Catching up after a long idle spell integrates at most this much; a motor left alone has
// settled long before.
constexpr qint64 kMaxCatchUpMs = 5000;

double clampAbs(double v, double limit) {
    return std::max(-limit, std::min(limit, v));
}
}  // namespace

void MotorPhysics::resetClock(qint64 nowMs) {
    m_lastMs = nowMs;
}

void MotorPhysics::advanceTo(qint64 nowMs) {
    if (m_lastMs < 0 || nowMs <= m_lastMs) {
        m_lastMs = std::max(m_lastMs, nowMs);
        return;
    }
    qint64 steps = nowMs - m_lastMs;
    m_lastMs = nowMs;
    steps = std::min(steps, kMaxCatchUpMs);
    for (qint64 i = 0; i < steps; ++i)
        step(kStep);
}

void MotorPhysics::setControl(Control c) {
    if (c == m_control)
        return;
    m_control = c;
    // Profiles start from where the rotor is, so a mode change never jerks it.
    m_posRef = m_pos;
    m_posTarget = m_pos - m_zero;
    m_posRefVel = 0;
    m_velRef = m_vel;
    m_velIntegral = 0;
    if (c == Control::Velocity)
        m_velTarget = 0;
    if (c == Control::Jog)
        m_jogSpeed = 0;
}

void MotorPhysics::setMit(double pos, double vel, double kp, double kd, double torque) {
    m_mitPos = pos;
    m_mitVel = vel;
    m_mitKp = kp;
    m_mitKd = kd;
    m_mitTorque = torque;
}

void MotorPhysics::setSine(bool on, double amplitude, double frequency) {
    if (on && !m_sineOn)
        m_sineTime = 0;
    m_sineOn = on;
    m_sineAmp = amplitude;
    m_sineFreq = frequency;
}

double MotorPhysics::velocityLoop(double target, double dt, double* damping) {
    // Ramp the reference at the profile acceleration, then PI on the error. The proportional
    // part acts on the new velocity (see step()), so only its set-point side is returned.
    m_velRef += clampAbs(target - m_velRef, acceleration * dt);
    return velocityPi(m_velRef, damping);
}

double MotorPhysics::velocityPi(double reference, double* damping) {
    const double err = reference - m_vel;
    m_velIntegral = clampAbs(m_velIntegral + gains.spdKi * err, currentLimit);
    *damping = gains.kt * gains.spdKp;
    return gains.kt * (gains.spdKp * reference + m_velIntegral);
}

void MotorPhysics::step(double dt) {
    // Every control law is written as torque = drive - damping * velocity, and the damping is
    // integrated implicitly: stiff gains (Kd up to 100, a braking short circuit) stay stable
    // at a 1 ms step.
    double drive = 0, damping = 0;
    switch (m_control) {
        case Control::Off:
            break;
        case Control::Brake:
            damping = 5.0;  // windings shorted
            break;
        case Control::Mit:
            drive = m_mitKp * (m_mitPos - position()) + m_mitKd * m_mitVel + m_mitTorque;
            damping = m_mitKd;
            break;
        case Control::Position: {
            // Trapezoidal profile towards the target, then a position loop feeding the velocity loop.
            const double target = m_posTarget + m_zero;
            const double dist = target - m_posRef;
            const double stopDist = m_posRefVel * m_posRefVel / (2 * std::max(acceleration, 1e-6));
            double want = (std::abs(dist) <= stopDist) ? 0.0 : std::copysign(speedLimit, dist);
            m_posRefVel += clampAbs(want - m_posRefVel, acceleration * dt);
            if (std::abs(dist) < acceleration * dt * dt && std::abs(m_posRefVel) <= acceleration * dt) {
                m_posRef = target;
                m_posRefVel = 0;
            }
            m_posRef += m_posRefVel * dt;
            const double vcmd = clampAbs(m_posRefVel + gains.locKp * (m_posRef - m_pos), speedLimit);
            m_velRef = vcmd;
            drive = velocityPi(vcmd, &damping);
            break;
        }
        case Control::Velocity:
            drive = velocityLoop(clampAbs(m_velTarget, speedLimit), dt, &damping);
            break;
        case Control::Current:
            drive = gains.kt * clampAbs(m_iqTarget, currentLimit);
            break;
        case Control::Jog:
            drive = velocityLoop(clampAbs(m_jogSpeed, speedLimit), dt, &damping);
            break;
    }
    if (m_sineOn && m_control != Control::Off && m_control != Control::Brake) {
        m_sineTime += dt;
        drive += gains.kt * m_sineAmp * std::sin(2 * M_PI * m_sineFreq * m_sineTime);
    }
    const double limit = std::max(0.0, std::min(torqueLimit, currentLimit * gains.kt));

    // Coulomb friction holds the rotor until the drive overcomes it.
    if (std::abs(m_vel) < 1e-3 && std::abs(clampAbs(drive, limit)) <= coulomb) {
        m_vel = 0;
        m_torque = clampAbs(drive, limit);
    } else {
        const double dir = m_vel != 0 ? (m_vel > 0 ? 1.0 : -1.0) : (drive > 0 ? 1.0 : -1.0);
        double v = (inertia * m_vel + dt * (drive - coulomb * dir)) / (inertia + dt * (damping + viscous));
        m_torque = drive - damping * v;
        if (std::abs(m_torque) > limit) {
            m_torque = clampAbs(m_torque, limit);
            v = (inertia * m_vel + dt * (m_torque - coulomb * dir)) / (inertia + dt * viscous);
        }
        // Friction stops the rotor; it never reverses it.
        if (v * m_vel < 0 && std::abs(m_torque) <= coulomb)
            v = 0;
        m_vel = v;
    }
    m_iq = m_torque / gains.kt;
    m_pos += m_vel * dt;
    m_energy += std::abs(m_torque * m_vel) * dt;
    m_temp += dt * (0.05 * m_iq * m_iq - 0.01 * (m_temp - 25.0));
}
