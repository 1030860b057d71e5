#include "sim/simbus.h"

#include "link/serialrecord.h"
#include "sim/simadapter.h"

#include <QTcpSocket>
#include <QUrl>

#include <cctype>

namespace {

constexpr quint32 kMaxExtendedId = 0x1FFFFFFF;
constexpr quint32 kMaxStandardId = 0x7FF;
constexpr int kMaxPayload = 64;  // flexible data rate frames may pass between other peers

// One frame as the virtual bus carries it: "<decimal id>#<flags>#<hex data>".
struct BusFrame {
    quint32 id = 0;
    QByteArray flags;
    QByteArray data;
};

bool parseFrame(const QByteArray& text, BusFrame* frame) {
    const QList<QByteArray> parts = text.split('#');
    if (parts.size() != 3 || parts[0].isEmpty())
        return false;
    bool ok = false;
    frame->id = parts[0].toUInt(&ok, 10);
    if (!ok)
        return false;
    for (char c : parts[1]) {
        if (!QByteArray("XRFBEL").contains(c))
            return false;
    }
    frame->flags = parts[1];
    if (frame->id > (frame->flags.contains('X') ? kMaxExtendedId : kMaxStandardId))
        return false;
    const QByteArray& hex = parts[2];
    if (hex.size() % 2 != 0 || hex.size() > 2 * kMaxPayload)
        return false;
    for (char c : hex) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    frame->data = QByteArray::fromHex(hex);
    return true;
}

// "canN" with N in 0..1, as the virtual bus names its two channels.
int channelOf(const QByteArray& name) {
    if (name.size() != 4 || !name.startsWith("can") || name[3] < '0' || name[3] > '1')
        return -1;
    return name[3] - '0';
}

}  // namespace

bool SimBus::parseAddress(const QString& text, Address* address, QString* error) {
    const QString prefix = QStringLiteral("virtualcan:");
    if (!text.startsWith(prefix)) {
        *error = tr("the bench serves only a virtual CAN bus: virtualcan:tcp://127.0.0.1:PORT/can0");
        return false;
    }
    const QUrl url(text.mid(prefix.size()), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("tcp") && !url.scheme().isEmpty())) {
        *error = tr("%1 is not of the form virtualcan:tcp://127.0.0.1:PORT/can0").arg(text);
        return false;
    }
    Address a;
    if (!url.host().isEmpty()) {
        a.host =
            QHostAddress(url.host() == QLatin1String("localhost") ? QStringLiteral("127.0.0.1") : url.host());
        // The bench is for this machine only: it never listens beyond the loopback interface.
        if (!a.host.isLoopback()) {
            *error = tr("%1: the bus is served on a loopback address only (127.0.0.1)").arg(text);
            return false;
        }
    }
    if (url.port() >= 0)
        a.port = quint16(url.port());
    a.channel = channelOf(url.fileName().toLatin1());
    if (a.channel < 0 || url.path() != QLatin1Char('/') + url.fileName()) {
        *error = tr("%1: the channel is can0 or can1").arg(text);
        return false;
    }
    *address = a;
    return true;
}

SimBus::SimBus(SimAdapter* adapter, const Address& address, QObject* parent)
    : SimFrontEnd(parent), m_adapter(adapter), m_address(address) {
    connect(adapter, &SimAdapter::bytesOut, this, &SimBus::onAdapterBytes);
    connect(&m_server, &QTcpServer::newConnection, this, &SimBus::onNewConnection);
}

SimBus::~SimBus() {
    unplug();
}

bool SimBus::plug(QString* error) {
    if (plugged())
        return true;
    if (!m_server.listen(m_address.host, m_address.port)) {
        *error = tr("cannot serve the bus on %1:%2: %3")
                     .arg(m_address.host.toString())
                     .arg(m_address.port)
                     .arg(m_server.errorString());
        return false;
    }
    // Plugged again later, the bus comes back where the host looks for it.
    m_address.port = m_server.serverPort();
    return true;
}

void SimBus::unplug() {
    m_server.close();
    const QList<QTcpSocket*> sockets = m_clients.keys();
    for (QTcpSocket* socket : sockets)
        drop(socket);
}

QString SimBus::address() const {
    return QStringLiteral("virtualcan:tcp://%1:%2/can%3")
        .arg(m_address.host.toString())
        .arg(m_address.port)
        .arg(m_address.channel);
}

void SimBus::onNewConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        m_clients.insert(socket, Client());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { onDisconnected(socket); });
    }
}

void SimBus::onDisconnected(QTcpSocket* socket) {
    if (m_clients.contains(socket))
        drop(socket);
}

void SimBus::drop(QTcpSocket* socket) {
    m_clients.remove(socket);
    socket->disconnect(this);
    socket->abort();
    // Later: the socket may be the one whose signal is being handled.
    socket->deleteLater();
}

void SimBus::onReadable(QTcpSocket* socket) {
    auto it = m_clients.find(socket);
    if (it == m_clients.end())
        return;
    it->buffer += socket->readAll();
    int from = 0;
    QList<QByteArray> lines;
    for (int nl = it->buffer.indexOf('\n'); nl >= 0; nl = it->buffer.indexOf('\n', from)) {
        lines << it->buffer.mid(from, nl - from).trimmed();
        from = nl + 1;
    }
    it->buffer.remove(0, from);
    if (it->buffer.size() > kMaxLine) {
        ++m_rejected;
        it->buffer.clear();
    }
    if (lines.isEmpty())
        return;
    beforeRead();
    for (const QByteArray& line : lines) {
        // A control command or a line may have ended this client or the whole bus.
        if (!plugged() || !m_clients.contains(socket))
            return;
        if (!line.isEmpty())
            handleLine(socket, line);
    }
}

void SimBus::handleLine(QTcpSocket* from, const QByteArray& line) {
    if (line.size() > kMaxLine) {
        ++m_rejected;
        return;
    }
    Client& client = m_clients[from];
    if (line.startsWith("connect:") || line.startsWith("disconnect:")) {
        const bool join = line.startsWith("connect:");
        const int channel = channelOf(line.mid(line.indexOf(':') + 1));
        if (channel < 0) {
            ++m_rejected;
            return;
        }
        if (join) {
            client.channels.insert(channel);
        } else {
            // The peer leaves: the server closes, as the plug-in's own server does.
            client.channels.remove(channel);
            drop(from);
        }
        return;
    }
    const int colon = line.indexOf(':');
    const int channel = channelOf(line.left(colon));
    BusFrame frame;
    if (colon < 0 || channel < 0 || !parseFrame(line.mid(colon + 1), &frame)) {
        ++m_rejected;
        return;
    }
    sendTo(channel, line.mid(colon + 1) + '\n', from);
    // The motors take extended data frames of classic CAN; anything else on their channel is
    // traffic between other peers.
    if (channel != m_address.channel || frame.flags != "X" || frame.data.size() > 8)
        return;
    CanFrame canFrame;
    canFrame.id = frame.id;
    canFrame.length = quint8(frame.data.size());
    std::copy(frame.data.begin(), frame.data.end(), canFrame.data.begin());
    m_adapter->feed(SerialRecord::fromFrame(canFrame));
}

void SimBus::onAdapterBytes(const QByteArray& record) {
    CanFrame frame;
    // Only frames reach a bus: a record damaged beyond its framing (the corrupt fault) is
    // what a receiver's checksum would reject.
    if (!SerialRecord::toFrame(record, &frame))
        return;
    const QByteArray data(reinterpret_cast<const char*>(frame.data.data()), frame.length);
    sendTo(m_address.channel, QByteArray::number(frame.id) + "#X#" + data.toHex() + '\n', nullptr);
}

void SimBus::sendTo(int channel, const QByteArray& line, QTcpSocket* except) {
    for (auto it = m_clients.begin(); it != m_clients.end(); ++it) {
        QTcpSocket* socket = it.key();
        if (socket == except || !it->channels.contains(channel))
            continue;
        if (socket->bytesToWrite() > kMaxPending) {
            ++m_lost;
            continue;
        }
        socket->write(line);
    }
}
