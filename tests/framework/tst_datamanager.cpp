#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/flog.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "filesizelimit.h"
#include "logfile.h"

using namespace kx;
using testfiles::FileSizeLimit;

namespace {

QStringList logMessages() {
    return logfile::messages();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray randomBytes(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

}  // namespace

class TestDataManager : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        QDir::setCurrent(m_dir->path());
    }

    void cleanup() {
        const QList<DataObject*> children = d().rootDobj()->cdobjs();
        for (DataObject* child : children)
            d().rootDobj()->remove(nullptr, child, true);
        QDir::setCurrent(QDir::tempPath());
        m_dir.reset();
    }

    void singletonOwnsRootAndEmptyNode() {
        QCOMPARE(&d(), &DataManager::instance());
        QCOMPARE(d().rootDobj()->name(), QStringLiteral("@m"));
        QCOMPARE(d().rootDobj()->fullName(), QStringLiteral("@m"));
        QCOMPARE(d().emptyDobj()->name(), QStringLiteral("@e"));
        QVERIFY(d().emptyDobj()->isEmpty());
        QCOMPARE(DataManager::separator(), QStringLiteral("."));
        d().reserve(100);
    }

    void lookupNeverCreates_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("found");
        QTest::newRow("full path") << "config.setting.language"
                                   << "language";
        QTest::newRow("first child by position") << "#0"
                                                 << "config";
        QTest::newRow("empty path") << ""
                                    << "";
        QTest::newRow("empty segment") << "config..setting"
                                       << "";
        QTest::newRow("trailing dot") << "config."
                                      << "";
        QTest::newRow("missing") << "config.nothing"
                                 << "";
        QTest::newRow("position past the end") << "#5"
                                               << "";
    }

    void lookupNeverCreates() {
        QFETCH(QString, path);
        QFETCH(QString, found);
        QVERIFY(!d().regist(nullptr, QStringLiteral("config.setting.language"))->isEmpty());
        DataObject* node = d(path);
        QCOMPARE(node->isEmpty() ? QString() : node->name(), found);
        QCOMPARE(d().rootDobj()->size(), 1);
        QCOMPARE(d(QStringLiteral("config"))->size(), 1);
        QCOMPARE(d(QStringLiteral("language"), d(QStringLiteral("config.setting"))),
                 d("config.setting.language"));
    }

    void registAndCancel() {
        QSignalSpy added(d().rootDobj(), &DataObject::added);
        DataObject* first = d().regist(nullptr, QStringLiteral("project.device"));
        DataObject* second = d().regist(nullptr, QStringLiteral("project.device"));
        QCOMPARE(first, second);
        QCOMPARE(added.count(), 1);
        QCOMPARE(first->fullName(), QStringLiteral("project.device"));
        QVERIFY(d().regist(nullptr, QStringLiteral("a..b"))->isEmpty());

        QVERIFY(d().cancel(nullptr, QStringLiteral("project.device")));
        QVERIFY(d(QStringLiteral("project.device"))->isEmpty());
        QVERIFY(!d().cancel(nullptr, QStringLiteral("project.device")));

        std::unique_ptr<DataObject> detached(d().create(QStringLiteral("x"), d().rootDobj()));
        QVERIFY(!d().rootDobj()->hasCdobj(detached.get()));
    }

    void pathBuilders() {
        QCOMPARE(dName("config", "setting", "language"), QStringLiteral("config.setting.language"));
        QCOMPARE(dName("a", "", "b"), QStringLiteral("a..b"));
        QCOMPARE(dName("a", "b", "c", "d", "e", "f", "g"), QStringLiteral("a.b.c.d.e.f.g"));
        QCOMPARE(dIndex(-1, "x"), QStringLiteral("x"));
        QCOMPARE(dIndex(3, "x"), QStringLiteral("#3"));
        QCOMPARE(dIndex(0), QStringLiteral("#0"));
    }

    void binaryRoundTrip_data() {
        QTest::addColumn<int>("level");
        for (int level = -1; level <= 9; ++level)
            QTest::addRow("level %d", level) << level;
    }

    void binaryRoundTrip() {
        QFETCH(int, level);
        const QByteArray data = QByteArray("motor parameters ").repeated(200) + randomBytes(1024);
        QVERIFY(DataManager::writeToBin(QStringLiteral("deep/dir/data.bin"), data, level, true));
        QCOMPARE(DataManager::readFromBin(QStringLiteral("deep/dir/data.bin")), data);
        QVERIFY(logMessages().isEmpty());
    }

    void binaryFailures() {
        QVERIFY(DataManager::readFromBin(QStringLiteral("missing.bin")).isEmpty());
        writeBytes(QStringLiteral("corrupt.bin"), QByteArray("\x00\x00\x10\x00garbage", 11));
        QVERIFY(DataManager::readFromBin(QStringLiteral("corrupt.bin")).isEmpty());
        writeBytes(QStringLiteral("plain"), "a regular file");
        QVERIFY(!DataManager::writeToBin(QStringLiteral("plain/x.bin"), "data", -1, true));
        QVERIFY(!DataManager::writeToBin(QStringLiteral("nodir/x.bin"), "data", -1, false));
        QVERIFY(!QFile::exists(QStringLiteral("nodir")));
        const QStringList messages = logMessages();
        QCOMPARE(messages.first(), QStringLiteral("<m><static> cannot read binary file: \"missing.bin\""));
        QCOMPARE(messages.mid(messages.size() - 2),
                 (QStringList{"<m><static> cannot create path \"plain/x.bin\" to write binary file",
                              "<m><static> cannot write binary file: \"nodir/x.bin\""}));
    }

    void jsonRoundTrip() {
        const QJsonObject object{{"name", QStringLiteral("电机")}, {"list", QJsonArray{1, 2.5, true}}};
        QVERIFY(DataManager::writeToJson(QStringLiteral("out/a.json"), object, true));
        QCOMPARE(DataManager::readFromJson(QStringLiteral("out/a.json")), QJsonValue(object));
        QCOMPARE(DataManager::readFromJsonAsVariant(QStringLiteral("out/a.json")), object.toVariantMap());
        const QJsonArray array{1, QStringLiteral("x")};
        QVERIFY(DataManager::writeToJson(QStringLiteral("b.json"), array, false));
        QCOMPARE(DataManager::readFromJson(QStringLiteral("b.json")), QJsonValue(array));
        QCOMPARE(DataManager::readFromJsonAsVariant(QStringLiteral("b.json")), array.toVariantList());
    }

    void jsonInLocalEncodingIsConverted() {
        // "名称" and "电机" in GBK: invalid as UTF-8, so the reader converts before parsing.
        const QByteArray gbk("{\"\xc3\xfb\xb3\xc6\": \"\xb5\xe7\xbb\xfa\"}");
        writeBytes(QStringLiteral("gbk.json"), gbk);
        const QJsonValue value = DataManager::readFromJson(QStringLiteral("gbk.json"));
        QCOMPARE(value.toObject().value(QStringLiteral("名称")).toString(), QStringLiteral("电机"));
        QCOMPARE(DataManager::convertToUtf8(QByteArray("plain \xe7\x94\xb5")), QStringLiteral("plain 电"));
        QVERIFY(logMessages().isEmpty());
    }

    void jsonFailures() {
        writeBytes(QStringLiteral("bad.json"), "this is not json");
        QCOMPARE(DataManager::readFromJson(QStringLiteral("bad.json")), QJsonValue(QJsonArray()));
        QCOMPARE(DataManager::readFromJsonAsVariant(QStringLiteral("bad.json")), QVariant(QVariantList()));
        QVERIFY(DataManager::readFromJson(QStringLiteral("missing.json")).isNull());
        QVERIFY(!DataManager::readFromJsonAsVariant(QStringLiteral("missing.json")).isValid());
        QVERIFY(
            !DataManager::writeToJson(QStringLiteral("s.json"), QJsonValue(QStringLiteral("text")), true));
        QVERIFY(!QFile::exists(QStringLiteral("s.json")));
        writeBytes(QStringLiteral("plain"), "a regular file");
        QVERIFY(!DataManager::writeToJson(QStringLiteral("plain/a.json"), QJsonObject(), true));
        QVERIFY(!DataManager::writeToJson(QStringLiteral("nodir/a.json"), QJsonObject(), false));

        const QStringList messages = logMessages();
        QCOMPARE(messages.size(), 7);
        QVERIFY2(messages.at(0).startsWith(QStringLiteral("<m><static> read invalid json from: \"bad.json\", "
                                                          "parse error: \"")),
                 qPrintable(messages.at(0)));
        QCOMPARE(messages.at(2), QStringLiteral("<m><static> cannot read json file: \"missing.json\""));
        QCOMPARE(messages.at(4),
                 QStringLiteral("<m><static> writing json is neither array nor object: \"s.json\""));
        QCOMPARE(messages.at(5),
                 QStringLiteral("<m><static> cannot create foler \"plain/a.json\" to write json"));
        QCOMPARE(messages.at(6), QStringLiteral("<m><static> cannot write json file: \"nodir/a.json\""));
    }

    void writesReplaceTheFileInOnePiece() {
        // A reader holding the old file keeps seeing the complete old content: the new file
        // replaces it instead of being written over it.
        QVERIFY(DataManager::writeToJson(QStringLiteral("c.json"), QJsonObject{{"v", 1}}, true));
        QFile reader(QStringLiteral("c.json"));
        QVERIFY(reader.open(QIODevice::ReadOnly));
        QVERIFY(DataManager::writeToJson(QStringLiteral("c.json"), QJsonObject{{"v", 2}}, true));
        QCOMPARE(QJsonDocument::fromJson(reader.readAll()).object().value("v").toInt(), 1);
        QCOMPARE(DataManager::readFromJson(QStringLiteral("c.json")).toObject().value("v").toInt(), 2);
    }

    void failedWriteKeepsThePreviousFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("limit");
        // Small files fit the write buffer: their failure shows only when it is flushed.
        for (const char* kind : {"bin", "json", "xml"}) {
            QTest::addRow("%s, large", kind) << kind << 256 * 1024 << 64 * 1024;
            QTest::addRow("%s, small", kind) << kind << 6 * 1024 << 1024;
        }
    }

    void failedWriteKeepsThePreviousFile() {
        QFETCH(QString, kind);
        QFETCH(int, size);
        QFETCH(int, limit);
        const QString path = QStringLiteral("keep.") + kind;
        const QByteArray previous("previous complete content");
        writeBytes(path, previous);
        const QByteArray big = randomBytes(size).toBase64();
        bool written = true;
        {
            const FileSizeLimit full(limit);
            if (kind == QLatin1String("bin")) {
                written = DataManager::writeToBin(path, big, 0, true);
            } else if (kind == QLatin1String("json")) {
                written = DataManager::writeToJson(path, QJsonArray{QString::fromLatin1(big)}, true);
            } else {
                DataObject node(QStringLiteral("n"));
                for (int i = 0; i * 4096 < big.size(); ++i)
                    node.set(nullptr, QStringLiteral("c%1").arg(i),
                             QString::fromLatin1(big.mid(i * 4096, 4096)), true);
                written = DataManager::writeToXmlFile(path, &node, true, true);
            }
        }
        QVERIFY(!written);
        QCOMPARE(fileBytes(path), previous);
        const QString expected = kind == QLatin1String("bin")    ? "<m><static> cannot write binary file: \""
                                 : kind == QLatin1String("json") ? "<m><static> cannot write json file: \""
                                                                 : "<m><static> cannot write xml file: \"";
        QCOMPARE(logMessages().value(0), expected + path + "\"");
        QCOMPARE(QDir().entryList(QDir::Files), QStringList{path});  // no temporary left over
    }

    void xmlFileRoundTrip() {
        DataObject source(QStringLiteral("config"));
        source.set(nullptr, QStringLiteral("scale"), 100, true);
        source.setList(nullptr, QStringLiteral("list"), {QStringLiteral("a"), QStringLiteral("b")}, true);
        source.set(nullptr, QStringLiteral("_runtime"), true, true);
        QVERIFY(DataManager::writeToXmlFile(QStringLiteral("cfg/config.xml"), &source, true, true));
        const QByteArray text = fileBytes(QStringLiteral("cfg/config.xml"));
        QVERIFY(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        QVERIFY2(text.contains("\n    <c name=\"scale\""), text.constData());
        QVERIFY(!text.contains("_runtime"));

        DataObject target(QStringLiteral("config"));
        QObject changer;
        QSignalSpy changed(&target, &DataObject::changed);
        QVERIFY(DataManager::readFromXmlFile(&changer, &target, QStringLiteral("cfg/config.xml")));
        QCOMPARE(target.cdobjNames(), (QStringList{"scale", "list"}));
        QCOMPARE(target.r(QStringLiteral("scale"))->get(), QVariant(100));
        QCOMPARE(target.r(QStringLiteral("list"))->getList(), (QVariantList{"a", "b"}));
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.last().at(2).value<QObject*>(), &changer);
    }

    void xmlFileFailures() {
        DataObject node(QStringLiteral("n"));
        QVERIFY(!DataManager::readFromXmlFile(nullptr, nullptr, QStringLiteral("a.xml")));
        QVERIFY(!DataManager::readFromXmlFile(nullptr, d().emptyDobj(), QStringLiteral("a.xml")));
        QVERIFY(!DataManager::readFromXmlFile(nullptr, &node, QStringLiteral("missing.xml")));
        QVERIFY(
            !DataManager::writeToXmlFile(QStringLiteral("a.xml"), d(QStringLiteral("nothing")), true, true));
        writeBytes(QStringLiteral("plain"), "a regular file");
        QVERIFY(!DataManager::writeToXmlFile(QStringLiteral("plain/a.xml"), &node, true, true));
        QVERIFY(!DataManager::writeToXmlFile(QStringLiteral("nodir/a.xml"), &node, false, true));
        writeBytes(QStringLiteral("junk.xml"), "<<< not xml");
        QVERIFY(!DataManager::readFromXmlFile(nullptr, &node, QStringLiteral("junk.xml")));
        QVERIFY(DataManager::writeToXmlFile(QStringLiteral("made/dir/ok.xml"), &node, true, true));
        QVERIFY(fileBytes(QStringLiteral("made/dir/ok.xml"))
                    .startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

        QCOMPARE(logMessages().mid(0, 6),
                 (QStringList{"<m><static> try to read xml for an empty mobj",
                              "<m><static> try to read xml for an empty mobj",
                              "<m><static> cannot read xml file: \"missing.xml\"",
                              "<m><static> try to write xml from an empty mobj",
                              "<m><static> cannot create path \"plain/a.xml\" to write xml",
                              "<m><static> cannot write xml file: \"nodir/a.xml\""}));
    }

    // A project file cut short anywhere before its end is a failed read with one error line
    // naming the file; whatever follows the top element (the final line end) may be missing.
    void truncatedXmlFilesAreFailures() {
        DataObject project(QStringLiteral("project"));
        project.set(nullptr, QStringLiteral("version"), 1.0, true);
        project.set(nullptr, QStringLiteral("serial_port"), QStringLiteral("/dev/ttyUSB0"), true);
        for (int i = 1; i <= 3; ++i) {
            const QString record = QStringLiteral("device.3a10c5e70000100%1.").arg(i);
            project.set(nullptr, record + "alias", QStringLiteral("joint %1").arg(i), true);
            project.set(nullptr, record + "info.mcu_id",
                        QVariant::fromValue<quint64>(0x3a10c5e700001000ull + i), true);
            project.set(nullptr, record + "info.can_id", i, true);
            project.setList(nullptr, record + "param", {0.5 * i, i, QStringLiteral("x")}, true);
        }
        QVERIFY(DataManager::writeToXmlFile(QStringLiteral("whole.prj"), &project, true, true));
        const QByteArray whole = fileBytes(QStringLiteral("whole.prj"));
        const int end = whole.lastIndexOf("</m>") + 4;
        QVERIFY(end > 4);

        for (int cut = 0; cut < whole.size(); ++cut) {
            writeBytes(QStringLiteral("cut.prj"), whole.left(cut));
            QFile::remove(logfile::fileName());
            DataObject target(QStringLiteral("tmp"));
            const bool read = DataManager::readFromXmlFile(nullptr, &target, QStringLiteral("cut.prj"));
            QCOMPARE(read, cut >= end);
            const QStringList errors = logfile::lines().filter(QStringLiteral("[E|"));
            if (cut < end) {
                QCOMPARE(errors.size(), 1);
                QVERIFY2(errors[0].contains(QStringLiteral("read invalid xml from: \"cut.prj\"")),
                         qPrintable(errors[0]));
            } else {
                QVERIFY(errors.isEmpty());
            }
        }
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestDataManager)
#include "tst_datamanager.moc"
