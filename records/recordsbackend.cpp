#include "records/recordsbackend.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

bool execAll(QSqlDatabase* db, const QStringList& statements, QString* error) {
    for (const QString& sql : statements) {
        QSqlQuery query(*db);
        if (!query.exec(sql)) {
            *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<RecordsBackend> RecordsBackend::forLocation(const RecordsLocation& location) {
    switch (location.kind) {
        case RecordsLocation::Kind::Sqlite:
            return std::make_unique<SqliteBackend>();
        case RecordsLocation::Kind::Postgres:
            return std::make_unique<PostgresBackend>();
        case RecordsLocation::Kind::None:
            break;
    }
    return nullptr;
}

void SqliteBackend::configure(QSqlDatabase* db, const RecordsLocation& location) const {
    db->setDatabaseName(location.path);
    db->setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
}

bool SqliteBackend::prepareSession(QSqlDatabase* db, QString* error) const {
    // The first statement reads the file: a file that is not a database fails here, before
    // anything could write to it.
    return execAll(db,
                   {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL"),
                    QStringLiteral("PRAGMA foreign_keys=ON")},
                   error);
}

void PostgresBackend::configure(QSqlDatabase* db, const RecordsLocation& location) const {
    db->setHostName(location.host);
    if (location.port > 0)
        db->setPort(location.port);
    db->setUserName(location.user);
    db->setPassword(location.password);
    db->setDatabaseName(location.database);
    // Keep-alives and the user time-out end a query whose server vanished from the network.
    QStringList options = {QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutS),
                           QStringLiteral("keepalives_idle=10"), QStringLiteral("keepalives_interval=3"),
                           QStringLiteral("keepalives_count=3"), QStringLiteral("tcp_user_timeout=20000")};
    // The URL's own settings come last and win.
    options += location.options;
    db->setConnectOptions(options.join(QLatin1Char(';')));
}

bool PostgresBackend::prepareSession(QSqlDatabase* db, QString* error) const {
    // A station takes a run out of its outbox once the server said it committed: that must
    // hold even on a server set up to acknowledge commits before they are on disk.
    return execAll(
        db,
        {QStringLiteral("SET statement_timeout = %1").arg(kStatementTimeoutMs),
         QStringLiteral("SET client_min_messages = warning"), QStringLiteral("SET synchronous_commit = on")},
        error);
}

QStringList PostgresBackend::lockSchema() const {
    // Any constant will do, as long as every program uses the same: it names the lock.
    return {QStringLiteral("SELECT pg_advisory_xact_lock(7261930418)")};
}
