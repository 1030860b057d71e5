#include "scope/wavedisplay.h"

#include "framework/data/atomicfile.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "scope/scopeunits.h"

#include <cmath>

waveDisplay::waveDisplay(QWidget* parent) : QCustomPlot(parent) {
    setObjectName(QStringLiteral("plot"));
    QFont axisFont = font();
    axisFont.setPixelSize(20);
    for (QCPAxis* axis : {xAxis, yAxis}) {
        axis->setBasePen(QPen(Qt::white));
        axis->setTickPen(QPen(Qt::white));
        axis->setSubTickPen(QPen(Qt::white));
        axis->setTickLabelColor(Qt::white);
        axis->setLabelColor(Qt::white);
        axis->setTickLabelFont(axisFont);
        axis->setLabelFont(axisFont);
    }
    setBackground(QColor(50, 50, 50));
    legend->setBrush(QColor(0, 0, 100, 50));
    legend->setTextColor(Qt::white);
    legend->setBorderPen(QPen(QColor(255, 255, 255, 80)));
    for (int i = 0; i < kGraphs; ++i) {
        QCPGraph* g = addGraph();
        g->setPen(QPen(graphColor(i), 1));
        g->setName(tr("Channel %1").arg(i + 1));
        // Thin lines over many points: antialiasing would only cost time.
        g->setAntialiased(false);
    }
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setNoAntialiasingOnDrag(true);
    xAxis->setLabel(tr("Time (s)"));
    yAxis->setLabel(ScopeUnits::axisTitle({}));
    m_cursor = new QCPItemStraightLine(this);
    m_cursor->setObjectName(QStringLiteral("cursorLine"));
    m_cursor->setPen(QPen(QColor(255, 255, 255, 160), 1, Qt::DashLine));
    m_cursor->setVisible(false);
    setMouseTracking(true);

    const int rate = kx::d(QStringLiteral("config.oscilloscope_frame_rate"))->getInt(24);
    m_replotTimer.setInterval(1000 / qBound(1, rate, 1000));
    connect(&m_replotTimer, &QTimer::timeout, this, &waveDisplay::onReplotTick);
    clearGraphs();
}

QColor waveDisplay::graphColor(int index) {
    static const QColor colors[kGraphs] = {
        QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(0, 0, 255),   QColor(255, 215, 0),
        QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 140, 0), QColor(128, 0, 128),
    };
    return colors[qBound(0, index, kGraphs - 1)];
}

void waveDisplay::clearGraphs() {
    for (int i = 0; i < graphCount(); ++i) {
        graph(i)->data()->clear();
        graph(i)->setVisible(false);
        graph(i)->removeFromLegend();
    }
    m_active.clear();
    m_names.clear();
    m_units.clear();
    m_history.reset(1, 0);
    m_recording.reset(0);
    m_cursor->setVisible(false);
    yAxis->setLabel(ScopeUnits::axisTitle({}));
    xAxis->setRange(0, 10);
    yAxis->setRange(0, 1);
    updateValuePrecision();
    replot();
}

void waveDisplay::setUnits(const QStringList& units) {
    m_units = units;
    for (int k = 0; k < m_active.size(); ++k) {
        const QString unit = units.value(k);
        graph(m_active[k])
            ->setName(unit.isEmpty() ? m_names[k] : QStringLiteral("%1 (%2)").arg(m_names[k], unit));
    }
    yAxis->setLabel(ScopeUnits::axisTitle(units));
    requestReplot();
}

void waveDisplay::setActiveGraphs(const QVector<int>& active, const QStringList& names, int capacity,
                                  const QVector<QColor>& colors) {
    m_active.clear();
    m_names.clear();
    for (int k = 0; k < active.size(); ++k) {
        const int i = active[k];
        if (i < 0 || i >= kGraphs || m_active.contains(i))
            continue;
        m_active << i;
        m_names << names.value(k, tr("Channel %1").arg(i + 1));
    }
    for (int i = 0; i < kGraphs; ++i) {
        QCPGraph* g = graph(i);
        const int k = m_active.indexOf(i);
        g->data()->clear();
        g->setVisible(k >= 0);
        if (k < 0) {
            g->removeFromLegend();
            continue;
        }
        g->setName(m_names[k]);
        const QColor color = colors.value(k);
        g->setPen(QPen(color.isValid() ? color : graphColor(i), 1));
        g->addToLegend();
    }
    m_history.reset(capacity, m_active.size());
    m_recording.reset(m_active.size());
    m_generation = 0;
    requestReplot();
}

void waveDisplay::showData(const std::deque<ScopeBatchPtr>& batches) {
    bool added = false;
    for (const ScopeBatchPtr& batch : batches) {
        if (batch->generation != m_generation) {
            // Records of a new configuration: the old curves end here.
            if (m_generation != 0) {
                m_history.reset(m_history.capacity(), m_active.size());
                m_recording.reset(m_active.size());
                for (int i : m_active)
                    graph(i)->data()->clear();
            }
            m_generation = batch->generation;
        }
        const int channels = qMin(batch->channels, m_active.size());
        if (channels == 0)
            continue;
        double values[ScopeHistory::kChannels] = {};
        for (int r = 0; r < batch->records(); ++r) {
            const double t = batch->times[r];
            for (int k = 0; k < channels; ++k)
                values[k] = batch->values[r * batch->channels + k];
            m_history.append(t, values);
            m_recording.append(t, values);
            if (!m_paused) {
                for (int k = 0; k < channels; ++k)
                    graph(m_active[k])->data()->add(QCPGraphData(t, values[k]));
            }
            added = true;
        }
    }
    if (!added || m_paused)
        return;
    // The curves keep what the history keeps: the points before its oldest record go.
    const double oldest = m_history.time(0);
    for (int i : m_active)
        graph(i)->data()->removeBefore(oldest);
    fitAxes();
    requestReplot();
}

void waveDisplay::rebuildCurves() {
    for (int k = 0; k < m_active.size(); ++k) {
        QVector<QCPGraphData> points(m_history.size());
        for (int r = 0; r < m_history.size(); ++r)
            points[r] = QCPGraphData(m_history.time(r), m_history.value(k, r));
        graph(m_active[k])->data()->set(points, true);
    }
}

void waveDisplay::fitAxes() {
    if (!m_follow || m_history.size() == 0)
        return;
    rescaleAxes(true);
    // A margin keeps the extremes off the frame; a flat curve still gets a readable span.
    const QCPRange y = yAxis->range();
    const double span = minimumSpan(y.center());
    if (y.size() * 1.1 < span)
        yAxis->setRange(y.center() - span / 2, y.center() + span / 2);
    else
        yAxis->scaleRange(1.1, y.center());
    updateValuePrecision();
}

double waveDisplay::minimumSpan(double center) {
    // One part in a thousand of the value, and never below a hundredth: the float noise of a
    // still motor (a millionth of its value) stays a flat line.
    return qMax(0.01, std::fabs(center) * 1e-3);
}

void waveDisplay::updateValuePrecision() {
    const QCPRange y = yAxis->range();
    // The ticker puts about five ticks on the axis: their step decides the decimals needed.
    const double step = y.size() / 5;
    const int decimals = step > 0 ? qBound(0, int(std::ceil(-std::log10(step))) + 1, 9) : 2;
    yAxis->setNumberFormat(QStringLiteral("f"));
    yAxis->setNumberPrecision(decimals);
}

void waveDisplay::requestReplot() {
    m_replotsLeft = 3;
    if (!m_replotTimer.isActive())
        m_replotTimer.start();
}

void waveDisplay::onReplotTick() {
    replot();
    if (--m_replotsLeft <= 0)
        m_replotTimer.stop();
}

void waveDisplay::setPaused(bool paused) {
    if (m_paused == paused)
        return;
    m_paused = paused;
    if (!paused) {
        // What arrived meanwhile is in the history: the curves catch up at once.
        rebuildCurves();
        fitAxes();
        requestReplot();
    }
}

void waveDisplay::setFollow(bool follow) {
    if (m_follow == follow)
        return;
    m_follow = follow;
    emit followChanged(follow);
    if (follow) {
        fitAxes();
        requestReplot();
    }
}

std::pair<int, int> waveDisplay::shownRange() const {
    if (m_active.isEmpty())
        return {0, 0};
    const QSharedPointer<QCPGraphDataContainer> data = graph(m_active[0])->data();
    const QCPRange x = xAxis->range();
    const int first = int(data->findBegin(x.lower, false) - data->constBegin());
    const int last = int(data->findEnd(x.upper, false) - data->constBegin());
    return {first, qMax(first, last)};
}

QString waveDisplay::readoutAt(double key) const {
    // What the curves show, which a pause has frozen while the history moved on.
    if (m_active.isEmpty())
        return QString();
    const QSharedPointer<QCPGraphDataContainer> first = graph(m_active[0])->data();
    if (first->isEmpty())
        return QString();
    auto it = first->findEnd(key, false);
    if (it != first->constBegin())
        --it;
    const int i = int(it - first->constBegin());
    QString text = tr("t = %1 s").arg(it->key, 0, 'f', 4);
    for (int k = 0; k < m_active.size(); ++k) {
        const QSharedPointer<QCPGraphDataContainer> data = graph(m_active[k])->data();
        if (i < data->size())
            text += QStringLiteral("   %1: %2").arg(m_names.value(k)).arg(data->at(i)->value, 0, 'g', 6);
    }
    return text;
}

void waveDisplay::setCursorKey(double key) {
    const bool shown = !m_active.isEmpty() && !graph(m_active[0])->data()->isEmpty();
    m_cursor->setVisible(shown);
    if (shown) {
        m_cursor->point1->setCoords(key, 0);
        m_cursor->point2->setCoords(key, 1);
    }
    emit readout(shown ? readoutAt(key) : QString());
    requestReplot();
}

qint64 waveDisplay::exportCount(Export what) const {
    if (what == Export::Recording)
        return m_recording.size();
    const auto range = shownRange();
    return range.second - range.first;
}

bool waveDisplay::exportCsv(const QString& path, QString* error, Export what) const {
    // Replaced whole or not at all; every write is checked, so a full disk is an error, not
    // an empty file in place of the old one.
    kx::AtomicFile file(path);
    auto fail = [&] {
        if (error)
            *error = file.errorString();
        file.discard();
        return false;
    };
    if (!file.open())
        return fail();
    QByteArray out = "time";
    for (const QString& name : m_names)
        out += ',' + name.toUtf8();
    out += "\r\n";
    auto row = [&](double t, const std::function<double(int)>& value) {
        out += QByteArray::number(t, 'f', 6);
        for (int k = 0; k < m_active.size(); ++k)
            out += ',' + QByteArray::number(value(k), 'g', 17);
        out += "\r\n";
    };
    auto flush = [&](bool last) {
        if (!last && out.size() < (1 << 20))
            return true;
        const bool ok = file.write(out);
        out.clear();
        return ok;
    };
    if (what == Export::Recording) {
        for (qint64 r = 0; r < m_recording.size(); ++r) {
            row(m_recording.time(r), [&](int k) { return m_recording.value(k, r); });
            if (!flush(false))
                return fail();
        }
    } else {
        const auto range = shownRange();
        for (int i = range.first; i < range.second; ++i) {
            row(graph(m_active[0])->data()->at(i)->key,
                [&](int k) { return graph(m_active[k])->data()->at(i)->value; });
            if (!flush(false))
                return fail();
        }
    }
    if (!flush(true))
        return fail();
    if (!file.commit())
        return fail();
    return true;
}

void waveDisplay::mousePressEvent(QMouseEvent* event) {
    // Dragging takes the view over: the curves no longer scroll under the user's hand.
    if (event->button() == Qt::LeftButton)
        setFollow(false);
    QCustomPlot::mousePressEvent(event);
}

void waveDisplay::wheelEvent(QWheelEvent* event) {
    setFollow(false);
    QCustomPlot::wheelEvent(event);
}

void waveDisplay::mouseMoveEvent(QMouseEvent* event) {
    QCustomPlot::mouseMoveEvent(event);
    setCursorKey(xAxis->pixelToCoord(event->pos().x()));
}
