#pragma once

#include <QStringList>
#include <QTimer>
#include <QVector>

#include <deque>

#include <qcustomplot.h>

#include "link/scope/scopebatch.h"
#include "link/scope/scopehistory.h"

// The oscilloscope plot: eight graphs over the last history window of the active channels.
// It owns its history (a ring buffer) and is fed immutable batches on the user's thread, so
// it never reads what the link is writing. Replots are coalesced on a frame-rate timer.
//
// Beyond plotting: a pause that freezes the curves while the history keeps filling, auto-scroll
// that follows the newest samples until the user drags or zooms, a readout of every channel at
// a key, and the history as CSV.
class waveDisplay : public QCustomPlot {
    Q_OBJECT

public:
    static constexpr int kGraphs = 8;

    explicit waveDisplay(QWidget* parent = nullptr);

    static QColor graphColor(int index);
    int replotInterval() const { return m_replotTimer.interval(); }

    // Removes all points, hides all graphs, resets the axes.
    void clearGraphs();
    // Shows the graphs of the active channels (indices among the 8, their names, and colours
    // where set) and sizes the history: capacity records.
    void setActiveGraphs(const QVector<int>& active, const QStringList& names, int capacity,
                         const QVector<QColor>& colors = {});
    const QVector<int>& activeGraphs() const { return m_active; }
    // Appends the batches' records to the history and the curves, then asks for three replots.
    void showData(const std::deque<ScopeBatchPtr>& batches);

    const ScopeHistory& history() const { return m_history; }
    void setPaused(bool paused);
    bool paused() const { return m_paused; }
    void setFollow(bool follow);
    bool follow() const { return m_follow; }
    // "t = ... s  name: value ..." for the record at or before key; empty without data.
    QString readoutAt(double key) const;
    // Writes the history as CSV (time in seconds, one column per channel); false with *error.
    bool exportCsv(const QString& path, QString* error) const;

signals:
    void followChanged(bool follow);
    void readout(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void requestReplot();
    void onReplotTick();
    void rebuildCurves();
    void fitAxes();

    QTimer m_replotTimer;
    int m_replotsLeft = 0;
    ScopeHistory m_history;
    QVector<int> m_active;
    QStringList m_names;
    quint64 m_generation = 0;
    bool m_paused = false;
    bool m_follow = true;
};
