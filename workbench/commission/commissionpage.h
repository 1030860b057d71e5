#pragma once

#include "app/editor/baseeditorpage.h"

#include <QHash>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>

#include "commission/plan/plan.h"
#include "commission/runrecord.h"

class CommissionJob;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;
struct FlowProgress;
struct PlanStep;

// The "Commission" page: choose a plan, see the motors on the bus, Start (and Cancel) a run
// over one motor or all of them, follow each motor's steps with their outcomes and the values
// measured as they come, read the overall result in large, and find the report folder opened
// at the end. The emergency stop stays reachable throughout: the run lets input through, and
// the page carries a stop button of its own beside the sidebar's.
class CommissionPage : public QWidget, public BaseEditorPage {
    Q_OBJECT

public:
    static QString kind() { return QStringLiteral("commission"); }
    // Opens a report for the operator (the system's browser); tests put their own in.
    using Opener = std::function<void(const QUrl& url)>;
    static void setOpener(Opener opener);
    // The feedback quantities by their names in the operator's language; other names as they are.
    static QString quantityName(const QString& name);

    explicit CommissionPage(QWidget* parent = nullptr);
    ~CommissionPage() override;

    // Reads and checks a plan; false when it has problems (listed on the page).
    bool loadPlan(const QString& path);
    // Starts a run of the loaded plan; false (with the reason on the page) when none can start.
    bool start();
    void cancel();
    bool isRunning() const;

    QTreeWidget* stepTree() const { return m_steps; }
    QLabel* resultLabel() const { return m_result; }
    QListWidget* motorList() const { return m_motors; }
    // The report folder of the last run; empty before one ended.
    QString reportFolder() const { return m_reportFolder; }

private:
    void buildUi();
    void choosePlan();
    void refreshMotors();
    void updateButtons();
    void showResult(const QString& text, const QString& outcome);
    void onMotorsFound(const RunRecord& record);
    void onStepStarted(int motor, const PlanStep& step);
    void onStepProgress(int motor, int stepIndex, const FlowProgress& progress);
    void onStepFinished(int motor, const StepRecord& step);
    void onMotorFinished(int motor, const MotorRecord& record);
    void onFinished(const RunRecord& record, const QString& folder, const QStringList& files,
                    const QString& error, const QString& notKept);
    QTreeWidgetItem* stepItem(int motor, int stepIndex) const;
    void setOutcome(QTreeWidgetItem* item, int column, const QString& outcome);
    static QString stepTitle(const PlanStep& step);
    // The outcome's name as the operator reads it ("PASS" in English); "running" otherwise.
    static QString outcomeText(const QString& outcome);

    std::optional<Plan> m_plan;
    QPointer<CommissionJob> m_job;
    QString m_reportFolder;
    QString m_reportFile;  // the HTML report opened at the end

    QLineEdit* m_planPath = nullptr;
    QLabel* m_planInfo = nullptr;
    QPlainTextEdit* m_problems = nullptr;
    QComboBox* m_scope = nullptr;
    QSpinBox* m_canId = nullptr;
    QLineEdit* m_operator = nullptr;
    QLineEdit* m_station = nullptr;
    QLineEdit* m_reportDir = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_estop = nullptr;
    QPushButton* m_openReport = nullptr;
    QListWidget* m_motors = nullptr;
    QTreeWidget* m_steps = nullptr;
    QLabel* m_result = nullptr;
    QLabel* m_status = nullptr;
    QList<QTreeWidgetItem*> m_motorItems;  // per motor of the run, in the runner's order
};
