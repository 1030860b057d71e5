#include "framework/net/networkhandle.h"
#include "framework/net/networkmanager.h"
#include "framework/net/networkobject.h"
#include "framework/net/networkpackage.h"
#include "logfile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTcpSocket>
#include <QThread>
#include <QUdpSocket>
#include <QtTest>

using namespace kx;

namespace {

const int kWait = 20000;

// Collects a handle's signals in the test thread (queued), so the test reads them without
// racing the worker thread.
class Collector : public QObject {
public:
    explicit Collector(NetworkHandle* handle) {
        connect(handle, &NetworkHandle::rawObtained, this, [this](const QByteArray& b) { raw += b; });
        connect(handle, &NetworkHandle::packageObtained, this,
                [this](const QByteArray& b) { packages << b; });
        connect(handle, &NetworkHandle::jsonObtained, this, [this](const QJsonObject& o) { objects << o; });
        connect(handle, &NetworkHandle::jsonArrayObtained, this,
                [this](const QJsonArray& a) { arrays << a; });
        connect(handle, &NetworkHandle::fileObtained, this, [this](const QString& p) { files << p; });
        connect(handle, &NetworkHandle::packetError, this, [this](const QString& e) { packetErrors << e; });
        connect(handle, &NetworkHandle::socketError, this, [this](const QString& e) { socketErrors << e; });
        connect(handle, &NetworkHandle::packageSent, this, [this] { ++sent; });
    }
    QByteArray raw;
    QList<QByteArray> packages;
    QList<QJsonObject> objects;
    QList<QJsonArray> arrays;
    QStringList files;
    QStringList packetErrors;
    QStringList socketErrors;
    int sent = 0;
};

// Accepts TLS connections with the committed self-signed certificate.
class TlsServer : public QTcpServer {
public:
    QSslCertificate certificate;
    QSslKey key;
    QList<QSslSocket*> accepted;

protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        socket->setLocalCertificate(certificate);
        socket->setPrivateKey(key);
        socket->startServerEncryption();
        accepted.append(socket);
    }
};

bool logged(const QString& message) {
    return logfile::messages().contains(message);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestNetwork : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void tcpFramesPackagesAndJson();
    void incompletePackageIsAbandoned();
    void filePackagesStayInTheirDirectory();
    void udpDatagramsAndFilter();
    void tlsOverLoopback();
    void workerThreadAssignment();

private:
    // A connected client/server pair of TCP objects.
    void tcpPair(const QString& name, NetworkObject** client, NetworkObject** server);

    QTemporaryDir m_dir;
    QString m_start;
    QTcpServer m_server;
};

void TestNetwork::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_start = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QVERIFY(m_server.listen(QHostAddress::LocalHost));
}

void TestNetwork::cleanupTestCase() {
    QDir::setCurrent(m_start);
}

void TestNetwork::tcpPair(const QString& name, NetworkObject** client, NetworkObject** server) {
    *client = net().regist(name + QStringLiteral(".client"), NetworkHandle::TCP, NetworkChannel());
    (*client)->connectToHost(QStringLiteral("127.0.0.1"), m_server.serverPort());
    QVERIFY(m_server.waitForNewConnection(kWait));
    *server =
        net().regist(name + QStringLiteral(".server"), NetworkHandle::TCP, m_server.nextPendingConnection());
    QTRY_VERIFY_WITH_TIMEOUT((*client)->handle()->isConnected(), kWait);
    QVERIFY((*server)->handle()->isConnected());
}

void TestNetwork::tcpFramesPackagesAndJson() {
    NetworkObject* client = nullptr;
    NetworkObject* server = nullptr;
    tcpPair(QStringLiteral("tcp"), &client, &server);
    QVERIFY(!QTest::currentTestFailed());
    Collector sent(client->handle());
    Collector received(server->handle());

    // Two full slices and 4520 bytes: three frames and one packageSent().
    server->handle()->setPackageType(NetworkHandle::Raw);
    QByteArray content(2 * 10240 + 4520, '\0');
    for (int i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 7);
    }
    client->writeRaw(content, true);
    QTRY_COMPARE_WITH_TIMEOUT(received.raw.size(), content.size() + 6, kWait);
    QCOMPARE(sent.sent, 1);
    QCOMPARE(received.raw.left(2), QByteArray::fromHex("2800"));
    QCOMPARE(received.raw.mid(2 + 10240, 2), QByteArray::fromHex("2800"));
    QCOMPARE(received.raw.mid(4 + 2 * 10240, 2), QByteArray::fromHex("11a8"));
    QCOMPARE(received.raw.mid(6 + 2 * 10240), content.mid(2 * 10240));

    // Packages of each kind arrive in order; raw and package handling together.
    server->handle()->setPackageType(NetworkHandle::RawAndPackage);
    QCOMPARE(server->handle()->packageType(), NetworkHandle::RawAndPackage);
    client->writePackage(content, true);
    client->writeJsonPackage(QJsonObject{{"speed", 12.5}}, true);
    client->writeJsonPackage(QJsonArray{1, "two"}, true);
    // Unframed packages are not understood by a package receiver; framed ones after them are.
    QTRY_COMPARE_WITH_TIMEOUT(received.arrays.size(), 1, kWait);
    QCOMPARE(received.packages, QList<QByteArray>{content});
    QCOMPARE(received.objects.value(0).value(QStringLiteral("speed")).toDouble(), 12.5);
    QCOMPARE(received.arrays.value(0), (QJsonArray{1, "two"}));

    // A broken JSON text is logged and delivers nothing.
    client->writeRaw(QByteArray::fromHex("0008"
                                         "000000020200") +
                         "{x",
                     false);
    QTRY_VERIFY_WITH_TIMEOUT(logfile::messages().filter(QStringLiteral("json parse error: ")).size() == 1,
                             kWait);

    // Refused connection reports the socket error by name.
    NetworkObject* lost = net().regist(QStringLiteral("tcp.lost"), NetworkHandle::TCP, NetworkChannel());
    Collector lostErrors(lost->handle());
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    lost->connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    QTRY_COMPARE_WITH_TIMEOUT(lostErrors.socketErrors, QStringList{QStringLiteral("ConnectionRefusedError")},
                              kWait);
    QVERIFY(net().cancel(QStringLiteral("tcp.lost")));
}

void TestNetwork::incompletePackageIsAbandoned() {
    NetworkObject* client = nullptr;
    NetworkObject* server = nullptr;
    tcpPair(QStringLiteral("split"), &client, &server);
    QVERIFY(!QTest::currentTestFailed());
    Collector received(server->handle());
    const QByteArray bytes = NetworkPackage("split package").toBytes();
    const QByteArray framed = QByteArray::fromHex("0013") + bytes;

    client->writeRaw(framed.left(9), false);
    client->writeRaw(framed.mid(9), false);
    QTRY_COMPARE_WITH_TIMEOUT(received.packages.size(), 1, kWait);
    QCOMPARE(received.packages.at(0), QByteArray("split package"));

    // A second part that never comes: both caches go after a second.
    const QByteArray first =
        QByteArray::fromHex("0008") + bytes.left(8) + QByteArray::fromHex("0010") + "abc";
    client->writeRaw(first, false);
    QTRY_VERIFY_WITH_TIMEOUT(logged(QStringLiteral("abondon frame cache, size: 5")), kWait);
    QVERIFY(logged(QStringLiteral("abondon package cache, size: 8")));
    // The stream then starts afresh.
    client->writeRaw(framed, false);
    QTRY_COMPARE_WITH_TIMEOUT(received.packages.size(), 2, kWait);

    // A frame header beyond 10240 and a package of type 3.
    client->writeRaw(QByteArray::fromHex("2801") + QByteArray(10, 'z'), false);
    QTRY_VERIFY_WITH_TIMEOUT(logged(QStringLiteral("frame size error, frame abondon")), kWait);
    client->writeRaw(QByteArray::fromHex("0007") + QByteArray::fromHex("000000010300") + "q", false);
    client->writePackage("after", true);
    QTRY_COMPARE_WITH_TIMEOUT(received.packages.size(), 3, kWait);
    QCOMPARE(received.packetErrors, QStringList{QStringLiteral("package type error, package abondon")});

    // A package longer than the receiver's limit is refused from its header.
    server->handle()->setPackageLimit(1000);
    client->writePackage(QByteArray(5000, 'L'), true);
    client->writePackage("small", true);
    QTRY_COMPARE_WITH_TIMEOUT(received.packages.size(), 4, kWait);
    QCOMPARE(received.packages.last(), QByteArray("small"));
    QCOMPARE(received.packetErrors.last(), QStringLiteral("package length error, package abondon"));
}

void TestNetwork::filePackagesStayInTheirDirectory() {
    NetworkObject* client = nullptr;
    NetworkObject* server = nullptr;
    tcpPair(QStringLiteral("file"), &client, &server);
    QVERIFY(!QTest::currentTestFailed());
    Collector sent(client->handle());
    Collector received(server->handle());
    QDir().mkpath(QStringLiteral("inbox"));
    QFile source(QStringLiteral("source.bin"));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write(QByteArray(30000, 's'));
    source.close();

    // Without a receive directory nothing is written.
    client->writeFilePackage(QStringLiteral("source.bin"), QStringLiteral("early.bin"), false);
    QTRY_VERIFY_WITH_TIMEOUT(logged(QStringLiteral("file package refused, no receive directory: early.bin")),
                             kWait);

    server->handle()->setReceiveDirectory(m_dir.filePath(QStringLiteral("inbox")));
    client->writeFilePackage(QStringLiteral("source.bin"), QStringLiteral("sub/copy.bin"), false);
    client->writeFilePackage(QStringLiteral("source.bin"), QStringLiteral("sub/copy.bin"), true);
    QTRY_COMPARE_WITH_TIMEOUT(received.files.size(), 2, kWait);
    const QString copy = m_dir.filePath(QStringLiteral("inbox/sub/copy.bin"));
    QCOMPARE(received.files.at(0), copy);
    QCOMPARE(readFile(copy), QByteArray(60000, 's'));
    client->writeFilePackage(QStringLiteral("source.bin"), QStringLiteral("sub/copy.bin"), false);
    QTRY_COMPARE_WITH_TIMEOUT(received.files.size(), 3, kWait);
    QCOMPARE(readFile(copy).size(), 30000);

    // Paths that would leave the directory are refused with the path error.
    client->writeFilePackage(QStringLiteral("source.bin"), QStringLiteral("../escape.bin"), false);
    client->writeFilePackage(QStringLiteral("source.bin"), m_dir.filePath(QStringLiteral("abs.bin")), false);
    QTRY_VERIFY_WITH_TIMEOUT(logged(QStringLiteral("path resolves falied, len: 13 path: ../escape.bin")),
                             kWait);
    const QString absolute = m_dir.filePath(QStringLiteral("abs.bin"));
    QTRY_VERIFY_WITH_TIMEOUT(
        logged(QStringLiteral("path resolves falied, len: %1 path: %2").arg(absolute.size()).arg(absolute)),
        kWait);
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("escape.bin"))));
    QVERIFY(!QFile::exists(absolute));

    // A link inside the directory does not lead out of it.
    QVERIFY(QFile::link(m_dir.path(), m_dir.filePath(QStringLiteral("inbox/out"))));
    client->writeFilePackage(QStringLiteral("source.bin"), QStringLiteral("out/linked.bin"), false);
    QTRY_VERIFY_WITH_TIMEOUT(logged(QStringLiteral("path resolves falied, len: 14 path: out/linked.bin")),
                             kWait);
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("linked.bin"))));

    // A missing source still answers with packageSent(); a non-ASCII target is not sent.
    const int before = sent.sent;
    client->writeFilePackage(QStringLiteral("missing.bin"), QStringLiteral("m.bin"), false);
    client->writeFilePackage(QStringLiteral("source.bin"), QStringLiteral("é.bin"), false);
    QTRY_COMPARE_WITH_TIMEOUT(sent.sent, before + 2, kWait);
    QVERIFY(logged(QStringLiteral("cannot open source file: missing.bin")));
    QCOMPARE(received.files.size(), 3);
}

void TestNetwork::udpDatagramsAndFilter() {
    // Free ports for the two bound ends; the stranger sends from another loopback address.
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress(QHostAddress::LocalHost), 0));
    const int port = probe.localPort();
    probe.close();
    const QHostAddress elsewhere(QStringLiteral("127.0.0.2"));
    QVERIFY(probe.bind(elsewhere, 0));
    const int strangerPort = probe.localPort();
    probe.close();
    NetworkObject* receiver = net().regist(QStringLiteral("udp.receiver"), NetworkHandle::UDP,
                                           NetworkChannel(QHostAddress::LocalHost, QHostAddress(), port, 0));
    NetworkObject* sender = net().regist(QStringLiteral("udp.sender"), NetworkHandle::UDP,
                                         NetworkChannel(0, QHostAddress::LocalHost, port));
    NetworkObject* stranger =
        net().regist(QStringLiteral("udp.stranger"), NetworkHandle::UDP,
                     NetworkChannel(elsewhere, QHostAddress::LocalHost, strangerPort, port));
    QVERIFY(receiver->handle()->isValid() && receiver->handle()->udpSocket());
    QVERIFY(!receiver->handle()->tcpSocket());
    Collector received(receiver->handle());

    sender->writeJsonPackage(QJsonObject{{"via", "udp"}}, true);
    QTRY_COMPARE_WITH_TIMEOUT(received.objects.size(), 1, kWait);

    // Only datagrams from the filter's address count.
    receiver->handle()->setUdpFilter(QHostAddress(QHostAddress::LocalHost));
    stranger->writePackage("from elsewhere", true);
    sender->writePackage("from the peer", true);
    QTRY_COMPARE_WITH_TIMEOUT(received.packages.size(), 1, kWait);
    QCOMPARE(received.packages.at(0), QByteArray("from the peer"));
    for (const char* name : {"udp.receiver", "udp.sender", "udp.stranger"}) {
        QVERIFY(net().cancel(QString::fromLatin1(name)));
    }
}

void TestNetwork::tlsOverLoopback() {
    TlsServer server;
    QList<QSslCertificate> certificates =
        QSslCertificate::fromPath(QStringLiteral(TEST_DATA "/tls_cert.pem"));
    QCOMPARE(certificates.size(), 1);
    server.certificate = certificates.first();
    QFile keyFile(QStringLiteral(TEST_DATA "/tls_key.pem"));
    QVERIFY(keyFile.open(QIODevice::ReadOnly));
    server.key = QSslKey(keyFile.readAll(), QSsl::Rsa);
    QVERIFY(!server.key.isNull());
    QVERIFY(server.listen(QHostAddress::LocalHost));

    NetworkObject* client = net().regist(QStringLiteral("tls.client"), NetworkHandle::TLS, NetworkChannel());
    QVERIFY(client->handle()->sslSocket());
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates(certificates);
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    client->setSslConfiguration(configuration);
    client->connectToHost(QStringLiteral("127.0.0.1"), server.serverPort());
    QTRY_COMPARE_WITH_TIMEOUT(server.accepted.size(), 1, kWait);
    QSslSocket* accepted = server.accepted.first();
    QTRY_VERIFY_WITH_TIMEOUT(accepted->isEncrypted(), kWait);
    NetworkObject* peer = net().regist(QStringLiteral("tls.server"), NetworkHandle::TLS, accepted);
    Collector received(peer->handle());
    Collector answered(client->handle());

    client->writeJsonPackage(QJsonArray{"secret"}, true);
    QTRY_COMPARE_WITH_TIMEOUT(received.arrays.size(), 1, kWait);
    QCOMPARE(received.arrays.at(0), QJsonArray{"secret"});
    peer->writePackage("reply", true);
    QTRY_COMPARE_WITH_TIMEOUT(answered.packages, QList<QByteArray>{"reply"}, kWait);

    // A client that does not trust the certificate never gets through.
    NetworkObject* doubter =
        net().regist(QStringLiteral("tls.doubter"), NetworkHandle::TLS, NetworkChannel());
    Collector doubts(doubter->handle());
    doubter->connectToHost(QStringLiteral("127.0.0.1"), server.serverPort());
    QTRY_VERIFY_WITH_TIMEOUT(doubts.socketErrors.contains(QStringLiteral("SslHandshakeFailedError")), kWait);
    for (const char* name : {"tls.client", "tls.server", "tls.doubter"}) {
        QVERIFY(net().cancel(QString::fromLatin1(name)));
    }
}

void TestNetwork::workerThreadAssignment() {
    NetworkManager& manager = net();
    // Whatever earlier cases left registered, three new objects fill the three workers evenly.
    QList<NetworkObject*> objects;
    QHash<QThread*, int> loads;
    for (int i = 0; i < 6; ++i) {
        NetworkObject* object =
            manager.regist(QStringLiteral("w%1").arg(i), NetworkHandle::UDP, NetworkChannel());
        objects << object;
        QVERIFY(object->handle()->thread() != QThread::currentThread());
        ++loads[object->handle()->thread()];
    }
    QCOMPARE(manager.regist(QStringLiteral("w0"), NetworkHandle::TCP, NetworkChannel()), objects.at(0));
    QCOMPARE(manager.findNetName(objects.at(4)->handle()), QStringLiteral("w4"));
    QCOMPARE(net(QStringLiteral("w5")), objects.at(5));
    QVERIFY(!net(QStringLiteral("nobody")));
    QVERIFY(!manager.cancel(QStringLiteral("nobody")));

    // Freeing two objects of one thread makes it the one the next objects go to.
    QThread* freed = objects.at(5)->handle()->thread();
    QStringList sameThread;
    for (int i = 0; i < 6; ++i) {
        if (objects.at(i)->handle()->thread() == freed) {
            sameThread << QStringLiteral("w%1").arg(i);
        }
    }
    QVERIFY(sameThread.size() >= 2);
    QVERIFY(manager.cancel(sameThread.at(0)));
    QVERIFY(manager.cancel(sameThread.at(1)));
    QVERIFY(!manager.netObject(sameThread.at(0)));
    QCOMPARE(manager.regist(QStringLiteral("w6"), NetworkHandle::UDP, NetworkChannel())->handle()->thread(),
             freed);
}

QTEST_GUILESS_MAIN(TestNetwork)
#include "tst_network.moc"
