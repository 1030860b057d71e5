#include "link/flows/flowresult.h"

QString FlowResult::outcomeName(FlowOutcome outcome) {
    switch (outcome) {
        case FlowOutcome::Succeeded:
            return QStringLiteral("succeeded");
        case FlowOutcome::Refused:
            return QStringLiteral("refused");
        case FlowOutcome::Busy:
            return QStringLiteral("busy");
        case FlowOutcome::Failed:
            return QStringLiteral("failed");
        case FlowOutcome::TimedOut:
            return QStringLiteral("timed-out");
        case FlowOutcome::PortClosed:
            return QStringLiteral("port-closed");
        case FlowOutcome::DeviceRemoved:
            return QStringLiteral("device-removed");
        case FlowOutcome::Cancelled:
            return QStringLiteral("cancelled");
    }
    return QString();
}
