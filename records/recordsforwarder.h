#pragma once

#include "records/recordslocation.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <mutex>

class RecordsForwarderWorker;

// Sends a station's runs on to the line's server in the background: on a thread of its own,
// with its own connections to both databases. While the server is unreachable it tries again
// after growing pauses; when it is idle it only looks for new runs now and then. Runs stored by
// this program wake it at once (sendNow()); runs stored by other programs are found by the look.
//
// Thread ownership: the object itself and its signals belong to the thread that created it;
// m_waiting, m_sending and m_lastError are written by the sender thread and read from any.
class RecordsForwarder : public QObject {
    Q_OBJECT

public:
    struct Settings {
        RecordsLocation local;   // the station's SQLite file
        RecordsLocation server;  // the line's PostgreSQL
        int firstRetryMs = 2000;
        int maxRetryMs = 60000;
        int lookMs = 30000;  // how often an idle sender looks for runs of other programs
        int batch = 50;      // runs per turn, so a stop or a wake is heard between turns
    };

    explicit RecordsForwarder(const Settings& settings, QObject* parent = nullptr);
    ~RecordsForwarder() override;

    const Settings& settings() const { return m_settings; }
    void start();
    // Joins the sender thread; a run being sent is finished or rolled back first.
    void stop();
    bool isRunning() const { return m_thread.isRunning(); }

    // Send now, without waiting out a pause (on the owner's thread, as start and stop).
    void sendNow();
    // Any thread: runs waiting to be sent (-1 until first counted), and the last failure.
    int waiting() const { return m_waiting.load(); }
    QString lastError() const;

signals:
    // Emitted on the sender thread; connections to objects elsewhere are queued.
    void waitingChanged(int count);
    void sent(int count);
    void failed(const QString& reason);
    void recovered();

private:
    friend class RecordsForwarderWorker;
    void publishWaiting(int count);
    void publishError(const QString& reason);

    Settings m_settings;
    QThread m_thread;
    RecordsForwarderWorker* m_worker = nullptr;  // lives on m_thread; the pointer is the owner's
    std::atomic<int> m_waiting{-1};
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    QString m_lastError;  // guarded by m_mutex
};
