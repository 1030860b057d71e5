#pragma once

#include <QString>
#include <QVariant>

#include "link/linkstates.h"

// The named link commands the user-interface parts call instead of building frames. Every
// command targets the current device (the Helper's currentDeviceDobj), posts its log line,
// then sends one frame or starts a link step. A command that would scale a set-point against
// an unknown or exceeded range is refused with an "ERROR" status line and returns false.
class LinkCommands {
public:
    // "SET_CAN_ID", "SET_RUN_MODE", "SET_MODE", "MOTOR_CONTROL", "MOTOR_SDO_FLOAT",
    // "MOTOR_SDO_UINT", "MOVE_JOG", "LOAD_PARAM", "ENCODER_CALIBRATION", "ZERO_MECH",
    // "CLEAR_ALARM", "UPDATE"; also the unnamed "READ_PARAM", "WRITE_PARAM", "RUN_STEP"
    // (no log line). False for an unknown name, no link, or a refusal.
    static bool run(const QString& name, const QVariant& arg1 = QVariant(),
                    const QVariant& arg2 = QVariant());

    // While one that is on lives on the calling thread, commands post no "Send Z48 Command"
    // line (refusals still do): repeated writes of a continuous stream are no news.
    class QuietScope {
    public:
        explicit QuietScope(bool on);
        ~QuietScope();
        QuietScope(const QuietScope&) = delete;
        QuietScope& operator=(const QuietScope&) = delete;

    private:
        bool m_previous;
    };

    static bool readParam(bool start);
    static bool writeParam(bool start);
    static bool runStep(canComStep step);

    // Waits ms while processing the calling thread's events.
    static void waitProcessing(int ms);
    // "MIT control", "velocity mode", ...; empty for numbers without a name.
    static QString runModeName(int mode);
    // The outcome line of a maintenance status (mode changes, zero, calibration); called by
    // the worker's status reaction.
    static void reportOutcome(int status);
};
