#include "framework/net/networkobject.h"

#include "framework/log/qflog.h"
#include "framework/net/networkjsonpackage.h"

#include <QThread>

namespace kx {

NetworkObject::NetworkObject(NetworkHandle* handle, QThread* worker, QObject* parent)
    : QObject(parent), m_handle(handle) {
    m_handle->setParent(nullptr);
    m_handle->moveToThread(worker);
    connect(this, &NetworkObject::tryConnectToHost, m_handle, &NetworkHandle::onTryConnectToHost);
    connect(this, &NetworkObject::tryDisconnectFromHost, m_handle, &NetworkHandle::onTryDisconnectFromHost);
    connect(this, &NetworkObject::sendRaw, m_handle, &NetworkHandle::onSendRaw);
    connect(this, &NetworkObject::sendFilePackage, m_handle, &NetworkHandle::onSendFilePackage);
    connect(this, &NetworkObject::trySetSslConfiguration, m_handle, &NetworkHandle::onSetSslConfiguration);
}

NetworkObject::~NetworkObject() {
    // The handle and its socket belong to the worker thread and are deleted there, as a queued
    // call, so that a worker told to quit afterwards still runs it first. A worker that no
    // longer runs cannot touch them any more.
    QThread* worker = m_handle->thread();
    if (worker && worker->isRunning() && worker != QThread::currentThread()) {
        NetworkHandle* handle = m_handle;
        QMetaObject::invokeMethod(
            handle, [handle] { delete handle; }, Qt::QueuedConnection);
    } else {
        delete m_handle;
    }
}

void NetworkObject::connectToHost(const QHostAddress& address, int port) {
    emit tryConnectToHost(address, port);
}

void NetworkObject::connectToHost(const QString& address, int port) {
    emit tryConnectToHost(QHostAddress(address), port);
}

void NetworkObject::disconnectFromHost() {
    emit tryDisconnectFromHost();
}

void NetworkObject::writeRaw(const QByteArray& content, bool is_frame) {
    emit sendRaw(content, is_frame);
}

void NetworkObject::writePackage(const QByteArray& content, bool is_frame) {
    sendPackage(NetworkPackage(content).toBytes(), is_frame);
}

void NetworkObject::writeJsonPackage(const QJsonObject& json, bool is_frame) {
    sendPackage(NetworkJsonPackage(json).toBytes(), is_frame);
}

void NetworkObject::writeJsonPackage(const QJsonArray& array, bool is_frame) {
    sendPackage(NetworkJsonPackage(array).toBytes(), is_frame);
}

void NetworkObject::writeFilePackage(const QString& local_path, const QString& remote_path, bool is_append) {
    emit sendFilePackage(local_path, remote_path, is_append);
}

void NetworkObject::setSslConfiguration(const QSslConfiguration& configuration,
                                        const QList<QSslError>& ignored) {
    emit trySetSslConfiguration(configuration, ignored);
}

NetworkHandle* NetworkObject::handle() const {
    return m_handle;
}

void NetworkObject::sendPackage(const QByteArray& bytes, bool is_frame) {
    if (bytes.isEmpty()) {
        logE() << "package too large, not sent";
        return;
    }
    emit sendRaw(bytes, is_frame);
}

}  // namespace kx
