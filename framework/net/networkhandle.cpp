#include "framework/net/networkhandle.h"

#include "framework/data/atomicfile.h"
#include "framework/log/qflog.h"
#include "framework/net/networkfilepackage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMetaEnum>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

namespace kx {

namespace {

const int kCacheTimeoutMs = 1000;
const int kWriteTimeoutMs = 30000;
// Qt reads no further ahead than this; a peer that sends faster is slowed by TCP itself.
const qint64 kReadBufferBytes = 256 * 1024;

bool isAscii(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > 0x7F) {
            return false;
        }
    }
    return true;
}

bool inside(const QString& path, const QString& directory) {
    return path == directory || path.startsWith(directory + QLatin1Char('/'));
}

}  // namespace

NetworkHandle::NetworkHandle(NetworkType type, const NetworkChannel& channel, QAbstractSocket* socket,
                             QObject* parent)
    : QObject(parent), m_type(type), m_channel(channel) {
    if (socket) {
        socket->setParent(this);
        m_socket = socket;
        m_connected = socket->state() == QAbstractSocket::ConnectedState;
    } else {
        switch (type) {
            case UDP:
                m_socket = new QUdpSocket(this);
                break;
            case TCP:
                m_socket = new QTcpSocket(this);
                break;
            case TLS:
                m_socket = new QSslSocket(this);
                break;
        }
        m_socket->setProxy(QNetworkProxy::NoProxy);
        if (channel.localPort >= 1) {
            QHostAddress local = channel.localAddress;
            if (type == UDP && local == QHostAddress(QHostAddress::Broadcast)) {
                local = QHostAddress(QHostAddress::AnyIPv4);
            }
            m_socket->bind(local, static_cast<quint16>(channel.localPort), QAbstractSocket::ShareAddress);
        }
    }
    if (type != UDP) {
        m_socket->setReadBufferSize(kReadBufferBytes);
    }
    m_cacheTimer = new QTimer(this);
    m_cacheTimer->setSingleShot(true);
    m_cacheTimer->setInterval(kCacheTimeoutMs);
    connect(m_cacheTimer, &QTimer::timeout, this, &NetworkHandle::onCacheTimeout);
    attach();
}

NetworkHandle::~NetworkHandle() = default;

void NetworkHandle::attach() {
    connect(m_socket, &QAbstractSocket::readyRead, this, &NetworkHandle::onReceive);
    connect(m_socket, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        emit socketError(
            QString::fromLatin1(QMetaEnum::fromType<QAbstractSocket::SocketError>().valueToKey(error)));
    });
    connect(m_socket, &QAbstractSocket::connected, this, [this] { m_connected = true; });
    connect(m_socket, &QAbstractSocket::disconnected, this, [this] { m_connected = false; });
    if (QSslSocket* ssl = sslSocket()) {
        connect(ssl, qOverload<const QList<QSslError>&>(&QSslSocket::sslErrors), this,
                [](const QList<QSslError>& errors) {
                    for (const QSslError& error : errors) {
                        logE() << "tls error: " << error.errorString();
                    }
                });
    }
}

bool NetworkHandle::isValid() const {
    switch (m_type) {
        case UDP:
            return udpSocket() != nullptr;
        case TCP:
            return tcpSocket() != nullptr;
        case TLS:
            return sslSocket() != nullptr;
    }
    return false;
}

bool NetworkHandle::isConnected() const {
    return m_connected;
}

NetworkHandle::NetworkType NetworkHandle::type() const {
    return m_type;
}

NetworkChannel NetworkHandle::channel() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_channel;
}

QAbstractSocket* NetworkHandle::socket() const {
    return m_socket;
}

QUdpSocket* NetworkHandle::udpSocket() const {
    return m_type == UDP ? qobject_cast<QUdpSocket*>(m_socket) : nullptr;
}

QTcpSocket* NetworkHandle::tcpSocket() const {
    return m_type == TCP ? qobject_cast<QTcpSocket*>(m_socket) : nullptr;
}

QSslSocket* NetworkHandle::sslSocket() const {
    return m_type == TLS ? qobject_cast<QSslSocket*>(m_socket) : nullptr;
}

NetworkHandle::NetworkPackageType NetworkHandle::packageType() const {
    return static_cast<NetworkPackageType>(m_packageType.load());
}

void NetworkHandle::setPackageType(NetworkPackageType type) {
    m_packageType = type;
}

QHostAddress NetworkHandle::udpFilter() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_udpFilter;
}

void NetworkHandle::setUdpFilter(const QHostAddress& address) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_udpFilter = address;
}

QString NetworkHandle::receiveDirectory() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_receiveDirectory;
}

void NetworkHandle::setReceiveDirectory(const QString& directory) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_receiveDirectory = directory;
}

qint64 NetworkHandle::packageLimit() const {
    return m_packageLimit;
}

void NetworkHandle::setPackageLimit(qint64 bytes) {
    m_packageLimit = bytes;
}

void NetworkHandle::onTryConnectToHost(const QHostAddress& address, int port) {
    m_socket->abort();
    if (QSslSocket* ssl = sslSocket()) {
        ssl->connectToHostEncrypted(address.toString(), static_cast<quint16>(port));
    } else {
        m_socket->connectToHost(address, static_cast<quint16>(port));
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_channel.remoteAddress = address;
    m_channel.remotePort = port;
}

void NetworkHandle::onTryDisconnectFromHost() {
    m_socket->disconnectFromHost();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_channel.remoteAddress = QHostAddress(QHostAddress::LocalHost);
    m_channel.remotePort = 0;
}

void NetworkHandle::onSetSslConfiguration(const QSslConfiguration& configuration,
                                          const QList<QSslError>& ignored) {
    if (QSslSocket* ssl = sslSocket()) {
        ssl->setSslConfiguration(configuration);
        ssl->ignoreSslErrors(ignored);
    }
}

void NetworkHandle::onReceive() {
    QByteArray bytes;
    if (QUdpSocket* udp = udpSocket()) {
        const QHostAddress filter = udpFilter();
        // Every pending datagram is read, also those that are dropped: an unread datagram
        // would keep the socket from announcing the next one.
        while (udp->hasPendingDatagrams()) {
            const QNetworkDatagram datagram = udp->receiveDatagram();
            if (!filter.isNull() && !datagram.senderAddress().isEqual(filter)) {
                continue;
            }
            bytes.append(datagram.data());
        }
    } else {
        bytes = m_socket->readAll();
    }
    if (bytes.isEmpty()) {
        return;
    }
    const int handling = m_packageType;
    if (handling & Raw) {
        emit rawObtained(bytes);
    }
    if (!(handling & Package)) {
        return;
    }
    m_parser.setPackageLimit(m_packageLimit);
    const NetworkPackageParser::Result result = m_parser.feed(bytes);
    for (const QString& line : result.logErrors) {
        logE() << line;
    }
    for (const QString& text : result.packetErrors) {
        emit packetError(text);
    }
    for (const NetworkPackageParser::Package& package : result.packages) {
        deliver(package);
    }
    if (result.waiting) {
        m_cacheTimer->start();
    } else {
        m_cacheTimer->stop();
    }
}

void NetworkHandle::onCacheTimeout() {
    for (const QString& line : m_parser.abandon()) {
        logE() << line;
    }
}

void NetworkHandle::deliver(const NetworkPackageParser::Package& package) {
    switch (package.type) {
        case NetworkPackage::Bytes:
            emit packageObtained(package.payload);
            break;
        case NetworkPackage::File:
            writeReceivedFile(package.payload);
            break;
        case NetworkPackage::Json: {
            QJsonParseError error{};
            const QJsonDocument document = QJsonDocument::fromJson(package.payload, &error);
            if (error.error != QJsonParseError::NoError) {
                logE() << "json parse error: " << error.errorString();
            } else if (document.isArray()) {
                emit jsonArrayObtained(document.array());
            } else {
                emit jsonObtained(document.object());
            }
            break;
        }
        default:
            break;
    }
}

void NetworkHandle::writeReceivedFile(const QByteArray& payload) {
    NetworkFilePackage package;
    QString error;
    if (!NetworkFilePackage::parse(payload, &package, &error)) {
        logE() << error;
        return;
    }
    const QString path = package.remotePath();
    const QString directory = receiveDirectory();
    if (directory.isEmpty()) {
        logE() << "file package refused, no receive directory: " << path;
        return;
    }
    const QString target = NetworkFilePackage::confinedPath(directory, path);
    if (target.isEmpty()) {
        logE() << QStringLiteral("path resolves falied, len: %1 path: %2").arg(path.size()).arg(path);
        return;
    }
    if (!package.digestMatches()) {
        logE() << "file package digest error: " << path;
        return;
    }
    // A link placed inside the directory must not lead the write out of it.
    const QString folder = QFileInfo(target).absolutePath();
    QDir().mkpath(folder);
    const QString root = QFileInfo(directory).canonicalFilePath();
    if (root.isEmpty() || !inside(QFileInfo(folder).canonicalFilePath(), root) ||
        QFileInfo(target).isSymLink()) {
        logE() << QStringLiteral("path resolves falied, len: %1 path: %2").arg(path.size()).arg(path);
        return;
    }
    bool written = false;
    if (package.isAppend()) {
        QFile file(target);
        written = file.open(QIODevice::WriteOnly | QIODevice::Append) &&
                  file.write(package.content()) == package.content().size() && file.flush();
    } else {
        // Replaced atomically: a failed write leaves the previous file as it was.
        written = AtomicFile::writeAll(target, package.content(), nullptr);
    }
    if (!written) {
        logE() << "cannot write file: " << target;
        return;
    }
    emit fileObtained(target);
}

void NetworkHandle::onSendRaw(const QByteArray& content, bool is_frame) {
    const int slice = NetworkPackageParser::kMaxFramePayload;
    for (int offset = 0; offset < content.size(); offset += slice) {
        const QByteArray part = content.mid(offset, slice);
        if (is_frame) {
            QByteArray frame(2, '\0');
            qToBigEndian<quint16>(static_cast<quint16>(part.size()), frame.data());
            write(frame + part);
        } else {
            write(part);
        }
    }
    emit packageSent();
}

void NetworkHandle::write(const QByteArray& bytes) {
    QUdpSocket* udp = udpSocket();
    if (udp && udp->state() != QAbstractSocket::ConnectedState) {
        const NetworkChannel target = channel();
        udp->writeDatagram(bytes, target.remoteAddress, static_cast<quint16>(target.remotePort));
        return;
    }
    if (!m_socket->isOpen()) {
        logE() << "cannot send, socket not open: " << bytes.size() << " bytes dropped";
        return;
    }
    m_socket->write(bytes);
    m_socket->flush();
    if (!udp && m_socket->bytesToWrite() > 0) {
        m_socket->waitForBytesWritten(kWriteTimeoutMs);
    }
}

void NetworkHandle::onSendFilePackage(const QString& local_path, const QString& remote_path, bool is_append) {
    QFile file(local_path);
    if (!file.open(QIODevice::ReadOnly)) {
        logE() << "cannot open source file: " << local_path;
        emit packageSent();
        return;
    }
    // The receiver could only refuse these; they are not sent at all.
    if (!isAscii(remote_path) || remote_path.isEmpty()) {
        logE() << "remote path must be ASCII: " << remote_path;
        emit packageSent();
        return;
    }
    if (file.size() + NetworkFilePackage::kFixedSize + remote_path.size() >=
        NetworkPackage::kPayloadCeiling) {
        logE() << "source file too large: " << local_path;
        emit packageSent();
        return;
    }
    onSendRaw(NetworkFilePackage(remote_path, file.readAll(), is_append).toBytes(), true);
}

}  // namespace kx
