#pragma once

#include "link/canprotocol.h"

// The process-wide motor model: the code and value ranges of the current device (what the
// device page and the sidebar show). Frames are scaled with each motor's own ranges
// (MotorStates); this follows the motor it is told to. Read from any thread; one mutex.
class MotorModel {
public:
    // The current ranges; all zero until a model reply arrived.
    static CanProtocol::ModelRanges ranges();
    static int code();
    // True once a model reply set the ranges: frames scaled against them may be built.
    static bool known();
    // Applies the model bytes of a reply; false (and nothing changes) where the reply names
    // no model.
    static bool apply(quint8 byteA, quint8 byteB);
    // Back to "no model yet", following no motor (tests, a new connection to another bench).
    static void reset();
    // Follows canId (the current device): takes over its model when known, else "no model
    // yet". -1 follows whichever motor's model reply came last (no current device).
    static void follow(int canId);
    // A motor's model became known in MotorStates: taken over when it is the one followed.
    static void motorModelKnown(quint8 canId);
};
