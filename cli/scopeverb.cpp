#include "cli/scopeverb.h"

#include "cli/cliverbregistry.h"
#include "cli/linksession.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/flows/scopeflow.h"
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
        "--port <device> [--baud <rate>]|--bus <plugin:interface> [--can-id <id>] [--json]");
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

int ScopeVerb::record(LinkSession* session, ScopeAcquisition*) {
    ScopeFlow::Request request;
    request.channels = m_channels;
    request.rate = m_rate;
    request.seconds = m_seconds;
    request.path = m_out;
    request.csv = m_csv;
    ScopeFlow flow({session->targetId()}, request);
    bool announced = false;
    QObject::connect(&flow, &Flow::progress, [&](const FlowProgress& p) {
        if (!announced && p.fraction == 0) {
            announced = true;
            LinkSession::printErr(p.text + tr(" into %1").arg(m_out));
            return;
        }
        LinkSession::printErr(p.text);
    });
    const FlowResult r = flow.run();
    const QVariantMap& v = r.values;
    const quint64 records = quint64(v.value(QStringLiteral("records")).toDouble());
    const quint64 lost = quint64(v.value(QStringLiteral("lost")).toDouble());
    const quint64 damaged = quint64(v.value(QStringLiteral("damaged")).toDouble());
    if (!v.contains(QStringLiteral("records"))) {
        // Refused or failed before the recording began: the reason says why.
        if (!r.reason.isEmpty())
            LinkSession::printErr(r.reason);
        return session->finish(false);
    }
    session->addResult(QStringLiteral("records"), double(records));
    session->addResult(QStringLiteral("lost"), double(lost));
    session->addResult(QStringLiteral("damaged"), double(damaged));
    session->addResult(QStringLiteral("file"), v.value(QStringLiteral("file")).toString());
    session->addResult(QStringLiteral("channels"),
                       QJsonArray::fromStringList(v.value(QStringLiteral("channels")).toStringList()));
    if (!session->json())
        LinkSession::printOut(tr("Records received: %1, lost: %2").arg(records).arg(lost));
    if (damaged > 0)
        LinkSession::printErr(tr("Records with a damaged time stamp: %1").arg(damaged));
    if (r.outcome == FlowOutcome::PortClosed) {
        LinkSession::printErr(r.reason);
        LinkSession::printErr(tr("%1 was left as it was; the %2 records received are in %3.")
                                  .arg(m_out)
                                  .arg(records)
                                  .arg(v.value(QStringLiteral("file")).toString()));
    } else if (!r.ok()) {
        LinkSession::printErr(r.reason);
        if (v.contains(QStringLiteral("error")))
            session->addResult(QStringLiteral("error"), r.reason);
    } else if (!v.value(QStringLiteral("stopped")).toBool()) {
        LinkSession::printErr(tr("The motor did not confirm the stop."));
    }
    return session->finish(r.ok());
}
