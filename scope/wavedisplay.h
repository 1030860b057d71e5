#pragma once

#include <QStringList>
#include <QTimer>
#include <QVector>

#include <deque>
#include <utility>

#include <qcustomplot.h>

#include "link/scope/scopebatch.h"
#include "link/scope/scopehistory.h"
#include "scope/scoperecording.h"

// The oscilloscope plot: eight graphs over the last history window of the active channels.
// It owns its history (a ring buffer) and is fed immutable batches on the user's thread, so
// it never reads what the link is writing. Replots are coalesced on a frame-rate timer.
//
// Beyond plotting: a pause that freezes the view (curves, readout, "what is shown") while the
// history and the recording keep filling, auto-scroll that follows the newest samples until
// the user drags or zooms, a cursor line with a readout of every channel at its key, and CSV
// export of what is shown or of the whole recording since Start.
class waveDisplay : public QCustomPlot {
    Q_OBJECT

public:
    static constexpr int kGraphs = 8;
    // What an export writes: the records of the curves within the visible time range, or
    // every record since Start.
    enum class Export { Shown, Recording };

    explicit waveDisplay(QWidget* parent = nullptr);

    static QColor graphColor(int index);
    int replotInterval() const { return m_replotTimer.interval(); }

    // Removes all points, hides all graphs, resets the axes.
    void clearGraphs();
    // Shows the graphs of the active channels (indices among the 8, their names, and colours
    // where set) and sizes the history: capacity records. The recording starts afresh.
    void setActiveGraphs(const QVector<int>& active, const QStringList& names, int capacity,
                         const QVector<QColor>& colors = {});
    // Units of the active channels (empty where unknown), for the legend and the value axis.
    void setUnits(const QStringList& units);
    const QVector<int>& activeGraphs() const { return m_active; }
    // Appends the batches' records to the history and the curves, then asks for three replots.
    void showData(const std::deque<ScopeBatchPtr>& batches);

    const ScopeHistory& history() const { return m_history; }
    const ScopeRecording& recording() const { return m_recording; }
    void setPaused(bool paused);
    bool paused() const { return m_paused; }
    void setFollow(bool follow);
    bool follow() const { return m_follow; }
    // "t = ... s  name: value ..." for the shown record at or before key; empty without data.
    QString readoutAt(double key) const;
    // Writes records as CSV (time in seconds, one column per channel); false with *error.
    bool exportCsv(const QString& path, QString* error, Export what = Export::Shown) const;
    // Records an export of what would write.
    qint64 exportCount(Export what) const;
    // The vertical line at the cursor's key; hidden until the mouse is over the curves.
    QCPItemStraightLine* cursorLine() const { return m_cursor; }
    void setCursorKey(double key);
    // The smallest span of the value axis: a motor standing still must not fill the plot
    // with its last digits' noise.
    static double minimumSpan(double center);

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
    // Enough digits on the value axis to tell its ticks apart.
    void updateValuePrecision();
    // Data indices of the shown records: [first, last).
    std::pair<int, int> shownRange() const;

    QTimer m_replotTimer;
    int m_replotsLeft = 0;
    ScopeHistory m_history;
    QVector<int> m_active;
    QStringList m_names;
    QStringList m_units;
    ScopeRecording m_recording;
    QCPItemStraightLine* m_cursor = nullptr;
    quint64 m_generation = 0;
    bool m_paused = false;
    bool m_follow = true;
};
