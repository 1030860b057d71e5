#include "framework/core/basecommand.h"
#include "framework/core/commandmanager.h"
#include "framework/core/convertcommand.h"
#include "framework/core/setup.h"
#include "framework/core/version.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace kx;

namespace {

// Runs a registered command and collects what it says.
struct Answer {
    QStringList outputs;
    QStringList errors;
    int finished = 0;
};

Answer runCommand(const QString& key, const QString& arguments) {
    Answer answer;
    BaseCommand* command = CommandManager::instance().get(key);
    if (!command) {
        return answer;
    }
    QObject context;
    QObject::connect(command, &BaseCommand::output, &context,
                     [&answer](const QString& t) { answer.outputs << t; });
    QObject::connect(command, &BaseCommand::error, &context,
                     [&answer](const QString& t) { answer.errors << t; });
    QObject::connect(command, &BaseCommand::finished, &context, [&answer] { ++answer.finished; });
    command->exec(d().rootDobj(), arguments);
    return answer;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class RecordingCommand : public BaseCommand {
public:
    explicit RecordingCommand(const QString& key) : BaseCommand(key) {}
    QString usage() const override { return QStringLiteral("record <anything>"); }
    QStringList calls;

protected:
    void run(DataObject*, const QString& arguments) override {
        calls << QStringLiteral("run ") + arguments;
        emit output(arguments);
    }
    void complete(DataObject*, const QString& partial) override {
        calls << QStringLiteral("complete ") + partial;
    }
    void hint(DataObject*, const QString& partial) override { calls << QStringLiteral("hint ") + partial; }
};

}  // namespace

class TestCore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void releaseVersions();
    void versionRegistration();
    void commandRegistry();
    void baseCommandCallsItsHooks();
    void convert_data();
    void convert();
    void convertRoundTripsThroughBin();
    void convertInputIsBounded_data();
    void convertInputIsBounded();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCore::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestCore::cleanup() {
    QDir::setCurrent(QDir::tempPath());
    m_dir.reset();
}

void TestCore::releaseVersions() {
    // The framework's own key is there without anything else having run.
    QCOMPARE(releaseVersionString(QStringLiteral("kx")), QStringLiteral("v0.0.1"));
    QCOMPARE(ver(QStringLiteral("kx.core")), 1);
    QCOMPARE(ver(QStringLiteral("kx")), 0);
    QCOMPARE(ver(QStringLiteral("kx"), true), 1);
    QCOMPARE(releaseVersionString(QStringLiteral("never.registered")), QStringLiteral("v0.0.0"));
    QCOMPARE(ver(QStringLiteral("never.registered"), true), 0);

    // Release parts: offset 1, major 2, minor 3, patch = sum below the key minus the offset,
    // extras in part order.
    VersionManager& manager = versionManager();
    QVERIFY(manager.regist(QStringLiteral("@0_mod"), [] { return 1; }));
    QVERIFY(manager.regist(QStringLiteral("@1_mod"), [] { return 2; }));
    QVERIFY(manager.regist(QStringLiteral("@2_mod"), [] { return 3; }));
    QVERIFY(manager.regist(QStringLiteral("mod.a"), [] { return 4; }));
    QVERIFY(manager.regist(QStringLiteral("mod.b.c"), [] { return 2; }));
    QVERIFY(manager.regist(QStringLiteral("@4_mod"), [] { return 9; }));
    QVERIFY(manager.regist(QStringLiteral("@3_mod"), [] { return 7; }));
    QCOMPARE(releaseVersionString(QStringLiteral("mod")), QStringLiteral("v2.3.5.7.9"));
    QCOMPARE(ver(QStringLiteral("mod.b"), true), 2);
    // The parts of one module do not leak into a module whose name it begins with.
    QCOMPARE(releaseVersionString(QStringLiteral("mo")), QStringLiteral("v0.0.0"));
}

void TestCore::versionRegistration() {
    static const VersionRegistrar registrar(QStringLiteral("test.module"), [] { return 5; });
    QCOMPARE(ver(QStringLiteral("test.module")), 5);
    // A key is registered once; a later registration does not replace it.
    QVERIFY(!versionManager().regist(QStringLiteral("test.module"), [] { return 6; }));
    QVERIFY(!versionManager().regist(QStringLiteral("kx.core"), [] { return 6; }));
    QCOMPARE(ver(QStringLiteral("test"), true), 5);
    QCOMPARE(releaseVersionString(QStringLiteral("kx")), QStringLiteral("v0.0.1"));
    QCOMPARE(&ver(), &versionManager());
}

void TestCore::commandRegistry() {
    setup();
    setup();  // a second call is harmless
    d();
    CommandManager& manager = command();
    QCOMPARE(&manager, &CommandManager::instance());
    BaseCommand* convert = manager.get(QStringLiteral("convert"));
    QVERIFY(convert);
    QCOMPARE(convert->parent(), d().rootDobj());
    QVERIFY(!convert->isRoot());
    QCOMPARE(convert->usage(), QStringLiteral("convert JSON|XML|BIN JSON|XML|BIN -data=<data>|-path=<path>"));
    QCOMPARE(convert->instruction(), QStringLiteral("Convert 1st type of data to 2nd type"));

    QSignalSpy added(&manager, &CommandManager::commandAdded);
    QSignalSpy removed(&manager, &CommandManager::commandRemoved);
    ConvertCommand second;
    QVERIFY(!manager.regist(&second));
    QVERIFY(!manager.regist(nullptr));
    QCOMPARE(added.count(), 0);
    QCOMPARE(manager.get(QStringLiteral("convert")), convert);

    auto* recorder = new RecordingCommand(QStringLiteral("record"));
    QVERIFY(manager.regist(recorder));
    QCOMPARE(added.count(), 1);
    QCOMPARE(added.first().first().toString(), QStringLiteral("record"));
    QVERIFY(manager.keys().contains(QStringLiteral("record")));

    // cancel announces first and does not delete; the key is free again.
    QString seenDuringSignal;
    connect(&manager, &CommandManager::commandRemoved, this,
            [&] { seenDuringSignal = manager.get(QStringLiteral("record")) ? "present" : "gone"; });
    QVERIFY(manager.cancel(QStringLiteral("record")));
    QCOMPARE(seenDuringSignal, QStringLiteral("present"));
    QVERIFY(!manager.cancel(QStringLiteral("record")));
    QVERIFY(!manager.get(QStringLiteral("record")));

    // A command that is destroyed leaves the registry instead of dangling in it.
    QVERIFY(manager.regist(recorder));
    removed.clear();
    delete recorder;
    QVERIFY(!manager.get(QStringLiteral("record")));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.first().first().toString(), QStringLiteral("record"));
}

void TestCore::baseCommandCallsItsHooks() {
    RecordingCommand recorder(QStringLiteral("record"));
    QCOMPARE(recorder.instruction(), recorder.usage());
    QStringList order;
    connect(&recorder, &BaseCommand::output, this, [&order] { order << QStringLiteral("output"); });
    connect(&recorder, &BaseCommand::finished, this, [&order] { order << QStringLiteral("finished"); });
    recorder.exec(nullptr, QStringLiteral("a b"));
    recorder.autoComplete(nullptr, QStringLiteral("pa"));
    recorder.autoHint(nullptr, QStringLiteral("hi"));
    QCOMPARE(recorder.calls, QStringList({"run a b", "complete pa", "hint hi"}));
    QCOMPARE(order, QStringList({"output", "finished"}));

    BaseCommand plain(QStringLiteral("plain"), true);
    QVERIFY(plain.isRoot());
    QVERIFY(plain.usage().isEmpty());
    QSignalSpy finished(&plain, &BaseCommand::finished);
    plain.exec(nullptr, QString());
    QCOMPARE(finished.count(), 1);
}

void TestCore::convert_data() {
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QStringList>("contains");  // fragments of the single output
    QTest::addColumn<QString>("error");

    QTest::newRow("same type") << "JSON JSON -data={\"a\":1}" << QStringList()
                               << "origin type is same with target type";
    QTest::newRow("json object to xml")
        << "JSON XML -data={\"a\": 1}"
        << QStringList{"<?xml version=\"1.0\"?>", "<m>\n    <c name=\"a\" type=\"6\" value=\"1\"/>\n</m>"}
        << QString();
    QTest::newRow("lower-case words, json array")
        << "json xml -data=[1, 2]"
        << QStringList{"<l type=\"6\" value=\"1\"/>", "<l type=\"6\" value=\"2\"/>"} << QString();
    QTest::newRow("xml to json")
        << "XML JSON -data=<m><c name=\"x\" type=\"2\" value=\"3\"/><c name=\"s\"><l value=\"q\"/></c></m>"
        << QStringList{"\"x\": 3", "\"s\": [\n        \"q\"\n    ]"} << QString();
    QTest::newRow("json file to xml")
        << "JSON XML -path=in.json" << QStringList{"<c name=\"k\" type=\"10\" value=\"v\"/>"} << QString();
    QTest::newRow("xml file to json") << "XML JSON -path=in.xml" << QStringList{"\"x\": 3"} << QString();
    QTest::newRow("bin file to json") << "BIN JSON -path=in.bin" << QStringList{"\"n\": 12"} << QString();
    QTest::newRow("last -path wins") << "JSON XML -path=missing.json -path=in.json"
                                     << QStringList{"<c name=\"k\" type=\"10\" value=\"v\"/>"} << QString();
    QTest::newRow("unknown origin with a file")
        << "YAML JSON -path=in.json" << QStringList() << "unknown origin type: YAML";
    QTest::newRow("unknown origin with data")
        << "YAML JSON -data=[1]" << QStringList() << "unknown origin type: YAML";
    // Unreadable input is a failure, never an empty result that passes for a converted tree.
    QTest::newRow("missing file") << "JSON XML -path=missing.json" << QStringList()
                                  << "cannot read file: missing.json";
    QTest::newRow("broken bin data")
        << "BIN JSON -data=00 00 ff ff 78 9c" << QStringList()
        << "-data: not a compressed binary record (offset 0): its size header cannot be true";
    QTest::newRow("scalar json is its text")
        << "XML JSON -data=<m type=\"10\" value=\"plain\"/>" << QStringList{"plain"} << QString();
}

void TestCore::convert() {
    QFETCH(QString, arguments);
    QFETCH(QStringList, contains);
    QFETCH(QString, error);

    writeFile(QStringLiteral("in.json"), R"({"k": "v"})");
    writeFile(QStringLiteral("in.xml"), R"(<?xml version="1.0"?><m><c name="x" type="2" value="3"/></m>)");
    DataObject binSource(QStringLiteral("b"));
    binSource.set(nullptr, QStringLiteral("n"), 12, true);
    QVERIFY(DataManager::writeToBin(QStringLiteral("in.bin"), binSource.exportToBin(false), -1, true));

    const Answer answer = runCommand(QStringLiteral("convert"), arguments);
    QCOMPARE(answer.finished, 1);
    if (!error.isEmpty()) {
        QCOMPARE(answer.errors, QStringList{error});
        QVERIFY(answer.outputs.isEmpty());
        return;
    }
    QVERIFY(answer.errors.isEmpty());
    QCOMPARE(answer.outputs.size(), 1);
    for (const QString& fragment : contains) {
        QVERIFY2(answer.outputs.first().contains(fragment), qPrintable(answer.outputs.first()));
    }
}

void TestCore::convertInputIsBounded_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");
    // 4 MB of zeros, whose header claims 1000 bytes: qUncompress would follow the data.
    QByteArray lying = qCompress(QByteArray(4 * 1024 * 1024, '\0'), 9);
    lying[0] = 0;
    lying[1] = 0;
    lying[2] = char(0x03);
    lying[3] = char(0xe8);
    QTest::newRow("expands beyond its header")
        << lying
        << "in.bin: not a compressed binary record (offset 0): expands beyond the 1000 bytes its "
           "header gives";
    // A header of 1 GB over data that could hold that much: refused before anything is allocated.
    QByteArray huge(1000000, 'x');
    huge[0] = char(0x40);
    huge[1] = huge[2] = huge[3] = 0;
    QTest::newRow("claims more than allowed")
        << huge
        << "in.bin: not a compressed binary record (offset 0): would expand to 1073741824 bytes, "
           "more than the 67108864 allowed";
    QByteArray attributes = "<m><c name=\"a\"";
    for (int i = 0; i < 100000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"1\"";
    attributes += "/></m>";
    QTest::newRow("element with 100000 attributes")
        << attributes << "in.xml: refused XML: an element with more than 64 attributes at line 1";
}

void TestCore::convertInputIsBounded() {
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    const bool xml = file.startsWith('<');
    writeFile(xml ? QStringLiteral("in.xml") : QStringLiteral("in.bin"), file);
    const Answer answer =
        runCommand(QStringLiteral("convert"),
                   xml ? QStringLiteral("XML JSON -path=in.xml") : QStringLiteral("BIN JSON -path=in.bin"));
    QCOMPARE(answer.errors, QStringList{error});
    QVERIFY(answer.outputs.isEmpty());
}

void TestCore::convertRoundTripsThroughBin() {
    const QString xml =
        R"(<m><c name="cfg"><c name="scale" type="2" value="100"/><c name="pos" type="26" value="1.5,-2"/></c>)"
        R"(<c name="list"><l type="10" value="a"/><l type="1" value="true"/></c></m>)";
    const Answer direct = runCommand(QStringLiteral("convert"), QStringLiteral("XML XML2 -data=") + xml);
    QCOMPARE(direct.outputs.size(), 1);

    const Answer hex = runCommand(QStringLiteral("convert"), QStringLiteral("XML BIN -data=") + xml);
    QCOMPARE(hex.outputs.size(), 1);
    QVERIFY(QRegularExpression(QStringLiteral("^([0-9a-f]{2} )*[0-9a-f]{2}$"))
                .match(hex.outputs.first())
                .hasMatch());
    const Answer back =
        runCommand(QStringLiteral("convert"), QStringLiteral("BIN XML -data=") + hex.outputs.first());
    QCOMPARE(back.outputs, direct.outputs);
    QVERIFY(back.outputs.first().contains(QStringLiteral("<c name=\"pos\" type=\"26\" value=\"1.5,-2\"/>")));
}

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
