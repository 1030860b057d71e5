#include "link/motorframes.h"

#include <QCoreApplication>

namespace MotorFrames {

namespace {

// Zero speed: the middle of any symmetric 16-bit range.
constexpr quint16 kZeroSpeedRaw = 0x7FFF;

QString tr(const char* text) {
    return QCoreApplication::translate("MotorFrames", text);
}

// Checks one set-point against its range; fills error and returns false when the range is
// still empty (no model reply yet) or the value lies outside it.
bool checkRange(const char* name, float value, float min, float max, QString* error) {
    if (!(max > min)) {
        if (error)
            *error = tr("No motor model known yet (the value ranges are empty): %1 refused.")
                         .arg(QString::fromLatin1(name));
        return false;
    }
    if (!CanProtocol::inRange(value, min, max)) {
        if (error)
            *error = tr("%1 %2 is outside the range [%3, %4]: command refused.")
                         .arg(QString::fromLatin1(name))
                         .arg(double(value), 0, 'g', 6)
                         .arg(double(min), 0, 'g', 6)
                         .arg(double(max), 0, 'g', 6);
        return false;
    }
    return true;
}

// Only called after checkRange: the value fits 16 bits.
quint16 raw16(float value, float min, float max) {
    return quint16(CanProtocol::encodeRange(value, min, max));
}

}  // namespace

std::optional<CanFrame> mitControl(quint8 target, const MitSetpoints& sp, const CanProtocol::ModelRanges& r,
                                   QString* error) {
    if (!checkRange("Position", sp.position, CanProtocol::kPosMin, CanProtocol::kPosMax, error) ||
        !checkRange("Velocity", sp.velocity, -r.velMax, r.velMax, error) ||
        !checkRange("Kp", sp.kp, 0, r.kpMax, error) || !checkRange("Kd", sp.kd, 0, r.kdMax, error) ||
        !checkRange("Torque", sp.torque, -r.torqueMax, r.torqueMax, error))
        return std::nullopt;
    MotorCommandFrames::MitRaw raw;
    raw.torque = raw16(sp.torque, -r.torqueMax, r.torqueMax);
    raw.position = raw16(sp.position, CanProtocol::kPosMin, CanProtocol::kPosMax);
    raw.velocity = raw16(sp.velocity, -r.velMax, r.velMax);
    raw.kp = raw16(sp.kp, 0, r.kpMax);
    raw.kd = raw16(sp.kd, 0, r.kdMax);
    return MotorCommandFrames::mitControl(target, raw);
}

std::optional<CanFrame> jog(quint8 target, float speed, bool flag, const CanProtocol::ModelRanges& r,
                            QString* error) {
    // Stopping must always be possible, also before a model reply: a stop carries zero speed
    // whatever speed the caller passed.
    if (!flag)
        return MotorCommandFrames::jog(target, false, kZeroSpeedRaw);
    if (!checkRange("Speed", speed, -r.velMax, r.velMax, error))
        return std::nullopt;
    return MotorCommandFrames::jog(target, true, raw16(speed, -r.velMax, r.velMax));
}

}  // namespace MotorFrames
