#include "workbench/device/featurechart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QVariant>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMargin = 8;
constexpr int kMaxWidth = 600;
constexpr int kMinWidth = 320;

const QColor kBackground(0x1e, 0x1f, 0x22);
const QColor kGrid(0x3a, 0x3d, 0x42);
const QColor kFrame(0x8a, 0x8d, 0x92);
const QColor kTickText(0xb8, 0xb8, 0xb8);
const QColor kAxisText(0xd0, 0xd0, 0xd0);
const QColor kTitleText(0xe6, 0xe6, 0xe6);

QFont scaled(const QFont& base, double factor) {
    QFont font = base;
    if (base.pointSizeF() > 0)
        font.setPointSizeF(base.pointSizeF() * factor);
    else
        font.setPixelSize(qRound(base.pixelSize() * factor));
    return font;
}

QFont titleFont(const QFont& base) {
    return scaled(base, 1.5);
}
QFont axisFont(const QFont& base) {
    return scaled(base, 1.2);
}
QFont tickFont(const QFont& base) {
    return scaled(base, 1.1);
}

// A load that falls from its peak towards what the motor holds without end.
QVector<QPointF> decay(double peak, double lasting, double tau, double seconds) {
    QVector<QPointF> points;
    for (double t = 0; t <= seconds + 1e-9; t += 0.5)
        points.append({t, lasting + (peak - lasting) * std::exp(-t / tau)});
    return points;
}

int ticks(const FeatureChart::Axis& axis) {
    return axis.step > 0 ? int(std::floor(axis.max / axis.step + 1e-9)) : 0;
}

}  // namespace

FeatureChart::Content FeatureChart::torqueSpeed(int modelCode) {
    Content s;
    s.title = tr("Torque - speed");
    s.x = {tr("Speed (rpm)"), 320, 40};
    s.y = {tr("Torque (N·m)"), 14, 2};
    s.aspect = 329.0 / 600.0;
    Series peak{tr("Peak torque"), QColor(0x5a, 0x9b, 0xd5), {}, false};
    Series rated{tr("Rated torque"), QColor(0xe0, 0xb0, 0x4a), {}, false};
    switch (modelCode) {
        case 0:
            s.x.max = 280;
            s.y = {s.y.title, 20, 4};
            peak.colour = QColor(0xe0, 0x7b, 0x2a);
            peak.points = {{0, 17},      {90, 17},    {107, 16.58}, {124, 15.71}, {141, 14.52}, {158, 13.07},
                           {175, 11.39}, {192, 9.49}, {209, 7.39},  {226, 5.11},  {243, 2.64},  {260, 0}};
            rated.points = {{0, 6},        {117, 6},      {131.3, 5.97}, {145.6, 5.83},
                            {159.9, 5.58}, {174.2, 5.2},  {188.5, 4.7},  {202.8, 4.05},
                            {217.1, 3.26}, {231.4, 2.33}, {245.7, 1.24}, {260, 0}};
            break;
        case 1:
            s.x.max = 200;
            s.y = {s.y.title, 32, 4};
            peak.colour = QColor(0x3f, 0xb3, 0x7f);
            peak.points = {{0, 28},        {63.6, 28},     {75.5, 27.3},   {87.3, 25.87},
                           {99.1, 23.92},  {110.9, 21.53}, {122.7, 18.76}, {134.5, 15.63},
                           {146.4, 12.18}, {158.2, 8.41},  {170, 4.34},    {181.8, 0}};
            rated.points = {{0, 9},        {82.7, 9},    {92.6, 8.94},  {102.5, 8.73},
                            {112.5, 8.36}, {122.4, 7.8}, {132.3, 7.05}, {142.2, 6.07},
                            {152.1, 4.89}, {162, 3.49},  {171.9, 1.87}, {181.8, 0}};
            break;
        default:
            peak.points = {{0, 12},     {110, 12},  {129, 11.7}, {148, 11.09}, {167, 10.25}, {186, 9.23},
                           {205, 8.04}, {224, 6.7}, {243, 5.22}, {262, 3.61},  {281, 1.86},  {300, 0}};
            rated.points = {{0, 4},        {143, 4},      {158.7, 3.98}, {174.4, 3.88},
                            {190.1, 3.72}, {205.8, 3.47}, {221.5, 3.13}, {237.2, 2.7},
                            {252.9, 2.18}, {268.6, 1.55}, {284.3, 0.83}, {300, 0}};
            break;
    }
    s.series = {peak, rated};
    return s;
}

FeatureChart::Content FeatureChart::maxLoad(int modelCode) {
    Content s;
    s.title = tr("Maximum load over time");
    s.x = {tr("Time (s)"), 60, 10};
    s.y = {tr("Load (kg at 0.1 m)"), 14, 2};
    s.aspect = 499.0 / 600.0;
    Series load{tr("Max load"), QColor(0x5a, 0x9b, 0xd5), {}, true};
    switch (modelCode) {
        case 0:
            s.y = {s.y.title, 20, 4};
            load.colour = QColor(0xe0, 0x7b, 0x2a);
            load.points = decay(17, 6, 8.2, s.x.max);
            break;
        case 1:
            s.y = {s.y.title, 32, 4};
            load.colour = QColor(0x3f, 0xb3, 0x7f);
            load.points = decay(28, 9.8, 7, s.x.max);
            break;
        default:
            load.points = decay(12, 4.2, 9, s.x.max);
            break;
    }
    s.series = {load};
    return s;
}

FeatureChart::FeatureChart(const Content& content, QWidget* parent) : QWidget(parent), m_content(content) {
    // The texts are painted: say which, for whoever reads the screen (accessibility, checks).
    QStringList texts = {content.title, content.x.title, content.y.title};
    for (const Series& series : content.series)
        texts << series.name;
    setProperty("shownTexts", QVariant(texts));
    setAccessibleName(content.title);
    setMaximumWidth(kMaxWidth);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QString FeatureChart::tickText(double value) const {
    return QString::number(value, 'g', 6);
}

FeatureChart::Layout FeatureChart::layoutFor(const QSize& size) const {
    const QFontMetricsF title(titleFont(font()));
    const QFontMetricsF axis(axisFont(font()));
    const QFontMetricsF tick(tickFont(font()));
    double yTickWidth = 0;
    for (int i = 0; i <= ticks(m_content.y); ++i)
        yTickWidth = qMax(yTickWidth, tick.horizontalAdvance(tickText(i * m_content.y.step)));
    const double lastX = tick.horizontalAdvance(tickText(ticks(m_content.x) * m_content.x.step));

    const double w = size.width();
    const double h = size.height();
    const double top = kMargin + title.height() + kMargin;
    const double left = kMargin + axis.height() + kMargin + yTickWidth + kMargin / 2;
    const double bottom = kMargin + axis.height() + kMargin / 2 + tick.height() + kMargin / 2;
    const double right = kMargin + lastX / 2;

    Layout l;
    l.plot = QRectF(left, top, qMax(1.0, w - left - right), qMax(1.0, h - top - bottom));
    l.title = QRectF(kMargin, kMargin, qMax(1.0, w - 2 * kMargin), title.height());
    l.xTitle = QRectF(l.plot.left(), h - kMargin - axis.height(), l.plot.width(), axis.height());
    l.yTitle = QRectF(kMargin, l.plot.top(), axis.height(), l.plot.height());
    auto centred = [](const QRectF& slot, double width, double height) {
        return QRectF(slot.center().x() - width / 2, slot.center().y() - height / 2, width, height);
    };
    l.titleText = centred(l.title, title.horizontalAdvance(m_content.title), title.height());
    l.xTitleText = centred(l.xTitle, axis.horizontalAdvance(m_content.x.title), axis.height());
    l.yTitleText = centred(l.yTitle, axis.height(), axis.horizontalAdvance(m_content.y.title));

    double nameWidth = 0;
    for (const Series& series : m_content.series)
        nameWidth = qMax(nameWidth, tick.horizontalAdvance(series.name));
    const double legendWidth = 24 + 6 + nameWidth + 2 * kMargin;
    const double legendHeight = m_content.series.size() * (tick.height() + 4) + kMargin;
    l.legend =
        QRectF(l.plot.right() - legendWidth - kMargin, l.plot.top() + kMargin, legendWidth, legendHeight);
    return l;
}

int FeatureChart::heightForWidth(int width) const {
    // Tall enough for the upright axis title along the plot, whatever the language makes of it.
    const QFontMetricsF axis(axisFont(font()));
    const QFontMetricsF tick(tickFont(font()));
    const Layout l = layoutFor(QSize(width, 1000));
    const double chrome = 1000 - l.plot.height();
    const double plotNeeded = axis.horizontalAdvance(m_content.y.title) + 2 * kMargin;
    const double legendNeeded = l.legend.height() + 4 * tick.height();
    return qCeil(qMax(width * m_content.aspect, chrome + qMax(plotNeeded, legendNeeded)));
}

QSize FeatureChart::sizeHint() const {
    return QSize(kMaxWidth, heightForWidth(kMaxWidth));
}

QSize FeatureChart::minimumSizeHint() const {
    const QFontMetricsF title(titleFont(font()));
    const QFontMetricsF axis(axisFont(font()));
    const Layout l = layoutFor(QSize(1000, 1000));
    const double chrome = 1000 - l.plot.width();
    const double width = std::max({double(kMinWidth), title.horizontalAdvance(m_content.title) + 2 * kMargin,
                                   chrome + axis.horizontalAdvance(m_content.x.title) + 2 * kMargin,
                                   chrome + l.legend.width() + 2 * kMargin});
    return QSize(qCeil(width), heightForWidth(qCeil(width)));
}

void FeatureChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), kBackground);
    const Layout l = layoutFor(size());
    const QRectF& plot = l.plot;
    auto toPlot = [&](const QPointF& v) {
        return QPointF(plot.left() + v.x() / m_content.x.max * plot.width(),
                       plot.bottom() - v.y() / m_content.y.max * plot.height());
    };

    p.setFont(titleFont(font()));
    p.setPen(kTitleText);
    p.drawText(l.title, Qt::AlignCenter, m_content.title);

    const QFont tick = tickFont(font());
    const QFontMetricsF tickMetrics(tick);
    p.setFont(tick);
    for (int i = 0; i <= ticks(m_content.x); ++i) {
        const double x = toPlot({i * m_content.x.step, 0}).x();
        p.setPen(kGrid);
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.setPen(kTickText);
        const QString text = tickText(i * m_content.x.step);
        const double width = tickMetrics.horizontalAdvance(text);
        p.drawText(QRectF(x - width / 2, plot.bottom() + kMargin / 2, width, tickMetrics.height()),
                   Qt::AlignCenter, text);
    }
    for (int i = 0; i <= ticks(m_content.y); ++i) {
        const double y = toPlot({0, i * m_content.y.step}).y();
        p.setPen(kGrid);
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(kTickText);
        p.drawText(QRectF(0, y - tickMetrics.height() / 2, plot.left() - kMargin / 2, tickMetrics.height()),
                   Qt::AlignRight | Qt::AlignVCenter, tickText(i * m_content.y.step));
    }

    for (const Series& series : m_content.series) {
        if (series.points.isEmpty())
            continue;
        QPainterPath curve(toPlot(series.points.first()));
        for (int i = 1; i < series.points.size(); ++i)
            curve.lineTo(toPlot(series.points[i]));
        if (series.filled) {
            QPainterPath area = curve;
            area.lineTo(toPlot({series.points.last().x(), 0}));
            area.lineTo(toPlot({series.points.first().x(), 0}));
            area.closeSubpath();
            QColor shade = series.colour;
            shade.setAlpha(40);
            p.fillPath(area, shade);
        }
        p.setPen(QPen(series.colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(curve);
    }
    p.setPen(QPen(kFrame, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);

    double y = l.legend.top() + kMargin / 2;
    for (const Series& series : m_content.series) {
        const double middle = y + tickMetrics.height() / 2;
        p.setPen(QPen(series.colour, 2.5));
        p.drawLine(QPointF(l.legend.left() + kMargin, middle),
                   QPointF(l.legend.left() + kMargin + 24, middle));
        p.setPen(kTickText);
        p.drawText(
            QRectF(l.legend.left() + kMargin + 30, y, l.legend.width() - kMargin - 30, tickMetrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter, series.name);
        y += tickMetrics.height() + 4;
    }

    p.setFont(axisFont(font()));
    p.setPen(kAxisText);
    p.drawText(l.xTitle, Qt::AlignCenter, m_content.x.title);
    // The upright title: turn the painter so that the text runs from bottom to top.
    p.save();
    p.translate(l.yTitle.left(), l.yTitle.bottom());
    p.rotate(-90);
    p.drawText(QRectF(0, 0, l.yTitle.height(), l.yTitle.width()), Qt::AlignCenter, m_content.y.title);
    p.restore();
}
