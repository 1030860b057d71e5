// trivane-cli records: the real executable in a scratch working directory, against the
// station's file and a private PostgreSQL server, two stations sending at once included.

#include "records/recordsstore.h"
#include "tests/records/pgtestserver.h"
#include "tests/records/rawdb.h"
#include "tests/records/samplerun.h"
#include "tests/link/simbench.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDirIterator>
#include <QXmlStreamReader>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kT0 = QDateTime(QDate(2024, 5, 1), QTime(8, 0), Qt::UTC);

struct Cli {
    int code = -1;
    QString out;
    QString err;
};

QProcess* startCli(const QString& dir, const QStringList& args) {
    auto* process = new QProcess;
    process->setWorkingDirectory(dir);
    process->start(QStringLiteral(TRIVANE_CLI_PATH), args);
    return process;
}

Cli finish(QProcess* process) {
    Cli result;
    if (process->waitForFinished(180000) && process->exitStatus() == QProcess::NormalExit)
        result.code = process->exitCode();
    else
        process->kill();
    process->waitForFinished();
    result.out = QString::fromUtf8(process->readAllStandardOutput());
    result.err = QString::fromUtf8(process->readAllStandardError());
    delete process;
    return result;
}

Cli cli(const QString& dir, const QStringList& args) {
    return finish(startCli(dir, args));
}

QStringList lines(const QString& text) {
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

RunRecord runOf(const QString& uuid, const QDateTime& start, const QString& plan, quint64 mcu,
                Outcome outcome) {
    RunRecord run = samplerun::make(1, 3, mcu, start, uuid);
    run.planName = plan;
    run.motors[0].steps[1].outcome = outcome;
    run.motors[0].steps[1].message = QStringLiteral("out of limits");
    run.settleOutcomes();
    return run;
}

QString uuidN(int n) {
    return QStringLiteral("c0ffee00-0000-4000-8000-%1").arg(n, 12, 10, QLatin1Char('0'));
}

}  // namespace

class RecordsCliTest : public QObject {
    Q_OBJECT

private:
    // A station folder whose records.db holds the given runs.
    QString station(const QVector<RunRecord>& runs) {
        const QString dir = m_dir.filePath(QStringLiteral("station%1").arg(++m_stations));
        QDir().mkpath(dir);
        RecordsStore::Options options;
        options.queueForSending = true;
        RecordsStore store(RecordsLocation::sqlite(dir + QStringLiteral("/records.db")), options);
        QString error;
        if (!store.open(&error))
            qWarning() << error;
        for (const RunRecord& run : runs) {
            if (store.store(run, &error) != RecordsStore::StoreResult::Stored)
                qWarning() << error;
        }
        return dir;
    }

    bool needServer() {
        if (m_pgUp)
            return true;
        if (qgetenv("CI") == "true")
            qWarning() << m_pgError;
        return false;
    }

    QTemporaryDir m_dir;
    int m_stations = 0;
    PgTestServer m_pg;
    bool m_pgUp = false;
    QString m_pgError;
    QString m_shop;  // A station with four runs of three motors

#define NEED_SERVER()                         \
    do {                                      \
        if (!needServer()) {                  \
            if (qgetenv("CI") == "true")      \
                QFAIL(qPrintable(m_pgError)); \
            QSKIP(qPrintable(m_pgError));     \
        }                                     \
    } while (0)

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_pgUp = m_pg.setUp(&m_pgError);
        m_shop = station({
            runOf(uuidN(1), kT0, QStringLiteral("joint-acceptance"), 0xA1, Outcome::Pass),
            runOf(uuidN(2), kT0.addSecs(3600), QStringLiteral("50%1 load"), 0xA2, Outcome::Fail),
            runOf(uuidN(3), kT0.addSecs(7200), QStringLiteral("joint-acceptance"), 0xA1, Outcome::Fail),
            runOf(uuidN(4), kT0.addSecs(10800), QStringLiteral("brake"), 0xA3, Outcome::Marginal),
        });
    }

    void list() {
        Cli r = cli(m_shop, {"records", "list"});
        QCOMPARE(r.code, 0);
        QStringList rows = lines(r.out);
        QCOMPARE(rows.size(), 4);
        QVERIFY(rows[0].contains(uuidN(4).left(8)));
        QVERIFY(rows[3].contains(uuidN(1).left(8)));
        // A plan's own "%1" stays text.
        QVERIFY2(rows[2].contains(QLatin1String("50%1 load")), qPrintable(rows[2]));
        QVERIFY(rows[2].contains(QLatin1String("0xa2 FAIL")));

        r = cli(m_shop, {"records", "list", "--mcu-id", "0xA1", "--outcome", "fail"});
        QCOMPARE(r.code, 0);
        QCOMPARE(lines(r.out).size(), 1);
        QVERIFY(r.out.contains(uuidN(3).left(8)));

        // Options before the verb, a window in time, JSON.
        r = cli(m_shop, {"--json", "records", "--since", "2024-05-01T09:00:00Z", "list", "--until",
                         "2024-05-01 11:00Z"});
        QCOMPARE(r.code, 0);
        const QJsonArray runs = QJsonDocument::fromJson(r.out.toUtf8()).array();
        QCOMPARE(runs.size(), 2);
        QCOMPARE(runs[0].toObject().value("uuid").toString(), uuidN(3));
        QCOMPARE(runs[1].toObject().value("outcome").toString(), QStringLiteral("FAIL"));
        QCOMPARE(runs[1].toObject().value("motors").toArray()[0].toObject().value("mcu_id").toString(),
                 QStringLiteral("a2"));

        r = cli(m_shop, {"records", "list", "--limit", "1"});
        QCOMPARE(r.code, 0);
        QCOMPARE(lines(r.out).size(), 1);
        QVERIFY(r.err.contains(QLatin1String("--limit")));

        r = cli(m_shop, {"records", "list", "--plan", "nothing-like-it"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.trimmed().isEmpty());
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("date") << QStringList{"records", "list", "--since", "yesterday"};
        QTest::newRow("outcome") << QStringList{"records", "list", "--outcome", "broken"};
        QTest::newRow("mcu id") << QStringList{"records", "list", "--mcu-id", "xyz"};
        QTest::newRow("action") << QStringList{"records", "delete"};
        QTest::newRow("show without a run") << QStringList{"records", "show"};
        QTest::newRow("sync without a server") << QStringList{"records", "sync"};
        QTest::newRow("bad server URL")
            << QStringList{"records", "list", "--records", "postgresql://u@h:0/x"};
        QTest::newRow("ambiguous run") << QStringList{"records", "show", "c0ffee00"};
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        const Cli r = cli(m_shop, args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY(!r.err.isEmpty());
    }

    void show() {
        Cli r = cli(m_shop, {"records", "show", uuidN(2).right(12).prepend(uuidN(2).left(24))});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith(QStringLiteral("Run %1  FAIL").arg(uuidN(2))));
        QVERIFY(r.out.contains(QLatin1String("position = 1.001 rad [0.9, 1.1]")));
        QVERIFY(r.out.contains(QLatin1String("out of limits")));
        QVERIFY(r.out.contains(QLatin1String("attachment capture-1.csv (text/csv,")));

        r = cli(m_shop, {"records", "show", uuidN(3).toUpper(), "--json"});
        QCOMPARE(r.code, 0);
        RunRecord parsed;
        QString error;
        QVERIFY2(RunRecord::fromJson(QJsonDocument::fromJson(r.out.toUtf8()).object(), &parsed, &error),
                 qPrintable(error));
        QCOMPARE(parsed.toJson(),
                 runOf(uuidN(3), kT0.addSecs(7200), "joint-acceptance", 0xA1, Outcome::Fail).toJson());

        r = cli(m_shop, {"records", "show", "0123abcd"});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QLatin1String("0123abcd")));
    }

    void exportReports() {
        const QString out = m_dir.filePath(QStringLiteral("exports"));
        QDir().mkpath(out);
        // JUnit to stdout: well-formed, a suite for the run's motor.
        Cli r = cli(m_shop, {"records", "export", uuidN(2), "--junit"});
        QCOMPARE(r.code, 0);
        QXmlStreamReader xml(r.out);
        int suites = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("testsuite"))
                ++suites;
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(suites, 1);

        r = cli(m_shop, {"records", "export", uuidN(2), "--html", "--out", out + QStringLiteral("/r.html")});
        QCOMPARE(r.code, 0);
        QFile html(out + QStringLiteral("/r.html"));
        QVERIFY(html.open(QIODevice::ReadOnly));
        const QByteArray page = html.readAll();
        QVERIFY(page.contains("<html"));
        QVERIFY(page.contains("50%1 load"));

        r = cli(m_shop, {"records", "export", uuidN(1).toUpper(), "--pdf", "--mcu-id", "a1", "--out",
                         out + QStringLiteral("/r.pdf")});
        QCOMPARE(r.code, 0);
        QFile pdf(out + QStringLiteral("/r.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");

        // Nothing is written where it cannot be written whole.
        r = cli(m_shop, {"records", "export", uuidN(2), "--junit", "--out",
                         out + QStringLiteral("/no/such/dir/x.xml")});
        QCOMPARE(r.code, 1);
        QVERIFY(!r.err.isEmpty());
        r = cli(m_shop, {"records", "export", uuidN(2), "--html", "--mcu-id", "0xdead"});
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QLatin1String("0xa2")));
        r = cli(m_shop, {"records", "export", uuidN(2)});
        QCOMPARE(r.code, 2);
        r = cli(m_shop, {"records", "export", uuidN(77), "--junit"});
        QCOMPARE(r.code, 1);
    }

    // A commissioning run of the real command against the simulated bench lands in the
    // station's records under the UUID of its report.
    void commissionRunIsKept() {
        linktest::SimBench sim;
        const QString port = sim.start({"--motors", "1", "--no-pacing"});
        QVERIFY(!port.isEmpty());
        const QString dir = m_dir.filePath(QStringLiteral("commission"));
        QDir().mkpath(dir);
        QFile plan(dir + QStringLiteral("/plan.yaml"));
        QVERIFY(plan.open(QIODevice::WriteOnly));
        plan.write("format: 1\nname: Find it\nsteps:\n  - step: detect\n    motors: {min: 1}\n");
        plan.close();
        const Cli run = cli(dir, {"commission", "plan.yaml", "--port", port, "--yes", "--json"});
        QVERIFY2(run.code == 0 || run.code == 1, qPrintable(run.err));
        QString reportJson;
        QDirIterator it(dir + QStringLiteral("/reports"), {"report.json"}, QDir::Files,
                        QDirIterator::Subdirectories);
        if (it.hasNext())
            reportJson = it.next();
        QVERIFY2(!reportJson.isEmpty(), qPrintable(run.err));
        QFile file(reportJson);
        QVERIFY(file.open(QIODevice::ReadOnly));
        RunRecord reported;
        QString error;
        QVERIFY(RunRecord::fromJson(QJsonDocument::fromJson(file.readAll()).object(), &reported, &error));

        const Cli shown = cli(dir, {"records", "show", reported.uuid, "--json"});
        QCOMPARE(shown.code, 0);
        RunRecord kept;
        QVERIFY(RunRecord::fromJson(QJsonDocument::fromJson(shown.out.toUtf8()).object(), &kept, &error));
        QCOMPARE(kept.toJson(), reported.toJson());
    }

    void nothingStoredYet() {
        const QString empty = m_dir.filePath(QStringLiteral("empty"));
        QDir().mkpath(empty);
        Cli r = cli(empty, {"records", "list", "--json"});
        QCOMPARE(r.code, 0);
        const QJsonDocument none = QJsonDocument::fromJson(r.out.toUtf8());
        QVERIFY(none.isArray() && none.array().isEmpty());
        // Looking creates nothing.
        QVERIFY(!QFile::exists(empty + QStringLiteral("/records.db")));
        r = cli(empty, {"records", "show", "abc"});
        QCOMPARE(r.code, 1);
        QVERIFY(!QFile::exists(empty + QStringLiteral("/records.db")));
    }

    void syncThroughTheServer() {
        NEED_SERVER();
        QString error;
        const QString db = m_pg.createDatabase(&error);
        QVERIFY2(!db.isEmpty(), qPrintable(error));
        const QString url = m_pg.url(db);
        const QString dir = station({runOf(uuidN(11), kT0, "p", 0xB1, Outcome::Pass),
                                     runOf(uuidN(12), kT0.addSecs(60), "p", 0xB2, Outcome::Fail)});

        // The server down: nothing is sent, the runs keep waiting, and the exit code says so.
        QVERIFY(m_pg.stop());
        Cli r = cli(dir, {"records", "sync", "--records", url});
        QVERIFY2(m_pg.start(&error), qPrintable(error));
        QCOMPARE(r.code, 1);
        QVERIFY2(r.out.contains(QLatin1String("Sent 0 runs")) && r.out.contains(QLatin1String("2 waiting")),
                 qPrintable(r.out));
        QVERIFY(!r.err.isEmpty());
        r = cli(dir, {"records", "list", "--records", url});
        QCOMPARE(r.code, 0);
        QCOMPARE(lines(r.out).size(), 2);
        QVERIFY(r.out.contains(QLatin1Char('*')));

        // Configured in config.xml instead of on the command line.
        QFile config(dir + QStringLiteral("/config.xml"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("<m><c name=\"records\"><c name=\"url\" value=\"%1\"/></c></m>")
                         .arg(url.toHtmlEscaped())
                         .toUtf8());
        config.close();
        r = cli(dir, {"records", "sync", "--json"});
        QCOMPARE(r.code, 0);
        const QJsonObject result = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(result.value("sent").toInt(), 2);
        QCOMPARE(result.value("waiting").toInt(), 0);

        // Another station's runs come from the server, this one's waiting runs from its file.
        const QString other = station({runOf(uuidN(13), kT0.addSecs(120), "p", 0xB1, Outcome::Pass)});
        r = cli(other, {"records", "list", "--records", url});
        QCOMPARE(r.code, 0);
        QCOMPARE(lines(r.out).size(), 3);
        r = cli(other, {"records", "list", "--records", url, "--local"});
        QCOMPARE(lines(r.out).size(), 1);
        r = cli(other, {"records", "show", uuidN(11), "--records", url});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains(uuidN(11)));
    }

    void twoStationsAtOnce() {
        NEED_SERVER();
        QString error;
        const QString db = m_pg.createDatabase(&error);
        QVERIFY2(!db.isEmpty(), qPrintable(error));
        const QString url = m_pg.url(db);
        // 150 runs each; 20 of them both stations hold (a copied file), so both send those too.
        QVector<RunRecord> shared, a, b;
        for (int i = 0; i < 20; ++i)
            shared << runOf(uuidN(1000 + i), kT0.addSecs(i), "p", 0xC000 + quint64(i), Outcome::Pass);
        for (int i = 0; i < 130; ++i) {
            a << runOf(uuidN(2000 + i), kT0.addSecs(100 + i), "p", 0xD000 + quint64(i), Outcome::Pass);
            b << runOf(uuidN(3000 + i), kT0.addSecs(100 + i), "p", 0xE000 + quint64(i), Outcome::Pass);
        }
        const QString one = station(shared + a);
        const QString two = station(b + shared);
        QProcess* first = startCli(one, {"records", "sync", "--records", url});
        QProcess* second = startCli(two, {"records", "sync", "--records", url});
        const Cli r1 = finish(first);
        const Cli r2 = finish(second);
        QVERIFY2(r1.code == 0, qPrintable(r1.err));
        QVERIFY2(r2.code == 0, qPrintable(r2.err));
        QVERIFY(r1.err.contains(QLatin1String("Sending runs: 150/150")));

        RawDb raw(m_pg.location(db));
        QCOMPARE(raw.value(QStringLiteral("SELECT COUNT(*) FROM runs")).toInt(), 280);
        QCOMPARE(raw.value(QStringLiteral("SELECT COUNT(DISTINCT uuid) FROM runs")).toInt(), 280);
        QCOMPARE(raw.value(QStringLiteral("SELECT COUNT(*) FROM motors")).toInt(), 280);
        QCOMPARE(raw.value(QStringLiteral("SELECT COUNT(*) FROM steps")).toInt(), 280 * 3);
    }
};

QTEST_GUILESS_MAIN(RecordsCliTest)
#include "tst_recordscli.moc"
