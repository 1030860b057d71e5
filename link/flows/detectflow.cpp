#include "link/flows/detectflow.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/motionguard.h"
#include "link/motorframes.h"
#include "link/motorstates.h"
#include "link/otathread.h"

#include <QCoreApplication>
#include <QVariantList>

namespace {

// A motor answers its identity request and its model query within a few milliseconds.
constexpr int kProbeTimeoutMs = 1000;
const QString kMultiple = QStringLiteral("config.setting.enable_multiple_devices");

// Scanning the whole bus needs the multiple-devices rule for the time of the scan; the
// user's own setting comes back afterwards.
class MultipleDevices {
public:
    explicit MultipleDevices(bool on) : m_before(kx::d(kMultiple)->getBool(false)), m_on(on) {
        if (on != m_before)
            kx::d().rootDobj()->set(nullptr, kMultiple, on, true);
    }
    ~MultipleDevices() {
        if (m_on != m_before)
            kx::d().rootDobj()->set(nullptr, kMultiple, m_before, true);
    }
    void set(bool on) {
        m_on = on;
        kx::d().rootDobj()->set(nullptr, kMultiple, on, true);
    }

private:
    bool m_before;
    bool m_on;
};

kx::DataObject* findDevice(int canId) {
    for (kx::DataObject* device : DetectFlow::connectedDevices()) {
        if (MotionGuard::canIdOf(device) == canId)
            return device;
    }
    return nullptr;
}

}  // namespace

DetectFlow::DetectFlow(const Options& options, QObject* parent) : Flow(-1, parent), m_options(options) {}

QList<kx::DataObject*> DetectFlow::connectedDevices() {
    QList<kx::DataObject*> list;
    for (kx::DataObject* device : kx::d("project.device")->cdobjs()) {
        if (device->r(QStringLiteral("_connected"))->getBool())
            list << device;
    }
    return list;
}

bool DetectFlow::queryModel(int canId) {
    if (MotorStates::get(quint8(canId)).modelKnown)
        return true;
    Helper::instance()->worker()->link()->sendFrame(MotorFrames::modelQuery(quint8(canId)));
    return wait([canId] { return MotorStates::get(quint8(canId)).modelKnown; }, kProbeTimeoutMs) ==
           LinkWait::Result::Done;
}

FlowResult DetectFlow::execute() {
    CANWorker* worker = Helper::instance()->worker();
    if (!worker)
        return result(FlowOutcome::Failed, tr("There is no link."));
    otaThread* link = worker->link();
    const bool probeFirst = m_options.canId > 0 && !m_options.wholeBus;
    MultipleDevices multiple(m_options.wholeBus);

    bool failed = false;
    bool scanDone = false;
    bool adapterReady = false;
    const QMetaObject::Connection failWatch =
        connect(worker, &CANWorker::adapterFailed, this, [&] { failed = true; });
    const QMetaObject::Connection scanWatch =
        connect(link, &otaThread::scanFinished, this, [&] { scanDone = true; });
    // The worker starts the bus scan once the adapter answers (at once on a CAN interface); a
    // named motor is asked first instead.
    const QMetaObject::Connection readyWatch = connect(worker, &CANWorker::linkStatus, this, [&](int status) {
        if (status != OTA_STA_CONNECT_SUCCESS || adapterReady)
            return;
        adapterReady = true;
        if (m_options.connectOnly) {
            link->startStep(STEP_STOP);
        } else if (probeFirst) {
            link->startStep(STEP_STOP);
            link->sendFrame(MotorFrames::identityRequest(quint8(m_options.canId)));
        }
    });
    struct Disconnect {
        QList<QMetaObject::Connection> connections;
        ~Disconnect() {
            for (const auto& c : connections)
                QObject::disconnect(c);
        }
    } disconnectAtEnd{{failWatch, scanWatch, readyWatch}};

    if (!worker->isConnected()) {
        if (m_options.address.isEmpty())
            return result(FlowOutcome::PortClosed, tr("The adapter is not connected."));
        report(-1, tr("Connecting to %1").arg(m_options.address));
        worker->connectPort(m_options.address);
        if (!worker->isConnected()) {
            // The port's own error (its box and status line) arrives queued: let it out first.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return result(FlowOutcome::Failed, tr("Cannot open %1.").arg(m_options.address));
        }
        if (!worker->carriesAdapterCommands()) {
            // No adapter to set up: the worker scans at once; a named motor is asked first.
            adapterReady = true;
            if (m_options.connectOnly) {
                link->startStep(STEP_STOP);
            } else if (probeFirst) {
                link->startStep(STEP_STOP);
                link->sendFrame(MotorFrames::identityRequest(quint8(m_options.canId)));
            }
        }
    } else if (!m_options.rescan && !connectedDevices().isEmpty()) {
        // Already connected with its motors known: they are reported as they are.
        adapterReady = true;
        scanDone = true;
    } else {
        // Already connected: detect again on the open link.
        adapterReady = true;
        link->resetDeviceCount();
        if (probeFirst)
            link->sendFrame(MotorFrames::identityRequest(quint8(m_options.canId)));
        else
            link->startStep(STEP_GET_DEV_INFO);
    }

    const QString where = m_options.address.isEmpty() ? worker->portName() : m_options.address;
    const auto modelKnown = [] {
        const QList<kx::DataObject*> found = connectedDevices();
        return !found.isEmpty() && MotorStates::get(MotionGuard::canIdOf(found.first())).modelKnown;
    };
    if (m_options.connectOnly) {
        const LinkWait::Result ready = wait([&] { return failed || adapterReady; }, m_options.timeoutMs);
        if (failed)
            return result(FlowOutcome::Failed,
                          tr("USB-CAN module configuration failed, please check physical device!"),
                          {{QStringLiteral("cause"), QStringLiteral("adapter")}});
        if (ready != LinkWait::Result::Done)
            return interrupted(ready, tr("The adapter on %1 did not answer.").arg(where));
        return result(FlowOutcome::Succeeded, QString(), {{QStringLiteral("motors"), QVariantList()}});
    }
    bool scanAll = m_options.wholeBus;
    LinkWait::Result r = LinkWait::Result::Done;
    report(-1, tr("Detecting devices at %1").arg(where));
    if (probeFirst) {
        r = wait([&] { return failed || adapterReady; }, m_options.timeoutMs);
        if (r == LinkWait::Result::Done && !failed) {
            wait([&] { return findDevice(m_options.canId) != nullptr; }, kProbeTimeoutMs);
            if (findDevice(m_options.canId)) {
                wait(modelKnown, kProbeTimeoutMs);
            } else if (!cancelled()) {
                report(-1, tr("CAN ID %1 did not answer: scanning the bus.").arg(m_options.canId));
                multiple.set(true);
                scanAll = true;
                link->resetDeviceCount();
                link->startStep(STEP_GET_DEV_INFO);
                r = wait([&] { return failed || scanDone; }, m_options.timeoutMs);
            }
        }
    } else {
        r = wait(
            [&] {
                if (failed)
                    return true;
                // One motor: done once it is registered and its model reply set the ranges.
                return scanAll ? scanDone : modelKnown();
            },
            m_options.timeoutMs);
    }
    if (failed)
        return result(FlowOutcome::Failed,
                      tr("USB-CAN module configuration failed, please check physical device!"),
                      {{QStringLiteral("cause"), QStringLiteral("adapter")}});
    if (r == LinkWait::Result::Cancelled || r == LinkWait::Result::PortClosed)
        return interrupted(r, QString());

    QVariantList motors;
    for (kx::DataObject* device : connectedDevices()) {
        const int canId = MotionGuard::canIdOf(device);
        const bool known = queryModel(canId);
        motors << QVariantMap{
            {QStringLiteral("mcu_id"), QString::number(MotionGuard::mcuIdOf(device), 16)},
            {QStringLiteral("can_id"), canId},
            {QStringLiteral("model"), known ? MotorStates::get(quint8(canId)).modelCode : -1}};
    }
    const QVariantMap values{{QStringLiteral("motors"), motors}};
    if (motors.isEmpty()) {
        return result(r == LinkWait::Result::TimedOut ? FlowOutcome::TimedOut : FlowOutcome::Failed,
                      r == LinkWait::Result::TimedOut ? tr("Detection timed out on %1.").arg(where)
                                                      : tr("No motor answered on %1.").arg(where),
                      values);
    }
    if (m_options.canId > 0 && !findDevice(m_options.canId))
        return result(FlowOutcome::Failed,
                      tr("No motor with CAN ID %1 on %2.").arg(m_options.canId).arg(where), values);
    return result(FlowOutcome::Succeeded, QString(), values);
}
