#include "link/reconnectwatcher.h"

#include "link/canworker.h"
#include "link/helper.h"
#include "link/transport/linktransport.h"

ReconnectWatcher::ReconnectWatcher(CANWorker* worker) : QObject(worker), m_worker(worker) {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ReconnectWatcher::check);
}

void ReconnectWatcher::watch(const QString& path) {
    m_path = path;
    m_seen = 0;
    m_timer.start();
}

void ReconnectWatcher::stop() {
    m_timer.stop();
    m_seen = 0;
}

void ReconnectWatcher::check() {
    if (m_worker->isConnected()) {
        stop();
        return;
    }
    if (!LinkTransport::present(m_path)) {
        m_seen = 0;
        return;
    }
    if (++m_seen < 2)
        return;
    stop();
    Helper::instance()->postStatus(m_worker->carriesAdapterCommands()
                                       ? tr("Serial port %1 is back: reconnecting.").arg(m_path)
                                       : tr("CAN interface %1 is back: reconnecting.").arg(m_path));
    m_worker->connectPort(m_path);
}
