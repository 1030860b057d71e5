#include "records/recordsstore.h"

#include "records/recordsbackend.h"
#include "records/recordscolumns.h"
#include "records/recordsschema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <atomic>

namespace {

std::atomic<int> g_connections{0};

// Adds rows to one table with as few statements as the back end lets one statement bind:
// a run of 14 motors is a handful of round trips to a server instead of a thousand.
class BatchInsert {
public:
    BatchInsert(QSqlDatabase* db, const QString& table, const QStringList& columns, int maxBind)
        : m_db(db), m_columns(columns.size()) {
        m_head = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns.join(QStringLiteral(", ")));
        m_group = QLatin1Char('(') + QStringLiteral("?, ").repeated(m_columns - 1) + QStringLiteral("?)");
        m_rowsPerStatement = qBound(1, maxBind / m_columns, 1000);
    }

    bool add(const QVariantList& row, QString* error) {
        Q_ASSERT(row.size() == m_columns);
        m_values += row;
        ++m_rows;
        return m_rows < m_rowsPerStatement || flush(error);
    }

    bool flush(QString* error) {
        if (m_rows == 0)
            return true;
        QString sql = m_head;
        sql.reserve(m_head.size() + m_rows * (m_group.size() + 2));
        for (int i = 0; i < m_rows; ++i) {
            if (i > 0)
                sql += QStringLiteral(", ");
            sql += m_group;
        }
        QSqlQuery query(*m_db);
        bool ok = query.prepare(sql);
        if (ok) {
            for (const QVariant& v : qAsConst(m_values))
                query.addBindValue(RecordsColumns::bindable(v));
            ok = query.exec();
        }
        if (!ok)
            *error = query.lastError().text();
        m_values.clear();
        m_rows = 0;
        return ok;
    }

private:
    QSqlDatabase* m_db;
    int m_columns;
    QString m_head;
    QString m_group;
    int m_rowsPerStatement = 1;
    QVariantList m_values;
    int m_rows = 0;
};

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

bool RecordsStore::ping() {
    QString error;
    return checkThread(&error) && exec(QStringLiteral("SELECT 1"), &error);
}

bool RecordsStore::begin(QString* error) {
    for (const QString& sql : m_backend->beginWrite()) {
        if (!exec(sql, error))
            return false;
    }
    return true;
}

void RecordsStore::rollback() {
    QString ignored;
    exec(QStringLiteral("ROLLBACK"), &ignored);
}

RecordsStore::StoreResult RecordsStore::store(const RunRecord& run, QString* error) {
    if (!checkThread(error))
        return StoreResult::Failed;
    const QString uuid = normalUuid(run.uuid);
    if (uuid.isEmpty()) {
        *error = tr("The run has no valid UUID (\"%1\"); it was not stored.").arg(run.uuid);
        return StoreResult::Failed;
    }
    for (const MotorRecord& motor : run.motors) {
        for (const StepRecord& step : motor.steps) {
            for (const Attachment& a : step.attachments) {
                if (a.data.size() > kMaxAttachmentBytes) {
                    *error = tr("The attachment %1 is larger than %2 MiB; the run was not stored.")
                                 .arg(a.name)
                                 .arg(kMaxAttachmentBytes >> 20);
                    return StoreResult::Failed;
                }
            }
        }
    }
    QString why;
    if (!begin(&why)) {
        *error = failure(tr("Cannot store run %1").arg(uuid), why);
        return StoreResult::Failed;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QSqlQuery insert(m_db);
    insert.prepare(QStringLiteral(
        "INSERT INTO runs (uuid, format_version, plan_name, plan_path, plan_sha256, station, "
        "operator_name, tool_version, start_ms, end_ms, outcome, message, stored_ms) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (uuid) DO NOTHING RETURNING id"));
    for (const QVariant& v : {QVariant(uuid), QVariant(RunRecord::kFormatVersion), QVariant(run.planName),
                              QVariant(run.planPath), QVariant(run.planSha256), QVariant(run.station),
                              QVariant(run.operatorName), QVariant(run.toolVersion),
                              // A run without a start time counts from when it was stored.
                              run.startUtc.isValid() ? RecordsColumns::time(run.startUtc) : QVariant(now),
                              RecordsColumns::time(run.endUtc), QVariant(Outcomes::name(run.outcome)),
                              QVariant(run.message), QVariant(now)}) {
        insert.addBindValue(RecordsColumns::bindable(v));
    }
    if (!insert.exec()) {
        why = insert.lastError().text();
        insert.finish();
        rollback();
        *error = failure(tr("Cannot store run %1").arg(uuid), why);
        return StoreResult::Failed;
    }
    if (!insert.next()) {
        // Already there: sending again, or the sender was stopped between the server's commit
        // and marking the run sent here.
        insert.finish();
        rollback();
        return StoreResult::AlreadyStored;
    }
    const qint64 runId = insert.value(0).toLongLong();
    insert.finish();
    if (!insertRun(run, runId, &why) || !exec(QStringLiteral("COMMIT"), &why)) {
        rollback();
        *error = failure(tr("Cannot store run %1").arg(uuid), why);
        return StoreResult::Failed;
    }
    return StoreResult::Stored;
}

bool RecordsStore::insertRun(const RunRecord& run, qint64 runId, QString* error) {
    const int maxBind = m_backend->maxBindValues();
    BatchInsert motors(&m_db, QStringLiteral("motors"),
                       {"run_id", "seq", "mcu_id", "can_id", "model_code", "firmware", "param_sha256",
                        "outcome", "start_ms", "end_ms"},
                       maxBind);
    BatchInsert steps(&m_db, QStringLiteral("steps"),
                      {"run_id", "motor", "seq", "step_index", "kind", "title", "outcome", "message",
                       "start_ms", "seconds", "log"},
                      maxBind);
    BatchInsert measurements(&m_db, QStringLiteral("measurements"),
                             {"run_id", "motor", "step", "seq", "name", "unit", "is_numeric", "value", "low",
                              "high", "marginal", "text_value", "expected", "outcome"},
                             maxBind);
    // Attachments go one statement each: they may be large, and a statement holds them all.
    BatchInsert attachments(&m_db, QStringLiteral("attachments"),
                            {"run_id", "motor", "step", "seq", "name", "mime_type", "size", "data"}, 8);
    const QVariant noNumber(QVariant::Double);
    for (int mi = 0; mi < run.motors.size(); ++mi) {
        const MotorRecord& motor = run.motors[mi];
        if (!motors.add({runId, mi, RecordsColumns::mcu(motor.mcuId), motor.canId, motor.modelCode,
                         motor.firmware, motor.paramSha256, Outcomes::name(motor.outcome),
                         RecordsColumns::time(motor.startUtc), RecordsColumns::time(motor.endUtc)},
                        error))
            return false;
    }
    // Children after their parents: the keys refer back.
    if (!motors.flush(error))
        return false;
    for (int mi = 0; mi < run.motors.size(); ++mi) {
        const MotorRecord& motor = run.motors[mi];
        for (int si = 0; si < motor.steps.size(); ++si) {
            const StepRecord& step = motor.steps[si];
            const QString log = QString::fromUtf8(
                QJsonDocument(QJsonArray::fromStringList(step.log)).toJson(QJsonDocument::Compact));
            if (!steps.add({runId, mi, si, step.index, step.kind, step.title, Outcomes::name(step.outcome),
                            step.message, RecordsColumns::time(step.startUtc),
                            RecordsColumns::number(step.seconds), log},
                           error))
                return false;
        }
    }
    if (!steps.flush(error))
        return false;
    for (int mi = 0; mi < run.motors.size(); ++mi) {
        const MotorRecord& motor = run.motors[mi];
        for (int si = 0; si < motor.steps.size(); ++si) {
            const StepRecord& step = motor.steps[si];
            for (int xi = 0; xi < step.measurements.size(); ++xi) {
                const Measurement& m = step.measurements[xi];
                if (!measurements.add(
                        {runId, mi, si, xi, m.name, m.unit, m.numeric ? 1 : 0,
                         m.numeric ? RecordsColumns::number(m.value) : noNumber,
                         m.numeric && m.hasLow ? RecordsColumns::number(m.low) : noNumber,
                         m.numeric && m.hasHigh ? RecordsColumns::number(m.high) : noNumber,
                         RecordsColumns::number(m.marginal), m.text, m.expected, Outcomes::name(m.outcome)},
                        error))
                    return false;
            }
            for (int ai = 0; ai < step.attachments.size(); ++ai) {
                const Attachment& a = step.attachments[ai];
                if (!attachments.add(
                        {runId, mi, si, ai, a.name, a.mimeType, qint64(a.data.size()), qCompress(a.data)},
                        error))
                    return false;
            }
        }
    }
    if (!measurements.flush(error) || !attachments.flush(error))
        return false;
    if (!m_options.queueForSending)
        return true;
    QSqlQuery queue(m_db);
    queue.prepare(QStringLiteral("INSERT INTO outbox (run_id, queued_ms) VALUES (?, ?)"));
    queue.addBindValue(runId);
    queue.addBindValue(QDateTime::currentMSecsSinceEpoch());
    if (!queue.exec()) {
        *error = queue.lastError().text();
        return false;
    }
    return true;
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

bool RecordsStore::markSent(const QString& uuid, QString* error) {
    if (!checkThread(error))
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("DELETE FROM outbox WHERE run_id IN (SELECT id FROM runs WHERE uuid = ?)"));
    query.addBindValue(normalUuid(uuid));
    if (!query.exec()) {
        *error = failure(tr("Cannot mark run %1 as sent").arg(uuid), query.lastError().text());
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
