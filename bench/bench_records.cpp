// The records store on a station's SQLite file and on a private PostgreSQL server (started
// here as the tests start theirs, with durable commits).
//   goal: storing a run of 14 motors x 20 steps in SQLite < 50 ms
//   goal: a search by MCU ID over 100,000 stored runs < 20 ms, both databases
//   goal: pushing 1,000 waiting runs to PostgreSQL < 10 s
// Usage: bench_records [store] [search] [push [runs, default 1000]]   (all three by default)
#include "records/recordspusher.h"
#include "records/recordsstore.h"
#include "tests/records/pgtestserver.h"
#include "tests/records/rawdb.h"
#include "tests/records/samplerun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSearchRuns = 100000;
constexpr int kMotorsPerSearchRun = 2;
constexpr int kDistinctMotors = 20000;  // each motor in about ten runs

void report(const char* what, std::vector<double> ms, double goal) {
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    const double worst = ms.back();
    std::printf("%-52s median %8.2f ms  p95 %8.2f ms  max %8.2f ms  (goal < %.0f ms) %s\n", what, median,
                ms[ms.size() * 95 / 100], worst, goal, median < goal ? "ok" : "MISSED");
}

// 100,000 small runs written straight into the tables, many rows per statement in one
// transaction: filling through store() would spend the bench on commits.
bool fill(const RecordsLocation& location, QString* error) {
    {
        RecordsStore store(location);
        if (!store.open(error))
            return false;
    }
    RawDb raw(location);
    if (!raw.exec(QStringLiteral("BEGIN"))) {
        *error = raw.lastError();
        return false;
    }
    const qint64 t0 = QDateTime(QDate(2023, 1, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    const int chunk = 500;
    for (int base = 0; base < kSearchRuns; base += chunk) {
        QString runs = QStringLiteral(
            "INSERT INTO runs (id, uuid, format_version, plan_name, plan_path, plan_sha256, station, "
            "operator_name, "
            "tool_version, start_ms, end_ms, outcome, message, stored_ms) VALUES ");
        QString motors = QStringLiteral(
            "INSERT INTO motors (run_id, seq, mcu_id, can_id, model_code, firmware, param_sha256, outcome, "
            "start_ms, "
            "end_ms) VALUES ");
        QString steps = QStringLiteral(
            "INSERT INTO steps (run_id, motor, seq, step_index, kind, title, outcome, message, start_ms, "
            "seconds, log) "
            "VALUES ");
        for (int i = base; i < base + chunk; ++i) {
            const qint64 start = t0 + qint64(i) * 60000;
            const QString sep = i == base ? QString() : QStringLiteral(",");
            runs +=
                sep + QStringLiteral(
                          "(%1, '%2', 1, 'plan-%3', 'p.yaml', '', 'bench-%4', 'op', '0.0.8', %5, %6, "
                          "'%7', '', %6)")
                          .arg(QString::number(i + 1),
                               QStringLiteral("00000000-0000-4000-8000-%1").arg(i, 12, 10, QLatin1Char('0')),
                               QString::number(i % 7), QString::number(i % 5), QString::number(start),
                               QString::number(start + 60000), i % 13 == 0 ? "FAIL" : "PASS");
            for (int m = 0; m < kMotorsPerSearchRun; ++m) {
                const quint64 mcu = 0x100000 + quint64((i + m * 7919) % kDistinctMotors);
                motors += (i == base && m == 0 ? QString() : QStringLiteral(",")) +
                          QStringLiteral("(%1, %2, '%3', %4, 1, '1.4.0', 'ab', 'PASS', %5, %5)")
                              .arg(QString::number(i + 1), QString::number(m), QString::number(mcu, 16),
                                   QString::number(m + 1), QString::number(start));
                steps += (i == base && m == 0 ? QString() : QStringLiteral(",")) +
                         QStringLiteral("(%1, %2, 0, 1, 'detect', 'detect', 'PASS', '', %3, 0.2, '[]')")
                             .arg(QString::number(i + 1), QString::number(m), QString::number(start));
            }
        }
        if (!raw.exec(runs) || !raw.exec(motors) || !raw.exec(steps)) {
            *error = raw.lastError();
            return false;
        }
    }
    if (!raw.exec(QStringLiteral("COMMIT"))) {
        *error = raw.lastError();
        return false;
    }
    // The server's identity column must continue after the ids written here.
    if (location.isServer())
        raw.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('runs', 'id'), %1)").arg(kSearchRuns));
    raw.exec(QStringLiteral("ANALYZE"));
    return true;
}

void benchSearch(const char* name, const RecordsLocation& location) {
    QString error;
    QElapsedTimer fillTime;
    fillTime.start();
    if (!fill(location, &error)) {
        std::printf("%s: cannot fill: %s\n", name, qPrintable(error));
        return;
    }
    std::printf("%s: %d runs of %d motors written in %.1f s\n", name, kSearchRuns, kMotorsPerSearchRun,
                fillTime.elapsed() / 1000.0);
    RecordsStore store(location);
    if (!store.open(&error)) {
        std::printf("%s\n", qPrintable(error));
        return;
    }
    std::vector<double> search, timeline, recent;
    int found = 0;
    for (int i = 0; i < 300; ++i) {
        const quint64 mcu = 0x100000 + QRandomGenerator::global()->bounded(kDistinctMotors);
        RunQuery query;
        query.mcuId = mcu;
        QVector<RunSummary> runs;
        QElapsedTimer t;
        t.start();
        store.find(query, &runs, &error);
        search.push_back(t.nsecsElapsed() / 1e6);
        found += runs.size();
        QVector<MotorRun> history;
        t.restart();
        store.history(mcu, &history, &error);
        timeline.push_back(t.nsecsElapsed() / 1e6);
        RunQuery latest;
        latest.since = QDateTime(QDate(2023, 2, 1), QTime(0, 0), Qt::UTC);
        latest.outcome = Outcome::Fail;
        t.restart();
        store.find(latest, &runs, &error);
        recent.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("%s: %.1f runs per motor found on average\n", name, found / 300.0);
    report(qPrintable(QStringLiteral("%1: search by MCU ID").arg(QLatin1String(name))), search, 20);
    report(qPrintable(QStringLiteral("%1: a motor's timeline").arg(QLatin1String(name))), timeline, 20);
    report(qPrintable(QStringLiteral("%1: failed runs since a date, newest 100").arg(QLatin1String(name))),
           recent, 20);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        args = QStringList{"store", "search", "push"};
    const int pushAt = args.indexOf(QStringLiteral("push"));
    const int pushRuns =
        pushAt >= 0 && args.value(pushAt + 1).toInt() > 0 ? args.value(pushAt + 1).toInt() : 1000;
    QTemporaryDir dir;
    const QDateTime start = QDateTime::currentDateTimeUtc();

    // Storing: the run a 14-motor bench produces, one transaction each, synchronous to disk.
    if (args.contains(QStringLiteral("store"))) {
        RecordsStore::Options options;
        options.queueForSending = true;
        RecordsStore store(RecordsLocation::sqlite(dir.filePath(QStringLiteral("station.db"))), options);
        QString error;
        if (!store.open(&error)) {
            std::printf("%s\n", qPrintable(error));
            return 1;
        }
        std::vector<RunRecord> runs;
        for (int i = 0; i < 60; ++i)
            runs.push_back(samplerun::make(14, 20, 0x1000 + quint64(i) * 16, start.addSecs(i)));
        std::vector<double> ms;
        for (size_t i = 0; i < runs.size(); ++i) {
            QElapsedTimer t;
            t.start();
            if (store.store(runs[i], &error) != RecordsStore::StoreResult::Stored) {
                std::printf("%s\n", qPrintable(error));
                return 1;
            }
            if (i >= 10)  // after the file and its caches have settled
                ms.push_back(t.nsecsElapsed() / 1e6);
        }
        report("SQLite: store a run of 14 motors x 20 steps", ms, 50);
        std::vector<double> load;
        for (int i = 0; i < 20; ++i) {
            RunRecord back;
            QElapsedTimer t;
            t.start();
            store.load(runs[size_t(i)].uuid, &back, &error);
            load.push_back(t.nsecsElapsed() / 1e6);
        }
        report("SQLite: load a run of 14 motors x 20 steps", load, 50);
    }

    const bool search = args.contains(QStringLiteral("search"));
    if (search)
        benchSearch("SQLite", RecordsLocation::sqlite(dir.filePath(QStringLiteral("search.db"))));
    if (!search && pushAt < 0)
        return 0;

    PgTestServer pg;
    QString error;
    if (!pg.setUp(&error, true)) {
        std::printf("PostgreSQL: %s\n", qPrintable(error));
        return 1;
    }
    if (search)
        benchSearch("PostgreSQL", pg.location(pg.createDatabase(&error)));
    if (pushAt < 0)
        return 0;

    // Pushing: waiting runs of the 14 x 20 size, from a station file to the server.
    for (int motors : {14, 1}) {
        const RecordsLocation local =
            RecordsLocation::sqlite(dir.filePath(QStringLiteral("push%1.db").arg(motors)));
        RecordsStore::Options options;
        options.queueForSending = true;
        RecordsStore station(local, options);
        if (!station.open(&error)) {
            std::printf("%s\n", qPrintable(error));
            return 1;
        }
        RawDb raw(local);
        raw.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        for (int i = 0; i < pushRuns; ++i)
            station.store(samplerun::make(motors, 20, 0x9000 + quint64(i) * 16, start.addSecs(i)), &error);
        RecordsStore server(pg.location(pg.createDatabase(&error)));
        if (!server.open(&error)) {
            std::printf("%s\n", qPrintable(error));
            return 1;
        }
        QElapsedTimer t;
        t.start();
        const RecordsPusher::Result result = RecordsPusher::push(&station, &server, {});
        const double s = t.elapsed() / 1000.0;
        std::printf(
            "PostgreSQL: push %d waiting runs of %d motor(s) x 20 steps: %.2f s (%d sent, %d left)  "
            "(goal < 10 s) %s\n",
            pushRuns, motors, s, result.sent, result.waiting, s < 10 ? "ok" : "MISSED");
    }
    return 0;
}
