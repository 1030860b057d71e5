#include "records/recordsforwarder.h"

#include "framework/log/qflog.h"
#include "records/recordspusher.h"
#include "records/recordsstore.h"

#include <QRandomGenerator>
#include <QTimer>

#include <memory>

// The sender's half that lives on its thread: the two connections and the timer of the next turn.
class RecordsForwarderWorker : public QObject {
public:
    explicit RecordsForwarderWorker(RecordsForwarder* owner) : m_owner(owner), m_timer(new QTimer(this)) {
        m_timer->setSingleShot(true);
        connect(m_timer, &QTimer::timeout, this, [this] { turn(); });
    }

    ~RecordsForwarderWorker() override {
        // Deleted on the sender thread after its loop ended: the connections close where they opened.
        m_server.reset();
        m_local.reset();
    }

    void wake() {
        m_failures = 0;
        turn();
    }

    void turn() {
        m_timer->stop();
        if (m_owner->m_stopping.load())
            return;
        const RecordsForwarder::Settings& s = m_owner->m_settings;
        QString error;
        if (!m_local) {
            RecordsStore::Options options;
            options.queueForSending = true;
            options.durable = false;
            m_local = std::make_unique<RecordsStore>(s.local, options);
            m_server = std::make_unique<RecordsStore>(s.server);
        }
        if (!m_local->isOpen() && !m_local->open(&error))
            return retry(error);
        const int waiting = m_local->waitingCount(&error);
        if (waiting < 0) {
            m_local->close();
            return retry(error);
        }
        m_owner->publishWaiting(waiting);
        if (waiting == 0) {
            recover();
            m_timer->start(s.lookMs);
            return;
        }
        if (!m_server->isOpen() && !m_server->open(&error))
            return retry(error);

        RecordsPusher::Options options;
        options.limit = s.batch;
        options.stop = [this] { return m_owner->m_stopping.load(); };
        options.progress = [this, waiting](int done, int) {
            m_owner->publishWaiting(qMax(0, waiting - done));
        };
        const RecordsPusher::Result result = RecordsPusher::push(m_local.get(), m_server.get(), options);
        if (result.waiting >= 0)
            m_owner->publishWaiting(result.waiting);
        if (result.sent > 0)
            emit m_owner->sent(result.sent);
        if (result.serverLost) {
            // A connection to a server that went away stays broken: the next try opens a new one.
            m_server->close();
            return retry(result.error);
        }
        const bool moved = result.sent + result.alreadyThere > 0;
        if (!moved && !result.error.isEmpty())
            return retry(result.error);
        recover();
        m_timer->start(result.waiting > 0 ? 0 : s.lookMs);
    }

private:
    void retry(const QString& error) {
        m_owner->publishError(error);
        const RecordsForwarder::Settings& s = m_owner->m_settings;
        const int shift = qMin(m_failures, 16);
        ++m_failures;
        const qint64 pause = qMin<qint64>(qint64(s.firstRetryMs) << shift, s.maxRetryMs);
        // Spread out, so that the stations of a line do not all return at the same moment.
        const double spread = 0.8 + 0.4 * QRandomGenerator::global()->generateDouble();
        m_timer->start(int(pause * spread));
    }

    void recover() {
        m_failures = 0;
        if (!m_owner->lastError().isEmpty()) {
            m_owner->publishError(QString());
            emit m_owner->recovered();
        }
    }

    RecordsForwarder* m_owner;
    QTimer* m_timer;
    std::unique_ptr<RecordsStore> m_local;
    std::unique_ptr<RecordsStore> m_server;
    int m_failures = 0;
};

RecordsForwarder::RecordsForwarder(const Settings& settings, QObject* parent)
    : QObject(parent), m_settings(settings) {
    m_thread.setObjectName(QStringLiteral("records-sender"));
}

RecordsForwarder::~RecordsForwarder() {
    stop();
}

void RecordsForwarder::start() {
    if (m_thread.isRunning())
        return;
    m_stopping = false;
    auto* worker = new RecordsForwarderWorker(this);
    worker->moveToThread(&m_thread);
    m_worker = worker;
    connect(&m_thread, &QThread::started, worker, [worker] { worker->turn(); });
    connect(&m_thread, &QThread::finished, worker, &QObject::deleteLater);
    m_thread.start(QThread::LowPriority);
}

void RecordsForwarder::stop() {
    if (!m_worker)
        return;
    m_stopping = true;
    m_thread.quit();
    // A run in flight ends within the server's time-outs; wait for it rather than cut it off.
    if (!m_thread.wait(30000)) {
        kx::logW() << "records: the sender is still finishing a run; waiting for it";
        m_thread.wait();
    }
    m_worker = nullptr;
}

void RecordsForwarder::sendNow() {
    RecordsForwarderWorker* worker = m_worker;
    if (worker && m_thread.isRunning())
        QMetaObject::invokeMethod(
            worker, [worker] { worker->wake(); }, Qt::QueuedConnection);
}

QString RecordsForwarder::lastError() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastError;
}

void RecordsForwarder::publishWaiting(int count) {
    if (m_waiting.exchange(count) != count)
        emit waitingChanged(count);
}

void RecordsForwarder::publishError(const QString& reason) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_lastError == reason)
            return;
        m_lastError = reason;
    }
    if (reason.isEmpty())
        return;
    kx::logW() << "records: sending to" << m_settings.server.display() << "failed:" << reason;
    emit failed(reason);
}
