// trivane-cli commission: a wrong plan or command line is refused with exit 2 before the port
// is touched, each problem at its place, on stderr and (with --json) on stdout.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/cli/clirun.h"

class TestCliCommission : public QObject {
    Q_OBJECT

private slots:
    void planProblemsExitTwo();
    void planProblemsAsJson();
    void usageErrors_data();
    void usageErrors();
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

QTEST_GUILESS_MAIN(TestCliCommission)
#include "tst_cli_commission.moc"
