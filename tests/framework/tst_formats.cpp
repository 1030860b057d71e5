#include "framework/data/binform.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/data/jsonform.h"
#include "framework/log/flog.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPoint>
#include <QPointF>
#include <QSignalSpy>
#include <QSize>
#include <QSizeF>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

#include "logfile.h"

#include "treeshape.h"

using namespace kx;

// A plain-data type that may travel as a custom binary value.
struct Gain {
    qint32 numerator;
    qint32 denominator;
};
Q_DECLARE_METATYPE(Gain)

namespace {

QStringList logMessages() {
    return logfile::messages();
}

bool logged(const QString& fragment) {
    for (const QString& message : logMessages()) {
        if (message.contains(fragment)) {
            return true;
        }
    }
    return false;
}

// A tree with every kind of content: values of several types, a private child, a list.
void fillSample(DataObject* root) {
    root->set(nullptr, QStringLiteral("config.scale"), 100, true);
    root->set(nullptr, QStringLiteral("config.ratio"), 0.25, true);
    root->set(nullptr, QStringLiteral("config.name"), QStringLiteral("bench <1> & \"x\""), true);
    root->set(nullptr, QStringLiteral("config.on"), true, true);
    root->set(nullptr, QStringLiteral("config.origin"), QPoint(0, 0), true);
    root->set(nullptr, QStringLiteral("config.where"), QPoint(-3, 7), true);
    root->set(nullptr, QStringLiteral("config.at"), QPointF(1.5, -2.25), true);
    root->set(nullptr, QStringLiteral("config.box"), QSize(640, 480), true);
    root->set(nullptr, QStringLiteral("config.boxf"), QSizeF(0.5, 2), true);
    root->set(nullptr, QStringLiteral("config._connected"), true, true);
    root->insert(nullptr, QStringLiteral("config.empty"), false);
    DataObject* list =
        root->set(nullptr, QStringLiteral("list"), QVariant(), true)->r(QStringLiteral("list"));
    list->append(nullptr)->set(nullptr, QStringLiteral("a"));
    list->append(nullptr)->set(nullptr, QStringLiteral("b"));
}

// Names, order, values and value types of two subtrees; relative children by position.
void compareTrees(const DataObject* expected, const DataObject* actual, const QString& where = QString()) {
    QCOMPARE(actual->cdobjNames(false), expected->cdobjNames(false));
    const QVariant want = expected->get();
    const QVariant have = actual->get();
    if (!want.isNull() || !have.isNull()) {
        QVERIFY2(have.userType() == want.userType(), qPrintable(where + QStringLiteral(": type")));
        QVERIFY2(have == want, qPrintable(where + QStringLiteral(": ") + have.toString()));
    }
    const QList<DataObject*> wantChildren = expected->cdobjs();
    const QList<DataObject*> haveChildren = actual->cdobjs();
    for (int i = 0; i < wantChildren.size(); ++i) {
        compareTrees(wantChildren.at(i), haveChildren.at(i),
                     where + QLatin1Char('.') + wantChildren.at(i)->rname());
        if (QTest::currentTestFailed()) {
            return;
        }
    }
}

QByteArray record(qint8 kind, const QVariant& value, const QStringList& names,
                  const QList<QByteArray>& children, qint32 count) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(19);
    stream << kind;
    if (kind == 1) {
        stream << value;
    }
    stream << count;
    for (const QString& name : names) {
        stream << name;
    }
    for (const QByteArray& child : children) {
        stream << child;
    }
    return bytes;
}

}  // namespace

class TestFormats : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void shapeOfJsonAndVariant_data();
    void shapeOfJsonAndVariant();
    void jsonImportFlags();
    void jsonImportSignalsContainersLast();
    void jsonKeyOrderFollowsText();
    void variantImportAcceptsHashes();
    void xmlExportWritesTypesAndValues();
    void xmlRoundTripKeepsTypes();
    void xmlImport_data();
    void xmlImport();
    void xmlSurvivesUnwritableCharacters();
    void xmlFiles();
    void binRoundTrip();
    void binRemoveMissingDropsPrivateChildren();
    void binCustomValues();
    void hostileInput_data();
    void hostileInput();
    void corruptRecordKeepsSubtree();
    void uncompressRefusesForgedSizes();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFormats::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestFormats::cleanup() {
    QDir::setCurrent(QDir::tempPath());
    m_dir.reset();
}

void TestFormats::shapeOfJsonAndVariant_data() {
    QTest::addColumn<QString>("build");
    QTest::addColumn<bool>("skipPrivate");
    QTest::addColumn<QByteArray>("json");

    QTest::newRow("leaf is its value") << "leaf" << false << QByteArray("[7]");
    QTest::newRow("value of a container is not written") << "valued" << false << QByteArray(R"([{"a":1}])");
    QTest::newRow("first relative child makes an array")
        << "mixed-relative-first" << false << QByteArray(R"([[1,2]])");
    QTest::newRow("private key kept") << "private" << false << QByteArray(R"([{"_connected":true,"b":[3]}])");
    QTest::newRow("private key skipped, array elements kept")
        << "private" << true << QByteArray(R"([{"b":[3]}])");
    QTest::newRow("unset leaf is null") << "unset" << false << QByteArray("[null]");
}

void TestFormats::shapeOfJsonAndVariant() {
    QFETCH(QString, build);
    QFETCH(bool, skipPrivate);
    QFETCH(QByteArray, json);

    DataObject node(QStringLiteral("n"));
    if (build == QLatin1String("leaf")) {
        node.set(nullptr, 7);
    } else if (build == QLatin1String("valued")) {
        node.set(nullptr, 99);
        node.set(nullptr, QStringLiteral("a"), 1, true);
    } else if (build == QLatin1String("mixed-relative-first")) {
        node.append(nullptr)->set(nullptr, 1);
        node.set(nullptr, QStringLiteral("named"), 2, true);
    } else if (build == QLatin1String("private")) {
        node.set(nullptr, QStringLiteral("_connected"), true, true);
        node.append(nullptr, QStringLiteral("b"))->append(nullptr)->set(nullptr, 3);
    }
    // Wrapped in an array so that a scalar has a document too.
    const QJsonArray wrapped{node.exportToJson(skipPrivate)};
    QCOMPARE(QJsonDocument(wrapped).toJson(QJsonDocument::Compact), json);
    // The variant form has the same shape.
    const QVariant variant = node.exportToVariant(skipPrivate);
    QCOMPARE(QJsonDocument(QJsonArray{QJsonValue::fromVariant(variant)}).toJson(QJsonDocument::Compact),
             json);
}

void TestFormats::jsonImportFlags() {
    DataObject node(QStringLiteral("n"));
    node.importFromJson(nullptr, QJsonArray{200, 400, 200}, true, true, false);
    QCOMPARE(node.size(), 3);
    QVERIFY(node.c(0)->isRelative());
    QCOMPARE(node.r(QStringLiteral("#1"))->getInt(), 400);
    QCOMPARE(node.c(2)->get().userType(), int(QMetaType::Double));

    node.importFromJson(nullptr, QJsonArray{1}, true, true, true);
    QCOMPARE(node.size(), 1);
    QCOMPARE(node.c(0)->getInt(), 1);

    // An object: keys resolve as paths, missing ones are created; removeMissing drops the rest.
    DataObject tree(QStringLiteral("t"));
    tree.set(nullptr, QStringLiteral("keep"), 1, true);
    tree.set(nullptr, QStringLiteral("drop"), 2, true);
    tree.importFromJson(nullptr, QJsonObject{{"keep", 5}, {"a.b", true}}, true, true, true);
    QCOMPARE(tree.cdobjNames(true), QStringList({"keep", "a"}));
    QCOMPARE(tree.r(QStringLiteral("a.b"))->getBool(), true);
    QCOMPARE(tree.r(QStringLiteral("keep"))->getInt(), 5);

    // Without create a missing key does nothing; without setValues no value changes.
    tree.importFromJson(nullptr, QJsonObject{{"keep", 6}, {"new", 1}}, false, false, false);
    QVERIFY(!tree.hasCdobj(QStringLiteral("new")));
    QCOMPARE(tree.r(QStringLiteral("keep"))->getInt(), 5);

    // A scalar without setValues leaves the node untouched and silent.
    QSignalSpy spy(&tree, &DataObject::changed);
    tree.importFromJson(nullptr, QJsonValue(3), true, false, true);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(tree.size(), 2);
    // With setValues and removeMissing a scalar replaces the children.
    tree.importFromJson(nullptr, QJsonValue(3), true, true, true);
    QCOMPARE(tree.size(), 0);
    QCOMPARE(tree.getInt(), 3);
    // JSON null counts as null.
    tree.importFromJson(nullptr, QJsonValue(QJsonValue::Null), true, true, false);
    QCOMPARE(tree.get(QStringLiteral("default")).toString(), QStringLiteral("default"));
}

void TestFormats::jsonKeyOrderFollowsText() {
    const QByteArray text =
        "\xEF\xBB\xBF{\"b\": 1, \"a\": {\"z\": \"x,}\\\"y\", \"y\": [ {\"q\": 1, \"p\": 2} ]},"
        " \"c\": true}";
    DataObject root(QStringLiteral("root"));
    root.importFromJson(nullptr, QJsonDocument::fromJson(text.mid(3)).object(), true, true, false);
    QCOMPARE(root.cdobjNames(true), QStringList({"a", "b", "c"}));
    JsonForm::applyKeyOrder(&root, text);
    QCOMPARE(root.cdobjNames(true), QStringList({"b", "a", "c"}));
    QCOMPARE(root.r(QStringLiteral("a"))->cdobjNames(true), QStringList({"z", "y"}));
    QCOMPARE(root.r(QStringLiteral("a.y"))->c(0)->cdobjNames(true), QStringList({"q", "p"}));
    QCOMPARE(root.r(QStringLiteral("a.z"))->get().toString(), QStringLiteral("x,}\"y"));

    // Text that does not match the tree, or is no JSON at all, changes nothing and ends.
    for (const QByteArray& bad : {QByteArray("{\"c\": 1, \"b\": 2}"), QByteArray("[}"), QByteArray("{\"b"),
                                  QByteArray(100000, '['), QByteArray("{\"a\": [}]}")}) {
        JsonForm::applyKeyOrder(&root, bad);
        QCOMPARE(root.cdobjNames(true), QStringList({"b", "a", "c"}));
    }
}

void TestFormats::jsonImportSignalsContainersLast() {
    qRegisterMetaType<DataObject*>();
    DataObject root(QStringLiteral("root"));
    root.watch(true, true);
    DataObject* config = root.append(nullptr, QStringLiteral("config"));
    config->set(nullptr, QStringLiteral("x"), 0, true);
    config->set(nullptr, QStringLiteral("ref"));

    QStringList order;
    connect(config, &DataObject::changed, this, [&order](const QVariant& value, const QVariant& old) {
        QCOMPARE(value, old);
        order << QStringLiteral("config");
    });
    connect(config->c(QStringLiteral("x")), &DataObject::changed, this,
            [&order] { order << QStringLiteral("x"); });
    QSignalSpy rootActivated(&root, &DataObject::activated);
    QObject changer;

    config->importFromJson(&changer, QJsonObject{{"x", 4}}, true, true, false);
    QCOMPARE(order, QStringList({"x", "config"}));
    QCOMPARE(config->getString(), QStringLiteral("ref"));
    // The root hears of x and then of config, each with the changer.
    QCOMPARE(rootActivated.count(), 2);
    QCOMPARE(rootActivated.last().at(0).value<DataObject*>(), config);
    QCOMPARE(rootActivated.last().at(2).value<QObject*>(), &changer);

    // A quiet container stays silent, its children do not.
    order.clear();
    config->quiet(true, false);
    config->importFromJson(&changer, QJsonObject{{"x", 5}}, true, true, false);
    QCOMPARE(order, QStringList({"x"}));
}

void TestFormats::variantImportAcceptsHashes() {
    DataObject node(QStringLiteral("n"));
    QVariantHash hash{{"b", 2}, {"a", QVariantList{QStringLiteral("x"), QStringLiteral("y")}}};
    node.importFromVariant(nullptr, hash, true, true, false);
    QCOMPARE(node.cdobjNames(true), QStringList({"a", "b"}));  // sorted, as a map would be
    QCOMPARE(node.r(QStringLiteral("a.#1"))->getString(), QStringLiteral("y"));
    QCOMPARE(node.r(QStringLiteral("b"))->get().userType(), int(QMetaType::Int));
    QCOMPARE(node.exportToVariant(false).toMap().value(QStringLiteral("a")).toList().size(), 2);
}

void TestFormats::xmlExportWritesTypesAndValues() {
    DataObject root(QStringLiteral("@m"));
    root.set(nullptr, 1);
    root.set(nullptr, QStringLiteral("config.scale"), 100, true);
    DataObject* list = root.append(nullptr, QStringLiteral("list"));
    list->append(nullptr)->set(nullptr, QStringLiteral("a"));
    list->append(nullptr)->set(nullptr, QStringLiteral("b"));
    root.set(nullptr, QStringLiteral("size"), QSizeF(0.1234567, 3), true);
    root.set(nullptr, QStringLiteral("unset"), QVariant(), true);
    root.set(nullptr, QStringLiteral("other"), QVariant::fromValue(QUuid()), true);
    root.set(nullptr, QStringLiteral("rect"), QRect(1, 2, 3, 4), true);

    const QString expected = QStringLiteral(
        "<?xml version=\"1.0\"?><m type=\"2\" value=\"1\"><c name=\"config\"><c name=\"scale\" type=\"2\" "
        "value=\"100\"/></c><c name=\"list\"><l type=\"10\" value=\"a\"/><l type=\"10\" value=\"b\"/></c>"
        "<c name=\"size\" type=\"22\" value=\"0.123457,3\"/><c name=\"unset\"/><c name=\"other\"/>"
        "<c name=\"rect\" type=\"19\"/></m>\n");
    QCOMPARE(root.exportToXmlStr(0, false), expected);

    const QString indented = root.exportToXmlStr(2, false);
    QVERIFY(indented.contains(QStringLiteral("\n  <c name=\"config\">\n    <c name=\"scale\"")));
}

void TestFormats::xmlRoundTripKeepsTypes() {
    DataObject source(QStringLiteral("s"));
    fillSample(&source);
    DataObject copy(QStringLiteral("c"));
    copy.importFromXmlStr(nullptr, source.exportToXmlStr(4, false), true, true, true);
    compareTrees(&source, &copy);
    // Relative children come back with fresh ids at the same positions.
    QVERIFY(copy.r(QStringLiteral("list.#0"))->isRelative());
    QVERIFY(copy.r(QStringLiteral("list.#0"))->name() != source.r(QStringLiteral("list.#0"))->name());

    // With skipPrivate the file leaves run-time state out.
    DataObject publicCopy(QStringLiteral("p"));
    publicCopy.importFromXmlStr(nullptr, source.exportToXmlStr(4, true), true, true, true);
    QVERIFY(!publicCopy.hasRdobj(QStringLiteral("config._connected")));
    QCOMPARE(publicCopy.r(QStringLiteral("config.where"))->get(), QVariant(QPoint(-3, 7)));

    // A point at the origin is a value like any other, although Qt calls it null.
    QVERIFY(source.exportToXmlStr(0, false).contains(
        QStringLiteral("<c name=\"origin\" type=\"25\" value=\"0,0\"/>")));
    QCOMPARE(copy.r(QStringLiteral("config.origin"))->exportToVariant(), QVariant(QPoint(0, 0)));
}

void TestFormats::xmlImport_data() {
    QTest::addColumn<QString>("xml");
    QTest::addColumn<bool>("create");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<QString>("expectedJson");
    QTest::addColumn<QString>("expectedLog");

    // The target starts as {"a": {"x": 1}}.
    QTest::newRow("missing child skipped with its content")
        << R"(<m><c name="b"><c name="deep" type="2" value="3"/></c><c name="a"><c name="x" type="2" value="2"/></c></m>)"
        << false << true << R"({"a":{"x":2}})"
        << R"(> importing xml element not exist: "b")";
    QTest::newRow("l counts every accepted child element")
        << R"(<m><c name="n"><l type="2" value="0"/><l type="2" value="1"/><c name="c" type="2" value="2"/><l type="2" value="3"/></c></m>)"
        << true << true << R"({"a":{"x":1},"n":[0,1,2,3]})" << QString();
    QTest::newRow("non-standard element refused when strict")
        << R"(<m><x><c name="y" type="2" value="1"/></x></m>)" << true << true << R"({"a":{"x":1}})"
        << R"(> non-standard xml element: "x")";
    QTest::newRow("non-standard element is a child when lenient")
        << R"(<m><a><x type="2" value="9"/></a></m>)" << true << false << R"({"a":{"x":9}})" << QString();
    QTest::newRow("c without name") << R"(<m><c type="2" value="1"><c name="z"/></c></m>)" << true << true
                                    << R"({"a":{"x":1}})"
                                    << "> no name specified in xml: (1, ";
    QTest::newRow("unconvertible value") << R"(<m><c name="a"><c name="x" type="2" value="abc"/></c></m>)"
                                         << true << true << R"({"a":{"x":null}})"
                                         << "> cannot convert in xml: (1, ";
    QTest::newRow("value without type is a string") << R"(<m><c name="a"><c name="x" value="12"/></c></m>)"
                                                    << true << true << R"({"a":{"x":"12"}})" << QString();
    QTest::newRow("dotted name enters and leaves its levels")
        << R"(<m><c name="p.q" type="2" value="1"/><c name="r" type="2" value="2"/></m>)" << true << true
        << R"({"a":{"x":1},"p":{"q":1},"r":2})" << QString();
    QTest::newRow("truncated document keeps what was read")
        << R"(<m><c name="a"><c name="x" type="2" value="5"/><c name="y")" << true << true
        << R"({"a":{"x":5}})" << QString();
    QTest::newRow("empty input") << QString() << true << true << R"({"a":{"x":1}})" << QString();
}

void TestFormats::xmlImport() {
    QFETCH(QString, xml);
    QFETCH(bool, create);
    QFETCH(bool, strict);
    QFETCH(QString, expectedJson);
    QFETCH(QString, expectedLog);

    DataObject node(QStringLiteral("n"));
    node.set(nullptr, QStringLiteral("a.x"), 1, true);
    node.importFromXmlStr(nullptr, xml, create, true, strict);
    const QByteArray json = QJsonDocument(node.exportToJson(false).toObject()).toJson(QJsonDocument::Compact);
    QCOMPARE(QString::fromUtf8(json), expectedJson);
    if (!expectedLog.isEmpty()) {
        QVERIFY2(logged(expectedLog), qPrintable(logMessages().join('\n')));
    }
}

void TestFormats::xmlSurvivesUnwritableCharacters() {
    // Serial garbage in a value must not make the saved file unreadable.
    DataObject node(QStringLiteral("n"));
    node.set(nullptr, QStringLiteral("garbage"), QString(QString::fromUtf8("ok\x01\x1f") + QChar(0xD800)),
             true);
    node.set(nullptr, QStringLiteral("after"), 5, true);
    node.set(nullptr, 42);
    DataObject copy(QStringLiteral("c"));
    copy.importFromXmlStr(nullptr, node.exportToXmlStr(4, false), true, true, true);
    QCOMPARE(copy.r(QStringLiteral("after"))->getInt(), 5);
    QCOMPARE(copy.r(QStringLiteral("garbage"))->getString(), QStringLiteral("ok\uFFFD\uFFFD\uFFFD"));
    // The top element's value arrives silently.
    QCOMPARE(copy.getInt(), 42);
}

void TestFormats::xmlFiles() {
    DataObject source(QStringLiteral("config"));
    fillSample(&source);
    QVERIFY(DataManager::writeToXmlFile(QStringLiteral("sub/config.xml"), &source, true, true));
    QFile file(QStringLiteral("sub/config.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<m>\n    <c name=\"config\">"));

    DataObject copy(QStringLiteral("copy"));
    QVERIFY(DataManager::readFromXmlFile(nullptr, &copy, QStringLiteral("sub/config.xml")));
    QVERIFY(!copy.hasRdobj(QStringLiteral("config._connected")));
    QCOMPARE(copy.r(QStringLiteral("config.name"))->getString(),
             source.r(QStringLiteral("config.name"))->getString());

    // Skipped content does not make the read fail.
    QFile odd(QStringLiteral("odd.xml"));
    QVERIFY(odd.open(QIODevice::WriteOnly));
    odd.write(R"(<?xml version="1.0"?><m><extra/><c name="k" type="2" value="4"/></m>)");
    odd.close();
    DataObject target(QStringLiteral("t"));
    QVERIFY(DataManager::readFromXmlFile(nullptr, &target, QStringLiteral("odd.xml")));
    QCOMPARE(target.r(QStringLiteral("k"))->getInt(), 4);
    QVERIFY(logged(QStringLiteral("> non-standard xml element: \"extra\"")));
}

void TestFormats::binRoundTrip() {
    DataObject source(QStringLiteral("s"));
    fillSample(&source);
    source.set(nullptr, QStringLiteral("config.list"),
               QVariantList{1, QStringLiteral("two"), QVariantMap{{"k", 3.5}}}, true);
    source.set(nullptr, QStringLiteral("config.names"), QStringList{"a", "b"}, true);
    source.set(nullptr, QStringLiteral("config.bytes"), QByteArray("\0\1\2", 3), true);
    source.set(nullptr, QStringLiteral("config.when"),
               QDateTime(QDate(2026, 12, 8), QTime(9, 15), Qt::OffsetFromUTC, 3600), true);
    source.set(nullptr, 7);
    const QByteArray bytes = source.exportToBin(false);
    DataObject copy(QStringLiteral("c"));
    copy.importFromBin(nullptr, bytes, true, true, false);
    compareTrees(&source, &copy);
    QCOMPARE(copy.exportToBin(false), bytes);
    QCOMPARE(copy.r(QStringLiteral("config.origin"))->exportToVariant(), QVariant(QPoint(0, 0)));

    // A time in a named zone comes back as the same instant.
    DataObject zoned(QStringLiteral("z"));
    const QDateTime berlin(QDate(2026, 7, 1), QTime(12, 0), QTimeZone("Europe/Berlin"));
    zoned.set(nullptr, berlin);
    DataObject zonedCopy(QStringLiteral("zc"));
    zonedCopy.importFromBin(nullptr, zoned.exportToBin(false), true, true, false);
    QCOMPARE(zonedCopy.get().toDateTime().toMSecsSinceEpoch(), berlin.toMSecsSinceEpoch());
}

void TestFormats::binRemoveMissingDropsPrivateChildren() {
    DataObject source(QStringLiteral("s"));
    fillSample(&source);
    DataObject target(QStringLiteral("t"));
    fillSample(&target);
    target.set(nullptr, QStringLiteral("_state"), 1, true);
    QSignalSpy removed(target.c(QStringLiteral("config")), &DataObject::removed);
    target.importFromBin(nullptr, source.exportToBin(true), true, true, true);
    QVERIFY(!target.hasCdobj(QStringLiteral("_state")));
    QVERIFY(!target.hasRdobj(QStringLiteral("config._connected")));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(target.r(QStringLiteral("list.#1"))->getString(), QStringLiteral("b"));

    // Without setValues the values stay; containers still announce themselves once.
    target.set(nullptr, QStringLiteral("config.scale"), 5, false);
    QSignalSpy changed(&target, &DataObject::changed);
    target.importFromBin(nullptr, source.exportToBin(false), false, false, false);
    QCOMPARE(target.r(QStringLiteral("config.scale"))->getInt(), 5);
    QCOMPARE(changed.count(), 1);
}

void TestFormats::binCustomValues() {
    qRegisterMetaType<Gain>("Gain");
    DataObject node(QStringLiteral("n"));
    node.set(nullptr, QStringLiteral("gain"), QVariant::fromValue(Gain{3, 4}), true);
    DataObject copy(QStringLiteral("c"));
    copy.importFromBin(nullptr, node.exportToBin(false), true, true, false);
    const Gain gain = copy.r(QStringLiteral("gain"))->get().value<Gain>();
    QCOMPARE(gain.numerator, 3);
    QCOMPARE(gain.denominator, 4);

    // A custom value whose name is registered under another number is refused.
    QByteArray forged;
    QDataStream stream(&forged, QIODevice::WriteOnly);
    stream.setVersion(19);
    stream << qint8(2) << QStringLiteral("Gain") << qint32(QMetaType::type("Gain") + 1)
           << QByteArray(int(sizeof(Gain)), '\0') << qint32(0);
    DataObject target(QStringLiteral("target"));
    target.set(nullptr, 1);
    target.importFromBin(nullptr, forged, true, true, false);
    QVERIFY(target.get().isNull());
    QVERIFY(logged(QStringLiteral("<m> import invalid variant: target with type \"Gain\" and id = %1")
                       .arg(QMetaType::type("Gain") + 1)));

    // A value that owns memory would be rebuilt around a foreign pointer: refused as well.
    QByteArray pointerValue;
    QDataStream pointerStream(&pointerValue, QIODevice::WriteOnly);
    pointerStream.setVersion(19);
    const int objectType = qMetaTypeId<DataObject*>();
    pointerStream << qint8(2) << QString::fromLatin1(QMetaType::typeName(objectType)) << qint32(objectType)
                  << QByteArray(int(sizeof(void*)), '\x41') << qint32(0);
    target.importFromBin(nullptr, pointerValue, true, true, false);
    QVERIFY(target.get().isNull());
}

void TestFormats::hostileInput_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("maxNodes");
    QTest::addColumn<QString>("expectedLog");

    const QString deepLog = QStringLiteral("import nested deeper than 512 levels");
    const QString indexLog = QStringLiteral("index name out of range in import: \"#99999999\"");

    QByteArray deepJson = QByteArray(1000, '[') + QByteArray(1000, ']');
    QTest::newRow("json nested 1000 deep") << "json" << deepJson << 600 << deepLog;
    QByteArray deepKey;
    for (int i = 0; i < 600; ++i) {
        deepKey += i ? ".k" : "k";
    }
    QTest::newRow("json key path 600 deep")
        << "json" << QByteArray("{\"" + deepKey + "\": 1}") << 1 << deepLog;
    QTest::newRow("json index key") << "json" << QByteArray(R"({"#99999999": 1, "ok": 2})") << 2 << indexLog;
    QTest::newRow("json index key nested")
        << "json" << QByteArray(R"({"#1000.#1000": 1})") << 1
        << QStringLiteral("index name out of range in import: \"#1000.#1000\"");
    QTest::newRow("json empty") << "json" << QByteArray() << 1 << QString();
    QTest::newRow("json names with empty parts")
        << "json" << QByteArray(R"({"": 1, "a..b": 2, "c.": 3})") << 0
        << QStringLiteral("import name with an empty part skipped: \"a..b\"");

    QByteArray deepXml = "<m>";
    for (int i = 0; i < 3000; ++i) {
        deepXml += "<c name=\"k\">";
    }
    QTest::newRow("xml nested 3000 deep") << "xml" << deepXml << 600 << deepLog;
    QTest::newRow("xml index name") << "xml" << QByteArray(R"(<m><c name="#99999999"/><c name="ok"/></m>)")
                                    << 2 << indexLog;
    QTest::newRow("xml index names add up")
        << "xml" << QByteArray(R"(<m><c name="#600"/><c name="x"><c name="#600"/></c></m>)") << 603
        << QStringLiteral("index name out of range in import: \"#600\"");
    QTest::newRow("xml entity expansion")
        << "xml"
        << QByteArray(
               R"(<?xml version="1.0"?><!DOCTYPE m [<!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;"><!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;"><!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;"><!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">]><m><c name="x" value="&e;"/></m>)")
        << 2 << QString();
    QTest::newRow("xml empty") << "xml" << QByteArray() << 1 << QString();

    QTest::newRow("bin child count 2^31-1 with two names")
        << "bin" << record(0, {}, {"a", "b"}, {record(0, {}, {}, {}, 0), record(0, {}, {}, {}, 0)}, INT_MAX)
        << 1 << QStringLiteral("import corrupt binary record: ");
    QTest::newRow("bin negative child count") << "bin" << record(0, {}, {"a"}, {record(0, {}, {}, {}, 0)}, -5)
                                              << 1 << QStringLiteral("import corrupt binary record: ");
    QTest::newRow("bin index name") << "bin" << record(0, {}, {"#99999999"}, {record(0, {}, {}, {}, 0)}, 1)
                                    << 1 << indexLog;
    QByteArray deepBin = record(1, 5, {}, {}, 0);
    for (int i = 0; i < 700; ++i) {
        deepBin = record(0, {}, {"k"}, {deepBin}, 1);
    }
    QTest::newRow("bin nested 700 deep") << "bin" << deepBin << 600 << deepLog;
    // A variant list claiming 2^31 elements in a few bytes.
    QByteArray hugeList;
    {
        QDataStream stream(&hugeList, QIODevice::WriteOnly);
        stream.setVersion(19);
        stream << qint8(1) << quint32(QMetaType::QVariantList) << qint8(0) << quint32(0x80000000u)
               << quint32(QMetaType::Int) << qint8(0) << qint32(1) << qint32(0);
    }
    QTest::newRow("bin variant list count 2^31")
        << "bin" << hugeList << 1 << QStringLiteral("import invalid variant: ");
    // Lists nested far deeper than any saved value.
    QByteArray nestedList;
    {
        QDataStream stream(&nestedList, QIODevice::WriteOnly);
        stream.setVersion(19);
        stream << qint8(1);
        for (int i = 0; i < 100000; ++i) {
            stream << quint32(QMetaType::QVariantList) << qint8(0) << quint32(1);
        }
        stream << quint32(QMetaType::Int) << qint8(0) << qint32(1) << qint32(0);
    }
    QTest::newRow("bin variant lists 100000 deep")
        << "bin" << nestedList << 1 << QStringLiteral("import invalid variant: ");
    QTest::newRow("bin unknown kind")
        << "bin" << QByteArray("\x07\0\0\0\0", 5) << 1 << QStringLiteral("import corrupt binary record: ");
    QTest::newRow("bin empty") << "bin" << QByteArray() << 1
                               << QStringLiteral("import corrupt binary record: ");
}

void TestFormats::hostileInput() {
    QFETCH(QString, form);
    QFETCH(QByteArray, input);
    QFETCH(int, maxNodes);
    QFETCH(QString, expectedLog);

    DataObject node(QStringLiteral("n"));
    if (form == QLatin1String("json")) {
        const QJsonDocument document = QJsonDocument::fromJson(input);
        node.importFromJson(nullptr,
                            document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()),
                            true, true, true);
    } else if (form == QLatin1String("xml")) {
        node.importFromXmlStr(nullptr, QString::fromUtf8(input), true, true, true);
    } else {
        node.importFromBin(nullptr, input, true, true, true);
    }
    // One node less than the limit: the top node itself is counted.
    QVERIFY2(treeshape::size(&node) <= maxNodes + 1, qPrintable(QString::number(treeshape::size(&node))));
    QVERIFY(treeshape::depth(&node) <= 512);
    if (!expectedLog.isEmpty()) {
        QVERIFY2(logged(expectedLog), qPrintable(logMessages().join('\n')));
    }
}

void TestFormats::corruptRecordKeepsSubtree() {
    DataObject source(QStringLiteral("s"));
    fillSample(&source);
    const QByteArray bytes = source.exportToBin(false);
    // Every truncation of a valid record, imported with removeMissing: nothing is deleted that
    // the record names, and the import never crashes.
    for (int length = 0; length < bytes.size(); length += 7) {
        DataObject target(QStringLiteral("t"));
        fillSample(&target);
        target.importFromBin(nullptr, bytes.left(length), true, true, true);
        QVERIFY2(target.hasRdobj(QStringLiteral("config")), qPrintable(QString::number(length)));
        QVERIFY2(target.hasRdobj(QStringLiteral("list.#1")), qPrintable(QString::number(length)));
    }
}

void TestFormats::uncompressRefusesForgedSizes() {
    const QByteArray data(5000, 'x');
    QCOMPARE(BinForm::uncompress(qCompress(data)), data);
    QByteArray forged = qCompress(data);
    forged[0] = char(0x7f);  // claims 2 GB from a few bytes
    QCOMPARE(BinForm::uncompress(forged), QByteArray());
    QCOMPARE(BinForm::uncompress(QByteArray("\0\0", 2)), QByteArray());
    QCOMPARE(BinForm::uncompress(QByteArray()), QByteArray());
}

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
