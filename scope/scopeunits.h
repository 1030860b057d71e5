#pragma once

#include <QString>
#include <QStringList>

// The unit of a scope channel, told by its parameter's name (the motor's table carries none):
// "rad" for positions and angles, "rad/s" for velocities, "A" for currents, "N·m" for torques,
// "V" for voltages; empty where the name says nothing for sure (a temperature may come in
// tenths of a degree).
class ScopeUnits {
public:
    static QString unitOf(const QString& name);
    // The value axis' title for channels with these units: "Value (rad)", "Value (rad, A)",
    // or "Value" when none is known.
    static QString axisTitle(const QStringList& units);
};
