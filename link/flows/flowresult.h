#pragma once

#include <QMetaType>
#include <QString>
#include <QVariantMap>

// How a flow ended. Front ends branch on this, never on the wording of a status line.
enum class FlowOutcome {
    Succeeded,
    Refused,        // checked before anything was sent (bad input, out of range, CAN ID taken)
    Busy,           // another flow holds the link ("motor 3 is busy: calibrating")
    Failed,         // the motor answered, but not as asked (wrong value read back, error code)
    TimedOut,       // the motor did not answer in time
    PortClosed,     // the adapter went away
    DeviceRemoved,  // the motor's record went away
    Cancelled,      // cancel() or an emergency stop
};

// The typed result of a flow: which motor, what happened, why, and the values it measured.
struct FlowResult {
    QString flow;    // the flow's name, e.g. "calibrate"
    int canId = -1;  // the motor; -1 for flows over the whole bus
    FlowOutcome outcome = FlowOutcome::Failed;
    QString reason;      // for people (translated); empty on success
    QVariantMap values;  // what the flow found, by name ("offset", "position", "devices", ...)

    bool ok() const { return outcome == FlowOutcome::Succeeded; }
    // "succeeded", "refused", "busy", ... (for JSON output and logs).
    static QString outcomeName(FlowOutcome outcome);
};

// Progress of a running flow: a fraction when the flow can tell (-1 otherwise), a short text
// and any values worth showing while it runs.
struct FlowProgress {
    int canId = -1;
    double fraction = -1;
    QString text;
    QVariantMap values;
};

Q_DECLARE_METATYPE(FlowResult)
Q_DECLARE_METATYPE(FlowProgress)
