#include "link/flows/scopeflow.h"

#include "link/canworker.h"
#include "link/flows/paramreadflow.h"
#include "link/flows/statuswatch.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/otathread.h"
#include "link/scope/scopeacquisition.h"
#include "link/scope/scopechannellist.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kConfigTimeoutMs = 5000;
constexpr int kStopTimeoutMs = 3000;

}  // namespace

ScopeFlow::ScopeFlow(const QList<int>& canIds, const Request& request, QObject* parent)
    : Flow(canIds.size() == 1 ? canIds.first() : -1, parent), m_canIds(canIds), m_request(request) {}

FlowResult ScopeFlow::record(int id, const QString& path) {
    CANWorker* worker = Helper::instance()->worker();
    otaThread* link = worker ? worker->link() : nullptr;
    ScopeAcquisition* scope = ScopeAcquisition::of(link);
    if (!scope)
        return result(FlowOutcome::Refused, tr("This build has no scope."));
    if (!worker->deviceForCanId(quint8(id)))
        return result(FlowOutcome::Refused, tr("There is no motor with CAN ID %1.").arg(id));
    // Every request of the recording goes to this motor, the table description included.
    link->setTarget(quint8(id));
    QVector<ScopeChannelChoice> list = ScopeChannelList::choices(link, quint8(id));
    const bool byName =
        std::any_of(m_request.channels.cbegin(), m_request.channels.cend(), [](const QString& c) {
            bool number = false;
            c.toUInt(&number, 0);
            return !number;
        });
    if (byName && list.isEmpty()) {
        // Names come from the motor's own description of its parameters.
        report(-1, tr("Reading the parameter names of motor %1...").arg(id));
        ParamReadFlow describe(id, false);
        describe.runUnder(lease());
        const FlowResult described = describe.run();
        if (!described.ok())
            return result(described.outcome, described.reason);
        link->setTarget(quint8(id));
        list = ScopeChannelList::choices(link, quint8(id));
    }
    ScopeAcquisition::Config config;
    config.frequency = m_request.rate;
    // The line's budget: the adapter's line rate, or the CAN interface's bit rate.
    config.baudRate = worker->portBaudRate();
    QStringList names;
    for (const QString& text : m_request.channels) {
        ScopeChannelChoice choice;
        if (!ScopeChannelList::resolve(text, list, &choice)) {
            return result(FlowOutcome::Refused,
                          list.isEmpty()
                              ? tr("Unknown channel %1: without the motor's parameter table channels "
                                   "are given by code (e.g. 0x3000).")
                                    .arg(text)
                              : tr("Unknown channel %1.").arg(text));
        }
        config.channels << ScopeAcquisition::Channel{choice.code, choice.type, choice.name};
        names << choice.name;
    }

    // The recording goes to the file; a display that shows batches meanwhile keeps them.
    QString why;
    const auto format = m_request.csv ? ScopeWaveFile::Format::Csv : ScopeWaveFile::Format::Wave;
    // The file is opened first so that a bad path costs no traffic; it replaces the old one
    // only once the recording closes it.
    if (!scope->openWaveFile(path, &why, ScopeWaveFile::Mode::Replace, format))
        return result(FlowOutcome::Refused, tr("Cannot write %1: %2").arg(path, why));
    const auto fail = [&](FlowOutcome outcome, const QString& reason) {
        scope->waveFile().discard();
        return result(outcome, reason);
    };
    StatusWatch watch;
    if (!scope->configureChannels(config, &why))
        return fail(FlowOutcome::Refused, why);
    const QList<int> configured{OTA_STA_PARA_UPDATE_SUCCESS_CHSET, OTA_STA_PARA_UPDATE_ERROR,
                                OTA_STA_PARA_UPDATE_OVER_TIME};
    const LinkWait::Result c = wait([&] { return watch.saw(configured); }, kConfigTimeoutMs);
    if (c == LinkWait::Result::Cancelled || c == LinkWait::Result::PortClosed)
        return fail(
            c == LinkWait::Result::Cancelled ? FlowOutcome::Cancelled : FlowOutcome::PortClosed,
            c == LinkWait::Result::Cancelled ? cancelReason() : tr("The link closed during the set-up."));
    if (watch.seen(configured) != OTA_STA_PARA_UPDATE_SUCCESS_CHSET) {
        return fail(FlowOutcome::Failed, c == LinkWait::Result::TimedOut
                                             ? tr("The motor did not answer the scope configuration.")
                                             : tr("The motor refused the scope set-up."));
    }
    const QVector<ScopeAcquisition::Channel> active = scope->activeChannels();
    if (m_request.csv) {
        QStringList header{QStringLiteral("time")};
        for (const auto& ch : active)
            header << ch.name;
        scope->waveFile().write((header.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8());
    }
    if (!scope->start(&why))
        return fail(FlowOutcome::Failed, why);

    report(0, tr("Recording %1 channel(s) of motor %2 at %3 Hz for %4 s")
                  .arg(active.size())
                  .arg(id)
                  .arg(m_request.rate)
                  .arg(m_request.seconds));
    QElapsedTimer clock;
    clock.start();
    const qint64 totalMs = qint64(std::ceil(m_request.seconds * 1000));
    qint64 lastReport = 0;
    LinkWait::Options options;
    options.timeoutMs = int(totalMs);
    options.onTick = [&] {
        if (clock.elapsed() - lastReport < 1000)
            return;
        lastReport = clock.elapsed();
        report(qMin(1.0, double(clock.elapsed()) / qMax<qint64>(1, totalMs)),
               tr("%1 s: %2 records, %3 lost")
                   .arg(clock.elapsed() / 1000.0, 0, 'f', 1)
                   .arg(scope->records())
                   .arg(scope->lost()),
               {{QStringLiteral("records"), double(scope->records())},
                {QStringLiteral("lost"), double(scope->lost())}});
    };
    // Nothing to wait for but the time; the wait ends early when the port closes or the flow
    // is cancelled.
    const LinkWait::Result r = wait([] { return false; }, options);
    const bool linkUp = worker->isConnected();
    bool stopped = false;
    if (linkUp) {
        const int mark = watch.mark();
        scope->stop();
        stopped = wait([&] { return watch.saw({OTA_STA_PARA_UPDATE_SUCCESS_END}, -1, mark); },
                       kStopTimeoutMs) == LinkWait::Result::Done;
    }
    const bool complete = linkUp && r == LinkWait::Result::TimedOut;
    // A recording cut short must not take the place of a complete one: it goes beside it.
    QString partial;
    const bool written = complete ? scope->closeWaveFile() : scope->waveFile().closePartial(&partial);
    QVariantMap values{{QStringLiteral("records"), double(scope->records())},
                       {QStringLiteral("lost"), double(scope->lost())},
                       {QStringLiteral("damaged"), double(scope->damaged())},
                       {QStringLiteral("channels"), names},
                       {QStringLiteral("file"), complete ? path : partial},
                       {QStringLiteral("stopped"), stopped}};
    if (!written) {
        const QString error = scope->waveFile().errorString();
        values.insert(QStringLiteral("error"), error);
        return result(
            FlowOutcome::Failed,
            tr("Cannot write %1: %2").arg(complete ? path : ScopeWaveFile::partialPath(path), error), values);
    }
    if (!linkUp)
        return result(FlowOutcome::PortClosed, tr("The link closed during the recording."), values);
    if (r == LinkWait::Result::Cancelled)
        return result(FlowOutcome::Cancelled, cancelReason(), values);
    if (scope->records() == 0)
        return result(FlowOutcome::Failed, tr("No record arrived from motor %1.").arg(id), values);
    return result(FlowOutcome::Succeeded, QString(), values);
}

FlowResult ScopeFlow::execute() {
    if (m_canIds.isEmpty())
        return result(FlowOutcome::Refused, tr("No motor to record."));
    if (m_request.channels.isEmpty() || m_request.channels.size() > 8)
        return result(FlowOutcome::Refused, tr("A recording takes one to eight channels."));
    QTemporaryDir scratch;
    const auto recordOne = [&](int id) {
        if (!m_request.path.isEmpty() && m_canIds.size() == 1)
            return record(id, m_request.path);
        // Several motors, or the CSV into the values: a file per motor.
        QString path = m_request.path;
        if (path.isEmpty())
            path = scratch.filePath(QStringLiteral("motor%1.csv").arg(id));
        else
            path = path + QStringLiteral(".motor%1").arg(id);
        FlowResult r = record(id, path);
        if (m_request.path.isEmpty()) {
            QFile file(r.values.value(QStringLiteral("file")).toString());
            if (file.open(QIODevice::ReadOnly))
                r.values.insert(QStringLiteral("csv"), file.readAll());
        }
        return r;
    };
    if (m_canIds.size() == 1)
        return recordOne(m_canIds.first());
    return eachMotor(m_canIds, recordOne);
}
