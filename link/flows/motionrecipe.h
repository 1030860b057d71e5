#pragma once

#include <QVector>

// How a motor is driven to a set-point in one of its run modes: the run mode to write and
// the object writes (index, which set-point, pause after) in the order the motor's model
// expects them. The window's sidebar and the move flow both follow these recipes.
class MotionRecipe {
public:
    enum class Mode { Position, Velocity, Current, Csp };
    // Which set-point an object write carries.
    enum class Field { Position, Velocity, Acceleration, CurrentLimit, Current };

    struct Write {
        int index = 0;
        Field field = Field::Position;
        int pauseAfterMs = 0;
    };

    // A motor takes its set-points one object write at a time; writes that follow each other
    // closer than this may be lost.
    static constexpr int kPauseMs = 100;

    // The run mode written before a move: 1 position (PP), 2 velocity, 3 current, 5 CSP (run
    // mode 1 on models of code 1, which know CSP under that number).
    static int runMode(Mode mode, int modelCode);
    static QVector<Write> writes(Mode mode, int modelCode);
};
