#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a signal of the event loop, so that Ctrl+C runs an orderly
// shut-down: the workbench's (project saved, link joined, config.xml written) or a command-line
// run's (motors left safe, reports written). One instance per process.
class ExitSignals : public QObject {
    Q_OBJECT

public:
    explicit ExitSignals(QObject* parent = nullptr);
    ~ExitSignals() override;

    bool isInstalled() const { return m_notifier != nullptr; }

signals:
    void exitRequested(int signal);

private:
    void onSignalReadable();

    QSocketNotifier* m_notifier = nullptr;
};
