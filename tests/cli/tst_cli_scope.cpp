// trivane-cli scope record against the simulated bench: the recorded samples follow the
// simulated motion, files have their exact formats, lost records are counted, and what cannot
// be recorded is refused before anything streams.
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

#include "tests/cli/clirun.h"
#include "tests/framework/filesizelimit.h"
#include "tests/link/linktest.h"
#include "tests/link/simbench.h"

class TestCliScope : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void csvFollowsTheMotion();
    void waveformLinesByNameAndCode();
    void lostRecordsAreCounted();
    void recordsTheNamedMotor();
    void refusedBeforeStreaming_data();
    void refusedBeforeStreaming();
    void damagedStampsAreNotLost();
    void unplugKeepsTheOldFile();
    void fullDiskKeepsTheOldFile();

private:
    int cli(const QStringList& args, QString* out = nullptr, QString* err = nullptr);
    QStringList record(const QStringList& extra);
    // Starts a recording into w.csv (over an earlier one) without waiting for its end.
    void startRecording(QProcess* process, double seconds);

    std::unique_ptr<linktest::WorkDir> m_dir;
    std::unique_ptr<linktest::SimBench> m_sim;
    QString m_port;
};

void TestCliScope::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_sim = std::make_unique<linktest::SimBench>();
    m_port = m_sim->start({});
    QVERIFY(!m_port.isEmpty());
}

void TestCliScope::cleanup() {
    m_sim.reset();
    m_dir.reset();
}

int TestCliScope::cli(const QStringList& args, QString* out, QString* err) {
    return clitest::runCli(args + QStringList{"--port", m_port}, out, err);
}

static QStringList linesOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

void TestCliScope::csvFollowsTheMotion() {
    QCOMPARE(cli({"jog", "2"}), 0);
    QString out, err;
    QCOMPARE(cli({"scope", "record", "--channels", "mechPos,MECHVEL", "--rate", "100", "--seconds", "1.5",
                  "--out", "run.csv", "--csv", "--json"},
                 &out, &err),
             0);
    const QJsonObject result = QJsonDocument::fromJson(out.toUtf8()).object();
    QVERIFY2(result.value("ok").toBool(), qPrintable(out + err));
    QVERIFY(err.contains(QStringLiteral("records, 0 lost")));  // progress on stderr

    const QStringList lines = linesOf(QStringLiteral("run.csv"));
    QCOMPARE(lines.value(0), QStringLiteral("time,mechPos,mechVel"));
    const int rows = lines.size() - 1;
    QCOMPARE(rows, result.value("records").toInt());
    QVERIFY2(rows >= 140, qPrintable(QString::number(rows)));
    QCOMPARE(result.value("lost").toInt(), 0);
    double t0 = 0, p0 = 0, t1 = 0, p1 = 0, previous = -1;
    for (int i = 1; i <= rows; ++i) {
        const QStringList f = lines[i].split(QLatin1Char(','));
        QCOMPARE(f.size(), 3);
        const double t = f[0].toDouble(), p = f[1].toDouble(), v = f[2].toDouble();
        // The motor's time stamps: one sample every 10 ms, no gaps.
        if (previous >= 0)
            QVERIFY2(qAbs(t - previous - 0.01) < 1e-6, qPrintable(lines[i]));
        previous = t;
        QVERIFY2(qAbs(v - 2.0) < 0.2, qPrintable(lines[i]));
        if (i == 1)
            t0 = t, p0 = p;
        t1 = t, p1 = p;
    }
    // The position advances at the jog speed.
    QVERIFY2(qAbs((p1 - p0) / (t1 - t0) - 2.0) < 0.2, qPrintable(QString::number((p1 - p0) / (t1 - t0))));
}

void TestCliScope::waveformLinesByNameAndCode() {
    // uint16 time stamp by code, int16 temperature by name, a float by code.
    QString out;
    QCOMPARE(cli({"scope", "record", "--channels", "0x300A,temperature,12288", "--rate", "50", "--seconds",
                  "0.5", "--out", "wave.txt"},
                 &out),
             0);
    QVERIFY(out.contains(QRegularExpression(QStringLiteral("Records received: \\d+, lost: 0"))));
    const QStringList lines = linesOf(QStringLiteral("wave.txt"));
    QVERIFY(lines.size() >= 20);
    const QRegularExpression format(QStringLiteral("^ *\\d+\\.\\d{6} *\\d+ *-?\\d+ *-?\\d+\\.\\d{6}$"));
    for (const QString& line : lines) {
        QCOMPARE(line.size(), 14 + 6 + 7 + 12);
        QVERIFY2(format.match(line).hasMatch(), qPrintable(line));
        const int temperature = line.mid(14 + 6, 7).trimmed().toInt();  // tenths of a degree
        QVERIFY2(temperature > 100 && temperature < 1500, qPrintable(line));
    }
}

void TestCliScope::lostRecordsAreCounted() {
    m_sim->command("drop tx 0.05");
    QString out;
    QCOMPARE(cli({"scope", "record", "--channels", "0x3000,0x3001,0x3002", "--rate", "500", "--seconds", "2",
                  "--out", "lossy.txt", "--json"},
                 &out),
             0);
    const QJsonObject result = QJsonDocument::fromJson(out.toUtf8()).object();
    const int records = result.value("records").toInt();
    const int lost = result.value("lost").toInt();
    // Two frames per record: about a tenth of the records lose one.
    QVERIFY2(lost > 20, qPrintable(out));
    QCOMPARE(linesOf(QStringLiteral("lossy.txt")).size(), records);
    // Every record the motor produced is either in the file or counted as lost.
    QVERIFY2(qAbs(records + lost - 1000) < 100, qPrintable(out));
}

void TestCliScope::recordsTheNamedMotor() {
    m_sim = std::make_unique<linktest::SimBench>();
    m_port = m_sim->start({QStringLiteral("--motors"), QStringLiteral("2")});
    QVERIFY(!m_port.isEmpty());
    QCOMPARE(cli({"scope", "record", "--can-id", "2", "--channels", "mcu_serial", "--rate", "50", "--seconds",
                  "0.5", "--out", "second.csv", "--csv"}),
             0);
    const QStringList lines = linesOf(QStringLiteral("second.csv"));
    QCOMPARE(lines.value(0), QStringLiteral("time,mcu_serial"));
    QVERIFY(lines.size() > 10);
    // The second motor's identity (0x3a10c5e700002002), not the first one's, was sampled.
    for (int i = 1; i < lines.size(); ++i) {
        const quint64 serial = lines[i].section(QLatin1Char(','), 1).toULongLong();
        QVERIFY2((serial >> 32) == 0x3a10c5e7 && (serial & 0xF000) == 0x2000, qPrintable(lines[i]));
    }
}

void TestCliScope::refusedBeforeStreaming_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QString eight = QStringLiteral("mechPos,mechVel,iqf,torque,VBUS,elecAngle,0x3000,0x3001");
    QTest::newRow("more than the line carries")
        << QStringList{"--channels", eight, "--rate", "2000", "--seconds", "1", "--out", "keep.txt"} << 1
        << "Highest rate that fits: 1084 Hz.";
    QTest::newRow("unknown name") << QStringList{"--channels", "nosuch", "--rate", "10",
                                                 "--seconds",  "1",      "--out",  "keep.txt"}
                                  << 1 << "Unknown channel nosuch.";
    QTest::newRow("code the motor lacks")
        << QStringList{"--channels", "0x3FFF", "--rate", "10", "--seconds", "1", "--out", "keep.txt"} << 1
        << "The motor refused the scope configuration (error bits 0x4).";
    QTest::newRow("rate 0") << QStringList{"--channels", "mechPos", "--rate", "0",
                                           "--seconds",  "1",       "--out",  "keep.txt"}
                            << 2 << "--rate expects";
    QTest::newRow("nine channels") << QStringList{"--channels", eight + ",iqf", "--rate",  "10", "--seconds",
                                                  "1",          "--out",        "keep.txt"}
                                   << 2 << "one to eight";
}

void TestCliScope::refusedBeforeStreaming() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    {
        QFile f(QStringLiteral("keep.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("earlier recording\r\n");
    }
    QString out, err;
    QCOMPARE(cli(QStringList{"scope", "record"} + args, &out, &err), exitCode);
    QVERIFY2(QString(out + err).contains(message), qPrintable(out + err));
    // A refused recording leaves the file it would have replaced alone.
    QCOMPARE(linesOf(QStringLiteral("keep.txt")), QStringList{"earlier recording"});
}

void TestCliScope::damagedStampsAreNotLost() {
    // One record in a hundred from the motor arrives with a bit flipped; a flipped time stamp
    // must not count hundreds of records as lost.
    m_sim = std::make_unique<linktest::SimBench>();
    m_port = m_sim->start({QStringLiteral("--corrupt-tx"), QStringLiteral("0.03"), QStringLiteral("--seed"),
                           QStringLiteral("2")});
    QVERIFY(!m_port.isEmpty());
    QString out, err;
    QCOMPARE(cli({"scope", "record", "--channels", "0x3000,0x3001,0x3002", "--rate", "500", "--seconds", "2",
                  "--out", "noisy.txt", "--json"},
                 &out, &err),
             0);
    const QJsonObject result = QJsonDocument::fromJson(out.toUtf8()).object();
    const int records = result.value("records").toInt();
    const int lost = result.value("lost").toInt();
    QVERIFY2(records + lost <= 1010, qPrintable(out));
    QVERIFY2(records > 900, qPrintable(out));
    QVERIFY(result.contains("damaged"));
}

void TestCliScope::startRecording(QProcess* process, double seconds) {
    QFile f(QStringLiteral("w.csv"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("earlier recording\r\n");
    f.close();
    process->start(QStringLiteral(TRIVANE_CLI_PATH),
                   {"scope", "record", "--channels", "0x3000", "--rate", "100", "--seconds",
                    QString::number(seconds), "--out", "w.csv", "--csv", "--port", m_port});
    QVERIFY(process->waitForStarted(10000));
}

void TestCliScope::unplugKeepsTheOldFile() {
    QProcess process;
    startRecording(&process, 30);
    QString err;
    QVERIFY(QTest::qWaitFor(
        [&] {
            err += QString::fromUtf8(process.readAllStandardError());
            return err.contains(QStringLiteral("1.0 s:")) || process.state() == QProcess::NotRunning;
        },
        30000));
    m_sim->command("unplug");
    QVERIFY(process.waitForFinished(30000));
    err += QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(err.contains("The link closed during the recording."), qPrintable(err));
    QVERIFY2(err.contains(QRegularExpression(QStringLiteral(
                 "w.csv was left as it was; the \\d+ records received are in w.partial.csv."))),
             qPrintable(err));
    QCOMPARE(linesOf(QStringLiteral("w.csv")), QStringList{"earlier recording"});
    const QStringList partial = linesOf(QStringLiteral("w.partial.csv"));
    QCOMPARE(partial.value(0), QStringLiteral("time,0x3000"));
    QVERIFY2(partial.size() > 90, qPrintable(QString::number(partial.size())));
}

void TestCliScope::fullDiskKeepsTheOldFile() {
    // The recording needs some 1.8 kB; the disk takes 1 kB. Small enough to sit in the write
    // buffer until the end, where a failed flush must still count.
    QProcess process;
    {
        const testfiles::FileSizeLimit full(1024);
        startRecording(&process, 1.5);
    }
    QVERIFY(process.waitForFinished(60000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(err.contains("Cannot write w.csv: File too large"), qPrintable(err));
    QCOMPARE(linesOf(QStringLiteral("w.csv")), QStringList{"earlier recording"});
}

QTEST_GUILESS_MAIN(TestCliScope)
#include "tst_cli_scope.moc"
