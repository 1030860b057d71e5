#include "records/recordsschema.h"

#include "records/recordsbackend.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Each step is kept as it first shipped: a database of that version has exactly these tables.
// Ordinals (seq) count from 0 in the record's order; times are milliseconds since the epoch,
// UTC; MCU IDs are lower-case hexadecimal without prefix, as the device records are named.
// Only motors refer to their run by a foreign key: a run is written whole in one transaction
// and read back with its shape checked, and the per-row checks of steps and measurements would
// cost a server a third of its time taking runs in. Every table carries run_id, so removing a
// run is one DELETE per table.
const char* const kVersion1[] = {
    "CREATE TABLE IF NOT EXISTS schema_version ("
    " version INTEGER PRIMARY KEY,"
    " applied_ms BIGINT NOT NULL)",

    "CREATE TABLE runs ("
    " id {id},"
    " uuid TEXT NOT NULL UNIQUE,"
    " format_version INTEGER NOT NULL,"
    " plan_name TEXT NOT NULL,"
    " plan_path TEXT NOT NULL,"
    " plan_sha256 TEXT NOT NULL,"
    " station TEXT NOT NULL,"
    " operator_name TEXT NOT NULL,"
    " tool_version TEXT NOT NULL,"
    " start_ms BIGINT NOT NULL,"
    " end_ms BIGINT,"
    " outcome TEXT NOT NULL,"
    " message TEXT NOT NULL,"
    " stored_ms BIGINT NOT NULL)",
    "CREATE INDEX runs_start ON runs (start_ms)",

    "CREATE TABLE motors ("
    " run_id BIGINT NOT NULL REFERENCES runs (id) ON DELETE CASCADE,"
    " seq INTEGER NOT NULL,"
    " mcu_id TEXT NOT NULL,"
    " can_id INTEGER NOT NULL,"
    " model_code INTEGER NOT NULL,"
    " firmware TEXT NOT NULL,"
    " param_sha256 TEXT NOT NULL,"
    " outcome TEXT NOT NULL,"
    " start_ms BIGINT,"
    " end_ms BIGINT,"
    " PRIMARY KEY (run_id, seq))",
    "CREATE INDEX motors_mcu ON motors (mcu_id)",

    "CREATE TABLE steps ("
    " run_id BIGINT NOT NULL,"
    " motor INTEGER NOT NULL,"
    " seq INTEGER NOT NULL,"
    " step_index INTEGER NOT NULL,"
    " kind TEXT NOT NULL,"
    " title TEXT NOT NULL,"
    " outcome TEXT NOT NULL,"
    " message TEXT NOT NULL,"
    " start_ms BIGINT,"
    " seconds DOUBLE PRECISION NOT NULL,"
    " log TEXT NOT NULL,"
    " PRIMARY KEY (run_id, motor, seq))",

    // Limits and the numeric value are NULL where the measurement has none.
    "CREATE TABLE measurements ("
    " run_id BIGINT NOT NULL,"
    " motor INTEGER NOT NULL,"
    " step INTEGER NOT NULL,"
    " seq INTEGER NOT NULL,"
    " name TEXT NOT NULL,"
    " unit TEXT NOT NULL,"
    " is_numeric INTEGER NOT NULL,"
    " value DOUBLE PRECISION,"
    " low DOUBLE PRECISION,"
    " high DOUBLE PRECISION,"
    " marginal DOUBLE PRECISION NOT NULL,"
    " text_value TEXT NOT NULL,"
    " expected TEXT NOT NULL,"
    " outcome TEXT NOT NULL,"
    " PRIMARY KEY (run_id, motor, step, seq))",

    // data: zlib-compressed (with Qt's four-byte length in front); size: the bytes before.
    "CREATE TABLE attachments ("
    " run_id BIGINT NOT NULL,"
    " motor INTEGER NOT NULL,"
    " step INTEGER NOT NULL,"
    " seq INTEGER NOT NULL,"
    " name TEXT NOT NULL,"
    " mime_type TEXT NOT NULL,"
    " size BIGINT NOT NULL,"
    " data {blob} NOT NULL,"
    " PRIMARY KEY (run_id, motor, step, seq))",
};

const char* const kVersion2[] = {
    // A run waits here until a server has it; failed attempts move it behind the others.
    "CREATE TABLE outbox ("
    " run_id BIGINT PRIMARY KEY REFERENCES runs (id) ON DELETE CASCADE,"
    " queued_ms BIGINT NOT NULL,"
    " attempts INTEGER NOT NULL DEFAULT 0,"
    " last_error TEXT NOT NULL DEFAULT '')",
    // Nothing kept before could have been sent: all of it waits.
    "INSERT INTO outbox (run_id, queued_ms) SELECT id, stored_ms FROM runs",
    "CREATE INDEX outbox_order ON outbox (attempts, queued_ms)",
    "CREATE INDEX motors_can ON motors (can_id)",
    "CREATE INDEX runs_station ON runs (station)",
};

bool exec(QSqlDatabase* db, const QString& sql, QString* error) {
    QSqlQuery query(*db);
    if (query.exec(sql))
        return true;
    *error = query.lastError().text();
    return false;
}

int readVersion(QSqlDatabase* db, QString* error) {
    QSqlQuery query(*db);
    if (!query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) || !query.next()) {
        *error = query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

}  // namespace

QStringList RecordsSchema::statements(int version, const RecordsBackend& backend) {
    QStringList list;
    const auto add = [&](const char* const* begin, const char* const* end) {
        for (auto it = begin; it != end; ++it) {
            list << QString::fromLatin1(*it)
                        .replace(QLatin1String("{id}"), backend.idColumnType())
                        .replace(QLatin1String("{blob}"), backend.blobType());
        }
    };
    if (version == 1)
        add(std::begin(kVersion1), std::end(kVersion1));
    else if (version == 2)
        add(std::begin(kVersion2), std::end(kVersion2));
    return list;
}

int RecordsSchema::version(QSqlDatabase* db, QString* error) {
    // tables() reads the catalogue: it also tells an unreadable file from an empty one.
    const QStringList tables = db->tables();
    if (db->lastError().isValid()) {
        *error = db->lastError().text();
        return -1;
    }
    if (!tables.contains(QStringLiteral("schema_version"), Qt::CaseInsensitive))
        return 0;
    return readVersion(db, error);
}

bool RecordsSchema::migrate(QSqlDatabase* db, const RecordsBackend& backend, QString* error, int target) {
    int current = version(db, error);
    if (current < 0)
        return false;
    if (current > kLatest) {
        *error = tr("The records database has schema version %1; this program knows up to version %2. "
                    "It was left as it is: use a newer Trivane.")
                     .arg(current)
                     .arg(kLatest);
        return false;
    }
    if (current >= target)
        return true;

    // Another program may be migrating the same database right now: take the write lock, then
    // read the version again under it.
    for (const QString& sql : backend.beginWrite() + backend.lockSchema()) {
        if (!exec(db, sql, error))
            return false;
    }
    const auto fail = [&](const QString& why) {
        *error = tr("Could not bring the records database to version %1: %2").arg(target).arg(why);
        QString ignored;
        exec(db, QStringLiteral("ROLLBACK"), &ignored);
        return false;
    };
    QString why;
    if (!exec(db, QString::fromLatin1(kVersion1[0]), &why))
        return fail(why);
    current = readVersion(db, &why);
    if (current < 0)
        return fail(why);
    if (current > kLatest)
        return fail(tr("it has a newer schema version (%1)").arg(current));
    for (int v = current + 1; v <= target; ++v) {
        for (const QString& sql : statements(v, backend)) {
            if (sql.startsWith(QLatin1String("CREATE TABLE IF NOT EXISTS schema_version")))
                continue;
            if (!exec(db, sql, &why))
                return fail(why);
        }
        QSqlQuery insert(*db);
        insert.prepare(QStringLiteral("INSERT INTO schema_version (version, applied_ms) VALUES (?, ?)"));
        insert.addBindValue(v);
        insert.addBindValue(QDateTime::currentMSecsSinceEpoch());
        if (!insert.exec())
            return fail(insert.lastError().text());
    }
    if (!exec(db, QStringLiteral("COMMIT"), &why))
        return fail(why);
    return true;
}
