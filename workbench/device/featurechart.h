#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>
#include <QWidget>

// A motor's characteristic curve (torque over speed, load over time) drawn from numbers, so
// that its titles follow the interface language and every text keeps room at any width.
class FeatureChart : public QWidget {
    Q_OBJECT

public:
    struct Axis {
        QString title;
        double max = 1;
        double step = 1;
    };
    struct Series {
        QString name;
        QColor colour;
        QVector<QPointF> points;  // in axis units, ascending x
        bool filled = false;      // shade the area below the curve
    };
    struct Content {
        QString title;
        Axis x;
        Axis y;
        QVector<Series> series;
        double aspect = 0.55;  // height over width
    };

    // The curves of a model code; codes without their own curves get the standard motor's.
    static Content torqueSpeed(int modelCode);
    static Content maxLoad(int modelCode);

    // Where the parts go in a widget of a given size.
    struct Layout {
        QRectF plot;
        QRectF title;
        QRectF xTitle;
        QRectF yTitle;  // the text runs upwards along the plot's left side
        QRectF legend;
        // Where the three titles' letters land (the upright one already turned).
        QRectF titleText;
        QRectF xTitleText;
        QRectF yTitleText;
    };

    explicit FeatureChart(const Content& content, QWidget* parent = nullptr);

    const Content& content() const { return m_content; }
    Layout layoutFor(const QSize& size) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString tickText(double value) const;

    Content m_content;
};
