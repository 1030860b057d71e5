#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace kx;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList& arguments) {
    Run run;
    QProcess process;
    process.start(QStringLiteral(TRIVANE_CLI_PATH), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void helpAndVersion();
    void usageErrors_data();
    void usageErrors();
    void convertRoundTrips();
    void convertFailures();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCli::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestCli::cleanup() {
    QDir::setCurrent(QDir::tempPath());
    m_dir.reset();
}

void TestCli::helpAndVersion() {
    const Run help = runCli({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains(QStringLiteral("--version")));
    QVERIFY2(help.out.contains(
                 QStringLiteral("convert <JSON|XML|BIN> <JSON|XML|BIN> (-path=<file> | -data=<text>)")),
             qPrintable(help.out));

    const Run verbHelp = runCli({QStringLiteral("convert"), QStringLiteral("--help")});
    QCOMPARE(verbHelp.exitCode, 0);
    QVERIFY(verbHelp.out.contains(QStringLiteral("Usage: trivane-cli convert")));

    const Run version = runCli({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out.trimmed(), QStringLiteral("trivane-cli 0.0.8"));
}

void TestCli::usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("no verb") << QStringList() << "No verb given.";
    QTest::newRow("unknown verb") << QStringList{"frobnicate"} << "Unknown verb: frobnicate";
    QTest::newRow("unknown global option") << QStringList{"--frob"} << "frob";
    QTest::newRow("one form only") << QStringList{"convert", "JSON", "-data=[1]"} << "two forms";
    QTest::newRow("unknown form") << QStringList{"convert", "JSON", "YAML", "-data=[1]"} << "two forms";
    QTest::newRow("no source") << QStringList{"convert", "JSON", "XML", "[1]"}
                               << "-path=<file> or -data=<text>";
}

void TestCli::usageErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = runCli(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

void TestCli::convertRoundTrips() {
    // JSON file -> XML on stdout -> file -> BIN hex -> JSON again.
    writeFile(QStringLiteral("tree.json"),
              R"({"config": {"baud_rate": 921600, "name": "bench a"}, "list": [1, "two"]})");
    const Run xml = runCli({QStringLiteral("convert"), QStringLiteral("JSON"), QStringLiteral("XML"),
                            QStringLiteral("-path=tree.json")});
    QCOMPARE(xml.exitCode, 0);
    QVERIFY2(xml.out.contains(QStringLiteral("<c name=\"baud_rate\" type=\"6\" value=\"921600\"/>")),
             qPrintable(xml.out));
    writeFile(QStringLiteral("tree.xml"), xml.out.toUtf8());

    const Run hex = runCli({QStringLiteral("convert"), QStringLiteral("xml"), QStringLiteral("bin"),
                            QStringLiteral("-path=tree.xml")});
    QCOMPARE(hex.exitCode, 0);
    // The hexadecimal text goes back in as several arguments; they are joined with spaces.
    QStringList arguments{QStringLiteral("convert"), QStringLiteral("BIN"), QStringLiteral("JSON")};
    const QStringList bytes = hex.out.trimmed().split(QLatin1Char(' '));
    arguments << QStringLiteral("-data=") + bytes.first();
    arguments << bytes.mid(1);
    const Run json = runCli(arguments);
    QCOMPARE(json.exitCode, 0);

    DataObject original(QStringLiteral("o"));
    original.importFromJson(nullptr, DataManager::readFromJson(QStringLiteral("tree.json")), true, true,
                            false);
    QJsonParseError error;
    const QJsonDocument result = QJsonDocument::fromJson(json.out.toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(QJsonValue(result.object()), original.exportToJson(false));

    // A compressed binary file written by the framework is read by path as well.
    QVERIFY(DataManager::writeToBin(QStringLiteral("tree.bin"), original.exportToBin(false), 9, true));
    const Run fromBin = runCli({QStringLiteral("convert"), QStringLiteral("BIN"), QStringLiteral("JSON"),
                                QStringLiteral("-path=tree.bin")});
    QCOMPARE(fromBin.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(fromBin.out.toUtf8()).object(), result.object());

    // -data with spaces inside the JSON text.
    const Run spaced = runCli({QStringLiteral("convert"), QStringLiteral("JSON"), QStringLiteral("XML"),
                               QStringLiteral("-data={\"a\":"), QStringLiteral("\"x y\"}")});
    QCOMPARE(spaced.exitCode, 0);
    QVERIFY2(spaced.out.contains(QStringLiteral("<c name=\"a\" type=\"10\" value=\"x y\"/>")),
             qPrintable(spaced.out));
}

void TestCli::convertFailures() {
    const Run same = runCli({QStringLiteral("convert"), QStringLiteral("XML"), QStringLiteral("XML"),
                             QStringLiteral("-data=<m/>")});
    QCOMPARE(same.exitCode, 1);
    QVERIFY(same.err.contains(QStringLiteral("origin type is same with target type")));
    QVERIFY(same.out.isEmpty());

    const Run missing = runCli({QStringLiteral("convert"), QStringLiteral("JSON"), QStringLiteral("XML"),
                                QStringLiteral("-path=nope.json")});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.contains(QStringLiteral("cannot read file: nope.json")));

    // Unreadable input is a failure with one line naming the source and where it breaks;
    // nothing of a fragment reaches stdout.
    struct Bad {
        const char* form;
        const char* file;
        QByteArray bytes;
        const char* where;
    };
    const QByteArray compressedJunk = qCompress(QByteArray("\x01\x00\x00\x00\x0a\xff\xff", 7));
    const QList<Bad> bad{
        {"XML", "cut.xml", R"(<m><c name="config"><c name="baud_rate" type="6" value="92)", "line 1, column"},
        {"XML", "open.xml", "<m><c name=\"config\">", "line 1, column"},
        {"JSON", "garbage.json", "{\"a\": [1, 2,, }", "offset"},
        {"JSON", "cut.json", "{\"config\": {\"baud_rate\": 9", "offset"},
        {"BIN", "garbage.bin", QByteArray("\x7f\xff\xff\xff garbage", 12), "offset 0"},
        {"BIN", "damaged.bin", compressedJunk, "offset"},
    };
    for (const Bad& input : bad) {
        writeFile(QLatin1String(input.file), input.bytes);
        const QString target = QLatin1String(input.form) == QLatin1String("JSON") ? "XML" : "JSON";
        const Run run = runCli({QStringLiteral("convert"), QLatin1String(input.form), target,
                                QStringLiteral("-path=") + input.file});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.isEmpty(), qPrintable(run.out));
        const QString err = run.err.trimmed();
        QVERIFY2(!err.contains(QLatin1Char('\n')), qPrintable(err));
        QVERIFY2(err.startsWith(QLatin1String(input.file) + QLatin1String(": ")), qPrintable(err));
        QVERIFY2(err.contains(QLatin1String(input.where)), qPrintable(err));
    }
    // The same rule for text given on the command line.
    const Run data = runCli({QStringLiteral("convert"), QStringLiteral("XML"), QStringLiteral("JSON"),
                             QStringLiteral("-data=<m><c name=\"a\"")});
    QCOMPARE(data.exitCode, 1);
    QVERIFY2(data.err.startsWith(QLatin1String("-data: ")), qPrintable(data.err));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
