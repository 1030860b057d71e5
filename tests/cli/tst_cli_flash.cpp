// trivane-cli flash and an unplug during calibrate, against the simulated bench on a
// pseudo-terminal: exit codes, the JSON result and what the user is told.
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <sys/stat.h>

#include "tests/cli/clirun.h"
#include "tests/link/linktest.h"
#include "tests/link/simbench.h"

namespace {

struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run cli(const QStringList& args) {
    Run run;
    run.code = clitest::runCli(args, &run.out, &run.err);
    return run;
}

QString writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return QFileInfo(file).absoluteFilePath();
}

}  // namespace

class TestCliFlash : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void flashSucceeds();
    void refusedFiles_data();
    void refusedFiles();
    void endCheckFailureFails();
    void calibrateTellsOfUnplug();
    void unplugReportsAcknowledgedPackets();

private:
    std::unique_ptr<linktest::WorkDir> m_dir;
    std::unique_ptr<linktest::SimBench> m_sim;
    QString m_port;
};

void TestCliFlash::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_sim = std::make_unique<linktest::SimBench>();
    m_port = m_sim->start({QStringLiteral("--erase-delay"), QStringLiteral("100"),
                           QStringLiteral("--cali-time"), QStringLiteral("30000")});
    QVERIFY(!m_port.isEmpty());
}

void TestCliFlash::cleanup() {
    m_sim.reset();
    m_dir.reset();
}

void TestCliFlash::flashSucceeds() {
    const QString file = writeFile(QStringLiteral("fw.bin"), QByteArray(1001, '\x5a'));
    const Run run = cli({"flash", file, "--port", m_port, "--json"});
    QCOMPARE(run.code, 0);
    const QJsonObject json = QJsonDocument::fromJson(run.out.trimmed().split('\n').last().toUtf8()).object();
    QVERIFY2(json.value("ok").toBool(), qPrintable(run.out));
    QCOMPARE(json.value("packets").toInt(), 126);
    QCOMPARE(json.value("resends").toInt(), 0);
    QCOMPARE(json.value("result").toString(), QStringLiteral("Update successfully!"));
    QVERIFY(json.value("seconds").toDouble() > 0);
    QVERIFY2(run.err.contains("100% "), qPrintable(run.err));
    QVERIFY2(run.err.contains(" packets/s "), qPrintable(run.err));
    // stderr is a pipe here: plain lines, no carriage returns or escape codes.
    QVERIFY2(!run.err.contains('\r') && !run.err.contains('\033'), qPrintable(run.err));
}

void TestCliFlash::refusedFiles_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << 0 << "File contains no data!";
    QTest::newRow("a FIFO") << -2 << "Cannot read the file fw.fifo: not a regular file";
    QTest::newRow("over 512 KiB") << 524289 << "File size over 512KB!";
    QTest::newRow("missing") << -1 << "Cannot read the file missing.bin: ";
}

void TestCliFlash::refusedFiles() {
    QFETCH(int, size);
    QFETCH(QString, message);
    QString file = size == -1 ? m_dir->path() + "/missing.bin"
                              : writeFile(QStringLiteral("fw.bin"), QByteArray(qMax(size, 0), '\1'));
    if (size == -2) {
        file = m_dir->path() + "/fw.fifo";
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    }
    const Run run = cli({"flash", file, "--port", m_port, "--json"});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.startsWith(message), qPrintable(run.err));
    // Refused before the port was opened: nothing reached the bench.
    QVERIFY2(!run.err.contains("Detecting devices"), qPrintable(run.err));
    // --json: one document on this path too.
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QCOMPARE(run.out.count('\n'), 1);
    QVERIFY(!json.value("ok").toBool());
    QVERIFY(json.value("error").toString().startsWith(message));
}

void TestCliFlash::endCheckFailureFails() {
    QByteArray image("TRVFW");
    image += QByteArray(16, 'v') + QByteArray::fromHex("00000000") + QByteArray(64, '\7');
    const Run run = cli({"flash", writeFile(QStringLiteral("bad.bin"), image), "--port", m_port});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains("Update failed!"), qPrintable(run.err));
}

void TestCliFlash::calibrateTellsOfUnplug() {
    QProcess process;
    process.start(QStringLiteral(TRIVANE_CLI_PATH), {"calibrate", "--port", m_port});
    QString err;
    QVERIFY(QTest::qWaitFor(
        [&] {
            err += QString::fromUtf8(process.readAllStandardError());
            return err.contains("<Encoder calibrating>") || process.state() == QProcess::NotRunning;
        },
        30000));
    m_sim->command("unplug");
    QVERIFY(process.waitForFinished(30000));
    err += QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(err.contains("The adapter was disconnected during the calibration."), qPrintable(err));
    QVERIFY(!err.contains("in time"));
}

void TestCliFlash::unplugReportsAcknowledgedPackets() {
    // 4000 packets at a paced line take seconds; the adapter goes after the first progress.
    const QString file = writeFile(QStringLiteral("fw.bin"), QByteArray(32000, '\x5a'));
    QProcess process;
    process.start(QStringLiteral(TRIVANE_CLI_PATH), {"flash", file, "--port", m_port, "--json"});
    QString err;
    QVERIFY(QTest::qWaitFor(
        [&] {
            err += QString::fromUtf8(process.readAllStandardError());
            return err.contains(" packets/s ") || process.state() == QProcess::NotRunning;
        },
        60000));
    m_sim->command("unplug");
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
    const QJsonObject json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    QCOMPARE(json.value("image_packets").toInt(), 4000);
    const int packets = json.value("packets").toInt();
    QVERIFY2(packets > 0 && packets < 4000, qPrintable(QString::number(packets)));
}

LINK_TEST_MAIN(TestCliFlash)
#include "tst_cli_flash.moc"
