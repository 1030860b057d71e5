#include "link/flows/motionrecipe.h"

int MotionRecipe::runMode(Mode mode, int modelCode) {
    switch (mode) {
        case Mode::Position:
            return 1;
        case Mode::Velocity:
            return 2;
        case Mode::Current:
            return 3;
        case Mode::Csp:
            return modelCode == 1 ? 1 : 5;
    }
    return 0;
}

QVector<MotionRecipe::Write> MotionRecipe::writes(Mode mode, int modelCode) {
    using F = Field;
    const int p = kPauseMs;
    switch (mode) {
        case Mode::Position:
            // The profile's speed and acceleration live in different objects per model.
            if (modelCode == 1)
                return {{0x7017, F::Velocity, p}, {0x7016, F::Position, 0}};
            if (modelCode == 2)
                return {{0x7025, F::Velocity, p}, {0x7016, F::Position, p}, {0x7026, F::Acceleration, p}};
            return {{0x7024, F::Velocity, p}, {0x7025, F::Acceleration, p}, {0x7016, F::Position, 0}};
        case Mode::Velocity:
            return {{0x7018, F::CurrentLimit, p}, {0x700A, F::Velocity, p}, {0x7022, F::Acceleration, p}};
        case Mode::Csp:
            return {{0x7017, F::Velocity, p}, {0x7016, F::Position, 0}};
        case Mode::Current:
            return {{0x7006, F::Current, 0}};
    }
    return {};
}
