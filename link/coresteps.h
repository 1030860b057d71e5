#pragma once

#include <QVector>

#include "link/linkfeature.h"

// The steps the link core owns: the device scan, the adapter's AT configuration, the motor
// maintenance steps, the model query and the end of the loop. Features declare theirs the same
// way; the loop knows no step by number except STEP_QUIT.
class CoreSteps {
public:
    static QVector<StepRule> rules();
};
