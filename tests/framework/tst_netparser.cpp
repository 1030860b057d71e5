#include "framework/net/networkfilepackage.h"
#include "framework/net/networkjsonpackage.h"
#include "framework/net/networkpackage.h"
#include "framework/net/networkpackageparser.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

#include <random>

using namespace kx;

namespace {

QByteArray frame(const QByteArray& payload) {
    QByteArray bytes;
    bytes.append(static_cast<char>(payload.size() >> 8));
    bytes.append(static_cast<char>(payload.size() & 0xFF));
    return bytes + payload;
}

// Frames of at most 10240 payload bytes, as a sender cuts them.
QByteArray frames(const QByteArray& stream) {
    QByteArray bytes;
    for (int offset = 0; offset < stream.size(); offset += 10240) {
        bytes += frame(stream.mid(offset, 10240));
    }
    return bytes;
}

QByteArray package(quint32 length, quint8 type, const QByteArray& payload) {
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.append(static_cast<char>((length >> shift) & 0xFF));
    }
    bytes.append(static_cast<char>(type));
    bytes.append('\0');
    return bytes + payload;
}

}  // namespace

class TestNetParser : public QObject {
    Q_OBJECT

private slots:
    void wireLayoutsByHand();
    void framingEdgeCases();
    void refusedPackagesAreSkippedWhole();
    void filePackagePaths();
    void mutatedStreamsStayBounded();
};

void TestNetParser::wireLayoutsByHand() {
    // "hi" as a plain package: length 2, type 0, reserved 0, payload.
    QCOMPARE(NetworkPackage("hi").toBytes(), QByteArray::fromHex("00000002000068 69").replace(' ', ""));
    QCOMPARE(NetworkJsonPackage(QJsonArray{1, 2}).toBytes(), QByteArray::fromHex("000000050200") + "[1,2]");
    const QByteArray file = NetworkFilePackage("a.txt", "xyz", true).toBytes();
    QCOMPARE(file.left(6), QByteArray::fromHex("0000001d0100"));  // 21 + 5 + 3 = 29 bytes of payload
    QCOMPARE(file.mid(6, 3), QByteArray::fromHex("000001"));
    QCOMPARE(file.mid(9, 16), QByteArray::fromHex("d16fb36f0911f878998c136191af705e"));  // MD5 of "xyz"
    QCOMPARE(file.mid(25), QByteArray::fromHex("0005") + "a.txtxyz");

    NetworkPackageParser parser;
    const NetworkPackageParser::Result result =
        parser.feed(frame(QByteArray::fromHex("00000002000068")) + frame(QByteArray::fromHex("69")));
    QCOMPARE(result.packages.size(), 1);
    QCOMPARE(result.packages.at(0).type, 0);
    QCOMPARE(result.packages.at(0).payload, QByteArray("hi"));
    QVERIFY(!result.waiting);
}

void TestNetParser::framingEdgeCases() {
    NetworkPackageParser parser;
    // A frame header announcing 10241 bytes empties the frame cache.
    NetworkPackageParser::Result result = parser.feed(QByteArray::fromHex("2801") + QByteArray(100, 'x'));
    QCOMPARE(result.logErrors, QStringList{QStringLiteral("frame size error, frame abondon")});
    QCOMPARE(parser.frameCacheSize(), 0);

    // A package split over two reads, mid-frame, is delivered once, after the second.
    const QByteArray whole = frames(package(30000, 0, QByteArray(30000, 'p')));
    result = parser.feed(whole.left(15000));
    QVERIFY(result.packages.isEmpty());
    QVERIFY(result.waiting);
    result = parser.feed(whole.mid(15000));
    QCOMPARE(result.packages.size(), 1);
    QCOMPARE(result.packages.at(0).payload.size(), 30000);
    QVERIFY(!result.waiting);

    // A package that never completes is given up, cache by cache.
    parser.feed(frame(package(50, 0, "abc")) + QByteArray::fromHex("0010") + "1234");
    QCOMPARE(parser.abandon(), QStringList({QStringLiteral("abondon frame cache, size: 6"),
                                            QStringLiteral("abondon package cache, size: 9")}));
    QVERIFY(parser.abandon().isEmpty());

    // Type 3 is refused; the package after it is still understood.
    result = parser.feed(frame(package(3, 3, "bad")) + frame(package(2, 0, "ok")));
    QCOMPARE(result.packetErrors, QStringList{QStringLiteral("package type error, package abondon")});
    QCOMPARE(result.packages.size(), 1);
    QCOMPARE(result.packages.at(0).payload, QByteArray("ok"));

    // A length at the wire's ceiling is refused from its header alone.
    result = parser.feed(frame(package(524288001u, 0, "x")));
    QCOMPARE(result.packetErrors, QStringList{QStringLiteral("package length error, package abondon")});
    QCOMPARE(parser.packageCacheSize(), 0);
    // One below it is refused too, by the receiver's own limit, without waiting for its bytes.
    result = parser.feed(frame(package(524288000u, 0, "x")));
    QCOMPARE(result.packetErrors, QStringList{QStringLiteral("package length error, package abondon")});
    QCOMPARE(parser.packageCacheSize(), 0);
    parser.abandon();
}

void TestNetParser::refusedPackagesAreSkippedWhole() {
    NetworkPackageParser parser(1000);
    const QByteArray big = frames(package(50000, 0, QByteArray(50000, 'b')));
    const QByteArray after = frames(package(5, 2, "[1,2]"));
    QStringList errors;
    QList<NetworkPackageParser::Package> delivered;
    // Byte-sized reads: the cache never holds more than the limit, whatever arrives.
    const QByteArray stream = big + after;
    for (int i = 0; i < stream.size(); i += 97) {
        const NetworkPackageParser::Result result = parser.feed(stream.mid(i, 97));
        errors += result.packetErrors;
        delivered += result.packages;
        QVERIFY(parser.packageCacheSize() <= 1000 + 6);
        QVERIFY(parser.frameCacheSize() <= 10242);
    }
    QCOMPARE(errors, QStringList{QStringLiteral("package length error, package abondon")});
    QCOMPARE(delivered.size(), 1);
    QCOMPARE(delivered.at(0).type, 2);
    QCOMPARE(delivered.at(0).payload, QByteArray("[1,2]"));
}

void TestNetParser::filePackagePaths() {
    NetworkFilePackage parsed;
    QString error;
    QVERIFY(NetworkFilePackage::parse(NetworkFilePackage("dir/f.bin", "content", false).payload(), &parsed,
                                      &error));
    QCOMPARE(parsed.remotePath(), QStringLiteral("dir/f.bin"));
    QCOMPARE(parsed.content(), QByteArray("content"));
    QVERIFY(!parsed.isAppend());
    QVERIFY(parsed.digestMatches());

    // "é" is one character but two bytes: the decoded path is shorter than its field says.
    QByteArray payload = QByteArray(2, '\0') + '\0' + QByteArray(16, '\0') + QByteArray::fromHex("0003") +
                         QByteArray(
                             "\xC3\xA9"
                             "a") +
                         "data";
    QVERIFY(!NetworkFilePackage::parse(payload, &parsed, &error));
    QVERIFY2(error.startsWith(QStringLiteral("path resolves falied, len: 3 path: ")), qPrintable(error));
    payload[1] = 1;
    QVERIFY(!NetworkFilePackage::parse(payload, &parsed, &error));
    QCOMPARE(error, QStringLiteral("cannot resolve file package proto 1"));
    QVERIFY(!NetworkFilePackage::parse(QByteArray(20, '\0'), &parsed, &error));

    const QString base = QDir::cleanPath(QDir::temp().absoluteFilePath(QStringLiteral("inbox")));
    QCOMPARE(NetworkFilePackage::confinedPath(base, QStringLiteral("sub/./f.txt")),
             base + QStringLiteral("/sub/f.txt"));
    for (const char* refused : {"/etc/passwd", "../x", "a/../../x", "a/..", "a\\..\\..\\x", "C:\\x", "c:x",
                                "\\\\server\\share", "", "./"}) {
        QVERIFY2(NetworkFilePackage::confinedPath(base, QString::fromLatin1(refused)).isEmpty(), refused);
    }
    QVERIFY(NetworkFilePackage::confinedPath(base, QStringLiteral("a") + QChar(0) + QStringLiteral("b"))
                .isEmpty());
    QVERIFY(NetworkFilePackage::confinedPath(QString(), QStringLiteral("f.txt")).isEmpty());
}

void TestNetParser::mutatedStreamsStayBounded() {
    // Valid streams of every package kind, mutated by a seeded generator and fed in random
    // pieces: nothing may crash, caches stay bounded, and every accepted path stays inside.
    const qint64 limit = 4096;
    QByteArray valid;
    valid += frames(NetworkPackage(QByteArray(3000, 'a')).toBytes());
    valid += frames(NetworkJsonPackage(QJsonObject{{"k", "v"}, {"n", 1}}).toBytes());
    valid += frames(NetworkFilePackage("in/f.txt", QByteArray(700, 'f'), false).toBytes());
    valid += frames(NetworkFilePackage("g.txt", "tail", true).toBytes());
    const QString base = QDir::cleanPath(QDir::temp().absoluteFilePath(QStringLiteral("inbox")));

    std::mt19937 random(20261209u);
    int delivered = 0;
    for (int round = 0; round < 10000; ++round) {
        QByteArray stream = valid;
        const int mutations = 1 + static_cast<int>(random() % 6);
        for (int m = 0; m < mutations; ++m) {
            const int at = static_cast<int>(random() % static_cast<unsigned>(stream.size()));
            switch (random() % 4) {
                case 0:
                    stream[at] = static_cast<char>(random());
                    break;
                case 1:
                    stream.remove(at, static_cast<int>(random() % 64));
                    break;
                case 2:
                    stream.insert(at,
                                  QByteArray(static_cast<int>(random() % 16), static_cast<char>(random())));
                    break;
                default:
                    stream.truncate(at);
                    break;
            }
            if (stream.isEmpty()) {
                stream = valid;
            }
        }
        NetworkPackageParser parser(limit);
        for (int i = 0; i < stream.size();) {
            const int piece = 1 + static_cast<int>(random() % 3000);
            const NetworkPackageParser::Result result = parser.feed(stream.mid(i, piece));
            i += piece;
            QVERIFY(parser.packageCacheSize() <= limit + 6 + 10240);
            QVERIFY(parser.frameCacheSize() <= 10241 + 3000);
            for (const NetworkPackageParser::Package& package : result.packages) {
                ++delivered;
                QVERIFY(package.type >= 0 && package.type <= 2);
                QVERIFY(package.payload.size() <= limit);
                NetworkFilePackage file;
                QString error;
                if (package.type == NetworkPackage::File &&
                    NetworkFilePackage::parse(package.payload, &file, &error)) {
                    const QString target = NetworkFilePackage::confinedPath(base, file.remotePath());
                    QVERIFY(target.isEmpty() || target.startsWith(base + QLatin1Char('/')));
                }
            }
        }
        parser.abandon();
        QCOMPARE(parser.frameCacheSize() + parser.packageCacheSize(), 0);
    }
    // The mutations leave many streams partly intact; a parser that delivered nothing would
    // not be tested at all.
    QVERIFY(delivered > 1000);
}

QTEST_GUILESS_MAIN(TestNetParser)
#include "tst_netparser.moc"
