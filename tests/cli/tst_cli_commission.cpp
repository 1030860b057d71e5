// trivane-cli commission: a wrong plan or command line is refused with exit 2 before the port
// is touched, each problem at its place, on stderr and (with --json) on stdout; the shipped
// plan passes against the simulated bench and writes its reports; a run ended by a signal or
// on an empty bus fails with its reports written and the motors in reset mode.
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include "tests/cli/clirun.h"
#include "tests/commission/simmodes.h"
#include "tests/link/linktest.h"

class TestCliCommission : public QObject {
    Q_OBJECT

private slots:
    void planProblemsExitTwo();
    void planProblemsAsJson();
    void usageErrors_data();
    void usageErrors();
    void shippedPlanPassesFromItsFolder();
    void signalEndsTheRunSafely_data();
    void signalEndsTheRunSafely();
    void emptyBusFailsWithAReport();
};

namespace {

QString writePlan(const QTemporaryDir& dir, const QByteArray& yaml) {
    const QString path = dir.filePath(QStringLiteral("plan.yaml"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(yaml) != yaml.size())
        return QString();
    return path;
}

}  // namespace

void TestCliCommission::planProblemsExitTwo() {
    QTemporaryDir dir;
    const QString plan = writePlan(dir,
                                   "name: x\nsteps:\n  - step: move\n    mode: velocity\n    target: fast\n"
                                   "  - step: estop\n    within: 2 h\n");
    QString out, err;
    // The port does not exist: a plan error must be found before it is opened.
    QCOMPARE(
        clitest::runCli({"commission", plan, "--port", dir.filePath("no-such-port"), "--yes"}, &out, &err),
        2);
    QVERIFY2(err.contains(plan + ":5:13: target must be a number"), qPrintable(err));
    QVERIFY2(err.contains(plan + ":7:13: within must be a time"), qPrintable(err));
    QVERIFY(!err.contains("no-such-port"));
    QVERIFY(!QDir(dir.filePath("reports")).exists());
}

void TestCliCommission::planProblemsAsJson() {
    QTemporaryDir dir;
    const QString plan = writePlan(dir, "name: x\nstepz: []\n");
    QString out;
    QCOMPARE(clitest::runCli({"--json", "commission", plan, "--port", "/dev/null"}, &out), 2);
    const QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
    QCOMPARE(json.value("ok").toBool(true), false);
    const QJsonArray problems = json.value("problems").toArray();
    // In file order: the plan lacks "steps" (at its start), and "stepz" is unknown.
    QCOMPARE(problems.size(), 2);
    QCOMPARE(problems[0].toObject().value("line").toInt(), 1);
    QVERIFY(problems[0].toObject().value("message").toString().contains("needs \"steps\""));
    QCOMPARE(problems[1].toObject().value("line").toInt(), 2);
    QCOMPARE(problems[1].toObject().value("column").toInt(), 1);
    QVERIFY(problems[1].toObject().value("message").toString().contains("did you mean \"steps\""));
}

void TestCliCommission::usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("no plan") << QStringList{"commission", "--port", "/dev/null"} << "one plan file";
    QTest::newRow("two plans") << QStringList{"commission", "a.yaml", "b.yaml"} << "one plan file";
    QTest::newRow("missing plan") << QStringList{"commission", "none.yaml", "--port", "/dev/null"}
                                  << "cannot read";
    QTest::newRow("all and can-id") << QStringList{"commission", "x.yaml", "--all", "--can-id", "3"}
                                    << "not both";
    QTest::newRow("unknown option") << QStringList{"commission", "x.yaml", "--everything"} << "everything";
}

void TestCliCommission::usageErrors() {
    QFETCH(QStringList, args);
    QFETCH(QString, fragment);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QString out, err;
    QCOMPARE(clitest::runCli(args, &out, &err), 2);
    QVERIFY2(err.contains(fragment), qPrintable(err));
}

namespace {

// The examples folder copied as shipped into dir, the plans beside their profiles.
bool copyExamples(const QString& dir) {
    const QString from = QStringLiteral(TRIVANE_EXAMPLES_DIR);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = dir + QLatin1Char('/') + QDir(from).relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target))
            return false;
    }
    return true;
}

// The run's report folder under base (there is one per run).
QString reportFolder(const QString& base) {
    const QStringList folders = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return folders.size() == 1 ? base + QLatin1Char('/') + folders.first() : QString();
}

QJsonObject readJson(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object() : QJsonObject();
}

}  // namespace

void TestCliCommission::shippedPlanPassesFromItsFolder() {
    linktest::WorkDir work;
    QVERIFY(copyExamples(work.path()));
    linktest::SimBench sim;
    const QString port = sim.start({"--motors", "1"});
    QVERIFY(!port.isEmpty());
    QString out, err;
    QCOMPARE(clitest::runCli({"commission", "bench-check.yaml", "--yes", "--port", port, "--junit", "ci.xml",
                              "--station", "bench 4", "--operator", "Ana"},
                             &out, &err),
             0);
    QVERIFY2(out.contains("Result: PASS"), qPrintable(out + err));
    // Stdout is the summary; the link's lines and the progress go to stderr.
    QVERIFY2(!out.contains("Send "), qPrintable(out));
    QVERIFY2(err.contains("9/9 Emergency stop: PASS"), qPrintable(err));
    QVERIFY(QFile::exists("ci.xml"));
    const QString folder = reportFolder("reports");
    QVERIFY(!folder.isEmpty());
    const QJsonObject report = readJson(folder + "/report.json");
    QCOMPARE(report.value("outcome").toString(), QString("PASS"));
    QCOMPARE(report.value("station").toString(), QString("bench 4"));
    QCOMPARE(report.value("operator").toString(), QString("Ana"));
    const QStringList files = QDir(folder).entryList(QDir::Files);
    QVERIFY(files.contains("junit.xml"));
    QCOMPARE(files.filter(".html").size(), 1);
    QCOMPARE(files.filter(".pdf").size(), 1);
    QCOMPARE(commissiontest::simModes(sim, 1).value(1), QString("reset"));
}

void TestCliCommission::signalEndsTheRunSafely_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("reason");
    QTest::newRow("SIGTERM") << int(SIGTERM) << "Stopped by SIGTERM.";
    QTest::newRow("Ctrl+C") << int(SIGINT) << "Stopped by Ctrl+C.";
}

void TestCliCommission::signalEndsTheRunSafely() {
    QFETCH(int, signal);
    QFETCH(QString, reason);
    linktest::WorkDir work;
    QVERIFY(copyExamples(work.path()));
    linktest::SimBench sim;
    const QString port = sim.start({"--motors", "2"});
    QVERIFY(!port.isEmpty());
    QProcess cli;
    cli.start(TRIVANE_CLI_PATH,
              {"commission", "bench-check.yaml", "--all", "--yes", "--port", port, "--json"});
    QVERIFY(cli.waitForStarted());
    // Once the first motor turns, the signal comes.
    QString err;
    QTRY_VERIFY_WITH_TIMEOUT(
        (err += QString::fromUtf8(cli.readAllStandardError())).contains("Quarter turn ..."), 60000);
    QTest::qWait(300);
    ::kill(pid_t(cli.processId()), signal);
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 1);
    const QJsonObject summary = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    QCOMPARE(summary.value("message").toString(), reason);
    // The reports of what was done are written all the same.
    const QJsonObject report = readJson(reportFolder("reports") + "/report.json");
    QCOMPARE(report.value("message").toString(), reason);
    const QMap<int, QString> modes = commissiontest::simModes(sim, 2);
    QCOMPARE(modes.value(1), QString("reset"));
    QCOMPARE(modes.value(2), QString("reset"));
}

void TestCliCommission::emptyBusFailsWithAReport() {
    linktest::WorkDir work;
    QVERIFY(copyExamples(work.path()));
    linktest::SimBench sim;
    // The adapter answers; no motor frame reaches the host.
    const QString port = sim.start({"--motors", "1", "--drop-tx", "1"});
    QVERIFY(!port.isEmpty());
    QString out;
    QCOMPARE(clitest::runCli({"commission", "bench-check.yaml", "--yes", "--port", port, "--json"}, &out), 1);
    const QJsonObject summary = QJsonDocument::fromJson(out.toUtf8()).object();
    QCOMPARE(summary.value("ok").toBool(true), false);
    QVERIFY(summary.value("motors").toArray().isEmpty());
    QVERIFY2(summary.value("message").toString().contains("No motor answered"), qPrintable(out));
    QVERIFY(!readJson(reportFolder("reports") + "/report.json").isEmpty());
}

QTEST_GUILESS_MAIN(TestCliCommission)
#include "tst_cli_commission.moc"
