#include "workbench/commission/commissionjob.h"

#include "commission/linkrunflows.h"
#include "commission/report/reportfolder.h"
#include "framework/log/qflog.h"
#include "link/helper.h"
#include "link/userprompt.h"
#include "records/stationrecords.h"

#include <QCloseEvent>
#include <QTimer>
#include <QWidget>

namespace {

CommissionJob* g_current = nullptr;

// The prompt while a run goes on: information boxes become log lines (the status line has
// their text already); questions, warnings and errors still reach the operator.
class RunPrompt : public UserPrompt {
public:
    explicit RunPrompt(UserPrompt* inner) : m_inner(inner) {}
    UserPrompt* inner() const { return m_inner; }

    void showError(const QString& title, const QString& text) override {
        if (m_inner)
            m_inner->showError(title, text);
    }
    void showInformation(const QString& title, const QString& text) override {
        kx::logI() << title + ": " + text;
    }
    bool askNotice(const QString& title, const QString& text) override {
        return m_inner && m_inner->askNotice(title, text);
    }
    void showWarning(const QString& title, const QString& text) override {
        if (m_inner)
            m_inner->showWarning(title, text);
    }

private:
    UserPrompt* m_inner;
};

}  // namespace

CommissionJob::CommissionJob(const Plan& plan, const Settings& settings, QWidget* window)
    : m_settings(settings), m_window(window) {
    LinkRunFlows::Settings flows;
    // The window's last scan may have stopped at the first motor: the run looks at the bus.
    flows.rescan = true;
    m_flows = std::make_unique<LinkRunFlows>(flows);
    m_settings.runner.allowInput = true;
    m_runner = std::make_unique<CommissionRunner>(plan, m_flows.get(), m_settings.runner);
    m_runner->setPrompter([](const QString& text, QString*) { return Helper::instance()->askNotice(text); });
}

CommissionJob::~CommissionJob() {
    if (g_current == this)
        g_current = nullptr;
}

CommissionJob* CommissionJob::current() {
    return g_current;
}

void CommissionJob::start() {
    g_current = this;
    m_running = true;
    if (m_window)
        m_window->installEventFilter(this);
    QTimer::singleShot(0, this, &CommissionJob::run);
}

void CommissionJob::cancel(const QString& reason) {
    m_runner->cancel(reason);
}

bool CommissionJob::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Close && m_running) {
        // The window goes once the motors are safe, not before.
        event->ignore();
        m_closeWindow = true;
        m_runner->cancel(tr("The window was closed."));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CommissionJob::run() {
    Helper* helper = Helper::instance();
    RunPrompt prompt(helper->prompt());
    helper->setPrompt(&prompt);
    const RunRecord record = m_runner->run();
    if (helper->prompt() == &prompt)
        helper->setPrompt(prompt.inner());

    QString error;
    const std::optional<ReportFolder::Written> written =
        ReportFolder::write(record, m_settings.reportDir, &error);
    // The station keeps every run, as from the command line.
    QString notKept;
    if (!StationRecords::instance()->record(record, &notKept) && notKept.isEmpty())
        notKept = tr("unknown reason");
    m_running = false;
    g_current = nullptr;
    if (m_window)
        m_window->removeEventFilter(this);
    emit finished(record, written ? written->folder : QString(), written ? written->files : QStringList(),
                  error, notKept);
    if (m_closeWindow && m_window)
        QTimer::singleShot(0, m_window.data(), &QWidget::close);
    deleteLater();
}
