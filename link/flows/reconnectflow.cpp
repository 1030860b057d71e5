#include "link/flows/reconnectflow.h"

#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

ReconnectFlow::ReconnectFlow(const QList<int>& canIds, int timeoutMs, QObject* parent)
    : Flow(-1, parent), m_canIds(canIds), m_timeoutMs(timeoutMs) {}

FlowResult ReconnectFlow::execute() {
    CANWorker* worker = Helper::instance()->worker();
    if (!worker)
        return result(FlowOutcome::PortClosed, tr("There is no link."));
    const auto back = [this, worker] {
        if (!worker->isConnected())
            return false;
        for (int id : m_canIds) {
            kx::DataObject* device = worker->deviceForCanId(quint8(id));
            if (!device || !device->c(QStringLiteral("_connected"))->getBool(false))
                return false;
        }
        return true;
    };
    if (back())
        return result(FlowOutcome::Succeeded);
    report(-1, tr("Waiting up to %n second(s) for the adapter to come back.", nullptr,
                  (m_timeoutMs + 999) / 1000));
    // LinkWait ends at once while the port is closed, which is the very state waited out here:
    // a plain event loop wakes on the worker's news and on a tick for the time limit.
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    const auto check = [&] {
        if (back() || cancelled() || clock.elapsed() >= m_timeoutMs)
            loop.quit();
    };
    QTimer tick;
    connect(&tick, &QTimer::timeout, &loop, check);
    connect(worker, &CANWorker::connectionChanged, &loop, check);
    connect(worker, &CANWorker::deviceChanged, &loop, check);
    connect(worker, &CANWorker::linkStatus, &loop, check);
    tick.start(100);
    while (!back() && !cancelled() && clock.elapsed() < m_timeoutMs)
        loop.exec(allowsInput() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    if (back())
        return result(FlowOutcome::Succeeded);
    if (cancelled())
        return result(FlowOutcome::Cancelled, cancelReason());
    return result(FlowOutcome::TimedOut, tr("The adapter did not come back."));
}
