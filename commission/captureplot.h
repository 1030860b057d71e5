#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

class CaptureTable;

// The picture of one recording in page coordinates: plot area, ticks and one polyline per
// channel. The HTML report draws it as SVG and the PDF with a painter, so both show the same.
// Long recordings are thinned to the lowest and highest value per horizontal pixel, which keeps
// every peak the checks may have judged while the drawing stays small.
class CapturePlot {
public:
    struct Trace {
        QString name;
        QString color;  // "#rrggbb"
        QVector<QPointF> points;
    };
    struct Tick {
        double at = 0;  // position along its axis in page coordinates
        QString label;
    };

    QSizeF size;
    QRectF area;  // where the traces are drawn
    QVector<Trace> traces;
    QVector<Tick> xTicks;
    QVector<Tick> yTicks;
    QString xLabel;

    static CapturePlot layout(const CaptureTable& table, const QSizeF& size);
    // Round tick values (1, 2 or 5 times a power of ten) covering [low, high].
    static QVector<double> niceTicks(double low, double high, int wanted);
};
