// The motor verbs of trivane-cli against the simulated bench on a pseudo-terminal: output,
// exit codes (0 done, 1 failed or refused, 2 usage) and the effect on the motors.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include "tests/cli/clirun.h"
#include "tests/link/linktest.h"
#include "tests/link/simbench.h"

class TestCliLink : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void verbs_data();
    void verbs();
    void usageErrors_data();
    void usageErrors();
    void scanAllAsJson();
    void canIdChangeSticks();
    void missingTargetFails();
    void estopBrakesTargetOrAll();
    void namedTargetIsProbedNotScanned();
    void failuresSayWhyOnStderr();
    void busyPortUnderAnotherName();
    void factoryRateIsTried();

private:
    // Each motor's mode as the bench reports it ("reset", "run", "brake"), by CAN ID.
    QMap<int, QString> benchModes();
    // Results on stdout and status lines on stderr, together: the cases look for either.
    int cli(const QStringList& args, QString* out = nullptr);

    std::unique_ptr<linktest::WorkDir> m_dir;
    std::unique_ptr<linktest::SimBench> m_sim;
    QString m_port;
};

void TestCliLink::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_sim = std::make_unique<linktest::SimBench>();
    m_port = m_sim->start({QStringLiteral("--motors"), QStringLiteral("2")});
    QVERIFY(!m_port.isEmpty());
}

void TestCliLink::cleanup() {
    m_sim.reset();
    m_dir.reset();
}

int TestCliLink::cli(const QStringList& args, QString* out) {
    QString err;
    const int code = clitest::runCli(args, out, &err);
    if (out)
        *out = err + *out;  // stdout last: a JSON summary stays the last line
    return code;
}

void TestCliLink::verbs_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("line");
    QTest::newRow("scan") << QStringList{"scan"} << 0 << "MCU ID: 0x3a10c5e700001001  CAN ID: 1  model: 0";
    QTest::newRow("mode motor") << QStringList{"mode", "motor"} << 0 << "Set MOTOR mode successfully!";
    QTest::newRow("mode brake, second motor") << QStringList{"mode", "brake", "--can-id", "2"} << 0
                                              << "Send Z48 Command SET_MODE to CAN(2): break mode";
    QTest::newRow("run-mode") << QStringList{"run-mode", "2"} << 0
                              << "Send Z48 Command SET_RUN_MODE to CAN(1): velocity mode";
    QTest::newRow("mit, negative set-point") << QStringList{"mit", "0", "-1.5", "0", "1", "0.1"} << 0
                                             << "Send Z48 Command MOTOR_CONTROL to CAN(1):  ";
    QTest::newRow("mit outside the range")
        << QStringList{"mit", "0", "20", "0", "0", "0"} << 1
        << "<ERROR> Position 20 is outside the range [-12.5, 12.5]: command refused.";
    QTest::newRow("sdo float") << QStringList{"sdo", "0x7016", "1.5"} << 0
                               << "Send Z48 Command MOTOR_SDO_FLOAT to CAN(1): index = 28694, value = 1.5";
    QTest::newRow("sdo uint") << QStringList{"sdo", "28695", "3", "--uint"} << 0
                              << "Send Z48 Command MOTOR_SDO_UINT to CAN(1): index = 28695, value = 3";
    QTest::newRow("jog") << QStringList{"jog", "1.5"} << 0
                         << "Send Z48 Command MOVE_JOG to CAN(1): speed = 1.5, flag = 1";
    QTest::newRow("jog too fast") << QStringList{"jog", "100"} << 1
                                  << "<ERROR> Speed 100 is outside the range [-33, 33]: command refused.";
    QTest::newRow("jog stop") << QStringList{"jog", "stop"} << 0
                              << "Send Z48 Command MOVE_JOG to CAN(1): speed = 0, flag = 0";
    QTest::newRow("zero") << QStringList{"zero"} << 0 << "Set the mechanical zero successfully!";
    QTest::newRow("clear-alarm") << QStringList{"clear-alarm"} << 0
                                 << "Send Z48 Command CLEAR_ALARM to CAN(1)";
    QTest::newRow("calibrate") << QStringList{"calibrate"} << 0 << "<Encoder calibration finish> Device: 1,";
}

void TestCliLink::verbs() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, line);
    QString out;
    QCOMPARE(cli(args + QStringList{"--port", m_port}, &out), exitCode);
    QVERIFY2(out.contains(line), qPrintable(out));
}

void TestCliLink::usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no port") << QStringList{"scan"};
    QTest::newRow("unknown mode") << QStringList{"mode", "fast", "--port", "x"};
    QTest::newRow("mit needs five") << QStringList{"mit", "0", "0", "0", "0", "--port", "x"};
    QTest::newRow("not a number") << QStringList{"sdo", "idx", "1", "--port", "x"};
    QTest::newRow("index past 16 bits") << QStringList{"sdo", "0x17016", "1", "--port", "x"};
    QTest::newRow("fractional run mode") << QStringList{"run-mode", "2.5", "--port", "x"};
    QTest::newRow("run mode past a byte") << QStringList{"run-mode", "1e10", "--port", "x"};
    QTest::newRow("run mode past the last") << QStringList{"run-mode", "9", "--port", "x"};
    QTest::newRow("new can id out of range") << QStringList{"set-can-id", "128", "--port", "x"};
    QTest::newRow("can id out of range") << QStringList{"zero", "--port", "x", "--can-id", "200"};
    QTest::newRow("bad rate") << QStringList{"scan", "--port", "x", "--baud", "fast"};
}

void TestCliLink::usageErrors() {
    QFETCH(QStringList, args);
    QCOMPARE(cli(args), 2);
}

void TestCliLink::scanAllAsJson() {
    QString out;
    QCOMPARE(cli({"scan", "--multi", "--json", "--port", m_port}, &out), 0);
    const QJsonObject json = QJsonDocument::fromJson(out.trimmed().split('\n').last().toUtf8()).object();
    QVERIFY2(json.value("ok").toBool(), qPrintable(out));
    const QJsonArray devices = json.value("devices").toArray();
    QCOMPARE(devices.size(), 2);
    QCOMPARE(devices[0].toObject().value("can_id").toInt(), 1);
    QCOMPARE(devices[1].toObject().value("mcu_id").toString(), QStringLiteral("3a10c5e700002002"));
}

void TestCliLink::canIdChangeSticks() {
    QString out;
    QCOMPARE(cli({"set-can-id", "7", "--port", m_port}, &out), 0);
    QVERIFY2(out.contains("Detected device: [MCU ID: 0x3a10c5e700001001, CAN ID: 7]"), qPrintable(out));
    QCOMPARE(cli({"scan", "--port", m_port, "--can-id", "7"}, &out), 0);
    QVERIFY2(out.contains("MCU ID: 0x3a10c5e700001001  CAN ID: 7"), qPrintable(out));
}

void TestCliLink::missingTargetFails() {
    QCOMPARE(cli({"zero", "--port", m_port, "--can-id", "42"}), 1);
    QCOMPARE(cli({"scan", "--port", m_dir->path() + "/no-such-device"}), 1);
}

void TestCliLink::namedTargetIsProbedNotScanned() {
    // Options before the verb work as after it.
    QString out;
    QCOMPARE(cli({"--port", m_port, "--json", "scan"}, &out), 0);
    QVERIFY2(out.contains("\"can_id\":1"), qPrintable(out));

    // The named motor answers its probe: no bus scan (motor 1 is never detected), and its
    // model is known before the set-points are checked against its ranges.
    QCOMPARE(cli({"--port", m_port, "--can-id", "2", "mit", "0", "1", "20", "1", "0.1"}, &out), 0);
    QVERIFY2(out.contains("Send Z48 Command MOTOR_CONTROL to CAN(2):  "), qPrintable(out));
    QVERIFY2(out.contains("CAN ID: 2]") && !out.contains("CAN ID: 1]"), qPrintable(out));
    QCOMPARE(cli({"jog", "30", "--can-id", "2", "--port", m_port}, &out), 0);
    QVERIFY2(out.contains("Send Z48 Command MOVE_JOG to CAN(2): speed = 30, flag = 1"), qPrintable(out));
    QCOMPARE(cli({"jog", "40", "--can-id", "2", "--port", m_port}, &out), 1);
    QVERIFY2(out.contains("<ERROR> Speed 40 is outside the range [-33, 33]: command refused."),
             qPrintable(out));
}

QMap<int, QString> TestCliLink::benchModes() {
    QProcess& sim = m_sim->process();
    sim.readAllStandardOutput();
    m_sim->command("status");
    QMap<int, QString> modes;
    QByteArray text;
    const QRegularExpression line(QStringLiteral("CAN (\\d+), MCU \\S+ mode (\\w+)"));
    while (modes.size() < 2 && sim.waitForReadyRead(5000)) {
        text += sim.readAllStandardOutput();
        auto it = line.globalMatch(QString::fromUtf8(text));
        while (it.hasNext()) {
            const auto m = it.next();
            modes.insert(m.captured(1).toInt(), m.captured(2));
        }
    }
    return modes;
}

void TestCliLink::estopBrakesTargetOrAll() {
    QString out;
    QCOMPARE(cli({"mode", "motor", "--port", m_port}), 0);
    QCOMPARE(cli({"mode", "motor", "--port", m_port, "--can-id", "2"}), 0);
    QCOMPARE(benchModes(), (QMap<int, QString>{{1, "run"}, {2, "run"}}));

    // Without --all only the target stops.
    QCOMPARE(cli({"estop", "--port", m_port, "--can-id", "2"}, &out), 0);
    QVERIFY2(out.contains("Set BRAKE mode successfully!"), qPrintable(out));
    QCOMPARE(benchModes(), (QMap<int, QString>{{1, "run"}, {2, "brake"}}));

    QCOMPARE(cli({"mode", "motor", "--port", m_port, "--can-id", "2"}), 0);
    QCOMPARE(cli({"--json", "estop", "--port", m_port, "--all"}, &out), 0);
    QCOMPARE(benchModes(), (QMap<int, QString>{{1, "brake"}, {2, "brake"}}));
    const QJsonObject json = QJsonDocument::fromJson(out.trimmed().split('\n').last().toUtf8()).object();
    const QJsonArray motors = json.value("motors").toArray();
    QCOMPARE(motors.size(), 2);
    for (const QJsonValue& motor : motors)
        QVERIFY(motor.toObject().value("braked").toBool());

    QCOMPARE(cli({"estop", "extra", "--port", m_port}), 2);
}

void TestCliLink::failuresSayWhyOnStderr() {
    // With --json stdout is one document; the reason of a failure goes to stderr all the same.
    QString out, err;
    QCOMPARE(clitest::runCli({"mit", "0", "20", "0", "0", "0", "--json", "--port", m_port}, &out, &err), 1);
    QCOMPARE(out.count('\n'), 1);
    QVERIFY(QJsonDocument::fromJson(out.toUtf8()).isObject());
    QVERIFY2(err.contains("Position 20 is outside the range [-12.5, 12.5]: command refused."),
             qPrintable(err));

    // A port that is no device: one line says so.
    QCOMPARE(clitest::runCli({"scan", "--port", m_dir->path() + "/no-such-device"}, &out, &err), 1);
    QCOMPARE(err.count(QStringLiteral("Device Not Found")), 1);
    QVERIFY2(!err.contains("\033["), qPrintable(err));  // no colour codes into a pipe

    // An adapter that never answers.
    m_sim->command("silence on");
    QCOMPARE(clitest::runCli({"scan", "--json", "--port", m_port}, &out, &err), 1);
    QVERIFY2(err.contains("USB-CAN module configuration failed, please check physical device!"),
             qPrintable(err));
    QCOMPARE(out.count('\n'), 1);
}

void TestCliLink::busyPortUnderAnotherName() {
    // A recording holds the adapter through a link; a second run names the device itself.
    const QString link = m_dir->path() + "/adapter";
    QVERIFY(QFile::link(m_port, link));
    QProcess recording;
    recording.start(QStringLiteral(TRIVANE_CLI_PATH),
                    {"scope", "record", "--channels", "0x3000", "--rate", "100", "--seconds", "2", "--out",
                     "w.csv", "--port", link});
    QString progress;
    QVERIFY(QTest::qWaitFor(
        [&] {
            progress += QString::fromUtf8(recording.readAllStandardError());
            return progress.contains("Recording 1 channel(s)") || recording.state() == QProcess::NotRunning;
        },
        30000));
    QString out, err;
    QCOMPARE(clitest::runCli({"scan", "--port", m_port}, &out, &err), 1);
    const QString busy = QStringLiteral("%1 is in use by process %2.").arg(m_port).arg(recording.processId());
    QVERIFY2(err.contains(busy), qPrintable(err));
    QCOMPARE(err.count(QStringLiteral("in use by process")), 1);
    QVERIFY(!err.contains("dialout"));
    // The recording went on undisturbed.
    QVERIFY(recording.waitForFinished(30000));
    QCOMPARE(recording.exitCode(), 0);
    QVERIFY2(QString::fromUtf8(recording.readAllStandardOutput()).contains(QRegularExpression("lost: 0\n")),
             qPrintable(progress));
}

void TestCliLink::factoryRateIsTried() {
    // Configured for 115200, the adapter still at its factory rate: it must be found.
    QString out;
    QCOMPARE(cli({"scan", "--baud", "115200", "--port", m_port}, &out), 0);
    QVERIFY2(out.contains("Connect overtime, try baud rate: 921600"), qPrintable(out));
    QVERIFY(out.contains("MCU ID: 0x3a10c5e700001001  CAN ID: 1"));
}

LINK_TEST_MAIN(TestCliLink)
#include "tst_cli_link.moc"
