#include "framework/data/binform.h"
#include "framework/data/dataobject.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPoint>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <random>

#include "treeshape.h"

using namespace kx;

// Thousands of damaged variants of valid JSON, XML and binary input, made by a fixed random
// sequence so that every run (and every sanitizer run) sees the same inputs. Each one is
// imported with several flag combinations and the result exported again: nothing may crash,
// hang, or grow beyond what the input can account for.
namespace {

constexpr int kMutationsPerSeed = 700;

void fillSample(DataObject* root) {
    root->set(nullptr, QStringLiteral("config.scale"), 100, true);
    root->set(nullptr, QStringLiteral("config.ratio"), 0.25, true);
    root->set(nullptr, QStringLiteral("config.name"), QStringLiteral("bench"), true);
    root->set(nullptr, QStringLiteral("config.on"), true, true);
    root->set(nullptr, QStringLiteral("config.at"), QPointF(1.5, -2), true);
    root->set(nullptr, QStringLiteral("config.where"), QPoint(3, 4), true);
    root->set(nullptr, QStringLiteral("config.list"),
              QVariantList{1, QStringLiteral("x"), QVariantMap{{"k", 2}}}, true);
    root->set(nullptr, QStringLiteral("config.names"), QStringList{"a", "b"}, true);
    root->set(nullptr, QStringLiteral("_state.connected"), false, true);
    DataObject* device =
        root->set(nullptr, QStringLiteral("device"), QVariant(), true)->r(QStringLiteral("device"));
    for (int i = 0; i < 3; ++i) {
        DataObject* record = device->append(nullptr);
        record->set(nullptr, QStringLiteral("info.can_id"), i + 1, true);
        record->set(nullptr, QStringLiteral("param.#2"), 0.5 * i, true);
    }
}

class Mutator {
public:
    explicit Mutator(quint32 seed) : m_random(seed) {}

    QByteArray mutate(const QByteArray& seed) {
        QByteArray data = seed;
        const int steps = 1 + below(4);
        for (int i = 0; i < steps; ++i) {
            step(&data);
        }
        return data;
    }

    // A random JSON value built from parts that stress the importer: keys that are paths, index
    // names and private names, arrays and objects nested up to maxDepth, the odd long chain.
    QJsonValue randomJson(int maxDepth) {
        static const char* keys[] = {"k", "a.b",  "#99999999", "#3",      "_x",    "",
                                     ".", "a..b", "#-1",       "#0.#700", "x.#2.y"};
        const int kind = below(maxDepth > 0 ? 7 : 4);
        switch (kind) {
            case 0:
                return double(below(1000)) / 7;
            case 1:
                return QStringLiteral("s%1").arg(below(100));
            case 2:
                return below(2) == 1;
            case 3:
                return QJsonValue(QJsonValue::Null);
            case 4: {
                QJsonArray array;
                const int count = below(6);
                for (int i = 0; i < count; ++i) {
                    array.append(randomJson(maxDepth - 1));
                }
                return array;
            }
            case 5: {
                if (below(40) == 0) {  // a chain far deeper than the import allows
                    QJsonValue chain = 1;
                    for (int i = 0; i < 600; ++i) {
                        chain = QJsonArray{chain};
                    }
                    return chain;
                }
                Q_FALLTHROUGH();
            }
            default: {
                QJsonObject object;
                const int count = below(5);
                for (int i = 0; i < count; ++i) {
                    object.insert(QString::fromLatin1(keys[below(int(sizeof(keys) / sizeof(*keys)))]),
                                  randomJson(maxDepth - 1));
                }
                return object;
            }
        }
    }

private:
    int below(int bound) { return bound <= 0 ? 0 : int(m_random() % quint32(bound)); }

    void step(QByteArray* data) {
        const int size = data->size();
        switch (below(8)) {
            case 0:  // flip a bit
                if (size > 0) {
                    const int at = below(size);
                    (*data)[at] = char((*data)[at] ^ (1 << below(8)));
                }
                break;
            case 1:  // replace a byte
                if (size > 0) {
                    (*data)[below(size)] = char(below(256));
                }
                break;
            case 2:  // insert random bytes
                data->insert(below(size + 1), randomBytes(1 + below(8)));
                break;
            case 3:  // delete a range
                if (size > 0) {
                    const int at = below(size);
                    data->remove(at, 1 + below(qMin(16, size - at)));
                }
                break;
            case 4:  // truncate
                data->truncate(below(size + 1));
                break;
            case 5:  // duplicate a chunk (nesting, repeated names)
                if (size > 0) {
                    const int at = below(size);
                    const QByteArray chunk = data->mid(at, 1 + below(64));
                    data->insert(below(size + 1), chunk.repeated(1 + below(8)));
                }
                break;
            case 6:  // a word with a boundary value: counts and lengths of the binary form
                if (size >= 4) {
                    static const quint32 values[] = {0,           1,           0x7fffffffu, 0x80000000u,
                                                     0xffffffffu, 0xfffffffeu, 1024};
                    const quint32 value = values[below(7)];
                    const int at = below(size - 3);
                    for (int b = 0; b < 4; ++b) {
                        (*data)[at + b] = char(value >> (24 - 8 * b));
                    }
                }
                break;
            default: {  // a token that means something to one of the parsers
                static const char* tokens[] = {"#99999999",
                                               "#5",
                                               ".",
                                               "..",
                                               "<c name=\"a.b\">",
                                               "</c>",
                                               "<l>",
                                               "[[[[",
                                               "{\"#7\":",
                                               "\"_x\"",
                                               "<m>",
                                               "type=\"25\"",
                                               "type=\"1024\"",
                                               "&#1;",
                                               "<!DOCTYPE m [<!ENTITY e \"ee\">]>"};
                data->insert(below(size + 1),
                             QByteArray(tokens[below(int(sizeof(tokens) / sizeof(*tokens)))]));
                break;
            }
        }
    }

    QByteArray randomBytes(int count) {
        QByteArray bytes;
        for (int i = 0; i < count; ++i) {
            bytes.append(char(below(256)));
        }
        return bytes;
    }

    std::mt19937 m_random;
};

// Whatever went in, the tree stays within what the input can account for.
void checkBounded(const DataObject* node, const QByteArray& input, const char* form) {
    const int size = treeshape::size(node);
    // Every node needs a few input bytes, plus the filler budget of one import, plus the sample.
    const int limit = 64 + input.size() + 1024 + 64;
    QVERIFY2(size <= limit,
             qPrintable(QStringLiteral("%1: %2 nodes from %3 bytes").arg(form).arg(size).arg(input.size())));
    QVERIFY2(treeshape::depth(node) <= 520, form);
}

}  // namespace

class TestFormatMutation : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void mutatedJson();
    void mutatedXml();
    void mutatedBin();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QtMessageHandler m_handler = nullptr;
};

void TestFormatMutation::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
    // Thousands of expected W lines (and Qt's complaints about corrupt streams) would only bury
    // a failure; the lines still reach the log file.
    m_handler = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

void TestFormatMutation::cleanup() {
    qInstallMessageHandler(m_handler);
    QDir::setCurrent(QDir::tempPath());
    m_dir.reset();
}

void TestFormatMutation::mutatedJson() {
    DataObject sample(QStringLiteral("s"));
    fillSample(&sample);
    const QList<QByteArray> seeds{QJsonDocument(sample.exportToJson(false).toObject()).toJson(),
                                  QByteArray(R"([1, [2, [3, {"a.b": {"#1": true}}]], "x"])"),
                                  QByteArray(R"({"_private": 1, "list": [{"k": null}, 2.5e300]})")};
    Mutator mutator(20261208);
    int imported = 0;
    for (const QByteArray& seed : seeds) {
        for (int i = 0; i < kMutationsPerSeed; ++i) {
            const QByteArray input = mutator.mutate(seed);
            const QJsonDocument document = QJsonDocument::fromJson(input);
            const QJsonValue value =
                document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
            DataObject target(QStringLiteral("t"));
            fillSample(&target);
            target.importFromJson(nullptr, value, i % 2 == 0, i % 3 != 0, i % 5 == 0);
            target.importFromVariant(nullptr, value.toVariant(), true, true, i % 2 == 1);
            checkBounded(&target, input, "json");
            target.exportToJson(i % 2 == 0);
            target.exportToXmlStr(4, false);
            imported += document.isNull() ? 0 : 1;
        }
    }
    // Byte damage leaves few documents valid; built values reach the importer every time.
    QVERIFY(imported > 0);
    for (int i = 0; i < 3 * kMutationsPerSeed; ++i) {
        const QJsonValue value = mutator.randomJson(8);
        DataObject target(QStringLiteral("t"));
        fillSample(&target);
        target.importFromJson(nullptr, value, i % 2 == 0, i % 3 != 0, i % 5 == 0);
        target.importFromVariant(nullptr, value.toVariant(), i % 2 == 1, true, i % 7 == 0);
        const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
        checkBounded(&target, text, "built json");
        target.exportToBin(false);
    }
}

void TestFormatMutation::mutatedXml() {
    DataObject sample(QStringLiteral("s"));
    fillSample(&sample);
    const QList<QByteArray> seeds{
        sample.exportToXmlStr(4, false).toUtf8(),
        QByteArray(R"(<?xml version="1.0"?><m type="2" value="1"><c name="a"><l type="26" value="1,2"/>)"
                   R"(<l/><c name="b.c" type="21" value="3,"/></c><x><y/></x></m>)")};
    Mutator mutator(4711);
    for (const QByteArray& seed : seeds) {
        for (int i = 0; i < kMutationsPerSeed; ++i) {
            const QByteArray input = mutator.mutate(seed);
            DataObject target(QStringLiteral("t"));
            fillSample(&target);
            target.importFromXmlStr(nullptr, QString::fromUtf8(input), i % 2 == 0, i % 3 != 0, i % 4 != 0);
            checkBounded(&target, input, "xml");
            DataObject copy(QStringLiteral("c"));
            copy.importFromXmlStr(nullptr, target.exportToXmlStr(0, i % 2 == 0), true, true, true);
            target.exportToBin(false);
        }
    }
}

void TestFormatMutation::mutatedBin() {
    DataObject sample(QStringLiteral("s"));
    fillSample(&sample);
    DataObject small(QStringLiteral("small"));
    small.set(nullptr, QStringLiteral("a.#1"), 5, true);
    const QList<QByteArray> seeds{sample.exportToBin(false), sample.exportToBin(true),
                                  small.exportToBin(false)};
    Mutator mutator(99);
    for (const QByteArray& seed : seeds) {
        for (int i = 0; i < kMutationsPerSeed; ++i) {
            const QByteArray input = mutator.mutate(seed);
            DataObject target(QStringLiteral("t"));
            fillSample(&target);
            target.importFromBin(nullptr, input, i % 2 == 0, i % 3 != 0, i % 5 == 0);
            checkBounded(&target, input, "bin");
            target.exportToBin(i % 2 == 0);
            target.exportToXmlStr(4, false);
            // The compressed form as read from a file.
            BinForm::uncompress(mutator.mutate(qCompress(seed)));
        }
    }
}

QTEST_GUILESS_MAIN(TestFormatMutation)
#include "tst_formatmutation.moc"
