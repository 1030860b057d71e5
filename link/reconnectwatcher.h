#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class CANWorker;

// Brings an unplugged adapter back: while the port is gone it looks for its path once a
// second (the timer runs only while waiting) and reconnects once the path has been there for
// two looks in a row, so that the system has finished setting the new device up. Any
// connect or disconnect by the user ends the wait.
class ReconnectWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 1000;

    explicit ReconnectWatcher(CANWorker* worker);

    void watch(const QString& path);
    void stop();
    bool isWatching() const { return m_timer.isActive(); }
    QString path() const { return m_path; }

private:
    void check();

    CANWorker* m_worker;
    QTimer m_timer;
    QString m_path;
    int m_seen = 0;
};
