#include "commission/htmlreport.h"

#include "commission/captureplot.h"
#include "commission/capturetable.h"
#include "commission/reporttext.h"

namespace {

constexpr double kPlotWidth = 720;
constexpr double kPlotHeight = 260;

const char* const kStyle = R"(
body { font-family: "DejaVu Sans", Arial, sans-serif; color: #1d232a; margin: 24px auto; max-width: 960px; padding: 0 16px; }
h1 { font-size: 22px; margin: 0; }
h2 { font-size: 17px; margin: 28px 0 8px; border-bottom: 1px solid #ccd3da; padding-bottom: 4px; }
h3 { font-size: 15px; margin: 20px 0 6px; }
header { display: flex; align-items: center; justify-content: space-between; gap: 16px; }
.sub { color: #5b6670; font-size: 13px; margin-top: 4px; }
.verdict { font-size: 28px; font-weight: bold; padding: 6px 22px; border-radius: 6px; color: #fff; }
.badge { font-size: 11px; font-weight: bold; padding: 2px 7px; border-radius: 4px; color: #fff; white-space: nowrap; }
.PASS { background: #2e7d32; } .MARGINAL { background: #c77700; } .FAIL { background: #c62828; }
.ERROR { background: #6a1b9a; } .SKIPPED { background: #78858f; }
table { border-collapse: collapse; width: 100%; font-size: 13px; }
th, td { text-align: left; padding: 4px 8px; border-bottom: 1px solid #e3e7eb; vertical-align: top; }
th { background: #f1f4f6; font-weight: 600; }
table.facts th { width: 220px; background: none; color: #5b6670; font-weight: normal; }
td.num { font-variant-numeric: tabular-nums; white-space: nowrap; }
.message { background: #fdecea; border-left: 4px solid #c62828; padding: 8px 12px; font-size: 13px; }
.note { color: #5b6670; font-size: 13px; }
figure { margin: 10px 0; }
figcaption { font-size: 12px; color: #5b6670; }
.legend span { display: inline-block; margin-right: 14px; }
.legend i { display: inline-block; width: 14px; height: 3px; vertical-align: middle; margin-right: 4px; }
svg .axis { stroke: #8a959e; stroke-width: 1; fill: none; }
svg .grid { stroke: #e3e7eb; stroke-width: 1; }
svg .trace { fill: none; stroke-width: 1.4; stroke-linejoin: round; }
svg text { font-size: 11px; fill: #5b6670; font-family: "DejaVu Sans", Arial, sans-serif; }
pre { background: #f6f8fa; padding: 8px; font-size: 12px; white-space: pre-wrap; word-break: break-word; }
details summary { cursor: pointer; font-size: 13px; color: #5b6670; }
.mono { font-family: "DejaVu Sans Mono", monospace; font-size: 12px; }
)";

QString esc(const QString& text) {
    return text.toHtmlEscaped();
}

QString badge(Outcome o) {
    const QString n = Outcomes::name(o);
    return QStringLiteral("<span class=\"badge %1\">%1</span>").arg(n);
}

QString coord(double v) {
    return QString::number(v, 'f', 1);
}

QString row(const QString& label, const QString& value, bool mono = false) {
    return QStringLiteral("<tr><th>%1</th><td%3>%2</td></tr>\n")
        .arg(esc(label), esc(value), mono ? QStringLiteral(" class=\"mono\"") : QString());
}

}  // namespace

QString HtmlReport::captureSvg(const QByteArray& csv, const QString& title) {
    QString error;
    const std::optional<CaptureTable> table = CaptureTable::fromCsv(csv, &error);
    if (!table)
        return QStringLiteral("<p class=\"note\">%1</p>")
            .arg(esc(tr("The recording cannot be drawn: %1").arg(error)));
    const CapturePlot plot = CapturePlot::layout(*table, QSizeF(kPlotWidth, kPlotHeight));
    const QRectF a = plot.area;
    QString svg;
    svg += QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"capture\" width=\"100%\" viewBox=\"0 0 %1 "
               "%2\" "
               "role=\"img\">\n<title>%3</title>\n")
               .arg(kPlotWidth)
               .arg(kPlotHeight)
               .arg(esc(title));
    for (const CapturePlot::Tick& t : plot.yTicks) {
        svg += QStringLiteral("<line class=\"grid\" x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\"/>")
                   .arg(coord(a.left()), coord(t.at), coord(a.right()));
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"end\">%3</text>\n")
                   .arg(coord(a.left() - 6), coord(t.at + 4), esc(t.label));
    }
    for (const CapturePlot::Tick& t : plot.xTicks) {
        svg += QStringLiteral("<line class=\"grid\" x1=\"%1\" y1=\"%2\" x2=\"%1\" y2=\"%3\"/>")
                   .arg(coord(t.at), coord(a.top()), coord(a.bottom()));
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"middle\">%3</text>\n")
                   .arg(coord(t.at), coord(a.bottom() + 15), esc(t.label));
    }
    svg += QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"middle\">%3</text>\n")
               .arg(coord(a.center().x()), coord(a.bottom() + 30), esc(tr("time (s)")));
    svg += QStringLiteral("<rect class=\"axis\" x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>\n")
               .arg(coord(a.left()), coord(a.top()), coord(a.width()), coord(a.height()));
    for (const CapturePlot::Trace& trace : plot.traces) {
        QString d;
        d.reserve(trace.points.size() * 14);
        for (int i = 0; i < trace.points.size(); ++i) {
            d += (i == 0 ? QLatin1Char('M') : QLatin1Char('L')) + coord(trace.points[i].x()) +
                 QLatin1Char(' ') + coord(trace.points[i].y());
        }
        // A channel without samples still gets its (empty) path, so every channel is drawn.
        svg += QStringLiteral("<path class=\"trace\" stroke=\"%1\" d=\"%2\"><title>%3</title></path>\n")
                   .arg(trace.color, d.isEmpty() ? QStringLiteral("M0 0") : d, esc(trace.name));
    }
    svg += QStringLiteral("</svg>\n<figcaption class=\"legend\">");
    for (const CapturePlot::Trace& trace : plot.traces)
        svg += QStringLiteral("<span><i style=\"background:%1\"></i>%2</span>")
                   .arg(trace.color, esc(trace.name));
    svg += tr("%n sample(s)", nullptr, table->rows()).toHtmlEscaped() + QStringLiteral("</figcaption>\n");
    return svg;
}

QByteArray HtmlReport::render(const RunRecord& record, int motorIndex) {
    const MotorRecord& motor = record.motors.at(motorIndex);
    const QString mcu = ReportText::mcuId(motor.mcuId);
    QString h;
    h += QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n");
    h += QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n");
    h += QStringLiteral("<title>%1</title>\n").arg(esc(QStringLiteral("%1 - %2").arg(record.planName, mcu)));
    h += QStringLiteral("<style>%1</style>\n</head>\n<body>\n").arg(QString::fromLatin1(kStyle));

    h += QStringLiteral("<header><div><h1>%1</h1><div class=\"sub\">%2</div></div>")
             .arg(esc(record.planName), esc(ReportText::motorTitle(motor)));
    h += QStringLiteral("<div class=\"verdict %1\">%1</div></header>\n").arg(Outcomes::name(motor.outcome));
    if (!record.message.isEmpty())
        h += QStringLiteral("<p class=\"message\">%1</p>\n").arg(esc(record.message));

    h += QStringLiteral("<h2>%1</h2>\n<table class=\"facts\">\n").arg(esc(tr("Motor")));
    h += row(tr("MCU ID"), mcu, true);
    h += row(tr("CAN ID"), QString::number(motor.canId));
    h += row(tr("Model code"), ReportText::model(motor.modelCode));
    h += row(tr("Firmware"), motor.firmware.isEmpty() ? tr("not read") : motor.firmware);
    h += row(tr("Parameter table SHA-256"), motor.paramSha256.isEmpty() ? tr("not read") : motor.paramSha256,
             true);
    h += row(tr("Started"), ReportText::time(motor.startUtc));
    h += row(tr("Ended"), ReportText::time(motor.endUtc));
    h += QStringLiteral("</table>\n<h2>%1</h2>\n<table class=\"facts\">\n").arg(esc(tr("Run")));
    h += row(tr("Plan"), record.planPath.isEmpty() ? record.planName : record.planPath);
    h += row(tr("Plan SHA-256"), record.planSha256, true);
    h += row(tr("Station"), record.station);
    h += row(tr("Operator"), record.operatorName);
    h += row(tr("Tool version"), record.toolVersion);
    h += row(tr("Run"), record.uuid, true);
    h += row(tr("Started"), ReportText::time(record.startUtc));
    h += row(tr("Ended"), ReportText::time(record.endUtc));
    h += row(tr("Run outcome"), Outcomes::name(record.outcome));
    h += QStringLiteral("</table>\n");

    h += QStringLiteral(
             "<h2>%1</h2>\n<table "
             "class=\"steps\">\n<tr><th>#</th><th>%2</th><th>%3</th><th>%4</th><th>%5</th></tr>\n")
             .arg(esc(tr("Steps")), esc(tr("Step")), esc(tr("Outcome")), esc(tr("Time")), esc(tr("Note")));
    for (const StepRecord& step : motor.steps) {
        h += QStringLiteral(
                 "<tr><td>%1</td><td><a href=\"#step-%1\">%2</a> <span class=\"note\">%3</span></td>"
                 "<td>%4</td><td class=\"num\">%5</td><td>%6</td></tr>\n")
                 .arg(step.index)
                 .arg(esc(step.title), esc(step.kind), badge(step.outcome),
                      esc(ReportText::duration(step.seconds)), esc(step.message));
    }
    h += QStringLiteral("</table>\n");

    for (const StepRecord& step : motor.steps) {
        h += QStringLiteral("<section id=\"step-%1\">\n<h3>%1. %2 %3</h3>\n")
                 .arg(step.index)
                 .arg(esc(step.title), badge(step.outcome));
        if (!step.message.isEmpty())
            h += QStringLiteral("<p>%1</p>\n").arg(esc(step.message));
        if (!step.measurements.isEmpty()) {
            h += QStringLiteral("<table><tr><th>%1</th><th>%2</th><th>%3</th><th>%4</th></tr>\n")
                     .arg(esc(tr("Measurement")), esc(tr("Value")), esc(tr("Limits")), esc(tr("Outcome")));
            for (const Measurement& m : step.measurements) {
                h += QStringLiteral("<tr><td>%1</td><td class=\"num\">%2</td><td>%3</td><td>%4</td></tr>\n")
                         .arg(esc(m.name), esc(ReportText::value(m)), esc(ReportText::limits(m)),
                              badge(m.outcome));
            }
            h += QStringLiteral("</table>\n");
        }
        for (const Attachment& a : step.attachments) {
            if (a.mimeType != QLatin1String("text/csv"))
                continue;
            h += QStringLiteral("<figure>\n%1</figure>\n").arg(captureSvg(a.data, step.title));
            const QString file = ReportText::attachmentFile(motor, a);
            h += QStringLiteral("<p class=\"note\">%1 <a href=\"%2\">%2</a></p>\n")
                     .arg(esc(tr("Recording:")), esc(file));
        }
        if (!step.log.isEmpty()) {
            h += QStringLiteral("<details><summary>%1</summary><pre>%2</pre></details>\n")
                     .arg(esc(tr("Log (%n line(s))", nullptr, step.log.size())),
                          esc(step.log.join(QLatin1Char('\n'))));
        }
        h += QStringLiteral("</section>\n");
    }
    h += QStringLiteral("</body>\n</html>\n");
    return h.toUtf8();
}
