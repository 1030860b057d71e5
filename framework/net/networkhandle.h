#pragma once

#include "framework/net/networkchannel.h"
#include "framework/net/networkpackageparser.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QSslConfiguration>
#include <QSslError>
#include <QString>

#include <atomic>
#include <mutex>

class QSslSocket;
class QTcpSocket;
class QTimer;
class QUdpSocket;

namespace kx {

// Owns one socket and lives in a worker thread: all socket work happens there, reached by
// queued slots. The settings below (package type, UDP filter, receive directory, package limit)
// may be changed from any thread; they are atomics or guarded by m_mutex.
class NetworkHandle : public QObject {
    Q_OBJECT

public:
    enum NetworkType { UDP = 0, TCP = 1, TLS = 2 };
    Q_ENUM(NetworkType)
    // What is done with received bytes.
    enum NetworkPackageType { Nothing = 0, Raw = 1, Package = 2, RawAndPackage = 3 };
    Q_ENUM(NetworkPackageType)

    // Without socket a new one of type is made (and bound when the channel has a local port);
    // a given socket is taken over.
    NetworkHandle(NetworkType type, const NetworkChannel& channel, QAbstractSocket* socket = nullptr,
                  QObject* parent = nullptr);
    ~NetworkHandle() override;

    bool isValid() const;
    bool isConnected() const;
    NetworkType type() const;
    NetworkChannel channel() const;
    QAbstractSocket* socket() const;
    QUdpSocket* udpSocket() const;
    QTcpSocket* tcpSocket() const;
    QSslSocket* sslSocket() const;
    NetworkPackageType packageType() const;
    void setPackageType(NetworkPackageType type);
    QHostAddress udpFilter() const;
    void setUdpFilter(const QHostAddress& address);
    // Received file packages are written only below this directory; none is set at first,
    // and file packages are then refused.
    QString receiveDirectory() const;
    void setReceiveDirectory(const QString& directory);
    // The most bytes held for one incomplete package.
    qint64 packageLimit() const;
    void setPackageLimit(qint64 bytes);

public slots:
    void onTryConnectToHost(const QHostAddress& address, int port);
    void onTryDisconnectFromHost();
    void onReceive();
    void onSendRaw(const QByteArray& content, bool is_frame);
    void onSendFilePackage(const QString& local_path, const QString& remote_path, bool is_append);
    void onSetSslConfiguration(const QSslConfiguration& configuration, const QList<QSslError>& ignored);

signals:
    void socketError(const QString& error_str);
    void packetError(const QString& error_str);
    void packageSent();
    void rawObtained(const QByteArray& content);
    void packageObtained(const QByteArray& content);
    void fileObtained(const QString& path);
    void jsonObtained(const QJsonObject& json);
    void jsonArrayObtained(const QJsonArray& array);

private:
    void attach();
    void write(const QByteArray& bytes);
    void deliver(const NetworkPackageParser::Package& package);
    void writeReceivedFile(const QByteArray& payload);
    void onCacheTimeout();

    const NetworkType m_type;
    QAbstractSocket* m_socket = nullptr;  // owned (a child)
    QTimer* m_cacheTimer = nullptr;
    NetworkPackageParser m_parser;  // worker thread only
    std::atomic<bool> m_connected{false};
    std::atomic<int> m_packageType{Package};
    std::atomic<qint64> m_packageLimit{NetworkPackageParser::kDefaultPackageLimit};
    mutable std::mutex m_mutex;  // guards the fields below
    NetworkChannel m_channel;
    QHostAddress m_udpFilter;
    QString m_receiveDirectory;
};

}  // namespace kx
