#pragma once

#include "app/editor/baseeditorpage.h"
#include "commission/runrecord.h"
#include "records/recordssettings.h"
#include "records/runquery.h"

#include <QWidget>

class ParamCompareView;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class RunDetailView;
class RunTableModel;
class TimelineModel;

// The commissioning history of the station and, with a server configured, of the line: search
// runs by MCU ID, CAN ID, plan, outcome, time and station; read a run; follow a motor through
// its runs with firmware and parameter changes marked; compare its parameter tables of two
// runs; open a run's report. Every database call runs on a worker thread with connections of
// its own, so a slow or absent server never freezes the window; results arrive queued.
// Opened for a motor (the current device), the page starts on that motor's history.
class RecordsPage : public QWidget, public BaseEditorPage {
    Q_OBJECT

public:
    static constexpr char kKind[] = "records";

    explicit RecordsPage(QWidget* parent = nullptr);
    ~RecordsPage() override;

    // The search as the form describes it; false (with the reason) for an MCU ID that is no
    // hexadecimal number.
    bool query(RunQuery* query, QString* error) const;
    void search();
    void showTimeline(quint64 mcuId);
    // Compares the motor's tables of the two selected timeline rows (older on the left).
    void compareSelected();
    // Writes the shown run's HTML report of the selected motor to a temporary file: its path,
    // or an empty text (and the reason in the status line) when it could not be made.
    QString writeReport();
    // The same, then opens it in the desktop's browser.
    void openReport();

    RunTableModel* runs() const { return m_runs; }
    TimelineModel* timeline() const { return m_timeline; }
    RunDetailView* detail() const { return m_detail; }
    ParamCompareView* compare() const { return m_compare; }
    QTableView* timelineView() const { return m_timelineView; }
    QTableView* runsView() const { return m_runsView; }
    QString statusText() const;
    bool isBusy() const { return m_busy > 0; }

signals:
    void searched();
    void runShown();
    void timelineShown();
    void compared();

private:
    void buildForm(QWidget* form);
    void onRunSelected();
    void loadRun(const QString& uuid);
    void setStatus(const QString& text);
    void setBusy(bool busy);

    RecordsSettings m_settings;
    QLineEdit* m_mcuId = nullptr;
    QSpinBox* m_canId = nullptr;
    QComboBox* m_plan = nullptr;
    QComboBox* m_outcome = nullptr;
    QComboBox* m_station = nullptr;
    QCheckBox* m_fromOn = nullptr;
    QDateEdit* m_from = nullptr;
    QCheckBox* m_toOn = nullptr;
    QDateEdit* m_to = nullptr;
    QPushButton* m_search = nullptr;
    QLabel* m_status = nullptr;
    RunTableModel* m_runs = nullptr;
    QTableView* m_runsView = nullptr;
    QTabWidget* m_tabs = nullptr;
    RunDetailView* m_detail = nullptr;
    QPushButton* m_openReport = nullptr;
    QPushButton* m_motorTimeline = nullptr;
    QLabel* m_timelineTitle = nullptr;
    TimelineModel* m_timeline = nullptr;
    QTableView* m_timelineView = nullptr;
    QPushButton* m_compareButton = nullptr;
    ParamCompareView* m_compare = nullptr;
    quint64 m_timelineMcu = 0;
    int m_busy = 0;
    // Each request's number: an answer that a newer request overtook is dropped.
    int m_searchSeq = 0;
    int m_runSeq = 0;
    int m_timelineSeq = 0;
};
