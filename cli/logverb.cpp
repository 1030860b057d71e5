#include "cli/logverb.h"

#include "cli/cliverbregistry.h"
#include "cli/linksession.h"
#include "link/monitor/framedecoder.h"
#include "link/monitor/tracefilereader.h"
#include "link/monitor/tracefilewriter.h"
#include "link/monitor/tracefilter.h"
#include "link/monitor/tracestatistics.h"
#include "link/monitor/tracetext.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("LogVerb", text);
}

const CliVerbRegistrar<LogVerb> registrar;

void printNotes(const TraceFileReader::Report& report) {
    for (const QString& note : report.notes())
        LinkSession::printErr(note);
}

QJsonObject reportJson(const TraceFileReader::Report& report) {
    QJsonObject o;
    o.insert(QStringLiteral("frames"), double(report.frames));
    o.insert(QStringLiteral("ignored"), double(report.ignored()));
    o.insert(QStringLiteral("corrupt"), double(report.corrupt));
    return o;
}

int convert(const QString& in, const QString& out, bool json) {
    if (QFileInfo(in).canonicalFilePath() == QFileInfo(out).canonicalFilePath() && QFileInfo::exists(out)) {
        LinkSession::printErr(
            QCoreApplication::translate("LogVerb", "%1 and %2 are the same file.").arg(in, out));
        return CliVerb::kExitUsage;
    }
    TraceFileWriter writer(out, traceFileFormatFor(out));
    QString error;
    // Opening the output costs nothing yet: the file is replaced only once the input was read.
    if (!writer.open(&error)) {
        LinkSession::printErr(QCoreApplication::translate("LogVerb", "Cannot write %1: %2").arg(out, error));
        return CliVerb::kExitFailure;
    }
    TraceFileReader::Report report;
    if (!TraceFileReader::read(
            in, [&writer](TraceRecord&& r) { writer.add(r); }, &report, &error)) {
        writer.cancel();
        LinkSession::printErr(QCoreApplication::translate("LogVerb", "Cannot read %1: %2").arg(in, error));
        return CliVerb::kExitFailure;
    }
    if (!writer.commit(&error)) {
        LinkSession::printErr(QCoreApplication::translate("LogVerb", "Cannot write %1: %2").arg(out, error));
        return CliVerb::kExitFailure;
    }
    printNotes(report);
    if (json) {
        QJsonObject o = reportJson(report);
        o.insert(QStringLiteral("ok"), true);
        o.insert(QStringLiteral("out"), out);
        LinkSession::printOut(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
    } else {
        LinkSession::printOut(
            QCoreApplication::translate("LogVerb", "%1 frames written to %2.").arg(writer.frames()).arg(out));
    }
    return CliVerb::kExitOk;
}

int show(const QString& path, const TraceFilter& filter, bool json) {
    FrameDecoder decoder;
    TraceStatistics statistics;
    QByteArray out;
    auto flush = [&out] {
        fwrite(out.constData(), 1, size_t(out.size()), stdout);
        out.clear();
    };
    TraceFileReader::Report report;
    QString error;
    const bool read = TraceFileReader::read(
        path,
        [&](TraceRecord&& r) {
            decoder.learn(r);
            statistics.add(r);
            if (!filter.acceptsRecord(r))
                return;
            const DecodedRecord d = decoder.decode(r);
            if (!filter.accepts(r, d))
                return;
            out += json ? TraceText::json(r, d) : TraceText::line(r, d).toUtf8();
            out += '\n';
            if (out.size() > (1 << 16))
                flush();
        },
        &report, &error);
    flush();
    fflush(stdout);
    if (!read) {
        LinkSession::printErr(QCoreApplication::translate("LogVerb", "Cannot read %1: %2").arg(path, error));
        return CliVerb::kExitFailure;
    }
    printNotes(report);
    for (const QString& row : statistics.table())
        LinkSession::printErr(row);
    return CliVerb::kExitOk;
}

}  // namespace

QString LogVerb::synopsis() const {
    return QStringLiteral(
        "log convert <in.log|in.asc> <out.log|out.asc> | log show <file> [--filter <expr>] [--json]");
}

QString LogVerb::description() const {
    return tr(
        "Convert a trace between candump (.log) and ASC (.asc), or print a trace file decoded with "
        "per-CAN-ID "
        "statistics. Lines that are not of the format are reported with their number and skipped.");
}

int LogVerb::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    const QCommandLineOption filterOption(QStringLiteral("filter"),
                                          tr("show: print only the records that match."), tr("expr"));
    const QCommandLineOption jsonOption(QStringLiteral("json"), tr("Machine-readable output."));
    parser.addOptions({filterOption, jsonOption});
    parser.addPositionalArgument(QStringLiteral("convert|show"), tr("What to do."));
    if (!parser.parse(arguments)) {
        LinkSession::printErr(parser.errorText());
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        LinkSession::printOut(parser.helpText());
        return kExitOk;
    }
    const QStringList args = parser.positionalArguments();
    const bool json = parser.isSet(jsonOption);
    if (args.size() == 3 && args[0] == QLatin1String("convert"))
        return convert(args[1], args[2], json);
    if (args.size() == 2 && args[0] == QLatin1String("show")) {
        TraceFilter filter;
        QString error;
        if (!TraceFilter::parse(parser.value(filterOption), &filter, &error)) {
            LinkSession::printErr(error);
            return kExitUsage;
        }
        return show(args[1], filter, json);
    }
    LinkSession::printErr(tr("log expects: convert <in> <out> | show <file>"));
    return kExitUsage;
}
