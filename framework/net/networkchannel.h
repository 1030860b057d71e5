#pragma once

#include <QHostAddress>

namespace kx {

// The two ends of a connection or datagram exchange.
struct NetworkChannel {
    NetworkChannel() = default;
    NetworkChannel(const QHostAddress& local, const QHostAddress& remote, int localPortNumber,
                   int remotePortNumber)
        : localAddress(local),
          remoteAddress(remote),
          localPort(localPortNumber),
          remotePort(remotePortNumber) {}
    NetworkChannel(int localPortNumber, const QHostAddress& remote, int remotePortNumber)
        : localAddress(QHostAddress::Any),
          remoteAddress(remote),
          localPort(localPortNumber),
          remotePort(remotePortNumber) {}

    QHostAddress localAddress;
    QHostAddress remoteAddress;
    int localPort = 0;
    int remotePort = 0;
};

}  // namespace kx
