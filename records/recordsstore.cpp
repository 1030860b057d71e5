#include "records/recordsstore.h"

#include "records/recordsbackend.h"
#include "records/recordscolumns.h"
#include "records/recordsschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <atomic>

namespace {

std::atomic<int> g_connections{0};

}  // namespace

RecordsStore::RecordsStore(const RecordsLocation& location) : RecordsStore(location, Options()) {}

RecordsStore::RecordsStore(const RecordsLocation& location, Options options)
    : m_location(location), m_options(options), m_backend(RecordsBackend::forLocation(location)) {}

RecordsStore::~RecordsStore() {
    close();
}

QString RecordsStore::normalUuid(const QString& text) {
    const QUuid uuid = QUuid::fromString(text.trimmed());
    return uuid.isNull() ? QString() : uuid.toString(QUuid::WithoutBraces).toLower();
}

QString RecordsStore::failure(const QString& what, const QString& why) const {
    return tr("%1 (%2): %3").arg(what, m_location.display(), why);
}

bool RecordsStore::checkThread(QString* error) const {
    if (!m_db.isOpen()) {
        *error = tr("The records database %1 is not open.").arg(m_location.display());
        return false;
    }
    // Qt's connections must stay on the thread that opened them.
    if (m_thread != QThread::currentThread()) {
        *error = QStringLiteral("records store used from a thread other than its own");
        Q_ASSERT(false);
        return false;
    }
    return true;
}

bool RecordsStore::open(QString* error) {
    close();
    if (!m_backend) {
        *error = tr("No records database is configured.");
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(m_backend->driverName())) {
        *error = tr("The Qt SQL driver %1 is not installed.").arg(m_backend->driverName());
        return false;
    }
    m_connectionName = QStringLiteral("records-%1").arg(++g_connections);
    m_db = QSqlDatabase::addDatabase(m_backend->driverName(), m_connectionName);
    m_backend->configure(&m_db, m_location);
    m_thread = QThread::currentThread();
    QString why;
    if (!m_db.open()) {
        why = m_db.lastError().text();
    } else if (!m_backend->prepareSession(&m_db, &why)) {
    } else if (!m_options.durable && !execAll(m_backend->relaxedSession(), &why)) {
    } else if (RecordsSchema::migrate(&m_db, *m_backend, &why)) {
        return true;
    }
    *error = failure(tr("Cannot open the records database"), why.trimmed());
    close();
    return false;
}

void RecordsStore::close() {
    if (m_connectionName.isEmpty())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
}

bool RecordsStore::isOpen() const {
    return m_db.isOpen();
}

bool RecordsStore::exec(const QString& sql, QString* error) {
    QSqlQuery query(m_db);
    if (query.exec(sql))
        return true;
    *error = query.lastError().text();
    return false;
}

bool RecordsStore::execAll(const QStringList& statements, QString* error) {
    for (const QString& sql : statements) {
        if (!exec(sql, error))
            return false;
    }
    return true;
}

bool RecordsStore::ping() {
    QString error;
    return checkThread(&error) && exec(QStringLiteral("SELECT 1"), &error);
}

bool RecordsStore::begin(QString* error) {
    return execAll(m_backend->beginWrite(), error);
}

void RecordsStore::rollback() {
    QString ignored;
    exec(QStringLiteral("ROLLBACK"), &ignored);
}

int RecordsStore::waitingCount(QString* error) {
    if (!checkThread(error))
        return -1;
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM outbox")) || !query.next()) {
        *error = failure(tr("Cannot count the runs waiting to be sent"), query.lastError().text());
        return -1;
    }
    return query.value(0).toInt();
}

bool RecordsStore::waitingRuns(int limit, QStringList* uuids, QString* error) {
    uuids->clear();
    if (!checkThread(error))
        return false;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT r.uuid FROM outbox o JOIN runs r ON r.id = o.run_id "
                       "ORDER BY o.attempts, o.queued_ms, o.run_id LIMIT ?"));
    query.addBindValue(limit);
    if (!query.exec()) {
        *error = failure(tr("Cannot read the runs waiting to be sent"), query.lastError().text());
        return false;
    }
    while (query.next())
        uuids->append(query.value(0).toString());
    return true;
}

bool RecordsStore::markSent(const QStringList& uuids, QString* error) {
    if (!checkThread(error))
        return false;
    if (uuids.isEmpty())
        return true;
    QString why;
    if (!begin(&why)) {
        *error = failure(tr("Cannot mark runs as sent"), why);
        return false;
    }
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("DELETE FROM outbox WHERE run_id IN (SELECT id FROM runs WHERE uuid = ?)"));
    for (const QString& uuid : uuids) {
        query.bindValue(0, normalUuid(uuid));
        if (!query.exec()) {
            why = query.lastError().text();
            query.finish();
            rollback();
            *error = failure(tr("Cannot mark run %1 as sent").arg(uuid), why);
            return false;
        }
    }
    query.finish();
    if (!exec(QStringLiteral("COMMIT"), &why)) {
        rollback();
        *error = failure(tr("Cannot mark runs as sent"), why);
        return false;
    }
    return true;
}

bool RecordsStore::noteSendFailure(const QString& uuid, const QString& reason, QString* error) {
    if (!checkThread(error))
        return false;
    QSqlQuery query(m_db);
    query.prepare(
        QStringLiteral("UPDATE outbox SET attempts = attempts + 1, last_error = ? "
                       "WHERE run_id IN (SELECT id FROM runs WHERE uuid = ?)"));
    query.addBindValue(reason);
    query.addBindValue(normalUuid(uuid));
    if (!query.exec()) {
        *error = failure(tr("Cannot note the failure of run %1").arg(uuid), query.lastError().text());
        return false;
    }
    return true;
}
