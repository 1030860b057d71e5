// trivane-cli info against the simulated bench: the target's identity and model code as text
// and as JSON, and the exit codes of a missing target and of usage errors.
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include "tests/cli/clirun.h"
#include "tests/link/linktest.h"
#include "tests/link/simbench.h"

class TestCliInfo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void identityAsText();
    void identityAsJson();
    void failures_data();
    void failures();

private:
    int cli(const QStringList& args, QString* out = nullptr, QString* err = nullptr);

    std::unique_ptr<linktest::WorkDir> m_dir;
    std::unique_ptr<linktest::SimBench> m_sim;
    QString m_port;
};

void TestCliInfo::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_sim = std::make_unique<linktest::SimBench>();
    m_port = m_sim->start({QStringLiteral("--motors"), QStringLiteral("2")});
    QVERIFY(!m_port.isEmpty());
}

void TestCliInfo::cleanup() {
    m_sim.reset();
    m_dir.reset();
}

int TestCliInfo::cli(const QStringList& args, QString* out, QString* err) {
    return clitest::runCli(args, out, err);
}

void TestCliInfo::identityAsText() {
    QString out;
    QCOMPARE(cli({QStringLiteral("info"), QStringLiteral("--port"), m_port}, &out), 0);
    QVERIFY2(
        out.contains(QStringLiteral("Name: Motor 1\nMCU ID: 0x3a10c5e700001001\nCAN ID: 1\nModel code: 0\n")),
        qPrintable(out));
}

void TestCliInfo::identityAsJson() {
    // The second motor, named by its CAN ID; options on both sides of the verb.
    QString out;
    QCOMPARE(cli({QStringLiteral("--port"), m_port, QStringLiteral("--json"), QStringLiteral("info"),
                  QStringLiteral("--can-id"), QStringLiteral("2")},
                 &out),
             0);
    const QJsonObject json = QJsonDocument::fromJson(out.trimmed().toUtf8()).object();
    QVERIFY2(json.value(QStringLiteral("ok")).toBool(), qPrintable(out));
    QCOMPARE(json.value(QStringLiteral("name")).toString(), QStringLiteral("Motor 2"));
    QCOMPARE(json.value(QStringLiteral("can_id")).toInt(), 2);
    QCOMPARE(json.value(QStringLiteral("mcu_id")).toString(), QStringLiteral("3a10c5e700002002"));
    QCOMPARE(json.value(QStringLiteral("model")).toInt(), 0);
}

void TestCliInfo::failures_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such CAN ID") << QStringList{QStringLiteral("--can-id"), QStringLiteral("9")} << 1
                                    << QStringLiteral("No motor with CAN ID 9");
    QTest::newRow("stray argument") << QStringList{QStringLiteral("extra")} << 2
                                    << QStringLiteral("info takes no arguments: extra");
    QTest::newRow("CAN ID out of range") << QStringList{QStringLiteral("--can-id"), QStringLiteral("128")}
                                         << 2 << QStringLiteral("Invalid CAN ID");
}

void TestCliInfo::failures() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    QString err;
    QCOMPARE(cli(QStringList{QStringLiteral("info"), QStringLiteral("--port"), m_port} + args, nullptr, &err),
             code);
    QVERIFY2(err.contains(message), qPrintable(err));
}

LINK_TEST_MAIN(TestCliInfo)
#include "tst_cli_info.moc"
