#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

#include "commission/commissionrunner.h"

class LinkRunFlows;
class QWidget;

// One commissioning run started from the window: the runner over the link's flows, and the
// report folder written at the end. It lives apart from the page that started it, so a page
// closed mid-run only cancels it: the motors are still left safe and what was done is still
// written. Until then it keeps the window open: a close request cancels the run and the
// window closes once the motors are safe.
//
// The run lets user input through (the emergency stop stays reachable); the link's
// information boxes (a calibration's result) would stop the run until clicked, so while it
// runs they go to the log and the status line only. The job deletes itself after finished().
class CommissionJob : public QObject {
    Q_OBJECT

public:
    struct Settings {
        CommissionRunner::Settings runner;
        QString reportDir;  // the run's folder goes under it
    };

    CommissionJob(const Plan& plan, const Settings& settings, QWidget* window);
    ~CommissionJob() override;

    CommissionRunner* runner() const { return m_runner.get(); }
    // Starts the run from the event loop (not from the caller's stack, which may be gone
    // before the run ends).
    void start();
    void cancel(const QString& reason);
    bool isRunning() const { return m_running; }

    // The job of the run in progress, if any: one run at a time on the link.
    static CommissionJob* current();

signals:
    // folder: the report folder, empty when it could not be written (error says why);
    // files: the names in it; notKept: why the station's records lack the run, empty when kept.
    void finished(const RunRecord& record, const QString& folder, const QStringList& files,
                  const QString& error, const QString& notKept);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run();

    Settings m_settings;
    std::unique_ptr<LinkRunFlows> m_flows;
    std::unique_ptr<CommissionRunner> m_runner;
    QPointer<QWidget> m_window;
    bool m_running = false;
    bool m_closeWindow = false;  // the window asked to close during the run
};
