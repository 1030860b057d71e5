#include "link/flows/firmwareflow.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/firmware/firmwareupdate.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motionguard.h"
#include "link/linkstates.h"
#include "link/linkwait.h"
#include "link/otathread.h"

#include <QElapsedTimer>

FirmwareFlow::FirmwareFlow(int canId, const QByteArray& image, QObject* parent)
    : Flow(canId, parent), m_image(image) {}

FlowResult FirmwareFlow::execute() {
    m_report = update();
    const QVariantMap values{{QStringLiteral("packets"), qint64(m_report.packets)},
                             {QStringLiteral("image_packets"), qint64(m_report.imagePackets)},
                             {QStringLiteral("resends"), qint64(m_report.resends)},
                             {QStringLiteral("seconds"), m_report.seconds}};
    switch (m_report.result) {
        case Result::Succeeded:
            return result(FlowOutcome::Succeeded, QString(), values);
        case Result::Refused:
            return result(FlowOutcome::Refused, m_report.message, values);
        case Result::Failed:
            return result(FlowOutcome::Failed, m_report.message, values);
        case Result::TimedOut:
            return result(FlowOutcome::TimedOut, m_report.message, values);
        case Result::PortClosed:
            return result(FlowOutcome::PortClosed, m_report.message, values);
        case Result::DeviceRemoved:
            return result(cancelled() ? FlowOutcome::Cancelled : FlowOutcome::DeviceRemoved, m_report.message,
                          values);
    }
    return result(FlowOutcome::Failed, m_report.message, values);
}

QString FirmwareFlow::refusalText(int status) {
    switch (status) {
        case OTA_STA_IN_OTA_MODE_OVER_TIME:
            return tr("Enter update mode overtime!");
        case OTA_STA_BINFILE_EMPTY:
            return tr("File contains no data!");
        case OTA_STA_BINFILE_SIZE_OVER_LIMIT:
            return tr("File size over 512KB!");
        case OTA_STA_OTA_INFO_OVER_TIME:
            return tr("Sending file info failed!");
        default:
            return tr("Erasing flash failed!");
    }
}

FirmwareFlow::Report FirmwareFlow::update() {
    Report report;
    const QByteArray& image = m_image;
    const QString problem = FirmwareUpdate::sizeProblem(image.size());
    CANWorker* worker = Helper::instance()->worker();
    otaThread* link = worker ? worker->link() : nullptr;
    FirmwareUpdate* firmware = FirmwareUpdate::of(link);
    if (!problem.isEmpty() || !firmware) {
        report.result = Result::Refused;
        report.message = problem.isEmpty() ? tr("Erasing flash failed!") : problem;
        return report;
    }
    auto ended = [&](LinkWait::Result r) {
        if (r == LinkWait::Result::PortClosed) {
            report.result = Result::PortClosed;
            report.message = tr("The adapter was disconnected during the update.");
        } else if (r == LinkWait::Result::Cancelled) {
            link->startStep(STEP_STOP);
            report.result = Result::DeviceRemoved;
            report.message = cancelReason();
        } else {
            link->startStep(STEP_STOP);
            report.result = Result::DeviceRemoved;
            report.message = tr("The motor was removed during the update.");
        }
        return report;
    };

    firmware->setImage(image);
    emit erasing();
    QString refusal;
    if (!LinkCommands::send(LinkCommand::update(canId()), lease(), &refusal)) {
        report.result = Result::Refused;
        report.message = refusal;
        return report;
    }
    LinkWait::Options entering;
    LinkWait::Result r = wait([&] { return link->step() != STEP_IN_OTA; }, entering);
    if (r != LinkWait::Result::Done)
        return ended(r);
    const int step = link->step();
    const bool underway = step == STEP_SEND_INFO || step == STEP_SEND_BIN || step == STEP_SEND_END ||
                          firmware->outcome() == FirmwareUpdate::Outcome::Succeeded;
    if (firmware->outcome() == FirmwareUpdate::Outcome::Failed || !underway) {
        report.result = Result::Failed;
        report.message = refusalText(firmware->finalStatus());
        return report;
    }

    emit sending();
    QElapsedTimer clock;
    clock.start();
    // Update mode was entered; the file information goes out unless the link chained to it.
    if (step == STEP_SEND_INFO && !firmware->infoSent())
        link->startStep(STEP_SEND_INFO);
    LinkWait::Options sending;
    sending.timeoutMs = kx::d(QStringLiteral("config.update_timeout"))->getInt(60000);
    sending.progress = [firmware] { return (unsigned long long)firmware->acknowledged(); };
    quint32 shown = quint32(-1);
    sending.onTick = [&] {
        if (firmware->packetIndex() != shown && firmware->packetCount() > 0) {
            shown = firmware->packetIndex();
            emit packets(shown, firmware->packetCount());
            Flow::report(double(shown) / firmware->packetCount(), QString());
        }
    };
    // An aborted transfer (the port closed) is left to the wait's own port check.
    const auto decided = [firmware] {
        const FirmwareUpdate::Outcome o = firmware->outcome();
        return o == FirmwareUpdate::Outcome::Succeeded || o == FirmwareUpdate::Outcome::Failed;
    };
    r = wait(decided, sending);
    sending.onTick();  // the last position, which the final tick may have missed
    // The motor holds the packets before the index: a resend request moves it back.
    report.imagePackets = firmware->packetCount();
    report.packets = qMin(firmware->packetIndex(), report.imagePackets);
    report.resends = firmware->resends();
    report.seconds = clock.elapsed() / 1000.0;
    if (r == LinkWait::Result::TimedOut) {
        link->startStep(STEP_STOP);
        report.result = Result::TimedOut;
        report.message = tr("Update timeout!");
        return report;
    }
    if (r != LinkWait::Result::Done)
        return ended(r);
    if (firmware->outcome() == FirmwareUpdate::Outcome::Succeeded) {
        report.result = Result::Succeeded;
        report.message = tr("Update successfully!");
        return report;
    }
    report.result = Result::Failed;
    const int status = firmware->finalStatus();
    report.message = status == OTA_STA_OTA_INFO_OVER_TIME ? refusalText(status) : tr("Update failed!");
    return report;
}
