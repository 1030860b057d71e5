// trivane-cli monitor and log against the simulated bench and hand-written files: every record
// the bench logged appears once and in order, the log file holds every frame, filters and the
// end by signal work, and trace files convert both ways.
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

#include "tests/cli/clirun.h"
#include "tests/link/linktest.h"
#include "tests/link/simbench.h"

namespace {

QStringList linesOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The bench's log: "<time> RX|TX <hex bytes> <what>", RX being what the host wrote. Each record
// becomes "ID DATA" for a frame or "text HEX" for a line, per direction as the host sees it.
void benchRecords(const QString& path, QStringList* hostTx, QStringList* hostRx) {
    for (const QString& line : linesOf(path)) {
        const QStringList t = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (t.size() < 3)
            continue;
        QByteArray bytes;
        for (int i = 2; i < t.size() && t[i].size() == 2; ++i)
            bytes += char(t[i].toUInt(nullptr, 16));
        QString record;
        if (bytes.startsWith("AT") && bytes.size() >= 9 && bytes.size() == quint8(bytes[6]) + 9) {
            const quint32 word = quint32(quint8(bytes[2])) << 24 | quint32(quint8(bytes[3])) << 16 |
                                 quint32(quint8(bytes[4])) << 8 | quint8(bytes[5]);
            record = QStringLiteral("%1 %2")
                         .arg(word >> 3, 8, 16, QLatin1Char('0'))
                         .arg(QString::fromLatin1(bytes.mid(7, quint8(bytes[6])).toHex(' ')))
                         .toUpper();
        } else {
            record = QStringLiteral("text ") + QString::fromLatin1(bytes.toHex(' ')).toUpper();
        }
        (t[1] == QLatin1String("RX") ? hostTx : hostRx)->append(record.trimmed());
    }
}

void monitorRecords(const QString& jsonLines, QStringList* tx, QStringList* rx) {
    for (const QString& line : jsonLines.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        QVERIFY2(!o.isEmpty(), qPrintable(line));
        const QString id = o.value(QStringLiteral("id")).toString();
        const QString record = (id.isEmpty() ? QStringLiteral("text ") : id + QLatin1Char(' ')) +
                               o.value(QStringLiteral("data")).toString();
        (o.value(QStringLiteral("dir")).toString() == QLatin1String("tx") ? tx : rx)
            ->append(record.trimmed());
    }
}

}  // namespace

class TestCliMonitor : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyBenchRecordOnceInOrder();
    void filterAndNoScan();
    void endsOnSignalWithStatistics();
    void usageErrors_data();
    void usageErrors();
    void logConvertAndShow();
    void replayAnswersFromTheTrace_data();
    void replayAnswersFromTheTrace();

private:
    std::unique_ptr<linktest::WorkDir> m_dir;
    std::unique_ptr<linktest::SimBench> m_sim;
};

void TestCliMonitor::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_sim = std::make_unique<linktest::SimBench>();
}

void TestCliMonitor::cleanup() {
    m_sim.reset();
    m_dir.reset();
}

void TestCliMonitor::everyBenchRecordOnceInOrder() {
    // A whole-bus scan of two motors: the adapter's set-up, 144 probes, announcements, model
    // queries and replies.
    const QString port = m_sim->start({"--motors", "2", "--log", "bench.txt"});
    QVERIFY(!port.isEmpty());
    QString out, err;
    QCOMPARE(clitest::runCli(
                 {"monitor", "--port", port, "--multi", "--seconds", "5", "--json", "--log", "bus.log"}, &out,
                 &err),
             0);
    m_sim->stop();
    QStringList benchTx, benchRx, seenTx, seenRx;
    benchRecords(QStringLiteral("bench.txt"), &benchTx, &benchRx);
    monitorRecords(out, &seenTx, &seenRx);
    QVERIFY2(benchTx.size() > 140, qPrintable(QString::number(benchTx.size())));
    QVERIFY(benchRx.size() >= 3);
    // Each direction in its own order: a request may cross the previous reply on the line.
    QCOMPARE(seenTx, benchTx);
    QCOMPARE(seenRx, benchRx);

    // The log holds every frame, host frames T and motor frames R.
    const QStringList log = linesOf(QStringLiteral("bus.log"));
    int frames = 0;
    for (const QString& r : benchTx + benchRx)
        frames += r.startsWith(QStringLiteral("text")) ? 0 : 1;
    QCOMPARE(log.size(), frames);
    const QRegularExpression format(
        QStringLiteral("^\\(\\d{10}\\.\\d{6}\\) can0 [0-9A-F]{8}#([0-9A-F]{2})* [RT]$"));
    int tx = 0;
    for (const QString& line : log) {
        QVERIFY2(format.match(line).hasMatch(), qPrintable(line));
        tx += line.endsWith(QLatin1Char('T'));
    }
    QCOMPARE(tx, frames - (benchRx.size() - int(benchRx.filter(QStringLiteral("text")).size())));
    // Statistics on stderr: both motors and the adapter's lines.
    QVERIFY2(err.contains(QRegularExpression(QStringLiteral("\\n1 +\\d+"))), qPrintable(err));
    QVERIFY(err.contains(QRegularExpression(QStringLiteral("\\n2 +\\d+"))));
    QVERIFY(err.contains(QStringLiteral("adapter")));
    QVERIFY(err.contains(QStringLiteral("125 CAN IDs never answered")));
}

void TestCliMonitor::filterAndNoScan() {
    const QString port = m_sim->start({"--log", "bench.txt"});
    QVERIFY(!port.isEmpty());
    QString out, err;
    QCOMPARE(clitest::runCli(
                 {"monitor", "--no-scan", "--port", port, "--seconds", "1", "--filter", "type=AT dir=rx"},
                 &out, &err),
             0);
    // Only the adapter's answers, and no motor was asked anything.
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    for (const QString& line : lines)
        QVERIFY2(line.contains(QRegularExpression(QStringLiteral("^\\d+\\.\\d{6} Rx AT +OK$"))),
                 qPrintable(line));
    m_sim->stop();
    QStringList benchTx, benchRx;
    benchRecords(QStringLiteral("bench.txt"), &benchTx, &benchRx);
    for (const QString& r : benchTx)
        QVERIFY2(r.startsWith(QStringLiteral("text")) || r.startsWith(QStringLiteral("0000FD")),
                 qPrintable(r));
}

void TestCliMonitor::endsOnSignalWithStatistics() {
    const QString port = m_sim->start({});
    QVERIFY(!port.isEmpty());
    QProcess cli;
    cli.start(QStringLiteral(TRIVANE_CLI_PATH), {"monitor", "--port", port, "--log", "run.asc"});
    QVERIFY(cli.waitForStarted());
    // Detection is over once the model reply went by.
    QElapsedTimer clock;
    clock.start();
    QByteArray out;
    while (!out.contains("model-reply") && clock.elapsed() < 30000) {
        cli.waitForReadyRead(1000);
        out += cli.readAllStandardOutput();
    }
    QVERIFY2(out.contains("model-reply"), out.constData());
    cli.terminate();
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 0);
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("feedback interval")), qPrintable(err));
    const QStringList asc = linesOf(QStringLiteral("run.asc"));
    QVERIFY(asc.size() > 6);
    QVERIFY(asc.first().startsWith(QStringLiteral("date ")));
    QCOMPARE(asc.last().trimmed(), QStringLiteral("End TriggerBlock"));
}

void TestCliMonitor::usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::newRow("bad filter") << QStringList{"monitor", "--port", "/dev/null", "--filter", "type=NOPE"}
                                << 2;
    QTest::newRow("bad seconds") << QStringList{"monitor", "--port", "/dev/null", "--seconds", "0"} << 2;
    QTest::newRow("no port") << QStringList{"monitor"} << 2;
    QTest::newRow("no such port") << QStringList{"monitor", "--port", "/no/such/tty", "--seconds", "1"} << 1;
    QTest::newRow("log without verb") << QStringList{"log", "x.log"} << 2;
    QTest::newRow("missing input") << QStringList{"log", "convert", "none.log", "out.asc"} << 1;
}

void TestCliMonitor::usageErrors() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QString out, err;
    QCOMPARE(clitest::runCli(args, &out, &err), code);
    QVERIFY(!err.isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("out.asc")));
}

void TestCliMonitor::logConvertAndShow() {
    QFile in(QStringLiteral("in.log"));
    QVERIFY(in.open(QIODevice::WriteOnly));
    in.write(
        "(1700000000.000100) can0 123#DEADBEEF\n"
        "(1700000000.000200) can0 0000FD05#00 T\n"
        "not a record\n"
        "(1700000000.000300) can0 000085FE#01100000E7C5103A R\n"
        "(1700000000.000400) can0 150005FD#0900000001000000 R\n");
    in.close();
    QString out, err;
    QCOMPARE(clitest::runCli({"log", "convert", "in.log", "out.asc"}, &out, &err), 0);
    QVERIFY2(err.contains(QStringLiteral("line 3:")), qPrintable(err));
    QVERIFY(err.contains(QStringLiteral("1 records ignored")));
    QCOMPARE(clitest::runCli({"log", "convert", "out.asc", "back.log", "--json"}, &out, &err), 0);
    QCOMPARE(QJsonDocument::fromJson(out.toUtf8()).object().value("frames").toInt(), 3);
    const QStringList back = linesOf(QStringLiteral("back.log"));
    QCOMPARE(back.size(), 3);
    QCOMPARE(back[1], QStringLiteral("(1700000000.000300) can0 000085FE#01100000E7C5103A R"));

    QCOMPARE(clitest::runCli({"log", "show", "back.log", "--filter", "type=FAULT_WARN"}, &out, &err), 0);
    QCOMPARE(out.trimmed(),
             QStringLiteral("1700000000.000400 Rx FAULT_WARN     5->host   fault=0x00000009 bits=0,3 "
                            "warning=0x00000001 bits=0"));
    QVERIFY(err.contains(QRegularExpression(QStringLiteral("\\n5 +3 "))));
}

void TestCliMonitor::replayAnswersFromTheTrace_data() {
    QTest::addColumn<bool>("fast");
    QTest::newRow("recorded spacing") << false;
    QTest::newRow("as fast as the line allows") << true;
}

void TestCliMonitor::replayAnswersFromTheTrace() {
    QFETCH(bool, fast);
    // A motor that announces itself, answers the model query, and sends one feedback frame
    // 400 ms after it; the trace's probe of CAN ID 3 never comes from the host.
    QFile trace(QStringLiteral("trace.log"));
    QVERIFY(trace.open(QIODevice::WriteOnly));
    trace.write(
        "(1700000000.000000) can0 0000FD01#00 T\n"
        "(1700000000.000300) can0 000001FE#0110000000000000 R\n"
        "(1700000000.010000) can0 0400FD01#00C4000000000000 T\n"
        "(1700000000.010400) can0 020001FD#00C4000000020000 R\n"
        "(1700000000.410000) can0 028001FD#FFFF800080000000 R\n"
        "(1700000000.500000) can0 0000FD03#00 T\n"
        "(1700000000.500100) can0 000003FE#0330000000000000 R\n");
    trace.close();
    QStringList options{"--replay", "trace.log"};
    if (fast)
        options << "--replay-fast";
    const QString port = m_sim->start(options);
    QVERIFY(!port.isEmpty());
    QString out, err;
    QCOMPARE(clitest::runCli({"monitor", "--port", port, "--can-id", "1", "--seconds", "2", "--json",
                              "--filter", "dir=rx type=MOTOR_FEEDBACK"},
                             &out, &err),
             0);
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    const QJsonObject model = QJsonDocument::fromJson(lines[0].toUtf8()).object();
    const QJsonObject feedback = QJsonDocument::fromJson(lines[1].toUtf8()).object();
    QVERIFY(model.value("fields").toString().startsWith(QStringLiteral("model-reply")));
    // Scaled with the model the trace's reply named.
    QCOMPARE(feedback.value("fields").toString(),
             QStringLiteral("pos=12.500 vel=0.00 torque=0.00 mode=run faults=-"));
    const double gapMs = (feedback.value("time_us").toDouble() - model.value("time_us").toDouble()) / 1000;
    if (fast)
        QVERIFY2(gapMs < 200, qPrintable(QString::number(gapMs)));
    else
        QVERIFY2(gapMs > 300 && gapMs < 1000, qPrintable(QString::number(gapMs)));
    // The motor of the unasked probe stays silent.
    QVERIFY(!err.contains(QStringLiteral("CAN ID: 3")));
}

QTEST_GUILESS_MAIN(TestCliMonitor)
#include "tst_cli_monitor.moc"
