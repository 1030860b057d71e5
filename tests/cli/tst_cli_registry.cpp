// A trivane-cli whose verbs include one name twice refuses every command line before any verb
// runs, naming the verb.
#include "clirun.h"

#include <QtTest>

class TestCliRegistry : public QObject {
    Q_OBJECT

private slots:
    void duplicateVerbStopsEverything_data();
    void duplicateVerbStopsEverything();
};

void TestCliRegistry::duplicateVerbStopsEverything_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("the duplicate verb") << QStringList{QStringLiteral("same")};
    QTest::newRow("another verb") << QStringList{QStringLiteral("other")};
    QTest::newRow("option before the verb") << QStringList{QStringLiteral("--json"), QStringLiteral("other")};
    QTest::newRow("help") << QStringList{QStringLiteral("--help")};
    QTest::newRow("nothing") << QStringList();
}

void TestCliRegistry::duplicateVerbStopsEverything() {
    QFETCH(QStringList, args);
    QString out, err;
    QCOMPARE(clitest::runCli(args, &out, &err), 2);
    QVERIFY2(out.isEmpty(), qPrintable(out));
    QVERIFY2(err.contains(QStringLiteral("\"same\" is registered more than once")), qPrintable(err));
    QVERIFY2(!err.contains(QStringLiteral("other")), qPrintable(err));
}

QTEST_GUILESS_MAIN(TestCliRegistry)
#include "tst_cli_registry.moc"
