#include "link/flows/modeflow.h"

#include "link/linkstates.h"

namespace {

// A mode step times out after two seconds; a little more covers the hand-over.
constexpr int kModeTimeoutMs = 5000;

}  // namespace

ModeFlow::ModeFlow(int canId, Mode mode, QObject* parent) : Flow(canId, parent), m_mode(mode) {}

QString ModeFlow::activity() const {
    switch (m_mode) {
        case Mode::Brake:
            return tr("braking");
        case Mode::Motor:
            return tr("switching on");
        case Mode::Reset:
            return tr("resetting");
    }
    return QString();
}

FlowResult ModeFlow::execute() {
    switch (m_mode) {
        case Mode::Brake:
            return sendAndWait(LinkCommand::setMode(canId(), 0), OTA_STA_BRAKE_MODE_SUCCESS,
                               {OTA_STA_BRAKE_MODE_OVER_TIME}, kModeTimeoutMs,
                               tr("Motor %1 did not confirm brake mode.").arg(canId()));
        case Mode::Motor:
            return sendAndWait(LinkCommand::setMode(canId(), 1), OTA_STA_MOTOR_MODE_SUCCESS,
                               {OTA_STA_MOTOR_MODE_OVER_TIME}, kModeTimeoutMs,
                               tr("Motor %1 did not confirm motor mode.").arg(canId()));
        case Mode::Reset:
            return sendAndWait(LinkCommand::setMode(canId(), 2), OTA_STA_RST_MODE_SUCCESS,
                               {OTA_STA_RST_MODE_OVER_TIME}, kModeTimeoutMs,
                               tr("Motor %1 did not confirm reset mode.").arg(canId()));
    }
    return result(FlowOutcome::Refused);
}
