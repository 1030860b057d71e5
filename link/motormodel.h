#pragma once

#include "link/canprotocol.h"

// The process-wide motor model: the code and value ranges set by the last model reply.
// Read from any thread (the link thread builds MIT frames, the sidebar shows limits), written
// by the receive path; guarded by one mutex.
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
    // Back to "no model yet" (tests, a new connection to another bench).
    static void reset();
};
