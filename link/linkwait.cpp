#include "link/linkwait.h"

#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

LinkWait::Result LinkWait::until(const std::function<bool()>& done, int timeoutMs) {
    Options options;
    options.timeoutMs = timeoutMs;
    return until(done, options);
}

LinkWait::Result LinkWait::until(const std::function<bool()>& done, const Options& options) {
    QPointer<CANWorker> worker = Helper::instance()->worker();
    QPointer<kx::DataObject> device = options.device;
    const bool watchDevice = options.device != nullptr;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    unsigned long long lastProgress = options.progress ? options.progress() : 0;

    auto test = [&]() -> int {
        if (done())
            return int(Result::Done);
        if (options.cancelled && options.cancelled())
            return int(Result::Cancelled);
        if (!worker || !worker->isConnected())
            return int(Result::PortClosed);
        if (watchDevice && !device)
            return int(Result::DeviceRemoved);
        if (options.progress) {
            const unsigned long long now = options.progress();
            if (now != lastProgress) {
                lastProgress = now;
                sinceProgress.restart();
            }
        }
        if (options.timeoutMs >= 0 && sinceProgress.elapsed() >= options.timeoutMs)
            return int(Result::TimedOut);
        return -1;
    };
    const int first = test();
    if (first >= 0)
        return Result(first);

    QEventLoop loop;
    int result = -1;
    auto check = [&] {
        if (result >= 0)
            return;
        result = test();
        if (result >= 0)
            loop.quit();
    };
    QTimer tick;
    // The display follows on the tick only: a status per packet must stay cheap.
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (options.onTick)
            options.onTick();
        check();
    });
    tick.start(20);
    if (worker) {
        QObject::connect(worker, &CANWorker::linkStatus, &loop, check);
        QObject::connect(worker, &CANWorker::connectionChanged, &loop, check);
        QObject::connect(worker, &QObject::destroyed, &loop, check);
    }
    if (device)
        QObject::connect(device, &QObject::destroyed, &loop, check, Qt::QueuedConnection);
    const QEventLoop::ProcessEventsFlags flags =
        options.allowInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
    while (result < 0)
        loop.exec(flags);
    return Result(result);
}
