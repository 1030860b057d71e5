#include "commission/captureplot.h"

#include "commission/capturetable.h"

#include <algorithm>
#include <cmath>

namespace {

// Left margin for the value labels, bottom for the time labels.
constexpr double kLeft = 56;
constexpr double kRight = 12;
constexpr double kTop = 10;
constexpr double kBottom = 34;

const char* const kColors[] = {"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e",
                               "#9467bd", "#8c564b", "#e377c2", "#17becf"};

QString tickLabel(double v, double step) {
    // As many decimals as the step needs, no more.
    const int decimals = std::max(0, int(std::ceil(-std::log10(step) - 1e-9)));
    if (std::abs(v) < step * 1e-9)
        v = 0;
    return QString::number(v, 'f', std::min(decimals, 9));
}

}  // namespace

QVector<double> CapturePlot::niceTicks(double low, double high, int wanted) {
    QVector<double> ticks;
    if (!(high > low) || wanted < 2)
        return ticks;
    const double rough = (high - low) / (wanted - 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (double f : {1.0, 2.0, 5.0, 10.0}) {
        step = f * power;
        if (step >= rough)
            break;
    }
    for (double v = std::ceil(low / step) * step; v <= high + step * 1e-9; v += step)
        ticks << v;
    return ticks;
}

CapturePlot CapturePlot::layout(const CaptureTable& table, const QSizeF& size) {
    CapturePlot plot;
    plot.size = size;
    plot.area = QRectF(kLeft, kTop, std::max(1.0, size.width() - kLeft - kRight),
                       std::max(1.0, size.height() - kTop - kBottom));
    plot.xLabel = QStringLiteral("s");
    const int rows = table.rows();
    double t0 = rows ? table.time.first() : 0;
    double t1 = rows ? table.time.last() : 1;
    if (!(t1 > t0))
        t1 = t0 + 1;
    double y0 = 0, y1 = 0;
    bool any = false;
    for (const QVector<double>& column : table.values) {
        for (double v : column) {
            if (!std::isfinite(v))
                continue;
            y0 = any ? std::min(y0, v) : v;
            y1 = any ? std::max(y1, v) : v;
            any = true;
        }
    }
    if (!(y1 > y0)) {
        const double pad = std::max(1.0, std::abs(y0) * 0.1);
        y0 -= pad;
        y1 += pad;
    } else {
        const double pad = (y1 - y0) * 0.05;
        y0 -= pad;
        y1 += pad;
    }
    const QRectF a = plot.area;
    auto x = [&](double t) { return a.left() + (t - t0) / (t1 - t0) * a.width(); };
    auto y = [&](double v) { return a.bottom() - (v - y0) / (y1 - y0) * a.height(); };

    for (double t : niceTicks(t0, t1, 6))
        plot.xTicks.append({x(t), tickLabel(t, (t1 - t0) / 6)});
    const QVector<double> yTicks = niceTicks(y0, y1, 5);
    const double yStep = yTicks.size() > 1 ? yTicks[1] - yTicks[0] : 1;
    for (double v : yTicks)
        plot.yTicks.append({y(v), tickLabel(v, yStep)});

    for (int c = 0; c < table.channels.size(); ++c) {
        Trace trace;
        trace.name = table.channels[c];
        trace.color = QString::fromLatin1(kColors[c % 8]);
        const QVector<double>& column = table.values[c];
        // Per pixel column keep the first, lowest and highest sample, in time order.
        int bucket = -1;
        int lowAt = -1, highAt = -1;
        auto flush = [&] {
            if (lowAt < 0)
                return;
            const int first = std::min(lowAt, highAt);
            const int second = std::max(lowAt, highAt);
            trace.points.append({x(table.time[first]), y(column[first])});
            if (second != first)
                trace.points.append({x(table.time[second]), y(column[second])});
        };
        for (int r = 0; r < rows; ++r) {
            if (!std::isfinite(column[r]))
                continue;
            const int b = int(std::floor(x(table.time[r])));
            if (b != bucket) {
                flush();
                bucket = b;
                lowAt = highAt = r;
            } else {
                if (column[r] < column[lowAt])
                    lowAt = r;
                if (column[r] > column[highAt])
                    highAt = r;
            }
        }
        flush();
        plot.traces.append(trace);
    }
    return plot;
}
