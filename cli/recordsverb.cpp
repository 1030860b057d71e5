#include "cli/recordsverb.h"

#include "cli/cliverbregistry.h"
#include "commission/htmlreport.h"
#include "commission/junitreport.h"
#include "commission/report/pdfreport.h"
#include "commission/report/reportfolder.h"
#include "records/recordslookup.h"
#include "records/recordspusher.h"
#include "records/recordsstore.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

#include <unistd.h>

namespace {

const CliVerbRegistrar<RecordsVerb> registrar;

const QStringList kActions = {"list", "show", "export", "sync"};

void printOut(const QString& text) {
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void printErr(const QString& text) {
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

QString localTime(const QDateTime& t) {
    return t.isValid() ? t.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                       : QStringLiteral("-");
}

QString utc(const QDateTime& t) {
    return t.isValid() ? t.toUTC().toString(Qt::ISODateWithMs) : QString();
}

QString mcuText(quint64 id) {
    return QStringLiteral("0x") + QString::number(id, 16);
}

// "2024-05-01", "2024-05-01 08:30", "2024-05-01T08:30:00Z": local time unless a zone is given.
QDateTime parseDate(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(' '), QLatin1Char('T'));
    QDateTime when = QDateTime::fromString(t, Qt::ISODate);
    if (!when.isValid()) {
        const QDate day = QDate::fromString(t, Qt::ISODate);
        if (day.isValid())
            when = QDateTime(day, QTime(0, 0));
    }
    return when;
}

QJsonObject summaryJson(const RunSummary& run) {
    QJsonArray motors;
    for (const MotorSummary& m : run.motors) {
        motors.append(QJsonObject{{"mcu_id", QString::number(m.mcuId, 16)},
                                  {"can_id", m.canId},
                                  {"model", m.modelCode},
                                  {"firmware", m.firmware},
                                  {"param_sha256", m.paramSha256},
                                  {"outcome", Outcomes::name(m.outcome)}});
    }
    QJsonObject o{{"uuid", run.uuid},
                  {"plan", run.planName},
                  {"station", run.station},
                  {"operator", run.operatorName},
                  {"start", utc(run.startUtc)},
                  {"end", utc(run.endUtc)},
                  {"outcome", Outcomes::name(run.outcome)},
                  {"waiting", run.waiting},
                  {"motors", motors}};
    if (!run.message.isEmpty())
        o.insert(QStringLiteral("message"), run.message);
    return o;
}

QString limitsText(const Measurement& m) {
    if (m.hasLow && m.hasHigh)
        return QStringLiteral(" [%1, %2]").arg(QString::number(m.low), QString::number(m.high));
    if (m.hasLow)
        return QStringLiteral(" [>= %1]").arg(m.low);
    if (m.hasHigh)
        return QStringLiteral(" [<= %1]").arg(m.high);
    return QString();
}

}  // namespace

QString RecordsVerb::synopsis() const {
    return QStringLiteral(
        "records list [--mcu-id <hex>] [--can-id <id>] [--plan <text>] [--station <name>] "
        "[--outcome <outcome>] [--since <date>] [--until <date>] [--limit <n>] [--local] | show <run> | "
        "export <run> --html|--pdf|--junit [--mcu-id <hex>] [--out <file>] | sync [--records <url|file>] "
        "[--json]");
}

QString RecordsVerb::description() const {
    return tr(
        "The commissioning history: runs of the station's records.db and, with a server configured\n"
        "(config.records.url or --records postgresql://user@host/database), of the whole line.\n"
        "list shows the newest runs first; with --mcu-id or --can-id, --outcome is that motor's outcome.\n"
        "show prints one run (a unique start of its UUID is enough); export writes its JUnit XML, or the\n"
        "HTML or PDF report of one motor (--mcu-id when the run has several); sync sends the waiting runs\n"
        "now and exits 0 only when none is left waiting.");
}

int RecordsVerb::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    const QCommandLineOption recordsOption(
        QStringLiteral("records"),
        tr("The records server (postgresql://user@host/database) or the station's file."), tr("url|file"));
    const QCommandLineOption jsonOption(QStringLiteral("json"), tr("Machine-readable output."));
    const QCommandLineOption mcuOption(QStringLiteral("mcu-id"),
                                       tr("list: runs of this motor (hexadecimal)."), tr("hex"));
    const QCommandLineOption canOption(QStringLiteral("can-id"),
                                       tr("list: runs with a motor at this CAN ID."), tr("id"));
    const QCommandLineOption planOption(QStringLiteral("plan"), tr("list: plans whose name contains this."),
                                        tr("text"));
    const QCommandLineOption stationOption(QStringLiteral("station"), tr("list: runs of this station."),
                                           tr("name"));
    const QCommandLineOption outcomeOption(
        QStringLiteral("outcome"), tr("list: pass, marginal, skipped, fail or error."), tr("outcome"));
    const QCommandLineOption sinceOption(QStringLiteral("since"), tr("list: runs started at or after this."),
                                         tr("date"));
    const QCommandLineOption untilOption(QStringLiteral("until"), tr("list: runs started before this."),
                                         tr("date"));
    const QCommandLineOption limitOption(
        QStringLiteral("limit"), tr("list: at most this many runs (0: all)."), tr("n"), QStringLiteral("50"));
    const QCommandLineOption localOption(QStringLiteral("local"),
                                         tr("list, show, export: this station's file only."));
    const QCommandLineOption htmlOption(QStringLiteral("html"), tr("export: one motor's HTML report."));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"), tr("export: one motor's PDF report."));
    const QCommandLineOption junitOption(QStringLiteral("junit"), tr("export: the run as JUnit XML."));
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       tr("export: write to this file, not to stdout."), tr("file"));
    parser.addOptions({recordsOption, jsonOption, mcuOption, canOption, planOption, stationOption,
                       outcomeOption, sinceOption, untilOption, limitOption, localOption, htmlOption,
                       pdfOption, junitOption, outOption});
    parser.addPositionalArgument(QStringLiteral("action"), kActions.join(QLatin1Char('|')));
    if (!parser.parse(arguments)) {
        printErr(parser.errorText());
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        printOut(parser.helpText());
        return kExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    const QString action = positional.value(0);
    if (!kActions.contains(action)) {
        printErr(tr("records expects one of: %1").arg(kActions.join(QStringLiteral(", "))));
        return kExitUsage;
    }
    const bool needsRun = action == QLatin1String("show") || action == QLatin1String("export");
    if (positional.size() != (needsRun ? 2 : 1)) {
        printErr(tr("Wrong number of arguments for records %1.").arg(action));
        return kExitUsage;
    }
    QString error;
    if (!RecordsSettings::resolve(RecordsSettings::configuredUrl(), parser.value(recordsOption), &m_settings,
                                  &error)) {
        printErr(error);
        return kExitUsage;
    }
    m_json = parser.isSet(jsonOption);
    m_localOnly = parser.isSet(localOption);
    if (action == QLatin1String("list"))
        return list(parser);
    if (action == QLatin1String("show"))
        return show(positional.at(1));
    if (action == QLatin1String("export"))
        return exportRun(positional.at(1), parser);
    return sync();
}

bool RecordsVerb::needsGuiApplication(const QStringList& arguments) const {
    // The PDF's layout needs fonts; everything else runs on a plain core application.
    return arguments.contains(QStringLiteral("--pdf"));
}

int RecordsVerb::list(const QCommandLineParser& parser) {
    RunQuery query;
    if (parser.isSet(QStringLiteral("mcu-id"))) {
        QString text = parser.value(QStringLiteral("mcu-id")).trimmed();
        if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            text = text.mid(2);
        bool ok = false;
        query.mcuId = text.toULongLong(&ok, 16);
        if (!ok) {
            printErr(tr("Not an MCU ID: %1").arg(parser.value(QStringLiteral("mcu-id"))));
            return kExitUsage;
        }
    }
    if (parser.isSet(QStringLiteral("can-id"))) {
        bool ok = false;
        query.canId = parser.value(QStringLiteral("can-id")).toInt(&ok, 0);
        if (!ok || query.canId < 0 || query.canId > 255) {
            printErr(tr("Not a CAN ID: %1").arg(parser.value(QStringLiteral("can-id"))));
            return kExitUsage;
        }
    }
    if (parser.isSet(QStringLiteral("outcome"))) {
        Outcome outcome;
        if (!Outcomes::fromName(parser.value(QStringLiteral("outcome")).toUpper(), &outcome)) {
            printErr(tr("Not an outcome: %1 (pass, marginal, skipped, fail, error)")
                         .arg(parser.value(QStringLiteral("outcome"))));
            return kExitUsage;
        }
        query.outcome = outcome;
    }
    for (const char* name : {"since", "until"}) {
        const QString option = QLatin1String(name);
        if (!parser.isSet(option))
            continue;
        const QDateTime when = parseDate(parser.value(option));
        if (!when.isValid()) {
            printErr(tr("Not a date: %1 (2024-05-01 or 2024-05-01T08:30)").arg(parser.value(option)));
            return kExitUsage;
        }
        (option == QLatin1String("since") ? query.since : query.until) = when;
    }
    query.plan = parser.value(QStringLiteral("plan"));
    query.station = parser.value(QStringLiteral("station"));
    bool ok = false;
    const int limit = parser.value(QStringLiteral("limit")).toInt(&ok);
    if (!ok || limit < 0) {
        printErr(tr("Not a number of runs: %1").arg(parser.value(QStringLiteral("limit"))));
        return kExitUsage;
    }
    // One more than asked tells whether there are more.
    query.limit = limit > 0 ? limit + 1 : 0;

    RecordsLookup lookup(m_settings, m_localOnly);
    QVector<RunSummary> runs;
    QString error;
    const bool found = lookup.find(query, &runs, &error);
    if (!lookup.serverNote().isEmpty())
        printErr(tr("%1\nShowing this station's runs only.").arg(lookup.serverNote()));
    if (!found) {
        printErr(error);
        return kExitFailure;
    }
    const bool more = limit > 0 && runs.size() > limit;
    if (more)
        runs.resize(limit);

    if (m_json) {
        QJsonArray array;
        for (const RunSummary& run : runs)
            array.append(summaryJson(run));
        printOut(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        const bool forwarding = m_settings.server.isServer();
        bool anyWaiting = false;
        for (const RunSummary& run : runs) {
            QStringList motors;
            for (const MotorSummary& m : run.motors)
                motors << QStringLiteral("%1 %2").arg(mcuText(m.mcuId), Outcomes::name(m.outcome));
            const bool waiting = forwarding && run.waiting;
            anyWaiting = anyWaiting || waiting;
            // One multi-argument arg(): a plan called "50%1" must not take the next field's place.
            printOut(QStringLiteral("%1  %2  %3%4  %5  %6  %7")
                         .arg(localTime(run.startUtc), Outcomes::name(run.outcome).leftJustified(8),
                              run.uuid.left(8), waiting ? QStringLiteral("*") : QStringLiteral(" "),
                              run.planName.leftJustified(20), run.station.leftJustified(12),
                              motors.join(QStringLiteral(", "))));
        }
        if (anyWaiting)
            printErr(tr("* kept by this station, waiting to be sent to the server"));
    }
    if (runs.isEmpty())
        printErr(tr("No run matches."));
    if (more)
        printErr(tr("More runs match: --limit raises the number shown (0 shows all)."));
    return kExitOk;
}

int RecordsVerb::findRun(const QString& text, RunRecord* run) {
    RecordsLookup lookup(m_settings, m_localOnly);
    QString error;
    switch (lookup.load(text, run, &error)) {
        case RecordsLookup::Match::Found:
            return -1;
        case RecordsLookup::Match::Ambiguous:
            printErr(error);
            return kExitUsage;
        case RecordsLookup::Match::None:
        case RecordsLookup::Match::Failed:
            break;
    }
    if (!lookup.serverNote().isEmpty() && !error.contains(lookup.serverNote()))
        printErr(lookup.serverNote());
    printErr(error);
    return kExitFailure;
}

int RecordsVerb::show(const QString& text) {
    RunRecord run;
    const int code = findRun(text, &run);
    if (code >= 0)
        return code;
    if (m_json) {
        printOut(QString::fromUtf8(QJsonDocument(run.toJson()).toJson(QJsonDocument::Indented)).trimmed());
        return kExitOk;
    }
    printOut(tr("Run %1  %2").arg(run.uuid, Outcomes::name(run.outcome)));
    printOut(tr("Plan: %1 (%2)").arg(run.planName, run.planPath));
    printOut(tr("Station: %1  Operator: %2  Trivane %3").arg(run.station, run.operatorName, run.toolVersion));
    printOut(tr("Started: %1  Ended: %2").arg(localTime(run.startUtc), localTime(run.endUtc)));
    if (!run.message.isEmpty())
        printOut(tr("Ended early: %1").arg(run.message));
    for (const MotorRecord& motor : run.motors) {
        printOut(tr("Motor %1  CAN ID %2  model %3  firmware %4  parameters %5  %6")
                     .arg(mcuText(motor.mcuId), QString::number(motor.canId),
                          QString::number(motor.modelCode),
                          motor.firmware.isEmpty() ? QStringLiteral("-") : motor.firmware,
                          motor.paramSha256.isEmpty() ? QStringLiteral("-") : motor.paramSha256.left(12),
                          Outcomes::name(motor.outcome)));
        for (const StepRecord& step : motor.steps) {
            printOut(QStringLiteral("  %1. %2 [%3]  %4  %5 s%6")
                         .arg(QString::number(step.index), step.title, step.kind,
                              Outcomes::name(step.outcome), QString::number(step.seconds, 'f', 2),
                              step.message.isEmpty() ? QString() : QStringLiteral("  ") + step.message));
            for (const Measurement& m : step.measurements) {
                QString value;
                if (m.numeric) {
                    value = QString::number(m.value);
                    if (!m.unit.isEmpty())
                        value += QLatin1Char(' ') + m.unit;
                    value += limitsText(m);
                } else {
                    value = m.text;
                    if (!m.expected.isEmpty())
                        value += tr(" (expected %1)").arg(m.expected);
                }
                printOut(QStringLiteral("       %1 = %2  %3").arg(m.name, value, Outcomes::name(m.outcome)));
            }
            for (const Attachment& a : step.attachments)
                printOut(tr("       attachment %1 (%2, %3 bytes)")
                             .arg(a.name, a.mimeType, QString::number(a.data.size())));
        }
    }
    return kExitOk;
}

int RecordsVerb::exportRun(const QString& text, const QCommandLineParser& parser) {
    const bool html = parser.isSet(QStringLiteral("html"));
    const bool pdf = parser.isSet(QStringLiteral("pdf"));
    const bool junit = parser.isSet(QStringLiteral("junit"));
    if (int(html) + int(pdf) + int(junit) != 1) {
        printErr(tr("records export needs one of --html, --pdf and --junit."));
        return kExitUsage;
    }
    const QString out = parser.value(QStringLiteral("out"));
    if (pdf && out.isEmpty() && ::isatty(STDOUT_FILENO)) {
        printErr(tr("A PDF is not for the terminal: give --out <file>."));
        return kExitUsage;
    }
    RunRecord run;
    const int code = findRun(text, &run);
    if (code >= 0)
        return code;
    QByteArray data;
    if (junit) {
        data = JUnitReport::render(run);
    } else {
        int motor = run.motors.size() == 1 ? 0 : -1;
        if (parser.isSet(QStringLiteral("mcu-id"))) {
            QString id = parser.value(QStringLiteral("mcu-id")).trimmed().toLower();
            if (id.startsWith(QLatin1String("0x")))
                id = id.mid(2);
            motor = -1;
            for (int i = 0; i < run.motors.size(); ++i) {
                if (QString::number(run.motors[i].mcuId, 16) == id)
                    motor = i;
            }
        }
        if (motor < 0) {
            QStringList ids;
            for (const MotorRecord& m : run.motors)
                ids << mcuText(m.mcuId);
            printErr(run.motors.isEmpty()
                         ? tr("Run %1 has no motor to report on; --junit reports the run.").arg(run.uuid)
                         : tr("Name one of the run's motors with --mcu-id: %1.")
                               .arg(ids.join(QStringLiteral(", "))));
            return kExitUsage;
        }
        data = html ? HtmlReport::render(run, motor) : PdfReport::render(run, motor);
    }
    if (data.isEmpty()) {
        printErr(tr("The report of run %1 could not be made.").arg(run.uuid));
        return kExitFailure;
    }
    if (out.isEmpty()) {
        if (std::fwrite(data.constData(), 1, size_t(data.size()), stdout) != size_t(data.size()) ||
            std::fflush(stdout) != 0) {
            printErr(tr("Could not write the report to stdout."));
            return kExitFailure;
        }
        return kExitOk;
    }
    QString error;
    if (!ReportFolder::writeFile(out, data, &error)) {
        printErr(error);
        return kExitFailure;
    }
    printErr(tr("Written: %1").arg(out));
    return kExitOk;
}

int RecordsVerb::sync() {
    if (!m_settings.server.isServer()) {
        printErr(
            tr("No records server is configured: set config.records.url or give --records "
               "postgresql://user@host/database."));
        return kExitUsage;
    }
    QString error;
    if (!QFileInfo::exists(m_settings.local.path)) {
        printErr(tr("No records at %1 yet: nothing to send.").arg(m_settings.local.path));
        if (m_json)
            printOut(QStringLiteral("{\"sent\": 0, \"waiting\": 0}"));
        return kExitOk;
    }
    RecordsStore::Options options;
    options.queueForSending = true;
    options.durable = false;  // it only takes runs out of the outbox
    const auto local = std::make_unique<RecordsStore>(m_settings.local, options);
    if (!local->open(&error)) {
        printErr(error);
        return kExitFailure;
    }
    RecordsPusher::Result result;
    RecordsStore server(m_settings.server);
    bool reached = server.open(&error);
    if (reached) {
        RecordsPusher::Options options;
        options.progress = [](int done, int total) {
            if (done % 50 == 0 || done == total)
                printErr(tr("Sending runs: %1/%2").arg(QString::number(done), QString::number(total)));
        };
        result = RecordsPusher::push(local.get(), &server, options);
        reached = !result.serverLost;
        error = result.error;
    } else {
        QString ignored;
        result.waiting = local->waitingCount(&ignored);
    }
    if (m_json) {
        QJsonObject o{{"server", m_settings.server.display()},
                      {"reached", reached},
                      {"sent", result.sent},
                      {"already_there", result.alreadyThere},
                      {"refused", result.refused},
                      {"waiting", result.waiting}};
        if (!error.isEmpty())
            o.insert(QStringLiteral("error"), error);
        printOut(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        printOut(tr("Sent %1 runs to %2; %3 waiting to be sent.")
                     .arg(QString::number(result.sent), m_settings.server.display(),
                          QString::number(qMax(0, result.waiting))));
        if (result.alreadyThere > 0)
            printOut(tr("%1 runs were on the server already.").arg(result.alreadyThere));
        if (result.refused > 0)
            printOut(tr("%1 runs could not be sent; they wait for the next try.").arg(result.refused));
    }
    if (!error.isEmpty())
        printErr(error);
    return reached && result.waiting == 0 ? kExitOk : kExitFailure;
}
