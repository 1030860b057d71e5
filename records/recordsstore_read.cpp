// The reading half of the records store: a whole run, searches and a motor's timeline.
#include "records/recordsstore.h"

#include "records/recordscolumns.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>

#include <cmath>

namespace {

// A database written by another program (or damaged) may hold anything: every value read is
// checked before it is used as an index or an outcome.
bool outcomeOf(const QVariant& v, Outcome* outcome) {
    return Outcomes::fromName(v.toString(), outcome);
}

double numberOr(const QVariant& v, double fallback) {
    return v.isNull() ? fallback : v.toDouble();
}

bool parseMcu(const QString& text, quint64* id) {
    bool ok = false;
    *id = text.toULongLong(&ok, 16);
    return ok;
}

QString likePattern(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('%'), QLatin1String("\\%"))
        .replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped.toLower() + QLatin1Char('%');
}

bool run(QSqlQuery* query, const QString& sql, const QVariantList& binds) {
    query->setForwardOnly(true);
    if (!query->prepare(sql))
        return false;
    for (const QVariant& v : binds)
        query->addBindValue(v);
    return query->exec();
}

}  // namespace

bool RecordsStore::load(const QString& uuidText, RunRecord* out, QString* error) {
    if (!checkThread(error))
        return false;
    const QString uuid = normalUuid(uuidText);
    const auto damaged = [&](const QString& what) {
        *error = failure(tr("Run %1 cannot be read").arg(uuid), what);
        return false;
    };
    QSqlQuery query(m_db);
    if (!run(&query,
             QStringLiteral("SELECT id, uuid, plan_name, plan_path, plan_sha256, station, operator_name, "
                            "tool_version, start_ms, end_ms, outcome, message FROM runs WHERE uuid = ?"),
             {uuid}))
        return damaged(query.lastError().text());
    if (!query.next()) {
        *error = tr("No run %1 in %2.").arg(uuidText, m_location.display());
        return false;
    }
    RunRecord r;
    const qint64 runId = query.value(0).toLongLong();
    r.uuid = query.value(1).toString();
    r.planName = query.value(2).toString();
    r.planPath = query.value(3).toString();
    r.planSha256 = query.value(4).toString();
    r.station = query.value(5).toString();
    r.operatorName = query.value(6).toString();
    r.toolVersion = query.value(7).toString();
    r.startUtc = RecordsColumns::time(query.value(8));
    r.endUtc = RecordsColumns::time(query.value(9));
    r.message = query.value(11).toString();
    if (!outcomeOf(query.value(10), &r.outcome))
        return damaged(tr("unknown outcome"));

    if (!run(&query,
             QStringLiteral(
                 "SELECT seq, mcu_id, can_id, model_code, firmware, param_sha256, outcome, start_ms, "
                 "end_ms FROM motors WHERE run_id = ? ORDER BY seq"),
             {runId}))
        return damaged(query.lastError().text());
    while (query.next()) {
        MotorRecord m;
        if (query.value(0).toInt() != r.motors.size() || !parseMcu(query.value(1).toString(), &m.mcuId) ||
            !outcomeOf(query.value(6), &m.outcome))
            return damaged(tr("a motor row is damaged"));
        m.canId = query.value(2).toInt();
        m.modelCode = query.value(3).toInt();
        m.firmware = query.value(4).toString();
        m.paramSha256 = query.value(5).toString();
        m.startUtc = RecordsColumns::time(query.value(7));
        m.endUtc = RecordsColumns::time(query.value(8));
        r.motors.append(m);
    }

    if (!run(&query,
             QStringLiteral(
                 "SELECT motor, seq, step_index, kind, title, outcome, message, start_ms, seconds, log "
                 "FROM steps WHERE run_id = ? ORDER BY motor, seq"),
             {runId}))
        return damaged(query.lastError().text());
    while (query.next()) {
        const int mi = query.value(0).toInt();
        StepRecord s;
        if (mi < 0 || mi >= r.motors.size() || query.value(1).toInt() != r.motors[mi].steps.size() ||
            !outcomeOf(query.value(5), &s.outcome))
            return damaged(tr("a step row is damaged"));
        s.index = query.value(2).toInt();
        s.kind = query.value(3).toString();
        s.title = query.value(4).toString();
        s.message = query.value(6).toString();
        s.startUtc = RecordsColumns::time(query.value(7));
        s.seconds = numberOr(query.value(8), 0);
        for (const QJsonValue& line : QJsonDocument::fromJson(query.value(9).toString().toUtf8()).array())
            s.log << line.toString();
        r.motors[mi].steps.append(s);
    }
    const auto stepOf = [&r](const QVariant& motor, const QVariant& step) -> StepRecord* {
        const int mi = motor.toInt();
        const int si = step.toInt();
        if (mi < 0 || mi >= r.motors.size() || si < 0 || si >= r.motors[mi].steps.size())
            return nullptr;
        return &r.motors[mi].steps[si];
    };

    if (!run(&query,
             QStringLiteral("SELECT motor, step, seq, name, unit, is_numeric, value, low, high, marginal, "
                            "text_value, expected, outcome FROM measurements WHERE run_id = ? "
                            "ORDER BY motor, step, seq"),
             {runId}))
        return damaged(query.lastError().text());
    while (query.next()) {
        StepRecord* step = stepOf(query.value(0), query.value(1));
        Measurement m;
        if (!step || query.value(2).toInt() != step->measurements.size() ||
            !outcomeOf(query.value(12), &m.outcome))
            return damaged(tr("a measurement row is damaged"));
        m.name = query.value(3).toString();
        m.unit = query.value(4).toString();
        m.numeric = query.value(5).toInt() != 0;
        m.value = m.numeric ? numberOr(query.value(6), std::nan("")) : 0;
        m.hasLow = !query.value(7).isNull();
        m.low = numberOr(query.value(7), 0);
        m.hasHigh = !query.value(8).isNull();
        m.high = numberOr(query.value(8), 0);
        m.marginal = numberOr(query.value(9), 0);
        m.text = query.value(10).toString();
        m.expected = query.value(11).toString();
        step->measurements.append(m);
    }

    if (!run(&query,
             QStringLiteral("SELECT motor, step, seq, name, mime_type, size, data FROM attachments "
                            "WHERE run_id = ? ORDER BY motor, step, seq"),
             {runId}))
        return damaged(query.lastError().text());
    while (query.next()) {
        StepRecord* step = stepOf(query.value(0), query.value(1));
        if (!step || query.value(2).toInt() != step->attachments.size())
            return damaged(tr("an attachment row is damaged"));
        Attachment a;
        a.name = query.value(3).toString();
        a.mimeType = query.value(4).toString();
        const qint64 size = query.value(5).toLongLong();
        const QByteArray packed = query.value(6).toByteArray();
        // The length Qt puts in front of the compressed bytes decides what qUncompress
        // allocates: check it against the column before trusting either.
        const qint64 header = packed.size() >= 4
                                  ? (qint64(quint8(packed[0])) << 24 | quint8(packed[1]) << 16 |
                                     quint8(packed[2]) << 8 | quint8(packed[3]))
                                  : -1;
        if (size < 0 || size > kMaxAttachmentBytes || header != size)
            return damaged(tr("attachment %1 is damaged").arg(a.name));
        a.data = qUncompress(packed);
        if (a.data.size() != size)
            return damaged(tr("attachment %1 is damaged").arg(a.name));
        step->attachments.append(a);
    }
    *out = r;
    return true;
}

bool RecordsStore::matchRuns(const QString& text, int limit, QStringList* uuids, QString* error) {
    uuids->clear();
    if (!checkThread(error))
        return false;
    const QString whole = normalUuid(text);
    QSqlQuery query(m_db);
    if (!whole.isEmpty()) {
        if (!run(&query, QStringLiteral("SELECT uuid FROM runs WHERE uuid = ?"), {whole})) {
            *error = failure(tr("Cannot look the run up"), query.lastError().text());
            return false;
        }
        if (query.next()) {
            uuids->append(query.value(0).toString());
            return true;
        }
    }
    const QString prefix = text.trimmed().toLower();
    if (prefix.isEmpty())
        return true;
    if (!run(&query,
             QStringLiteral("SELECT uuid FROM runs WHERE substr(uuid, 1, ?) = ? ORDER BY uuid LIMIT ?"),
             {prefix.size(), prefix, limit})) {
        *error = failure(tr("Cannot look the run up"), query.lastError().text());
        return false;
    }
    while (query.next())
        uuids->append(query.value(0).toString());
    return true;
}

bool RecordsStore::readSummaries(const QString& where, const QVariantList& binds, int limit,
                                 QVector<RunSummary>* runs, QString* error) {
    QSqlQuery query(m_db);
    QString sql = QStringLiteral(
                      "SELECT r.id, r.uuid, r.plan_name, r.station, r.operator_name, r.start_ms, r.end_ms, "
                      "r.outcome, r.message, o.run_id FROM runs r LEFT JOIN outbox o ON o.run_id = r.id") +
                  where + QStringLiteral(" ORDER BY r.start_ms DESC, r.id DESC");
    QVariantList values = binds;
    if (limit > 0) {
        sql += QStringLiteral(" LIMIT ?");
        values << limit;
    }
    if (!run(&query, sql, values)) {
        *error = failure(tr("Cannot search the records"), query.lastError().text());
        return false;
    }
    QVector<qint64> ids;
    while (query.next()) {
        RunSummary s;
        ids << query.value(0).toLongLong();
        s.uuid = query.value(1).toString();
        s.planName = query.value(2).toString();
        s.station = query.value(3).toString();
        s.operatorName = query.value(4).toString();
        s.startUtc = RecordsColumns::time(query.value(5));
        s.endUtc = RecordsColumns::time(query.value(6));
        if (!outcomeOf(query.value(7), &s.outcome))
            s.outcome = Outcome::Error;
        s.message = query.value(8).toString();
        s.waiting = !query.value(9).isNull();
        runs->append(s);
    }
    if (ids.isEmpty())
        return true;
    // The motors of all found runs in one more query; the ids are our own integers.
    QStringList idText;
    QHash<qint64, int> at;
    for (int i = 0; i < ids.size(); ++i) {
        idText << QString::number(ids[i]);
        at.insert(ids[i], i);
    }
    if (!run(&query,
             QStringLiteral(
                 "SELECT run_id, mcu_id, can_id, model_code, firmware, param_sha256, outcome FROM motors "
                 "WHERE run_id IN (%1) ORDER BY run_id, seq")
                 .arg(idText.join(QLatin1Char(','))),
             {})) {
        *error = failure(tr("Cannot search the records"), query.lastError().text());
        return false;
    }
    while (query.next()) {
        MotorSummary m;
        if (!parseMcu(query.value(1).toString(), &m.mcuId))
            continue;
        m.canId = query.value(2).toInt();
        m.modelCode = query.value(3).toInt();
        m.firmware = query.value(4).toString();
        m.paramSha256 = query.value(5).toString();
        if (!outcomeOf(query.value(6), &m.outcome))
            m.outcome = Outcome::Error;
        (*runs)[at.value(query.value(0).toLongLong())].motors.append(m);
    }
    return true;
}

bool RecordsStore::find(const RunQuery& q, QVector<RunSummary>* runs, QString* error) {
    runs->clear();
    if (!checkThread(error))
        return false;
    QStringList conditions;
    QVariantList binds;
    // Motor conditions select runs through the motors' indexes, so a search by MCU ID reads
    // that motor's few rows, not every run.
    const bool byMotor = q.mcuId.has_value() || q.canId >= 0;
    if (byMotor) {
        QStringList motor;
        if (q.mcuId) {
            motor << QStringLiteral("m.mcu_id = ?");
            binds << RecordsColumns::mcu(*q.mcuId);
        }
        if (q.canId >= 0) {
            motor << QStringLiteral("m.can_id = ?");
            binds << q.canId;
        }
        if (q.outcome) {
            motor << QStringLiteral("m.outcome = ?");
            binds << Outcomes::name(*q.outcome);
        }
        conditions << QStringLiteral("r.id IN (SELECT m.run_id FROM motors m WHERE %1)")
                          .arg(motor.join(QStringLiteral(" AND ")));
    } else if (q.outcome) {
        conditions << QStringLiteral("r.outcome = ?");
        binds << Outcomes::name(*q.outcome);
    }
    if (!q.plan.isEmpty()) {
        conditions << QStringLiteral("LOWER(r.plan_name) LIKE ? ESCAPE '\\'");
        binds << likePattern(q.plan);
    }
    if (!q.station.isEmpty()) {
        conditions << QStringLiteral("r.station = ?");
        binds << q.station;
    }
    if (q.since.isValid()) {
        conditions << QStringLiteral("r.start_ms >= ?");
        binds << q.since.toMSecsSinceEpoch();
    }
    if (q.until.isValid()) {
        conditions << QStringLiteral("r.start_ms < ?");
        binds << q.until.toMSecsSinceEpoch();
    }
    const QString where = conditions.isEmpty()
                              ? QString()
                              : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    return readSummaries(where, binds, q.limit, runs, error);
}

bool RecordsStore::readMotorRuns(const QString& tail, const QVariantList& binds, QVector<MotorRun>* runs,
                                 QString* error) {
    QSqlQuery query(m_db);
    if (!run(&query,
             QStringLiteral(
                 "SELECT r.uuid, r.plan_name, r.station, r.outcome, r.start_ms, m.start_ms, m.end_ms, "
                 "m.mcu_id, m.can_id, m.model_code, m.firmware, m.param_sha256, m.outcome "
                 "FROM motors m JOIN runs r ON r.id = m.run_id ") +
                 tail,
             binds)) {
        *error = failure(tr("Cannot read the motor's runs"), query.lastError().text());
        return false;
    }
    while (query.next()) {
        MotorRun m;
        m.runUuid = query.value(0).toString();
        m.planName = query.value(1).toString();
        m.station = query.value(2).toString();
        if (!outcomeOf(query.value(3), &m.runOutcome))
            m.runOutcome = Outcome::Error;
        m.startUtc = RecordsColumns::time(query.value(5).isNull() ? query.value(4) : query.value(5));
        m.endUtc = RecordsColumns::time(query.value(6));
        parseMcu(query.value(7).toString(), &m.motor.mcuId);
        m.motor.canId = query.value(8).toInt();
        m.motor.modelCode = query.value(9).toInt();
        m.motor.firmware = query.value(10).toString();
        m.motor.paramSha256 = query.value(11).toString();
        if (!outcomeOf(query.value(12), &m.motor.outcome))
            m.motor.outcome = Outcome::Error;
        runs->append(m);
    }
    return true;
}

bool RecordsStore::history(quint64 mcuId, QVector<MotorRun>* timeline, QString* error) {
    timeline->clear();
    if (!checkThread(error))
        return false;
    if (!readMotorRuns(QStringLiteral("WHERE m.mcu_id = ? ORDER BY r.start_ms, r.id, m.seq"),
                       {RecordsColumns::mcu(mcuId)}, timeline, error))
        return false;
    MotorHistory::markChanges(timeline);
    return true;
}

bool RecordsStore::lastRun(quint64 mcuId, MotorRun* last, bool* found, QString* error) {
    *found = false;
    if (!checkThread(error))
        return false;
    QVector<MotorRun> runs;
    if (!readMotorRuns(QStringLiteral("WHERE m.mcu_id = ? ORDER BY r.start_ms DESC, r.id DESC LIMIT 1"),
                       {RecordsColumns::mcu(mcuId)}, &runs, error))
        return false;
    if (!runs.isEmpty()) {
        *last = runs.first();
        *found = true;
    }
    return true;
}

bool RecordsStore::knownPlans(QStringList* plans, QString* error) {
    plans->clear();
    if (!checkThread(error))
        return false;
    QSqlQuery query(m_db);
    if (!run(&query, QStringLiteral("SELECT DISTINCT plan_name FROM runs ORDER BY plan_name"), {})) {
        *error = failure(tr("Cannot read the plans"), query.lastError().text());
        return false;
    }
    while (query.next())
        plans->append(query.value(0).toString());
    return true;
}

bool RecordsStore::knownStations(QStringList* stations, QString* error) {
    stations->clear();
    if (!checkThread(error))
        return false;
    QSqlQuery query(m_db);
    if (!run(&query, QStringLiteral("SELECT DISTINCT station FROM runs ORDER BY station"), {})) {
        *error = failure(tr("Cannot read the stations"), query.lastError().text());
        return false;
    }
    while (query.next())
        stations->append(query.value(0).toString());
    return true;
}
