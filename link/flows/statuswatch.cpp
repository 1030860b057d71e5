#include "link/flows/statuswatch.h"

#include "link/canworker.h"
#include "link/helper.h"

StatusWatch::StatusWatch(QObject* parent) : QObject(parent) {
    if (CANWorker* worker = Helper::instance()->worker())
        connect(worker, &CANWorker::linkStatus, this, [this](int status, int canId) {
            m_statuses.append({status, canId});
        });
}

int StatusWatch::seen(const QList<int>& statuses, int canId, int from) const {
    for (int i = qMax(0, from); i < m_statuses.size(); ++i) {
        const auto& s = m_statuses[i];
        if (statuses.contains(s.first) && (canId < 0 || s.second == canId))
            return s.first;
    }
    return -1;
}
