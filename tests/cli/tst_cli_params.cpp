// trivane-cli params against the simulated bench on a pseudo-terminal: the table as text and
// JSON, edits validated before they leave, and backup -> change -> diff -> restore -> diff.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include "tests/cli/clirun.h"
#include "tests/link/linktest.h"
#include "tests/link/simbench.h"

class TestCliParams : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dumpAsJson();
    void getAndSet_data();
    void getAndSet();
    void usageErrors_data();
    void usageErrors();
    void backupChangeDiffRestore();

private:
    int cli(const QStringList& args, QString* out = nullptr, QString* err = nullptr);
    QJsonObject json(const QString& out) const {
        return QJsonDocument::fromJson(out.trimmed().split('\n').last().toUtf8()).object();
    }

    std::unique_ptr<linktest::WorkDir> m_dir;
    std::unique_ptr<linktest::SimBench> m_sim;
    QString m_port;
};

void TestCliParams::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_sim = std::make_unique<linktest::SimBench>();
    m_port = m_sim->start({QStringLiteral("--state"), m_dir->path() + "/bench.json"});
    QVERIFY(!m_port.isEmpty());
}

void TestCliParams::cleanup() {
    m_sim.reset();
    m_dir.reset();
}

int TestCliParams::cli(const QStringList& args, QString* out, QString* err) {
    return clitest::runCli(args, out, err);
}

void TestCliParams::dumpAsJson() {
    QString out;
    QCOMPARE(cli({"params", "dump", "--json", "--port", m_port}, &out), 0);
    const QJsonArray entries = json(out).value("entries").toArray();
    QCOMPARE(entries.size(), 46);
    const QJsonObject spd = entries[4 + 5 + 9].toObject();
    QCOMPARE(spd.value("code").toString(), QStringLiteral("0X2009"));
    QCOMPARE(spd.value("name").toString(), QStringLiteral("limit_spd"));
    QCOMPARE(spd.value("type").toString(), QStringLiteral("float"));
    QCOMPARE(spd.value("property").toString(), QStringLiteral("R/W"));
    QCOMPARE(spd.value("maximum").toString(), QStringLiteral("33.00"));
    QCOMPARE(spd.value("value").toString(), QStringLiteral("10.000000"));
    QCOMPARE(entries[4 + 5 + 1].toObject().value("property").toString(), QStringLiteral("Config"));
}

void TestCliParams::getAndSet_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");  // stdout's last line, or a line of stderr on failure
    QTest::newRow("get text") << QStringList{"get", "0x1002"} << 0 << "0.9.4";
    QTest::newRow("get with the page's spelling") << QStringList{"get", "0X200d"} << 0 << "0.020000";
    QTest::newRow("set float, saved") << QStringList{"set", "0x200b", "1e2", "--save"} << 0 << "100.000000";
    QTest::newRow("set negative int8") << QStringList{"set", "2004", "-1"} << 0 << "-1";
    QTest::newRow("set text, cut at 16")
        << QStringList{"set", "0x0002", "a-very-long-location"} << 0 << "a-very-long-loca";
    QTest::newRow("out of range") << QStringList{"set", "0x2008", "99"} << 1
                                  << "Value out of range: 99 is outside [0.0, 14.0].";
    QTest::newRow("sign on an unsigned entry")
        << QStringList{"set", "0x2005", "-1"} << 1 << "Not a uint16 value: -1";
    QTest::newRow("read-only") << QStringList{"set", "0x2007", "1"} << 1
                               << "0X2007 encoder_res is read-only.";
    QTest::newRow("not ASCII") << QStringList{"set", "0x0000", "gelenk-\u00fc"} << 1
                               << "Please input ASCII charaters";
    QTest::newRow("no such entry") << QStringList{"get", "0x2fff"} << 1 << "The motor has no entry 0X2fff.";
}

void TestCliParams::getAndSet() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QString out, err;
    QCOMPARE(cli(QStringList{"params"} + args + QStringList{"--port", m_port}, &out, &err), exitCode);
    if (exitCode == 0)
        QCOMPARE(out.trimmed().split('\n').last(), output);
    else
        QVERIFY2(err.contains(output), qPrintable(err));
}

void TestCliParams::usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no action") << QStringList{"params", "--port", "x"};
    QTest::newRow("unknown action") << QStringList{"params", "erase", "--port", "x"};
    QTest::newRow("set without a value") << QStringList{"params", "set", "0x2000", "--port", "x"};
    QTest::newRow("not a code") << QStringList{"params", "get", "limit", "--port", "x"};
    QTest::newRow("bad --only") << QStringList{"params",    "restore", "f.json", "--only",
                                               "0x2000,zz", "--port",  "x"};
    QTest::newRow("no port") << QStringList{"params", "dump"};
}

void TestCliParams::usageErrors() {
    QFETCH(QStringList, args);
    QCOMPARE(cli(args), 2);
}

void TestCliParams::backupChangeDiffRestore() {
    const QString backup = m_dir->path() + "/knee.json";
    QCOMPARE(cli({"params", "backup", backup, "--port", m_port}), 0);
    QCOMPARE(cli({"params", "diff", backup, "--port", m_port}), 0);

    // Someone changes two settings and a string on the bench.
    QCOMPARE(cli({"params", "set", "0x2008", "5.5", "--port", m_port}), 0);
    QCOMPARE(cli({"params", "set", "0x200e", "42", "--port", m_port}), 0);
    QCOMPARE(cli({"params", "set", "0x0003", "replaced", "--port", m_port}), 0);
    QString out;
    QCOMPARE(cli({"params", "diff", backup, "--port", m_port}, &out), 1);
    QVERIFY2(out.contains("0X2008 limit_torque: 5.500000 -> 14.000000"), qPrintable(out));
    QVERIFY(out.contains("0X0003 Note: replaced -> "));

    // A dry run writes nothing; --only restores one entry.
    QCOMPARE(cli({"params", "restore", backup, "--dry-run", "--port", m_port}, &out), 0);
    QCOMPARE(out.count(" -> "), 3);
    QString err;
    QCOMPARE(cli({"params", "restore", backup, "--only", "0x2008", "--port", m_port}, &out, &err), 0);
    QVERIFY(err.contains("Param saved successfully!"));
    QCOMPARE(cli({"params", "diff", backup, "--port", m_port}, &out), 1);
    QVERIFY(!out.contains("0X2008"));

    QCOMPARE(cli({"params", "restore", backup, "--port", m_port}, &out), 0);
    QCOMPARE(cli({"params", "diff", backup, "--json", "--port", m_port}, &out), 0);
    QVERIFY(json(out).value("ok").toBool());

    // Two backups compare without a bench.
    const QString later = m_dir->path() + "/later.json";
    QCOMPARE(cli({"params", "set", "0x200e", "43", "--port", m_port}), 0);
    QCOMPARE(cli({"params", "backup", later, "--port", m_port}), 0);
    QCOMPARE(cli({"params", "diff", backup, later}, &out), 1);
    QVERIFY2(out.startsWith("0X200e acc_rad: 20.000000 -> 43.000000"), qPrintable(out));
}

LINK_TEST_MAIN(TestCliParams)
#include "tst_cli_params.moc"
