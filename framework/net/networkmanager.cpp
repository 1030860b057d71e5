#include "framework/net/networkmanager.h"

#include "framework/net/networkobject.h"

#include <QAbstractSocket>
#include <QCoreApplication>
#include <QHostAddress>
#include <QSslConfiguration>
#include <QSslError>
#include <QThread>

#include <algorithm>

namespace kx {

namespace {

// Run while the application object is being destroyed, when queued calls still reach the
// workers; a static manager would otherwise be torn down after the application is gone.
void shutdownNetwork() {
    NetworkManager::instance().shutdown();
}

}  // namespace

NetworkManager& NetworkManager::instance() {
    static NetworkManager manager;
    return manager;
}

NetworkManager& net() {
    return NetworkManager::instance();
}

NetworkObject* net(const QString& name) {
    return NetworkManager::instance().netObject(name);
}

NetworkManager::NetworkManager() {
    qRegisterMetaType<QHostAddress>("QHostAddress");
    qRegisterMetaType<QAbstractSocket::SocketError>("QAbstractSocket::SocketError");
    qRegisterMetaType<QSslConfiguration>("QSslConfiguration");
    qRegisterMetaType<QList<QSslError>>("QList<QSslError>");
    for (int i = 0; i < kWorkers; ++i) {
        m_threads[i] = new QThread(this);
        m_threads[i]->setObjectName(QStringLiteral("kx.net.%1").arg(i));
        startWorker(i);
    }
    qAddPostRoutine(&shutdownNetwork);
}

void NetworkManager::startWorker(int index) {
    if (m_threads[index]->isRunning()) {
        return;
    }
    m_threads[index]->start();
    m_anchors[index] = new QObject;
    m_anchors[index]->moveToThread(m_threads[index]);
}

NetworkManager::~NetworkManager() {
    shutdown();
}

void NetworkManager::shutdown() {
    const QList<NetworkObject*> objects = m_objects.values();
    m_objects.clear();
    m_workerOf.clear();
    // Each handle is deleted in its worker by a queued call; each worker then quits from its own
    // queue, behind those deletions.
    qDeleteAll(objects);
    for (int i = 0; i < kWorkers; ++i) {
        QObject* anchor = m_anchors[i];
        m_anchors[i] = nullptr;
        if (!anchor || !m_threads[i]->isRunning()) {
            continue;
        }
        QMetaObject::invokeMethod(
            anchor,
            [anchor] {
                delete anchor;
                QThread::currentThread()->quit();
            },
            Qt::QueuedConnection);
        if (!m_threads[i]->wait(kShutdownMs)) {
            m_threads[i]->quit();
            m_threads[i]->wait();
        }
    }
}

NetworkObject* NetworkManager::regist(const QString& name, NetworkHandle::NetworkType type,
                                      const NetworkChannel& channel) {
    if (NetworkObject* existing = m_objects.value(name)) {
        return existing;
    }
    return add(name, new NetworkHandle(type, channel));
}

NetworkObject* NetworkManager::regist(const QString& name, NetworkHandle::NetworkType type,
                                      QAbstractSocket* socket) {
    if (NetworkObject* existing = m_objects.value(name)) {
        return existing;
    }
    NetworkChannel channel;
    if (socket) {
        channel = NetworkChannel(socket->localAddress(), socket->peerAddress(), socket->localPort(),
                                 socket->peerPort());
    }
    return add(name, new NetworkHandle(type, channel, socket));
}

NetworkObject* NetworkManager::add(const QString& name, NetworkHandle* handle) {
    std::array<int, kWorkers> loads{};
    for (const int served : qAsConst(m_workerOf)) {
        ++loads[served];
    }
    const int worker = static_cast<int>(std::min_element(loads.begin(), loads.end()) - loads.begin());
    startWorker(worker);
    auto* object = new NetworkObject(handle, m_threads[worker]);
    m_objects.insert(name, object);
    m_workerOf.insert(name, worker);
    return object;
}

bool NetworkManager::cancel(const QString& name) {
    NetworkObject* object = m_objects.take(name);
    if (!object) {
        return false;
    }
    m_workerOf.remove(name);
    delete object;
    return true;
}

NetworkObject* NetworkManager::netObject(const QString& name) const {
    return m_objects.value(name);
}

QString NetworkManager::findNetName(NetworkHandle* handle) const {
    for (auto it = m_objects.constBegin(); it != m_objects.constEnd(); ++it) {
        if (it.value()->handle() == handle) {
            return it.key();
        }
    }
    return QString();
}

}  // namespace kx
