// The station's sender against a real PostgreSQL server that it cannot reach at first, that
// goes away in the middle of a push and comes back: every run arrives exactly once.

#include "records/recordsforwarder.h"
#include "records/recordspusher.h"
#include "records/recordsstore.h"
#include "tests/records/pgtestserver.h"
#include "tests/records/rawdb.h"
#include "tests/records/samplerun.h"

#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr int kMotors = 3;
constexpr int kSteps = 4;

QSet<QString> uuidSet(const QVariantList& values) {
    QSet<QString> set;
    for (const QVariant& v : values)
        set.insert(v.toString());
    return set;
}

// A sender's signals as seen on the test's thread: they are emitted on the sender's own, and
// reach an object here queued, as they reach the window.
class Tally : public QObject {
public:
    explicit Tally(RecordsForwarder* forwarder) {
        connect(forwarder, &RecordsForwarder::waitingChanged, this, [this](int n) { counts << n; });
        connect(forwarder, &RecordsForwarder::sent, this, [this](int n) { sent += n; });
        connect(forwarder, &RecordsForwarder::failed, this, [this](const QString& why) { failures << why; });
        connect(forwarder, &RecordsForwarder::recovered, this, [this] { ++recoveries; });
    }
    QVector<int> counts;
    int sent = 0;
    QStringList failures;
    int recoveries = 0;
};

}  // namespace

class RecordsForwardTest : public QObject {
    Q_OBJECT

private:
    // A station file holding `count` runs, all waiting.
    RecordsLocation station(int count, QStringList* uuids = nullptr) {
        const RecordsLocation location =
            RecordsLocation::sqlite(m_dir.filePath(QStringLiteral("station%1.db").arg(++m_files)));
        RecordsStore::Options options;
        options.queueForSending = true;
        RecordsStore store(location, options);
        QString error;
        if (!store.open(&error))
            qWarning() << error;
        const QDateTime start = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < count; ++i) {
            const RunRecord run = samplerun::make(kMotors, kSteps, 0x5000 + quint64(i) * 8, start.addSecs(i));
            if (store.store(run, &error) != RecordsStore::StoreResult::Stored)
                qWarning() << error;
            if (uuids)
                uuids->append(run.uuid);
        }
        return location;
    }

    RecordsLocation serverDatabase() {
        QString error;
        const QString name = m_pg.createDatabase(&error);
        if (name.isEmpty())
            qWarning() << error;
        return m_pg.location(name);
    }

    RecordsForwarder::Settings quick(const RecordsLocation& local, const RecordsLocation& server) {
        RecordsForwarder::Settings s;
        s.local = local;
        s.server = server;
        s.firstRetryMs = 100;
        s.maxRetryMs = 800;
        s.batch = 10;
        return s;
    }

    // Every run on the server is whole, and none is there twice.
    void checkServer(const RecordsLocation& server, const QSet<QString>& expected) {
        RawDb raw(server);
        QVERIFY(raw.isOpen());
        const QSet<QString> there = uuidSet(raw.column(QStringLiteral("SELECT uuid FROM runs")));
        QCOMPARE(there, expected);
        QCOMPARE(raw.value(QStringLiteral("SELECT COUNT(*) FROM runs")).toInt(), expected.size());
        QCOMPARE(raw.value(QStringLiteral("SELECT COUNT(*) FROM runs r WHERE "
                                          "(SELECT COUNT(*) FROM motors m WHERE m.run_id = r.id) <> %1 OR "
                                          "(SELECT COUNT(*) FROM steps s WHERE s.run_id = r.id) <> %2")
                               .arg(kMotors)
                               .arg(kMotors * kSteps))
                     .toInt(),
                 0);
    }

    QTemporaryDir m_dir;
    int m_files = 0;
    PgTestServer m_pg;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QString error;
        if (!m_pg.setUp(&error)) {
            if (qgetenv("CI") == "true")
                QFAIL(qPrintable(error));
            QSKIP(qPrintable(error));
        }
    }

    void init() {
        if (!m_pg.isRunning()) {
            QString error;
            QVERIFY2(m_pg.start(&error), qPrintable(error));
        }
    }

    void forwardsEveryRun() {
        QStringList uuids;
        const RecordsLocation local = station(25, &uuids);
        const RecordsLocation server = serverDatabase();
        RecordsForwarder forwarder(quick(local, server));
        Tally tally(&forwarder);
        forwarder.start();
        QTRY_COMPARE_WITH_TIMEOUT(forwarder.waiting(), 0, 60000);
        QTRY_COMPARE_WITH_TIMEOUT(tally.sent, 25, 10000);
        QCOMPARE(tally.counts.first(), 25);
        QCOMPARE(tally.counts.last(), 0);
        QVERIFY(tally.failures.isEmpty());
        checkServer(server, QSet<QString>(uuids.begin(), uuids.end()));

        // The server's copy is the station's run.
        RecordsStore a(local), b(server);
        QString error;
        QVERIFY(a.open(&error) && b.open(&error));
        RunRecord ra, rb;
        QVERIFY(a.load(uuids[7], &ra, &error));
        QVERIFY(b.load(uuids[7], &rb, &error));
        QCOMPARE(rb.toJson(), ra.toJson());

        // A run stored while the sender idles goes on when it is woken.
        RecordsStore::Options options;
        options.queueForSending = true;
        RecordsStore writer(local, options);
        QVERIFY(writer.open(&error));
        const RunRecord late = samplerun::make(kMotors, kSteps, 0x9000, QDateTime::currentDateTimeUtc());
        QCOMPARE(writer.store(late, &error), RecordsStore::StoreResult::Stored);
        forwarder.sendNow();
        QTRY_COMPARE_WITH_TIMEOUT(writer.waitingCount(&error), 0, 60000);
        RunRecord back;
        QVERIFY(b.load(late.uuid, &back, &error));
    }

    void sentTwiceStoredOnce() {
        QStringList uuids;
        const RecordsLocation local = station(12, &uuids);
        const RecordsLocation server = serverDatabase();
        RecordsStore::Options options;
        options.queueForSending = true;
        RecordsStore l(local, options), s(server);
        QString error;
        QVERIFY(l.open(&error));
        QVERIFY(s.open(&error));
        RecordsPusher::Result first = RecordsPusher::push(&l, &s, {});
        QCOMPARE(first.sent, 12);
        QCOMPARE(first.waiting, 0);
        // As if the station had lost track of what it sent: everything waits again.
        {
            RawDb raw(local);
            QVERIFY(
                raw.exec(QStringLiteral("INSERT INTO outbox (run_id, queued_ms) SELECT id, 0 FROM runs")));
        }
        RecordsPusher::Result second = RecordsPusher::push(&l, &s, {});
        QCOMPARE(second.sent, 0);
        QCOMPARE(second.alreadyThere, 12);
        QCOMPARE(second.waiting, 0);
        checkServer(server, QSet<QString>(uuids.begin(), uuids.end()));
    }

    void serverDownAtStart() {
        QStringList uuids;
        const RecordsLocation local = station(10, &uuids);
        const RecordsLocation server = serverDatabase();
        QVERIFY(m_pg.stop());
        RecordsForwarder forwarder(quick(local, server));
        Tally tally(&forwarder);
        forwarder.start();
        QTRY_VERIFY_WITH_TIMEOUT(!tally.failures.isEmpty(), 30000);
        QVERIFY(!forwarder.lastError().isEmpty());
        QCOMPARE(forwarder.waiting(), 10);
        QString error;
        QVERIFY2(m_pg.start(&error), qPrintable(error));
        QTRY_COMPARE_WITH_TIMEOUT(forwarder.waiting(), 0, 60000);
        QTRY_COMPARE_WITH_TIMEOUT(tally.recoveries, 1, 10000);
        QVERIFY(forwarder.lastError().isEmpty());
        checkServer(server, QSet<QString>(uuids.begin(), uuids.end()));
    }

    void serverGoesAwayMidPush() {
        QStringList uuids;
        const RecordsLocation local = station(400, &uuids);
        const RecordsLocation server = serverDatabase();
        RecordsForwarder forwarder(quick(local, server));
        Tally tally(&forwarder);
        forwarder.start();
        QTRY_VERIFY_WITH_TIMEOUT(forwarder.waiting() >= 0 && forwarder.waiting() < 390, 60000);
        // Killed as a crash would: connections drop inside their transactions.
        QVERIFY(m_pg.stop(true));
        QTRY_VERIFY_WITH_TIMEOUT(!tally.failures.isEmpty(), 30000);
        const int left = forwarder.waiting();
        QVERIFY2(left > 0, "the push ended before the server went away");
        QString error;
        QVERIFY2(m_pg.start(&error), qPrintable(error));
        QTRY_COMPARE_WITH_TIMEOUT(forwarder.waiting(), 0, 120000);
        forwarder.stop();
        checkServer(server, QSet<QString>(uuids.begin(), uuids.end()));
    }

    void stopsBetweenRuns() {
        QStringList uuids;
        const RecordsLocation local = station(300, &uuids);
        const RecordsLocation server = serverDatabase();
        auto forwarder = std::make_unique<RecordsForwarder>(quick(local, server));
        forwarder->start();
        QTRY_VERIFY_WITH_TIMEOUT(forwarder->waiting() >= 0 && forwarder->waiting() < 295, 60000);
        forwarder->stop();
        QVERIFY(!forwarder->isRunning());
        // What the station no longer holds as waiting is on the server; the rest still waits.
        RawDb l(local), s(server);
        const QSet<QString> waiting =
            uuidSet(l.column(QStringLiteral("SELECT r.uuid FROM outbox o JOIN runs r ON r.id = o.run_id")));
        const QSet<QString> sent = uuidSet(s.column(QStringLiteral("SELECT uuid FROM runs")));
        QVERIFY(!sent.isEmpty());
        QVERIFY(!waiting.isEmpty());
        QCOMPARE(sent + waiting, QSet<QString>(uuids.begin(), uuids.end()));
        QVERIFY((sent & waiting).isEmpty());
        // Started again, it finishes the job.
        forwarder = std::make_unique<RecordsForwarder>(quick(local, server));
        forwarder->start();
        QTRY_COMPARE_WITH_TIMEOUT(forwarder->waiting(), 0, 120000);
        forwarder.reset();
        checkServer(server, QSet<QString>(uuids.begin(), uuids.end()));
    }
};

QTEST_GUILESS_MAIN(RecordsForwardTest)
#include "tst_recordsforward.moc"
