#include "records/stationrecords.h"

#include "records/recordsforwarder.h"
#include "records/recordsstore.h"

#include <QCoreApplication>

StationRecords* StationRecords::instance() {
    // Never destroyed by static destruction: the sender is stopped when the application quits,
    // while its thread and the database drivers still exist.
    static StationRecords* records = new StationRecords();
    return records;
}

StationRecords::StationRecords() {
    // The configuration as far as it is known now; the program configures again once it has read it.
    QString ignored;
    if (!RecordsSettings::resolve(RecordsSettings::configuredUrl(), QString(), &m_settings, &ignored))
        RecordsSettings::resolve(QString(), QString(), &m_settings, &ignored);
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { stopSending(); });
}

StationRecords::~StationRecords() {
    stopSending();
}

void StationRecords::configure(const RecordsSettings& settings) {
    const bool wasSending = isSending();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_settings.local == settings.local && m_settings.server == settings.server)
            return;
        m_settings = settings;
    }
    if (wasSending) {
        stopSending();
        startSending();
    }
}

RecordsSettings StationRecords::settings() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_settings;
}

bool StationRecords::record(const RunRecord& run, QString* error) {
    RecordsStore::Options options;
    options.queueForSending = true;
    RecordsStore store(settings().local, options);
    if (!store.open(error))
        return false;
    const RecordsStore::StoreResult result = store.store(run, error);
    if (result == RecordsStore::StoreResult::Failed)
        return false;
    const QString uuid = RecordsStore::normalUuid(run.uuid);
    QMetaObject::invokeMethod(
        this,
        [this, uuid] {
            sendNow();
            emit recorded(uuid);
        },
        Qt::QueuedConnection);
    return true;
}

void StationRecords::startSending() {
    const RecordsSettings s = settings();
    if (m_forwarder || !s.server.isServer())
        return;
    RecordsForwarder::Settings fs;
    fs.local = s.local;
    fs.server = s.server;
    m_forwarder = std::make_unique<RecordsForwarder>(fs);
    connect(m_forwarder.get(), &RecordsForwarder::waitingChanged, this, &StationRecords::waitingChanged);
    connect(m_forwarder.get(), &RecordsForwarder::failed, this, &StationRecords::sendFailed);
    connect(m_forwarder.get(), &RecordsForwarder::recovered, this, &StationRecords::sendRecovered);
    m_forwarder->start();
}

void StationRecords::stopSending() {
    if (!m_forwarder)
        return;
    m_forwarder.reset();
    emit waitingChanged(-1);
}

bool StationRecords::isSending() const {
    return m_forwarder != nullptr;
}

void StationRecords::sendNow() {
    if (m_forwarder)
        m_forwarder->sendNow();
}

int StationRecords::waiting() const {
    return m_forwarder ? m_forwarder->waiting() : -1;
}

QString StationRecords::sendError() const {
    return m_forwarder ? m_forwarder->lastError() : QString();
}

bool StationRecords::sendWaiting(RecordsPusher::Result* result, QString* error,
                                 const std::function<void(int, int)>& progress) {
    const RecordsSettings s = settings();
    if (!s.server.isServer()) {
        *error = tr("No records server is configured (config.records.url or --records postgresql://...).");
        return false;
    }
    RecordsStore::Options options;
    options.queueForSending = true;
    options.durable = false;  // it only takes runs out of the outbox
    RecordsStore local(s.local, options);
    if (!local.open(error))
        return false;
    RecordsStore server(s.server);
    QString serverError;
    if (!server.open(&serverError)) {
        QString ignored;
        result->waiting = local.waitingCount(&ignored);
        *error = serverError;
        return false;
    }
    RecordsPusher::Options pushOptions;
    pushOptions.progress = progress;
    *result = RecordsPusher::push(&local, &server, pushOptions);
    if (result->serverLost) {
        *error = result->error;
        return false;
    }
    return true;
}
