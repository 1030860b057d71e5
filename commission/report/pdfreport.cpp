#include "commission/report/pdfreport.h"

#include "commission/captureplot.h"
#include "commission/capturetable.h"
#include "commission/reporttext.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextFormat>
#include <QTextObjectInterface>

#include <cmath>

namespace {

constexpr int kDpi = 300;
constexpr double kPlotWidth = 720;
constexpr double kPlotHeight = 260;
const QString kPlotScheme = QStringLiteral("plot:");

QString esc(const QString& text) {
    return text.toHtmlEscaped();
}

QString color(Outcome o) {
    switch (o) {
        case Outcome::Pass:
            return QStringLiteral("#2e7d32");
        case Outcome::Marginal:
            return QStringLiteral("#c77700");
        case Outcome::Fail:
            return QStringLiteral("#c62828");
        case Outcome::Error:
            return QStringLiteral("#6a1b9a");
        case Outcome::Skipped:
            return QStringLiteral("#78858f");
    }
    return QStringLiteral("#000000");
}

QString badge(Outcome o, int pointSize = 8) {
    return QStringLiteral(
               "<span style=\"background-color:%1; color:#ffffff; font-weight:bold; font-size:%3pt;\">"
               "&nbsp;%2&nbsp;</span>")
        .arg(color(o), Outcomes::name(o))
        .arg(pointSize);
}

QString row(const QString& label, const QString& value) {
    return QStringLiteral("<tr><td width=\"32%\" style=\"color:#5b6670;\">%1</td><td>%2</td></tr>")
        .arg(esc(label), esc(value));
}

// Draws the captures where the document has an image named "plot:N": vector lines in the
// PDF instead of a picture, from the same geometry as the HTML report's SVG.
class PlotObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    QVector<CapturePlot> plots;
    double width = 0;  // in document units

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat&) override {
        return QSizeF(width, width * kPlotHeight / kPlotWidth);
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        const QString name = format.toImageFormat().name();
        const int index = name.startsWith(kPlotScheme) ? name.mid(kPlotScheme.size()).toInt() : -1;
        if (index < 0 || index >= plots.size())
            return;
        const CapturePlot& plot = plots[index];
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / kPlotWidth, rect.height() / kPlotHeight);
        painter->setRenderHint(QPainter::Antialiasing);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(11);
        painter->setFont(font);
        const QRectF a = plot.area;
        painter->setPen(QPen(QColor(0xe3, 0xe7, 0xeb), 1));
        for (const CapturePlot::Tick& t : plot.yTicks)
            painter->drawLine(QPointF(a.left(), t.at), QPointF(a.right(), t.at));
        for (const CapturePlot::Tick& t : plot.xTicks)
            painter->drawLine(QPointF(t.at, a.top()), QPointF(t.at, a.bottom()));
        painter->setPen(QColor(0x5b, 0x66, 0x70));
        for (const CapturePlot::Tick& t : plot.yTicks)
            painter->drawText(QRectF(0, t.at - 8, a.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                              t.label);
        for (const CapturePlot::Tick& t : plot.xTicks)
            painter->drawText(QRectF(t.at - 40, a.bottom() + 3, 80, 14), Qt::AlignHCenter | Qt::AlignTop,
                              t.label);
        painter->drawText(QRectF(a.left(), a.bottom() + 18, a.width(), 14), Qt::AlignHCenter | Qt::AlignTop,
                          PdfReport::tr("time (s)"));
        painter->setPen(QPen(QColor(0x8a, 0x95, 0x9e), 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(a);
        for (const CapturePlot::Trace& trace : plot.traces) {
            if (trace.points.isEmpty())
                continue;
            QPainterPath path(trace.points.first());
            for (int i = 1; i < trace.points.size(); ++i)
                path.lineTo(trace.points[i]);
            painter->setPen(QPen(QColor(trace.color), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter->drawPath(path);
        }
        painter->restore();
    }
};

QString stepHtml(const StepRecord& step, const MotorRecord& motor, PlotObject* plots) {
    QString h =
        QStringLiteral("<h3>%1. %2 &nbsp;%3</h3>").arg(step.index).arg(esc(step.title), badge(step.outcome));
    if (!step.message.isEmpty())
        h += QStringLiteral("<p>%1</p>").arg(esc(step.message));
    if (!step.measurements.isEmpty()) {
        h +=
            QStringLiteral(
                "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                "style=\"border-color:#ccd3da;\">"
                "<tr style=\"background-color:#f1f4f6;\"><th align=\"left\">%1</th><th align=\"left\">%2</th>"
                "<th align=\"left\">%3</th><th align=\"left\">%4</th></tr>")
                .arg(esc(PdfReport::tr("Measurement")), esc(PdfReport::tr("Value")),
                     esc(PdfReport::tr("Limits")), esc(PdfReport::tr("Outcome")));
        for (const Measurement& m : step.measurements) {
            h += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>")
                     .arg(esc(m.name), esc(ReportText::value(m)), esc(ReportText::limits(m)),
                          badge(m.outcome));
        }
        h += QStringLiteral("</table>");
    }
    for (const Attachment& a : step.attachments) {
        if (a.mimeType != QLatin1String("text/csv"))
            continue;
        QString error;
        const std::optional<CaptureTable> table = CaptureTable::fromCsv(a.data, &error);
        if (!table) {
            h += QStringLiteral("<p>%1</p>")
                     .arg(esc(PdfReport::tr("The recording cannot be drawn: %1").arg(error)));
            continue;
        }
        const int index = plots->plots.size();
        plots->plots.append(CapturePlot::layout(*table, QSizeF(kPlotWidth, kPlotHeight)));
        h += QStringLiteral("<p><img src=\"%1%2\"></p><p style=\"font-size:8pt;\">")
                 .arg(kPlotScheme)
                 .arg(index);
        for (const CapturePlot::Trace& t : plots->plots.last().traces)
            h += QStringLiteral("<span style=\"color:%1;\">&#9632;</span> %2 &nbsp; ")
                     .arg(t.color, esc(t.name));
        h += esc(PdfReport::tr("%n sample(s)", nullptr, table->rows())) + QStringLiteral(" &nbsp; ") +
             esc(ReportText::attachmentFile(motor, a)) + QStringLiteral("</p>");
    }
    if (!step.log.isEmpty()) {
        h += QStringLiteral("<pre style=\"font-size:7pt; background-color:#f6f8fa;\">%1</pre>")
                 .arg(esc(step.log.join(QLatin1Char('\n'))));
    }
    return h;
}

QString documentHtml(const RunRecord& record, const MotorRecord& motor, PlotObject* plots) {
    QString h = QStringLiteral("<html><body>");
    h += QStringLiteral(
             "<table width=\"100%\"><tr><td><h1>%1</h1><p style=\"color:#5b6670;\">%2</p></td>"
             "<td align=\"right\" valign=\"middle\">%3</td></tr></table>")
             .arg(esc(record.planName), esc(ReportText::motorTitle(motor)), badge(motor.outcome, 20));
    if (!record.message.isEmpty())
        h += QStringLiteral("<p style=\"color:#c62828;\"><b>%1</b></p>").arg(esc(record.message));
    h += QStringLiteral("<h2>%1</h2><table width=\"100%\" cellpadding=\"2\">")
             .arg(esc(PdfReport::tr("Motor")));
    h += row(PdfReport::tr("MCU ID"), ReportText::mcuId(motor.mcuId));
    h += row(PdfReport::tr("CAN ID"), QString::number(motor.canId));
    h += row(PdfReport::tr("Model code"), ReportText::model(motor.modelCode));
    h +=
        row(PdfReport::tr("Firmware"), motor.firmware.isEmpty() ? PdfReport::tr("not read") : motor.firmware);
    h += row(PdfReport::tr("Parameter table SHA-256"),
             motor.paramSha256.isEmpty() ? PdfReport::tr("not read") : motor.paramSha256);
    h += row(PdfReport::tr("Started"), ReportText::time(motor.startUtc));
    h += row(PdfReport::tr("Ended"), ReportText::time(motor.endUtc));
    h += QStringLiteral("</table><h2>%1</h2><table width=\"100%\" cellpadding=\"2\">")
             .arg(esc(PdfReport::tr("Run")));
    h += row(PdfReport::tr("Plan"), record.planPath.isEmpty() ? record.planName : record.planPath);
    h += row(PdfReport::tr("Plan SHA-256"), record.planSha256);
    h += row(PdfReport::tr("Station"), record.station);
    h += row(PdfReport::tr("Operator"), record.operatorName);
    h += row(PdfReport::tr("Tool version"), record.toolVersion);
    h += row(PdfReport::tr("Run"), record.uuid);
    h += row(PdfReport::tr("Started"), ReportText::time(record.startUtc));
    h += row(PdfReport::tr("Ended"), ReportText::time(record.endUtc));
    h += row(PdfReport::tr("Run outcome"), Outcomes::name(record.outcome));
    h += QStringLiteral("</table>");

    h += QStringLiteral(
             "<h2>%1</h2><table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
             "style=\"border-color:#ccd3da;\"><tr style=\"background-color:#f1f4f6;\"><th "
             "width=\"5%\">#</th><th align=\"left\">%2</th>"
             "<th align=\"left\">%3</th><th align=\"left\">%4</th><th align=\"left\">%5</th></tr>")
             .arg(esc(PdfReport::tr("Steps")), esc(PdfReport::tr("Step")), esc(PdfReport::tr("Outcome")),
                  esc(PdfReport::tr("Time")), esc(PdfReport::tr("Note")));
    for (const StepRecord& step : motor.steps) {
        h += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td></tr>")
                 .arg(step.index)
                 .arg(esc(step.title), badge(step.outcome), esc(ReportText::duration(step.seconds)),
                      esc(step.message));
    }
    h += QStringLiteral("</table>");
    for (const StepRecord& step : motor.steps)
        h += stepHtml(step, motor, plots);
    h += QStringLiteral("</body></html>");
    return h;
}

}  // namespace

QByteArray PdfReport::render(const RunRecord& record, int motorIndex) {
    const MotorRecord& motor = record.motors.at(motorIndex);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("%1 - %2").arg(record.planName, ReportText::mcuId(motor.mcuId)));
    writer.setCreator(record.toolVersion.isEmpty() ? QStringLiteral("Trivane")
                                                   : QStringLiteral("Trivane %1").arg(record.toolVersion));

    const QRectF paper = writer.pageLayout().paintRectPixels(kDpi);
    QFont font(QStringLiteral("DejaVu Sans"), 9);
    QFont footerFont(QStringLiteral("DejaVu Sans"), 7);
    const double footer = QFontMetricsF(footerFont, &writer).height() * 2.5;
    const QSizeF page(paper.width(), paper.height() - footer);

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setPageSize(page);
    PlotObject plots;
    plots.width = page.width();
    doc.documentLayout()->registerHandler(QTextFormat::ImageObject, &plots);
    doc.setHtml(documentHtml(record, motor, &plots));

    const int pages = doc.pageCount();
    const QString footerText =
        QStringLiteral("%1  -  %2  -  %3")
            .arg(record.planName, ReportText::mcuId(motor.mcuId), ReportText::time(record.startUtc));
    QPainter painter(&writer);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        doc.drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height()));
        painter.restore();
        painter.setFont(footerFont);
        painter.setPen(QColor(0x5b, 0x66, 0x70));
        const QRectF foot(0, paper.height() - footer / 2, page.width(), footer / 2);
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, footerText);
        painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom, tr("page %1 of %2").arg(i + 1).arg(pages));
    }
    painter.end();
    return bytes;
}

#include "pdfreport.moc"
