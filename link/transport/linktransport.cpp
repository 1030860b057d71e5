#include "link/transport/linktransport.h"

#include "link/transport/canbustransport.h"
#include "link/transport/serialtransport.h"

#include <QFileInfo>

LinkTransport* LinkTransport::create(const QString& address, QObject* parent) {
    if (address.isEmpty())
        return nullptr;
    if (CanBusTransport::takes(address))
        return new CanBusTransport(address, parent);
    return new SerialTransport(address, parent);
}

bool LinkTransport::present(const QString& address) {
    if (address.isEmpty())
        return false;
    if (CanBusTransport::takes(address))
        return CanBusTransport::present(address);
    return QFileInfo::exists(address);
}
