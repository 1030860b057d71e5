// The writing half of the records store: a run, or a batch of runs, in one transaction.
#include "records/recordsstore.h"

#include "records/recordsbackend.h"
#include "records/recordscolumns.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

#include <libpq-fe.h>

namespace {

// A value as the driver writes it into a statement, escaped for its own connection.
QString literal(const QSqlDriver* driver, const QVariant& value) {
    const QVariant v = RecordsColumns::bindable(value);
    QSqlField field(QString(), v.type());
    field.setValue(v);
    return driver->formatValue(field);
}

qint64 weight(const QVariant& v) {
    if (v.type() == QVariant::ByteArray)
        return v.toByteArray().size() * 2;  // written as hexadecimal when inlined
    if (v.type() == QVariant::String)
        return v.toString().size();
    return 8;
}

// The connection under a PostgreSQL database, or null: rows go to it with COPY, whose plain
// rows the server takes several times faster than the same rows spelled out as literals.
PGconn* copyConnection(const QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0)
        return nullptr;
    return *static_cast<PGconn* const*>(handle.data());
}

// One value in COPY's text format: \N for NULL; text with the four characters that would end
// the field or the row, and the backslash itself, escaped; bytea as its \x hex form.
void appendCopyValue(QByteArray* out, const QVariant& value) {
    if (value.isNull() && value.type() != QVariant::String) {
        out->append("\\N");
        return;
    }
    switch (value.type()) {
        case QVariant::ByteArray:
            out->append("\\\\x");
            out->append(value.toByteArray().toHex());
            return;
        case QVariant::Double:
            out->append(QByteArray::number(value.toDouble(), 'g', 17));
            return;
        case QVariant::Bool:
            out->append(value.toBool() ? "1" : "0");
            return;
        case QVariant::Int:
        case QVariant::LongLong:
        case QVariant::UInt:
        case QVariant::ULongLong:
            out->append(value.toString().toLatin1());
            return;
        default:
            break;
    }
    for (const char c : value.toString().toUtf8()) {
        switch (c) {
            case '\\':
                out->append("\\\\");
                break;
            case '\t':
                out->append("\\t");
                break;
            case '\n':
                out->append("\\n");
                break;
            case '\r':
                out->append("\\r");
                break;
            default:
                out->append(c);
        }
    }
}

// Adds rows to one table with few statements: a run of 14 motors is a handful of round trips
// to a server instead of a thousand. Where values are bound, the statement for a full batch
// is prepared once and run again for every full batch.
class BatchInsert {
public:
    BatchInsert(QSqlDatabase* db, const RecordsBackend& backend, const QString& table,
                const QStringList& columns)
        : m_db(db), m_inline(backend.inlinesValues()), m_columns(columns.size()), m_full(*db) {
        m_copy = copyConnection(*db);
        m_copyHead =
            QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(QStringLiteral(", "))).toUtf8();
        m_head = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns.join(QStringLiteral(", ")));
        m_group = QLatin1Char('(') + QStringLiteral("?, ").repeated(m_columns - 1) + QStringLiteral("?)");
        m_rowsPerStatement = m_inline ? kMaxRows : qBound(1, backend.maxBindValues() / m_columns, kMaxRows);
    }

    bool add(const QVariantList& row, QString* error) {
        Q_ASSERT(row.size() == m_columns);
        for (const QVariant& v : row)
            m_bytes += weight(v);
        m_values += row;
        ++m_rows;
        return (m_rows < m_rowsPerStatement && m_bytes < kMaxBytes) || flush(error);
    }

    bool flush(QString* error) {
        if (m_rows == 0)
            return true;
        const bool ok = m_copy ? runCopy() : m_inline ? runInline() : runBound();
        m_values.clear();
        m_rows = 0;
        m_bytes = 0;
        if (!ok)
            *error = m_error;
        return ok;
    }

private:
    static constexpr int kMaxRows = 1000;
    // Attachments: a statement holds all its values at once.
    static constexpr qint64 kMaxBytes = 8 * 1024 * 1024;

    bool runCopy() {
        QByteArray rows;
        rows.reserve(int(m_bytes + m_values.size() * 2));
        for (int r = 0; r < m_rows; ++r) {
            for (int c = 0; c < m_columns; ++c) {
                if (c > 0)
                    rows.append('\t');
                appendCopyValue(&rows, RecordsColumns::bindable(m_values[r * m_columns + c]));
            }
            rows.append('\n');
        }
        PGresult* start = PQexec(m_copy, m_copyHead.constData());
        const bool copying = PQresultStatus(start) == PGRES_COPY_IN;
        if (!copying)
            m_error = QString::fromUtf8(PQresultErrorMessage(start)).trimmed();
        PQclear(start);
        if (!copying)
            return false;
        bool ok = PQputCopyData(m_copy, rows.constData(), rows.size()) == 1;
        ok = PQputCopyEnd(m_copy, ok ? nullptr : "the rows could not be sent") == 1 && ok;
        if (!ok)
            m_error = QString::fromUtf8(PQerrorMessage(m_copy)).trimmed();
        // Every result of the command is taken, so the connection is idle again for Qt.
        while (PGresult* end = PQgetResult(m_copy)) {
            if (PQresultStatus(end) != PGRES_COMMAND_OK) {
                ok = false;
                m_error = QString::fromUtf8(PQresultErrorMessage(end)).trimmed();
            }
            PQclear(end);
        }
        return ok;
    }

    bool runInline() {
        const QSqlDriver* driver = m_db->driver();
        QString sql = m_head;
        for (int r = 0; r < m_rows; ++r) {
            sql += r == 0 ? QStringLiteral("(") : QStringLiteral(", (");
            for (int c = 0; c < m_columns; ++c) {
                if (c > 0)
                    sql += QStringLiteral(", ");
                sql += literal(driver, m_values[r * m_columns + c]);
            }
            sql += QLatin1Char(')');
        }
        QSqlQuery query(*m_db);
        if (query.exec(sql))
            return true;
        m_error = query.lastError().text();
        return false;
    }

    bool runBound() {
        const bool full = m_rows == m_rowsPerStatement;
        QSqlQuery partial(*m_db);
        QSqlQuery& query = full ? m_full : partial;
        if (!full || !m_fullPrepared) {
            QString sql = m_head;
            for (int i = 0; i < m_rows; ++i)
                sql += (i > 0 ? QStringLiteral(", ") : QString()) + m_group;
            if (!query.prepare(sql)) {
                m_error = query.lastError().text();
                return false;
            }
            m_fullPrepared = full;
        }
        for (int i = 0; i < m_values.size(); ++i)
            query.bindValue(i, RecordsColumns::bindable(m_values[i]));
        if (query.exec())
            return true;
        m_error = query.lastError().text();
        return false;
    }

    QSqlDatabase* m_db;
    PGconn* m_copy = nullptr;
    QByteArray m_copyHead;
    bool m_inline;
    int m_columns;
    QString m_head;
    QString m_group;
    int m_rowsPerStatement = 1;
    QSqlQuery m_full;
    bool m_fullPrepared = false;
    QVariantList m_values;
    int m_rows = 0;
    qint64 m_bytes = 0;
    QString m_error;
};

}  // namespace

bool RecordsStore::write(QSqlQuery* query, const QString& sql, const QVariantList& values) {
    if (m_backend->inlinesValues()) {
        // The writing statements hold no "?" of their own: each one is a value's place.
        QString text;
        int next = 0;
        for (const QChar c : sql) {
            if (c == QLatin1Char('?') && next < values.size())
                text += literal(m_db.driver(), values[next++]);
            else
                text += c;
        }
        return query->exec(text);
    }
    if (!query->prepare(sql))
        return false;
    for (const QVariant& v : values)
        query->addBindValue(RecordsColumns::bindable(v));
    return query->exec();
}

QString RecordsStore::validate(const RunRecord& run, QString* error) const {
    const QString uuid = normalUuid(run.uuid);
    if (uuid.isEmpty()) {
        *error = tr("The run has no valid UUID (\"%1\"); it was not stored.").arg(run.uuid);
        return QString();
    }
    for (const MotorRecord& motor : run.motors) {
        for (const StepRecord& step : motor.steps) {
            for (const Attachment& a : step.attachments) {
                if (a.data.size() > kMaxAttachmentBytes) {
                    *error = tr("The attachment %1 is larger than %2 MiB; the run was not stored.")
                                 .arg(a.name, QString::number(kMaxAttachmentBytes >> 20));
                    return QString();
                }
            }
        }
    }
    return uuid;
}

RecordsStore::StoreResult RecordsStore::store(const RunRecord& run, QString* error) {
    QVector<StoreResult> results;
    QStringList errors;
    QString batchError;
    storeBatch({run}, &results, &errors, &batchError);
    if (results[0] == StoreResult::Failed)
        *error = errors[0].isEmpty() ? batchError : errors[0];
    return results[0];
}

bool RecordsStore::storeBatch(const QVector<RunRecord>& runs, QVector<StoreResult>* results,
                              QStringList* errors, QString* error) {
    results->fill(StoreResult::Failed, runs.size());
    *errors = QVector<QString>(runs.size()).toList();
    if (!checkThread(error))
        return false;
    QStringList uuids;
    bool any = false;
    for (int i = 0; i < runs.size(); ++i) {
        uuids << validate(runs[i], &(*errors)[i]);
        any = any || !uuids.last().isEmpty();
    }
    if (!any)
        return true;
    QString why;
    // A failure of the transaction fails every run in it, each told with its own UUID.
    const auto failAll = [&] {
        *error = failure(tr("Cannot store runs"), why);
        for (int i = 0; i < runs.size(); ++i) {
            (*results)[i] = StoreResult::Failed;
            if (!uuids[i].isEmpty())
                (*errors)[i] = failure(tr("Cannot store run %1").arg(uuids[i]), why);
        }
        return false;
    };
    if (!begin(&why))
        return failAll();
    for (int i = 0; i < runs.size(); ++i) {
        if (uuids[i].isEmpty())
            continue;
        if (!exec(QStringLiteral("SAVEPOINT run"), &why)) {
            (*errors)[i] = failure(tr("Cannot store run %1").arg(uuids[i]), why);
            continue;
        }
        (*results)[i] = insertRun(runs[i], uuids[i], &why);
        if ((*results)[i] == StoreResult::Failed) {
            (*errors)[i] = failure(tr("Cannot store run %1").arg(uuids[i]), why);
            exec(QStringLiteral("ROLLBACK TO SAVEPOINT run"), &why);
        }
        exec(QStringLiteral("RELEASE SAVEPOINT run"), &why);
    }
    if (!exec(QStringLiteral("COMMIT"), &why)) {
        rollback();
        return failAll();
    }
    return true;
}

RecordsStore::StoreResult RecordsStore::insertRun(const RunRecord& run, const QString& uuid, QString* error) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QSqlQuery insert(m_db);
    const bool inserted = write(
        &insert,
        QStringLiteral(
            "INSERT INTO runs (uuid, format_version, plan_name, plan_path, plan_sha256, station, "
            "operator_name, tool_version, start_ms, end_ms, outcome, message, stored_ms) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (uuid) DO NOTHING RETURNING id"),
        {uuid, RunRecord::kFormatVersion, run.planName, run.planPath, run.planSha256, run.station,
         run.operatorName, run.toolVersion,
         // A run without a start time counts from when it was stored.
         run.startUtc.isValid() ? RecordsColumns::time(run.startUtc) : QVariant(now),
         RecordsColumns::time(run.endUtc), Outcomes::name(run.outcome), run.message, now});
    if (!inserted) {
        *error = insert.lastError().text();
        return StoreResult::Failed;
    }
    if (!insert.next()) {
        // Already there: sent again, or the sender stopped between the server's commit and
        // taking the run out of the outbox.
        return StoreResult::AlreadyStored;
    }
    const qint64 runId = insert.value(0).toLongLong();
    insert.finish();

    BatchInsert motors(&m_db, *m_backend, QStringLiteral("motors"),
                       {"run_id", "seq", "mcu_id", "can_id", "model_code", "firmware", "param_sha256",
                        "outcome", "start_ms", "end_ms"});
    BatchInsert steps(&m_db, *m_backend, QStringLiteral("steps"),
                      {"run_id", "motor", "seq", "step_index", "kind", "title", "outcome", "message",
                       "start_ms", "seconds", "log"});
    BatchInsert measurements(&m_db, *m_backend, QStringLiteral("measurements"),
                             {"run_id", "motor", "step", "seq", "name", "unit", "is_numeric", "value", "low",
                              "high", "marginal", "text_value", "expected", "outcome"});
    BatchInsert attachments(&m_db, *m_backend, QStringLiteral("attachments"),
                            {"run_id", "motor", "step", "seq", "name", "mime_type", "size", "data"});
    const QVariant noNumber(QVariant::Double);
    for (int mi = 0; mi < run.motors.size(); ++mi) {
        const MotorRecord& motor = run.motors[mi];
        if (!motors.add({runId, mi, RecordsColumns::mcu(motor.mcuId), motor.canId, motor.modelCode,
                         motor.firmware, motor.paramSha256, Outcomes::name(motor.outcome),
                         RecordsColumns::time(motor.startUtc), RecordsColumns::time(motor.endUtc)},
                        error))
            return StoreResult::Failed;
    }
    // Parents before children: the keys refer back.
    if (!motors.flush(error))
        return StoreResult::Failed;
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
                return StoreResult::Failed;
        }
    }
    if (!steps.flush(error))
        return StoreResult::Failed;
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
                    return StoreResult::Failed;
            }
            for (int ai = 0; ai < step.attachments.size(); ++ai) {
                const Attachment& a = step.attachments[ai];
                if (!attachments.add(
                        {runId, mi, si, ai, a.name, a.mimeType, qint64(a.data.size()), qCompress(a.data)},
                        error))
                    return StoreResult::Failed;
            }
        }
    }
    if (!measurements.flush(error) || !attachments.flush(error))
        return StoreResult::Failed;
    if (m_options.queueForSending) {
        QSqlQuery queue(m_db);
        if (!write(&queue, QStringLiteral("INSERT INTO outbox (run_id, queued_ms) VALUES (?, ?)"),
                   {runId, QDateTime::currentMSecsSinceEpoch()})) {
            *error = queue.lastError().text();
            return StoreResult::Failed;
        }
    }
    return StoreResult::Stored;
}
