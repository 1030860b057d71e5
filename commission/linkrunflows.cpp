#include "commission/linkrunflows.h"

#include "link/firmware/firmwareupdate.h"
#include "link/flows/calibrateflow.h"
#include "link/flows/detectflow.h"
#include "link/flows/estopflow.h"
#include "link/flows/firmwareflow.h"
#include "link/flows/moveflow.h"
#include "link/flows/reconnectflow.h"
#include "link/flows/paramapplyflow.h"
#include "link/flows/paramreadflow.h"
#include "link/flows/safestateflow.h"
#include "link/flows/scopeflow.h"
#include "link/flows/setcanidflow.h"
#include "link/flows/zeroflow.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/motorfaults.h"
#include "link/motorstates.h"

#include <QCoreApplication>

// The link's flows (link/flows/), as a run asks for them.

namespace {

// A request refused before any flow could take it (an unreadable profile or image): it ends
// at once, with the reason, as a flow would.
class RefusedFlow : public Flow {
public:
    RefusedFlow(const QString& name, const QString& reason) : Flow(-1), m_name(name), m_reason(reason) {}
    QString name() const override { return m_name; }
    QString activity() const override { return m_name; }

protected:
    FlowResult execute() override { return result(FlowOutcome::Refused, m_reason); }

private:
    QString m_name;
    QString m_reason;
};

QString tr(const char* text) {
    return QCoreApplication::translate("LinkRunFlows", text);
}

}  // namespace

LinkRunFlows::~LinkRunFlows() = default;

std::unique_ptr<Flow> LinkRunFlows::detect() {
    DetectFlow::Options options;
    options.wholeBus = true;
    options.rescan = m_settings.rescan;
    return std::make_unique<DetectFlow>(options);
}

std::unique_ptr<Flow> LinkRunFlows::readParams(int canId) {
    // What the record keeps of the table (its SHA-256, the firmware entry) must be right:
    // the description agreed on twice and every value read until two reads agree.
    return std::make_unique<ParamReadFlow>(canId, true);
}

std::unique_ptr<Flow> LinkRunFlows::applyParams(const QList<int>& canIds, const QString& profile, bool save) {
    QString error;
    const std::optional<ParamBackup> backup = ParamBackup::load(profile, &error);
    if (!backup)
        return std::make_unique<RefusedFlow>(QStringLiteral("apply-params"),
                                             tr("Cannot read %1: %2").arg(profile, error));
    return std::make_unique<ParamApplyFlow>(canIds, *backup, save);
}

std::unique_ptr<Flow> LinkRunFlows::setCanId(int canId, int newCanId) {
    return std::make_unique<SetCanIdFlow>(canId, newCanId);
}

std::unique_ptr<Flow> LinkRunFlows::flash(int canId, const QString& image) {
    QByteArray bytes;
    QString error;
    // A file no motor may take is refused before the motor is asked to erase its flash.
    if (!FirmwareUpdate::readImage(image, &bytes, &error))
        return std::make_unique<RefusedFlow>(QStringLiteral("flash"), error);
    return std::make_unique<FirmwareFlow>(canId, bytes);
}

std::unique_ptr<Flow> LinkRunFlows::zero(int canId) {
    return std::make_unique<ZeroFlow>(canId);
}

std::unique_ptr<Flow> LinkRunFlows::calibrate(const QList<int>& canIds) {
    return std::make_unique<CalibrateFlow>(canIds);
}

std::unique_ptr<Flow> LinkRunFlows::move(int canId, const MoveRequest& request) {
    MoveFlow::Request r;
    if (!MoveFlow::modeFromName(request.mode, &r.mode))
        return nullptr;
    r.target = request.target;
    r.speed = request.speed;
    r.kp = request.kp;
    r.kd = request.kd;
    r.settleMs = request.settleMs;
    return std::make_unique<MoveFlow>(canId, r);
}

std::unique_ptr<Flow> LinkRunFlows::capture(const QList<int>& canIds, const QStringList& channels, int rate,
                                            double seconds) {
    ScopeFlow::Request request;
    request.channels = channels;
    request.rate = rate;
    request.seconds = seconds;
    return std::make_unique<ScopeFlow>(canIds, request);
}

std::unique_ptr<Flow> LinkRunFlows::estop(int canId) {
    return std::make_unique<EstopFlow>(canId);
}

std::unique_ptr<Flow> LinkRunFlows::leaveSafe(int canId) {
    return std::make_unique<SafeStateFlow>(canId);
}

std::unique_ptr<Flow> LinkRunFlows::reconnect(const QList<int>& canIds, int timeoutMs) {
    return std::make_unique<ReconnectFlow>(canIds, timeoutMs);
}

RunFlows::Alarm LinkRunFlows::alarm(int canId) {
    const MotorState s = MotorStates::get(quint8(canId));
    Alarm a;
    for (size_t i = 0; i < s.faults.size(); ++i)
        a.flags |= s.faults[i] ? 1u << i : 0u;
    a.fault = s.faultWord;
    a.text = MotorFaults::describe(a.flags, a.fault, 0);
    return a;
}

void LinkRunFlows::watchAlarms(std::function<void(int canId)> changed) {
    QObject::disconnect(m_alarmConnection);
    CANWorker* worker = Helper::instance()->worker();
    if (!changed || !worker)
        return;
    m_alarmConnection = QObject::connect(
        worker, &CANWorker::motorChanged, &m_alarmContext, [changed](quint8 canId, int status) {
            if (status == OTA_STA_MOTOR_FEEDBACK || status == OTA_STA_MOTOR_FAULTWARN)
                changed(canId);
        });
}
