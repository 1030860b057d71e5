#pragma once

#include "app/editor/baseeditorpage.h"

#include <QWidget>

#include <memory>

#include "link/monitor/tracefilter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;
class StatisticsModel;
class TraceModel;
class TraceRecorder;
class TraceStore;

// The bus monitor: every record of the link, decoded, in a table that follows the end; filters
// by direction, type, CAN ID and text that apply while recording; Pause (recording goes on,
// the view holds still); per-CAN-ID statistics; Clear; save as candump or ASC and open a
// candump or ASC file back for offline reading.
class BusMonitorPage : public QWidget, public BaseEditorPage {
    Q_OBJECT

public:
    static QString kind() { return QStringLiteral("bus_monitor"); }
    // Shows the workbench's live trace (LiveTrace).
    explicit BusMonitorPage(QWidget* parent = nullptr);
    ~BusMonitorPage() override;

    // Back from a file to the live trace (which went on recording meanwhile).
    void showLive();
    bool isLive() const { return !m_file; }
    // Saves the trace, or only the records the filter shows; false after telling why.
    bool saveTo(const QString& path, bool shownOnly);
    // Shows a file's frames instead of the live trace; false after telling why.
    bool openFrom(const QString& path);
    void clear();
    // Takes what arrived now (the page does it on its own shortly after records arrive).
    void refresh();

    TraceModel* traceModel() const { return m_model; }
    StatisticsModel* statisticsModel() const { return m_statistics; }
    TraceStore* store() const;
    QTableView* traceView() const { return m_view; }

private:
    void buildUi();
    void applyFilter();
    void onSave();
    void onOpen();
    void updateStatus();
    void scheduleRefresh();

    TraceStore* m_live;
    TraceRecorder* m_recorder;
    std::unique_ptr<TraceStore> m_file;  // the file shown instead of the live trace
    TraceModel* m_model;
    StatisticsModel* m_statistics;
    QTableView* m_view = nullptr;
    QTableView* m_statisticsView = nullptr;
    QComboBox* m_direction = nullptr;
    QComboBox* m_type = nullptr;
    QLineEdit* m_canIds = nullptr;
    QLineEdit* m_text = nullptr;
    QPushButton* m_liveButton = nullptr;
    QPushButton* m_pause = nullptr;
    QCheckBox* m_follow = nullptr;
    QLabel* m_status = nullptr;
    QTimer* m_refresh = nullptr;
    QTimer* m_filterDelay = nullptr;
    QString m_source;  // the file shown
    int m_refreshes = 0;
};
