#include "link/flows/zeroflow.h"

#include "link/linkstates.h"

ZeroFlow::ZeroFlow(int canId, int flag, QObject* parent) : Flow(canId, parent), m_flag(flag) {}

FlowResult ZeroFlow::execute() {
    return sendAndWait(LinkCommand::zero(canId(), m_flag), OTA_STA_ZERO_MODE_SUCCESS,
                       {OTA_STA_ZERO_MODE_OVER_TIME}, 5000,
                       tr("The motor did not confirm the mechanical zero."));
}
