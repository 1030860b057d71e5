#pragma once

#include "link/canframe.h"

class otaThread;

// Where the parameter-table transfer, the firmware update and the oscilloscope plug into the
// link thread. The core owns the step machine and the common replies; an extension owns the
// start actions of its steps and decodes its frame types. Called from both link threads
// (the loop and the receive path): an extension guards its own state.
class LinkExtension {
public:
    virtual ~LinkExtension() = default;

    // Start action of a step the core does not start itself. Returns true when handled and
    // stores the step that becomes current in *current (18 becomes 19, 24 becomes 28, ...).
    virtual bool startAction(otaThread* link, int step, int* current) = 0;
    // A valid received frame of a type the core leaves to extensions (8, 9, 10, 11-14, 19).
    // Returns the status to announce or -1.
    virtual int decodeFrame(otaThread* link, const CanFrame& frame) = 0;
    // The loop noticed the answer of a step that stays current (17, 19, 21, 28); returns the
    // step to continue with (the same step to keep waiting, 0 to end without a status).
    virtual int onLoopAnswer(otaThread* link, int step) = 0;
    // The status for a time-out of one of its steps, given the default of the step table.
    virtual int timeoutStatus(otaThread* link, int step, int defaultStatus) = 0;
    // One pass of the scope-stop step: sends the stop request again while the scope runs;
    // returns false once it has stopped.
    virtual bool scopeStopPass(otaThread* link) = 0;
};
