#include "link/flows/flow.h"

#include "link/canworker.h"
#include "link/flows/statuswatch.h"
#include "link/helper.h"
#include "link/linkcommands.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

Flow::Flow(int canId, QObject* parent) : QObject(parent), m_canId(canId) {
    qRegisterMetaType<FlowResult>("FlowResult");
    qRegisterMetaType<FlowProgress>("FlowProgress");
}

Flow::~Flow() = default;

FlowResult Flow::run() {
    if (m_running)
        return result(FlowOutcome::Busy, LinkLease::busyMessage(m_canId, activity()));
    if (m_parentLease.isValid()) {
        m_lease = m_parentLease;
        m_lease.setActivity(activity());
    } else {
        QString refusal;
        m_lease = LinkLease::acquire(m_canId, activity(), &refusal);
        if (!m_lease.isValid())
            return result(FlowOutcome::Busy, refusal);
    }
    m_running = true;
    FlowResult r = cancelled() ? result(FlowOutcome::Cancelled, cancelReason()) : execute();
    r.flow = name();
    r.canId = m_canId;
    m_running = false;
    m_lease = LinkLease::Token();
    return r;
}

void Flow::start() {
    QPointer<Flow> self(this);
    QTimer::singleShot(0, this, [self] {
        if (!self)
            return;
        const FlowResult r = self->run();
        if (self)
            emit self->finished(r);
    });
}

void Flow::cancel(const QString& reason) {
    m_cancelReason = reason.isEmpty() ? tr("cancelled") : reason;
    m_cancelled = true;
}

bool Flow::cancelled() const {
    return m_cancelled.load() || m_lease.preempted();
}

QString Flow::cancelReason() const {
    if (m_lease.preempted())
        return m_lease.preemptReason();
    return m_cancelReason;
}

LinkWait::Result Flow::wait(const std::function<bool()>& done, LinkWait::Options options) {
    // A wait for one motor also ends when its record goes (removed by hand, another project).
    if (!options.device && m_canId >= 0) {
        if (CANWorker* worker = Helper::instance()->worker())
            options.device = worker->deviceForCanId(quint8(m_canId));
    }
    const std::function<bool()> outer = options.cancelled;
    options.cancelled = [this, outer] { return cancelled() || (outer && outer()); };
    options.allowInput = options.allowInput || m_allowInput;
    return LinkWait::until(done, options);
}

LinkWait::Result Flow::wait(const std::function<bool()>& done, int timeoutMs) {
    LinkWait::Options options;
    options.timeoutMs = timeoutMs;
    return wait(done, options);
}

FlowResult Flow::result(FlowOutcome outcome, const QString& reason, const QVariantMap& values) const {
    FlowResult r;
    r.flow = name();
    r.canId = m_canId;
    r.outcome = outcome;
    r.reason = reason;
    r.values = values;
    return r;
}

FlowResult Flow::combined(const QList<QPair<int, FlowResult>>& perMotor) const {
    QVariantMap motors;
    FlowOutcome worst = FlowOutcome::Succeeded;
    QString reason;
    for (const auto& [id, r] : perMotor) {
        QVariantMap m = r.values;
        m.insert(QStringLiteral("outcome"), FlowResult::outcomeName(r.outcome));
        m.insert(QStringLiteral("reason"), r.reason);
        motors.insert(QString::number(id), m);
        if (!r.ok() && worst == FlowOutcome::Succeeded) {
            worst = r.outcome;
            reason = tr("Motor %1: %2").arg(id).arg(r.reason);
        }
    }
    return result(worst, reason, {{QStringLiteral("motors"), motors}});
}

FlowResult Flow::eachMotor(const QList<int>& canIds, const std::function<FlowResult(int)>& one) const {
    QList<QPair<int, FlowResult>> perMotor;
    for (int id : canIds) {
        perMotor.append({id, one(id)});
        const FlowOutcome outcome = perMotor.last().second.outcome;
        if (outcome == FlowOutcome::Cancelled || outcome == FlowOutcome::PortClosed)
            break;
    }
    return combined(perMotor);
}

FlowResult Flow::interrupted(LinkWait::Result waitResult, const QString& timeoutReason) const {
    switch (waitResult) {
        case LinkWait::Result::Done:
            return result(FlowOutcome::Succeeded);
        case LinkWait::Result::TimedOut:
            return result(FlowOutcome::TimedOut, timeoutReason);
        case LinkWait::Result::PortClosed:
            return result(FlowOutcome::PortClosed, tr("The adapter was disconnected."));
        case LinkWait::Result::DeviceRemoved:
            return result(FlowOutcome::DeviceRemoved, tr("The motor was removed."));
        case LinkWait::Result::Cancelled:
            return result(FlowOutcome::Cancelled, cancelReason());
    }
    return result(FlowOutcome::Failed, timeoutReason);
}

void Flow::report(double fraction, const QString& text, const QVariantMap& values) {
    FlowProgress p;
    p.canId = m_canId;
    p.fraction = fraction;
    p.text = text;
    p.values = values;
    emit progress(p);
}

FlowResult Flow::sendAndWait(const LinkCommand& command, int success, const QList<int>& failures,
                             int timeoutMs, const QString& failReason) {
    StatusWatch watch;
    QString refusal;
    if (!LinkCommands::send(command, m_lease, &refusal))
        return result(FlowOutcome::Refused, refusal);
    const QList<int> all = QList<int>{success} + failures;
    const LinkWait::Result r = wait([&] { return watch.saw(all, command.canId); }, timeoutMs);
    if (r != LinkWait::Result::Done)
        return interrupted(r, failReason);
    return watch.seen(all, command.canId) == success ? result(FlowOutcome::Succeeded)
                                                     : result(FlowOutcome::Failed, failReason);
}
