#pragma once

#include "framework/net/networkhandle.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QSslConfiguration>
#include <QSslError>
#include <QString>

class QThread;

namespace kx {

// The caller's handle on one connection. Requests travel as queued signals to the
// NetworkHandle, which does all socket work in its worker thread; results come from the
// handle's signals.
class NetworkObject : public QObject {
    Q_OBJECT

public:
    // Takes handle over and moves it into worker.
    NetworkObject(NetworkHandle* handle, QThread* worker, QObject* parent = nullptr);
    ~NetworkObject() override;

    void connectToHost(const QHostAddress& address, int port);
    void connectToHost(const QString& address, int port);
    void disconnectFromHost();
    void writeRaw(const QByteArray& content, bool is_frame);
    void writePackage(const QByteArray& content, bool is_frame);
    void writeJsonPackage(const QJsonObject& json, bool is_frame);
    void writeJsonPackage(const QJsonArray& array, bool is_frame);
    void writeFilePackage(const QString& local_path, const QString& remote_path, bool is_append);
    // For TLS: certificates, keys and peer checks, and the errors to accept. Takes effect for
    // the next connection.
    void setSslConfiguration(const QSslConfiguration& configuration, const QList<QSslError>& ignored = {});

    NetworkHandle* handle() const;

signals:
    void tryConnectToHost(QHostAddress address, int port);
    void tryDisconnectFromHost();
    void sendRaw(QByteArray content, bool is_frame);
    void sendFilePackage(QString local_path, QString remote_path, bool is_append);
    void trySetSslConfiguration(QSslConfiguration configuration, QList<QSslError> ignored);

private:
    void sendPackage(const QByteArray& bytes, bool is_frame);

    NetworkHandle* m_handle;
};

}  // namespace kx
