#include "cli/commissionverb.h"

#include "cli/cliverbregistry.h"
#include "cli/linksession.h"
#include "commission/commissionrunner.h"
#include "commission/junitreport.h"
#include "commission/linkrunflows.h"
#include "commission/plan/planreader.h"
#include "commission/report/reportfolder.h"
#include "commission/reporttext.h"
#include "framework/core/loginname.h"
#include "framework/core/exitsignals.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/linkwait.h"
#include "records/stationrecords.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QSysInfo>

#include <csignal>
#include <unistd.h>

namespace {

const CliVerbRegistrar<CommissionVerb> registrar;

}  // namespace

QString CommissionVerb::synopsis() const {
    return QStringLiteral(
        "commission <plan.yaml> [--all|--can-id <id>] [--report-dir <dir>] [--junit <file>] [--yes] "
        "[--station <name>] [--operator <name>] --port <device>|--bus <plugin:interface> [--json]");
}

QString CommissionVerb::description() const {
    return tr(
        "Take one motor, or every motor on the bus, through a commissioning plan and write its reports\n"
        "(report.json, JUnit XML, an HTML and a PDF report per motor). Exit 0 when every motor passed,\n"
        "1 when one did not, 2 when the plan or the command line is wrong.");
}

int CommissionVerb::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    LinkSession session;
    session.addOptions(&parser);
    const QCommandLineOption allOption(QStringLiteral("all"), tr("Commission every motor on the bus."));
    const QCommandLineOption reportDirOption(QStringLiteral("report-dir"),
                                             tr("Folder for the run's report folder (default: reports)."),
                                             tr("dir"));
    const QCommandLineOption junitOption(QStringLiteral("junit"),
                                         tr("Also write the JUnit XML to this file."), tr("file"));
    const QCommandLineOption yesOption(QStringLiteral("yes"), tr("Answer every operator prompt with yes."));
    const QCommandLineOption stationOption(QStringLiteral("station"),
                                           tr("Name of this station in the reports (default: host name)."),
                                           tr("name"));
    const QCommandLineOption operatorOption(QStringLiteral("operator"),
                                            tr("Name of the operator in the reports (default: login name)."),
                                            tr("name"));
    const QCommandLineOption recordsOption(
        QStringLiteral("records"),
        tr("Where runs are kept: a records server (postgresql://user@host/database) or file."),
        tr("url|file"));
    parser.addOptions(
        {allOption, reportDirOption, junitOption, yesOption, stationOption, operatorOption, recordsOption});
    parser.addPositionalArgument(QStringLiteral("plan"), tr("The plan file (YAML)."));
    if (!parser.parse(arguments)) {
        LinkSession::printErr(parser.errorText());
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        LinkSession::printOut(parser.helpText());
        return kExitOk;
    }
    m_json = parser.isSet(QStringLiteral("json"));
    m_yes = parser.isSet(yesOption);
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        LinkSession::printErr(tr("commission expects one plan file."));
        return kExitUsage;
    }
    if (parser.isSet(allOption) && parser.isSet(QStringLiteral("can-id"))) {
        LinkSession::printErr(tr("Give either --all or --can-id, not both."));
        return kExitUsage;
    }

    // The plan is judged whole before the port is opened: nothing is sent for a wrong plan.
    QVector<PlanProblem> problems;
    const std::optional<Plan> plan = PlanReader::readFile(positional.first(), &problems);
    if (!plan) {
        for (const PlanProblem& p : problems)
            LinkSession::printErr(p.text());
        if (m_json) {
            QJsonArray list;
            for (const PlanProblem& p : problems) {
                list.append(QJsonObject{{QStringLiteral("file"), p.file},
                                        {QStringLiteral("line"), p.line},
                                        {QStringLiteral("column"), p.column},
                                        {QStringLiteral("message"), p.message}});
            }
            LinkSession::printOut(QString::fromUtf8(
                QJsonDocument(QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("problems"), list}})
                    .toJson(QJsonDocument::Compact)));
        }
        return kExitUsage;
    }
    QString error;
    RecordsSettings records;
    if (!RecordsSettings::resolve(RecordsSettings::configuredUrl(), parser.value(recordsOption), &records,
                                  &error)) {
        LinkSession::printErr(error);
        return kExitUsage;
    }
    StationRecords::instance()->configure(records);
    if (!session.readOptions(parser, &error)) {
        LinkSession::printErr(error);
        return kExitUsage;
    }

    CommissionRunner::Settings settings;
    if (parser.isSet(allOption)) {
        settings.scope = CommissionRunner::Scope::AllMotors;
    } else if (parser.isSet(QStringLiteral("can-id"))) {
        settings.scope = CommissionRunner::Scope::OneCanId;
        settings.canId = parser.value(QStringLiteral("can-id")).toInt(nullptr, 0);
    }
    settings.station =
        parser.isSet(stationOption) ? parser.value(stationOption) : QSysInfo::machineHostName();
    settings.operatorName = parser.isSet(operatorOption) ? parser.value(operatorOption) : kx::loginName();
    settings.toolVersion = QCoreApplication::applicationVersion();
    const QString reportDir =
        parser.isSet(reportDirOption) ? parser.value(reportDirOption) : QStringLiteral("reports");

    // The run detects the motors itself (the whole bus, the run's motors or not: a new CAN ID
    // must not clash), so that an empty bus still gives a report that says so. Its output is
    // the summary; the link's status lines are progress.
    session.skipDetection();
    session.statusToStderr();
    if (!session.open())
        return session.finish(false);
    // An adapter pulled out mid-run is taken back when it returns, so the motors can still be
    // left safe.
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.auto_connect"), true, true);

    LinkRunFlows flows;
    CommissionRunner runner(*plan, &flows, settings);
    runner.setPrompter(
        [this, &runner](const QString& text, QString* why) { return prompt(&runner, text, why); });
    // Ctrl+C and SIGTERM end the run in order: the motors are left safe and the reports written.
    ExitSignals signalWatch;
    QObject::connect(&signalWatch, &ExitSignals::exitRequested, &runner, [&runner](int signal) {
        runner.cancel(signal == SIGTERM ? tr("Stopped by SIGTERM.") : tr("Stopped by Ctrl+C."));
    });
    QObject::connect(&runner, &CommissionRunner::notice,
                     [](const QString& text) { LinkSession::printErr(text); });
    QObject::connect(&runner, &CommissionRunner::stepStarted, [&](int motor, const PlanStep& step) {
        LinkSession::printErr(tr("[motor %1] %2/%3 %4 ...")
                                  .arg(motor + 1)
                                  .arg(step.index)
                                  .arg(plan->steps.size())
                                  .arg(step.title));
    });
    QObject::connect(&runner, &CommissionRunner::stepFinished, [&](int motor, const StepRecord& step) {
        QStringList values;
        for (const Measurement& m : step.measurements)
            values << QStringLiteral("%1=%2").arg(m.name, ReportText::value(m));
        LinkSession::printErr(tr("[motor %1] %2/%3 %4: %5 %6 %7")
                                  .arg(motor + 1)
                                  .arg(step.index)
                                  .arg(plan->steps.size())
                                  .arg(step.title, Outcomes::name(step.outcome),
                                       values.join(QStringLiteral("  ")), step.message));
    });

    const RunRecord record = runner.run();
    session.flush();

    const std::optional<ReportFolder::Written> written = ReportFolder::write(record, reportDir, &error);
    if (!written)
        LinkSession::printErr(tr("The reports could not be written: %1").arg(error));
    bool junitOk = true;
    if (parser.isSet(junitOption)) {
        junitOk = ReportFolder::writeFile(parser.value(junitOption), JUnitReport::render(record), &error);
        if (!junitOk)
            LinkSession::printErr(error);
    }
    // The station keeps every run; a failed write says so, and the report files stay.
    const bool recorded = StationRecords::instance()->record(record, &error);
    if (!recorded) {
        LinkSession::printErr(tr("The run was not kept in the station's records: %1").arg(error));
    } else if (records.server.isServer()) {
        RecordsPusher::Result sent;
        if (!StationRecords::instance()->sendWaiting(&sent, &error) || sent.waiting > 0)
            LinkSession::printErr(tr("%1 runs wait to be sent to the records server: %2")
                                      .arg(QString::number(qMax(sent.waiting, 1)), error));
    }
    printSummary(record, written ? written->folder : QString());
    if (runner.needsChoice())
        return kExitUsage;
    const bool passed = record.outcome == Outcome::Pass || record.outcome == Outcome::Marginal;
    return passed && written && junitOk && recorded ? kExitOk : kExitFailure;
}

bool CommissionVerb::prompt(CommissionRunner* runner, const QString& text, QString* why) const {
    if (m_yes) {
        LinkSession::printErr(tr("%1 [yes: --yes]").arg(text));
        return true;
    }
    if (!::isatty(STDIN_FILENO)) {
        *why = tr("Nobody can answer \"%1\" without a terminal; --yes answers prompts.").arg(text);
        return false;
    }
    LinkSession::printErr(tr("%1 [y/N]").arg(text));
    // Read on the event loop, so Ctrl+C still ends the run while the question waits.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray line;
    bool answered = false;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char c = 0;
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n <= 0 || c == '\n')
            answered = true;
        else if (line.size() < 256)
            line += c;
    });
    LinkWait::Options options;
    options.cancelled = [runner] { return runner->isCancelled(); };
    options.allowInput = true;
    LinkWait::until([&] { return answered; }, options);
    const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

void CommissionVerb::printSummary(const RunRecord& record, const QString& folder) const {
    if (m_json) {
        QJsonArray motors;
        for (const MotorRecord& m : record.motors) {
            motors.append(QJsonObject{{QStringLiteral("mcu_id"), ReportText::mcuId(m.mcuId)},
                                      {QStringLiteral("can_id"), m.canId},
                                      {QStringLiteral("outcome"), Outcomes::name(m.outcome)}});
        }
        QJsonObject out{
            {QStringLiteral("ok"), record.outcome == Outcome::Pass || record.outcome == Outcome::Marginal},
            {QStringLiteral("outcome"), Outcomes::name(record.outcome)},
            {QStringLiteral("plan"), record.planName},
            {QStringLiteral("report_dir"), folder},
            {QStringLiteral("motors"), motors}};
        if (!record.message.isEmpty())
            out.insert(QStringLiteral("message"), record.message);
        LinkSession::printOut(QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Compact)));
        return;
    }
    for (const MotorRecord& m : record.motors)
        LinkSession::printOut(QStringLiteral("%1  CAN %2  %3")
                                  .arg(ReportText::mcuId(m.mcuId))
                                  .arg(m.canId)
                                  .arg(Outcomes::name(m.outcome)));
    if (!record.message.isEmpty())
        LinkSession::printOut(record.message);
    LinkSession::printOut(tr("Result: %1").arg(Outcomes::name(record.outcome)));
    if (!folder.isEmpty())
        LinkSession::printOut(tr("Reports: %1").arg(folder));
}
