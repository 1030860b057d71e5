// trivane-cli over a CAN interface: the same verbs against two simulated benches with the same
// motors, one behind the pseudo-terminal adapter and one on a virtual CAN bus, give the same
// results; bad bus addresses end at once with a clear message.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QtTest>

#include "tests/cli/clirun.h"
#include "tests/link/linktest.h"
#include "tests/link/simbench.h"

namespace {

const QStringList kMotors = {QStringLiteral("--motors"),  QStringLiteral("2"),
                             QStringLiteral("--mcu-ids"), QStringLiteral("51a0000000000a11,51a0000000000b22"),
                             QStringLiteral("--can-ids"), QStringLiteral("3,7"),
                             QStringLiteral("--models"),  QStringLiteral("0:2,0:4")};

QJsonObject jsonOf(const QString& out) {
    return QJsonDocument::fromJson(out.trimmed().toUtf8()).object();
}

// The result without what names the way to the motors: the address and the status lines
// (which tell of the adapter's set-up or the interface); and without the motors' clocks, which
// tell how long each bench has run.
QJsonObject resultOf(QJsonObject json) {
    json.remove(QStringLiteral("port"));
    json.remove(QStringLiteral("status"));
    QJsonArray entries = json.value(QStringLiteral("entries")).toArray();
    for (int i = 0; i < entries.size(); ++i) {
        QJsonObject entry = entries[i].toObject();
        const QString name = entry.value(QStringLiteral("name")).toString();
        if (name == QLatin1String("timeStamp") || name == QLatin1String("uptimeMs"))
            entry.remove(QStringLiteral("value"));
        entries[i] = entry;
    }
    if (!entries.isEmpty())
        json.insert(QStringLiteral("entries"), entries);
    return json;
}

}  // namespace

class TestCliBus : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void sameResultsOverPortAndBus_data();
    void sameResultsOverPortAndBus();
    void scopeRecordsTheSameStream();
    void lastCommandReachesTheBus();
    void badBusAddresses_data();
    void badBusAddresses();

private:
    // Runs the verb against both benches; both must succeed. Returns {port, bus} results.
    QPair<QJsonObject, QJsonObject> both(const QStringList& args);

    std::unique_ptr<linktest::WorkDir> m_dir;
    std::unique_ptr<linktest::SimBench> m_serial;
    std::unique_ptr<linktest::SimBench> m_bus;
    QString m_port;
    QString m_address;
};

void TestCliBus::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_serial = std::make_unique<linktest::SimBench>();
    m_bus = std::make_unique<linktest::SimBench>();
    m_port = m_serial->start(kMotors);
    m_address = m_bus->startBus(kMotors);
    QVERIFY(!m_port.isEmpty());
    QVERIFY(m_address.startsWith(QLatin1String("virtualcan:")));
}

void TestCliBus::cleanup() {
    m_serial.reset();
    m_bus.reset();
    m_dir.reset();
}

QPair<QJsonObject, QJsonObject> TestCliBus::both(const QStringList& args) {
    QString outPort, errPort, outBus, errBus;
    const int rcPort = clitest::runCli(args + QStringList{"--json", "--port", m_port}, &outPort, &errPort);
    const int rcBus = clitest::runCli(args + QStringList{"--json", "--bus", m_address}, &outBus, &errBus);
    [&] {
        QVERIFY2(rcPort == 0, qPrintable(outPort + errPort));
        QVERIFY2(rcBus == 0, qPrintable(outBus + errBus));
    }();
    return {jsonOf(outPort), jsonOf(outBus)};
}

void TestCliBus::sameResultsOverPortAndBus_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("scan the whole bus") << QStringList{"scan", "--multi"};
    QTest::newRow("info of a named motor") << QStringList{"info", "--can-id", "7"};
    QTest::newRow("info of the first motor") << QStringList{"info"};
    QTest::newRow("params dump") << QStringList{"params", "dump", "--can-id", "3"};
}

void TestCliBus::sameResultsOverPortAndBus() {
    QFETCH(QStringList, args);
    const auto results = both(args);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(results.first.value(QStringLiteral("ok")).toBool());
    const QJsonObject port = resultOf(results.first), bus = resultOf(results.second);
    const QByteArray both =
        QJsonDocument(bus).toJson() + QByteArray("\nbehind the adapter:\n") + QJsonDocument(port).toJson();
    QVERIFY2(bus == port, both.constData());
    // Over the bus the link never set an adapter up; behind the pty it did.
    const QString busStatus =
        results.second.value(QStringLiteral("status")).toVariant().toStringList().join('\n');
    QVERIFY2(!busStatus.contains(QLatin1String("USB-CAN")) && !busStatus.contains(QLatin1String("baud")),
             qPrintable(busStatus));
}

void TestCliBus::scopeRecordsTheSameStream() {
    const QStringList args{"scope",  "record", "--can-id",  "7", "--channels", "mechPos,0x3001",
                           "--rate", "200",    "--seconds", "1", "--csv"};
    QString outPort, outBus, err;
    QCOMPARE(
        clitest::runCli(args + QStringList{"--out", "port.csv", "--json", "--port", m_port}, &outPort, &err),
        0);
    QCOMPARE(
        clitest::runCli(args + QStringList{"--out", "bus.csv", "--json", "--bus", m_address}, &outBus, &err),
        0);
    const QJsonObject port = jsonOf(outPort), bus = jsonOf(outBus);
    QCOMPARE(bus.value(QStringLiteral("channels")), port.value(QStringLiteral("channels")));
    QCOMPARE(bus.value(QStringLiteral("lost")).toInt(), 0);
    QCOMPARE(port.value(QStringLiteral("lost")).toInt(), 0);
    // The same one-second stream: the counts differ only by the samples at the edges.
    const int a = port.value(QStringLiteral("records")).toInt(),
              b = bus.value(QStringLiteral("records")).toInt();
    QVERIFY2(a >= 180 && b >= 180 && qAbs(a - b) <= 20, qPrintable(QStringLiteral("%1 vs %2").arg(a).arg(b)));
    QFile portFile(QStringLiteral("port.csv")), busFile(QStringLiteral("bus.csv"));
    QVERIFY(portFile.open(QIODevice::ReadOnly) && busFile.open(QIODevice::ReadOnly));
    QCOMPARE(busFile.readLine(), portFile.readLine());  // the header
    QCOMPARE(busFile.readAll().count('\n') + 1, b + 1);
}

void TestCliBus::lastCommandReachesTheBus() {
    // The brake frames are the last thing the tool writes before it closes the interface and
    // ends: they still reach every motor.
    QCOMPARE(clitest::runCli({"estop", "--all", "--bus", m_address}), 0);
    QVERIFY(m_bus->statusShows("mode brake", 2));
}

void TestCliBus::badBusAddresses_data() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 unserved = probe.serverPort();
    probe.close();
    QTest::addColumn<QString>("bus");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown plug-in") << "nosuchcan:can0" << 2 << "Not a CAN interface";
    QTest::newRow("empty interface") << "virtualcan:" << 2 << "Not a CAN interface";
    QTest::newRow("no plug-in") << ":can0" << 2 << "Not a CAN interface";
    QTest::newRow("nobody serves the port")
        << QStringLiteral("virtualcan:tcp://127.0.0.1:%1/can0").arg(unserved) << 1
        << "Nothing serves the virtual CAN bus";
    QTest::newRow("no kernel CAN support")
        << "socketcan:trivane-none" << 1 << "Cannot open the CAN interface";
}

void TestCliBus::badBusAddresses() {
    QFETCH(QString, bus);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QString out, err;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(clitest::runCli({"scan", "--bus", bus}, &out, &err), exitCode);
    QVERIFY2(err.contains(message) || out.contains(message), qPrintable(out + err));
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
}

QTEST_GUILESS_MAIN(TestCliBus)
#include "tst_cli_bus.moc"
