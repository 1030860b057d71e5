#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into an orderly end of the event loop, so that Ctrl+C runs the
// same shut-down as closing the window (project saved, link joined, config.xml written).
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
