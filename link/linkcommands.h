#pragma once

#include <QString>

#include "link/flows/linklease.h"
#include "link/linkcommand.h"
#include "link/linkstates.h"

// Sends the typed link commands (LinkCommand) the front ends and the flows use instead of
// building frames: each names its target motor by CAN ID, posts its log line, then sends one
// frame or starts a link step. A command is refused — with an "ERROR" status line, false, and
// the reason in *refusal — when it would scale a set-point against an unknown or exceeded
// range, when a value is out of range, when a new CAN ID belongs to another detected motor,
// or when a flow holds the link (see LinkLease) and the command would disturb it.
class LinkCommands {
public:
    // lease: the lease the command runs under (a flow's); the window's commands have none.
    static bool send(const LinkCommand& command, const LinkLease::Token& lease = LinkLease::Token(),
                     QString* refusal = nullptr);

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

    // Waits ms while processing the calling thread's events.
    static void waitProcessing(int ms);
    // "MIT control", "velocity mode", ...; empty for numbers without a name.
    static QString runModeName(int mode);
    // The outcome line of a maintenance status (mode changes, zero, calibration) of the motor
    // canId; called by the worker's status reaction.
    static void reportOutcome(int status, int canId);
};
