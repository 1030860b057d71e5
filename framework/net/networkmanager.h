#pragma once

#include "framework/net/networkchannel.h"
#include "framework/net/networkhandle.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <array>

class QAbstractSocket;
class QThread;

namespace kx {

class NetworkObject;

// Named network objects spread over three worker threads: a new object's handle goes to the
// thread serving the fewest. The tables are used from the thread that owns the manager.
class NetworkManager : public QObject {
    Q_OBJECT

public:
    static constexpr int kWorkers = 3;

    static NetworkManager& instance();
    ~NetworkManager() override;

    // The object of that name, created with a new socket when there is none yet.
    NetworkObject* regist(const QString& name, NetworkHandle::NetworkType type,
                          const NetworkChannel& channel);
    // The same around an existing socket, which the handle takes over.
    NetworkObject* regist(const QString& name, NetworkHandle::NetworkType type, QAbstractSocket* socket);
    bool cancel(const QString& name);
    NetworkObject* netObject(const QString& name) const;
    QString findNetName(NetworkHandle* handle) const;
    // Deletes every object and stops the workers; done when the application object goes.
    // A later registration starts the workers again.
    void shutdown();

private:
    NetworkManager();
    NetworkObject* add(const QString& name, NetworkHandle* handle);
    void startWorker(int index);

    static constexpr int kShutdownMs = 10000;

    std::array<QThread*, kWorkers> m_threads{};
    std::array<QObject*, kWorkers> m_anchors{};  // one object living in each worker
    QHash<QString, NetworkObject*> m_objects;
    QHash<QString, int> m_workerOf;  // the worker serving each object
};

NetworkManager& net();
NetworkObject* net(const QString& name);

}  // namespace kx
