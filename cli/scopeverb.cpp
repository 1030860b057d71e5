#include "cli/scopeverb.h"

#include "cli/cliverbregistry.h"
#include "cli/linksession.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/motionguard.h"
#include "link/otathread.h"
#include "link/scope/scopeacquisition.h"
#include "link/scope/scopechannellist.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>

#include <algorithm>
#include <cmath>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ScopeVerb", text);
}

const CliVerbRegistrar<ScopeVerb> registrar;

constexpr int kConfigTimeoutMs = 5000;
constexpr int kDescribeTimeoutMs = 20000;
constexpr int kStopTimeoutMs = 3000;
constexpr double kMaxSeconds = 24 * 3600;

}  // namespace

QString ScopeVerb::synopsis() const {
    return QStringLiteral(
        "scope record --channels <name|code>,... --rate <hz> --seconds <s> --out <file> [--csv] "
        "--port <device> [--baud <rate>] [--can-id <id>] [--json]");
}

QString ScopeVerb::description() const {
    return tr(
        "Record up to eight scope channels of the target into a waveform file (or CSV with a header of "
        "channel names) and report records received and lost.");
}

int ScopeVerb::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    LinkSession session;
    session.addOptions(&parser);
    const QCommandLineOption channelsOption(
        QStringLiteral("channels"), tr("Channels by parameter name or code (0x3000), comma-separated."),
        tr("list"));
    const QCommandLineOption rateOption(QStringLiteral("rate"), tr("Sample rate in Hz."), tr("hz"));
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), tr("Recording time."), tr("s"));
    const QCommandLineOption outOption(QStringLiteral("out"), tr("Output file."), tr("file"));
    const QCommandLineOption csvOption(QStringLiteral("csv"),
                                       tr("Write CSV instead of the waveform format."));
    parser.addOptions({channelsOption, rateOption, secondsOption, outOption, csvOption});
    parser.addPositionalArgument(QStringLiteral("record"), tr("What to do (record)."));
    if (const int code = session.parseCommandLine(&parser, arguments); code >= 0)
        return code;
    auto usage = [&session](const QString& text) { return session.usageError(text); };
    if (parser.positionalArguments() != QStringList{QStringLiteral("record")})
        return usage(tr("scope expects: record"));
    for (const QString& c : parser.value(channelsOption).split(QLatin1Char(','), Qt::SkipEmptyParts))
        m_channels << c.trimmed();
    if (m_channels.isEmpty() || m_channels.size() > 8)
        return usage(tr("--channels expects one to eight channels."));
    bool ok = false;
    m_rate = parser.value(rateOption).toInt(&ok);
    if (!ok || m_rate < 1 || m_rate > 0xFFFF)
        return usage(tr("--rate expects a whole number of Hz from 1 to 65535."));
    m_seconds = parser.value(secondsOption).toDouble(&ok);
    if (!ok || !(m_seconds > 0) || m_seconds > kMaxSeconds)
        return usage(tr("--seconds expects a time above 0 and at most a day."));
    m_out = parser.value(outOption);
    if (m_out.isEmpty())
        return usage(tr("--out is required."));
    m_csv = parser.isSet(csvOption);

    if (!session.open())
        return session.finish(false);
    ScopeAcquisition* scope = ScopeAcquisition::of(Helper::instance()->worker()->link());
    if (!scope) {
        LinkSession::printErr(tr("This build has no scope."));
        return session.finish(false);
    }
    return record(&session, scope);
}

int ScopeVerb::record(LinkSession* session, ScopeAcquisition* scope) {
    otaThread* link = Helper::instance()->worker()->link();
    const quint8 canId = MotionGuard::canIdOf(session->target());
    // Every request of this verb goes to the target, the table description included.
    link->setTarget(canId);
    QVector<ScopeChannelChoice> list = ScopeChannelList::choices(link, canId);
    const bool byName = std::any_of(m_channels.cbegin(), m_channels.cend(), [](const QString& c) {
        bool number = false;
        c.toUInt(&number, 0);
        return !number;
    });
    if (byName && list.isEmpty()) {
        // Names come from the motor's own description of its parameters.
        LinkSession::printErr(tr("Reading the parameter names of the target..."));
        link->startStep(STEP_ASK_PARA_STR_INFO);
        session->waitStatus(
            {OTA_STA_GET_PARA_INFO_SUCCESS, OTA_STA_GET_PARA_INFO_OVER_TIME, OTA_STA_GET_PARA_INFO_ERROR},
            kDescribeTimeoutMs);
        list = ScopeChannelList::choices(link, canId);
    }
    ScopeAcquisition::Config config;
    config.frequency = m_rate;
    config.baudRate = Helper::instance()->worker()->portBaudRate();
    QStringList names;
    for (const QString& text : m_channels) {
        ScopeChannelChoice choice;
        if (!ScopeChannelList::resolve(text, list, &choice)) {
            LinkSession::printErr(list.isEmpty()
                                      ? tr("Unknown channel %1: without the motor's parameter table "
                                           "channels are given by code (e.g. 0x3000).")
                                            .arg(text)
                                      : tr("Unknown channel %1.").arg(text));
            return session->finish(false);
        }
        config.channels << ScopeAcquisition::Channel{choice.code, choice.type, choice.name};
        names << choice.name;
    }

    scope->setDisplayEnabled(false);
    QString why;
    const auto mode = ScopeWaveFile::Mode::Replace;
    const auto format = m_csv ? ScopeWaveFile::Format::Csv : ScopeWaveFile::Format::Wave;
    // The file is opened first so that a bad path costs no traffic; it replaces --out only
    // once the recording closes it.
    if (!scope->openWaveFile(m_out, &why, mode, format))
        return session->fail(tr("Cannot write %1: %2").arg(m_out, why));
    auto fail = [&](const QString& text) {
        if (!text.isEmpty())
            LinkSession::printErr(text);
        scope->waveFile().discard();
        return session->finish(false);
    };
    if (!scope->configureChannels(config, &why))
        return fail(QString());  // the reason went out as a status line
    const int configured = session->waitStatus(
        {OTA_STA_PARA_UPDATE_SUCCESS_CHSET, OTA_STA_PARA_UPDATE_ERROR, OTA_STA_PARA_UPDATE_OVER_TIME},
        kConfigTimeoutMs);
    if (configured != OTA_STA_PARA_UPDATE_SUCCESS_CHSET) {
        // A refusal or a time-out went out as a status line already.
        return fail(configured < 0 ? tr("The motor did not answer the scope configuration.") : QString());
    }
    const QVector<ScopeAcquisition::Channel> active = scope->activeChannels();
    if (m_csv) {
        QStringList header{QStringLiteral("time")};
        for (const auto& c : active)
            header << c.name;
        scope->waveFile().write((header.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8());
    }
    if (!scope->start(&why))
        return fail(QString());

    LinkSession::printErr(tr("Recording %1 channel(s) at %2 Hz for %3 s into %4")
                              .arg(active.size())
                              .arg(m_rate)
                              .arg(m_seconds)
                              .arg(m_out));
    QElapsedTimer clock;
    clock.start();
    const qint64 totalMs = qint64(std::ceil(m_seconds * 1000));
    bool linkUp = true;
    while (clock.elapsed() < totalMs && linkUp) {
        const int slice = int(qMin<qint64>(1000, totalMs - clock.elapsed()));
        // Nothing to wait for but the time; the wait ends early only when the port closes.
        session->waitUntil([] { return false; }, slice);
        linkUp = Helper::instance()->worker()->isConnected();
        LinkSession::printErr(tr("%1 s: %2 records, %3 lost")
                                  .arg(clock.elapsed() / 1000.0, 0, 'f', 1)
                                  .arg(scope->records())
                                  .arg(scope->lost()));
    }
    int stopped = -1;
    if (linkUp) {
        scope->stop();
        stopped = session->waitStatus({OTA_STA_PARA_UPDATE_SUCCESS_END}, kStopTimeoutMs);
    }
    // A recording cut short must not take the place of a complete one: it goes beside it.
    QString partial;
    const bool written = linkUp ? scope->closeWaveFile() : scope->waveFile().closePartial(&partial);
    const quint64 records = scope->records();
    const quint64 lost = scope->lost();
    const quint64 damaged = scope->damaged();
    session->addResult(QStringLiteral("records"), double(records));
    session->addResult(QStringLiteral("lost"), double(lost));
    session->addResult(QStringLiteral("damaged"), double(damaged));
    session->addResult(QStringLiteral("file"), linkUp ? m_out : partial);
    session->addResult(QStringLiteral("channels"), QJsonArray::fromStringList(names));
    if (!session->json())
        LinkSession::printOut(tr("Records received: %1, lost: %2").arg(records).arg(lost));
    if (damaged > 0)
        LinkSession::printErr(tr("Records with a damaged time stamp: %1").arg(damaged));
    if (!linkUp) {
        LinkSession::printErr(tr("The link closed during the recording."));
        if (written)
            LinkSession::printErr(tr("%1 was left as it was; the %2 records received are in %3.")
                                      .arg(m_out)
                                      .arg(records)
                                      .arg(partial));
    } else if (stopped != OTA_STA_PARA_UPDATE_SUCCESS_END) {
        LinkSession::printErr(tr("The motor did not confirm the stop."));
    }
    if (!written) {
        const QString error =
            tr("Cannot write %1: %2")
                .arg(linkUp ? m_out : ScopeWaveFile::partialPath(m_out), scope->waveFile().errorString());
        LinkSession::printErr(error);
        session->addResult(QStringLiteral("error"), error);
    }
    return session->finish(linkUp && written && records > 0);
}
