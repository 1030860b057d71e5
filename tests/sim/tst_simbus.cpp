// The bench on a virtual CAN bus: raw peers on the bus's TCP port and the QtSerialBus plug-in
// as a client, the bus's forwarding between peers, bad lines, unplug and plug, and the
// executable's --bus front end.
#include "simharness.h"

#include "sim/simbus.h"
#include "sim/simcontrol.h"

#include <QCanBus>
#include <QCanBusDevice>
#include <QCanBusFrame>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>

using namespace simtest;

namespace {

// A peer on the bus speaking the line protocol by hand.
class Peer {
public:
    bool join(quint16 port, const QByteArray& channel = "can0") {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        if (!m_socket.waitForConnected(5000))
            return false;
        m_socket.write("connect:" + channel + '\n');
        return true;
    }
    void send(const QByteArray& line) { m_socket.write(line + '\n'); }
    // Lines received so far; waits (serving the event loop) until at least `count` are there.
    QList<QByteArray> lines(int count, int timeoutMs = 5000) {
        const bool arrived = QTest::qWaitFor(
            [&] {
                read();
                return m_lines.size() >= count;
            },
            timeoutMs);
        Q_UNUSED(arrived);  // the caller compares what came
        return m_lines;
    }
    bool staysQuiet(int ms) {
        QTest::qWait(ms);
        read();
        return m_lines.isEmpty();
    }
    QTcpSocket& socket() { return m_socket; }

private:
    void read() {
        while (m_socket.canReadLine())
            m_lines << m_socket.readLine().trimmed();
    }
    QTcpSocket m_socket;
    QList<QByteArray> m_lines;
};

// A request as the virtual bus carries it, on channel can0.
QByteArray requestLine(const CanFrame& f, const QByteArray& channel = "can0") {
    return channel + ':' + QByteArray::number(f.id) + "#X#" +
           QByteArray(reinterpret_cast<const char*>(f.data.data()), f.length).toHex();
}

CanFrame frameOf(const QByteArray& line) {
    const QList<QByteArray> parts = line.split('#');
    CanFrame f;
    f.id = parts.value(0).toUInt();
    const QByteArray data = QByteArray::fromHex(parts.value(2));
    f.length = quint8(data.size());
    std::copy(data.begin(), data.end(), f.data.begin());
    return f;
}

SimBus::Address anyPort() {
    SimBus::Address a;
    a.port = 0;
    return a;
}

}  // namespace

class TstSimBus : public QObject {
    Q_OBJECT

private slots:
    void addresses_data();
    void addresses();
    void motorsAnswerOnTheirChannel();
    void peersSeeEachOther();
    void pluginClientTalksToTheMotors();
    void badLinesAreRejected_data();
    void badLinesAreRejected();
    void faultsApplyOnTheBus();
    void unplugDropsPeersAndPlugServesAgain();
    void executable();
    void executableRefusesSerialOptions_data();
    void executableRefusesSerialOptions();
};

void TstSimBus::addresses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("channel");
    QTest::newRow("full") << "virtualcan:tcp://127.0.0.1:4000/can0" << true << 4000 << 0;
    QTest::newRow("second channel") << "virtualcan:tcp://127.0.0.1:4000/can1" << true << 4000 << 1;
    QTest::newRow("free port") << "virtualcan:tcp://127.0.0.1:0/can0" << true << 0 << 0;
    QTest::newRow("default port") << "virtualcan:tcp://localhost/can0" << true << 35468 << 0;
    QTest::newRow("no such channel") << "virtualcan:tcp://127.0.0.1:4000/can2" << false << 0 << 0;
    QTest::newRow("no channel") << "virtualcan:tcp://127.0.0.1:4000" << false << 0 << 0;
    QTest::newRow("beyond this machine") << "virtualcan:tcp://192.0.2.1:4000/can0" << false << 0 << 0;
    QTest::newRow("another plug-in") << "socketcan:can0" << false << 0 << 0;
    QTest::newRow("not a URL scheme") << "virtualcan:udp://127.0.0.1:4000/can0" << false << 0 << 0;
    QTest::newRow("port out of range") << "virtualcan:tcp://127.0.0.1:70000/can0" << false << 0 << 0;
}

void TstSimBus::addresses() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    SimBus::Address a;
    QString error;
    QCOMPARE(SimBus::parseAddress(text, &a, &error), ok);
    QCOMPARE(error.isEmpty(), ok);
    if (!ok)
        return;
    QFETCH(int, port);
    QFETCH(int, channel);
    QCOMPARE(int(a.port), port);
    QCOMPARE(a.channel, channel);
}

void TstSimBus::motorsAnswerOnTheirChannel() {
    Host host;
    SimBus::Address address = anyPort();
    address.channel = 1;
    SimBus bus(host.adapter.get(), address);
    QString error;
    QVERIFY2(bus.plug(&error), qPrintable(error));
    const QUrl url(bus.address().mid(QStringLiteral("virtualcan:").size()));
    QVERIFY(url.port() > 0);
    QCOMPARE(url.fileName(), QStringLiteral("can1"));

    Peer host1;
    QVERIFY(host1.join(quint16(url.port()), "can1"));
    host1.send(requestLine(request(CANCOM_ANNOUNCE_DEVID, 0, 2), "can1"));
    const QList<QByteArray> lines = host1.lines(1);
    QCOMPARE(lines.size(), 1);
    // The reply is an extended frame from motor 2 carrying its MCU ID.
    QVERIFY(lines[0].contains("#X#"));
    const CanFrame reply = frameOf(lines[0]);
    QCOMPARE(int(reply.type()), int(CANCOM_ANNOUNCE_DEVID));
    QCOMPARE(qFromLittleEndian<quint64>(reply.data.data()), host.motor(1)->mcuId());

    // The same request on the other channel reaches no motor.
    Peer other;
    QVERIFY(other.join(quint16(url.port()), "can0"));
    other.send(requestLine(request(CANCOM_ANNOUNCE_DEVID, 0, 2), "can0"));
    QVERIFY(other.staysQuiet(300));
    QCOMPARE(host.adapter->counters().framesIn, qint64(1));
}

void TstSimBus::peersSeeEachOther() {
    Host host;
    SimBus bus(host.adapter.get(), anyPort());
    QString error;
    QVERIFY2(bus.plug(&error), qPrintable(error));
    const quint16 port = quint16(QUrl(bus.address().mid(11)).port());
    Peer a, monitor, elsewhere;
    QVERIFY(a.join(port));
    QVERIFY(monitor.join(port));
    QVERIFY(elsewhere.join(port, "can1"));
    QTRY_COMPARE(bus.clients(), 3);
    // A second peer on the channel (a bus monitor) sees the request and the motor's answer;
    // the sender gets no echo of its own frame; another channel sees nothing.
    const QByteArray line = requestLine(request(CANCOM_ANNOUNCE_DEVID, 0, 1));
    a.send(line);
    const QList<QByteArray> seen = monitor.lines(2);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0], line.mid(5));
    QCOMPARE(int(frameOf(seen[1]).type()), int(CANCOM_ANNOUNCE_DEVID));
    QCOMPARE(a.lines(1), QList<QByteArray>{seen[1]});
    QVERIFY(elsewhere.staysQuiet(200));
    // Frames the motors cannot take (standard or remote) still pass between peers.
    a.send("can0:291#R#");
    QCOMPARE(monitor.lines(3).value(2), QByteArray("291#R#"));
    QCOMPARE(host.adapter->counters().framesIn, qint64(1));
}

void TstSimBus::pluginClientTalksToTheMotors() {
    Host host;
    SimBus bus(host.adapter.get(), anyPort());
    QString error;
    QVERIFY2(bus.plug(&error), qPrintable(error));
    const QString interface = bus.address().mid(QStringLiteral("virtualcan:").size());
    std::unique_ptr<QCanBusDevice> device(
        QCanBus::instance()->createDevice(QStringLiteral("virtualcan"), interface, &error));
    QVERIFY2(device, qPrintable(error));
    QVERIFY(device->connectDevice());
    QTRY_COMPARE_WITH_TIMEOUT(device->state(), QCanBusDevice::ConnectedState, 5000);
    QTRY_COMPARE(bus.clients(), 1);

    for (quint8 canId : {1, 2}) {
        const CanFrame req = request(CANCOM_ANNOUNCE_DEVID, 0, canId);
        QCanBusFrame out(req.id, QByteArray(reinterpret_cast<const char*>(req.data.data()), req.length));
        out.setExtendedFrameFormat(true);
        QVERIFY(device->writeFrame(out));
    }
    QVector<QCanBusFrame> frames;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            frames += device->readAllFrames();
            return frames.size() >= 2;
        }(),
        5000);
    QSet<quint64> ids;
    for (const QCanBusFrame& f : frames) {
        QVERIFY(f.hasExtendedFrameFormat());
        QCOMPARE(f.payload().size(), 8);
        ids << qFromLittleEndian<quint64>(f.payload().constData());
    }
    QCOMPARE(ids, (QSet<quint64>{host.motor(0)->mcuId(), host.motor(1)->mcuId()}));
    device->disconnectDevice();
    QTRY_COMPARE(bus.clients(), 0);
}

void TstSimBus::badLinesAreRejected_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("no channel") << QByteArray("1#X#00");
    QTest::newRow("unknown channel") << QByteArray("can7:1#X#00");
    QTest::newRow("id not a number") << QByteArray("can0:abc#X#00");
    QTest::newRow("extended id too large") << QByteArray("can0:536870912#X#00");
    QTest::newRow("standard id too large") << QByteArray("can0:2048##00");
    QTest::newRow("unknown flag") << QByteArray("can0:1#Q#00");
    QTest::newRow("odd hex") << QByteArray("can0:1#X#0");
    QTest::newRow("not hex") << QByteArray("can0:1#X#zz");
    QTest::newRow("too many fields") << QByteArray("can0:1#X#00#00");
    QTest::newRow("too long for any frame") << QByteArray("can0:1#XF#" + QByteArray(130, 'a'));
    QTest::newRow("join an unknown channel") << QByteArray("connect:vcan0");
}

void TstSimBus::badLinesAreRejected() {
    QFETCH(QByteArray, line);
    Host host;
    SimBus bus(host.adapter.get(), anyPort());
    QString error;
    QVERIFY2(bus.plug(&error), qPrintable(error));
    const quint16 port = quint16(QUrl(bus.address().mid(11)).port());
    Peer sender, monitor;
    QVERIFY(sender.join(port));
    QVERIFY(monitor.join(port));
    sender.send(line);
    QTRY_COMPARE(bus.rejected(), qint64(1));
    // Nothing was passed on, and the bus still works for the same peer.
    sender.send(requestLine(request(CANCOM_ANNOUNCE_DEVID, 0, 1)));
    const QList<QByteArray> seen = monitor.lines(2);
    QCOMPARE(seen.size(), 2);
    QVERIFY(seen[0].endsWith("#X#0000000000000000"));
    QCOMPARE(host.adapter->counters().framesIn, qint64(1));
}

void TstSimBus::faultsApplyOnTheBus() {
    Host host;
    SimControl control(host.adapter.get(), nullptr);
    SimBus bus(host.adapter.get(), anyPort());
    QString error;
    QVERIFY2(bus.plug(&error), qPrintable(error));
    Peer peer;
    QVERIFY(peer.join(quint16(QUrl(bus.address().mid(11)).port())));
    const QByteArray ask = requestLine(request(CANCOM_ANNOUNCE_DEVID, 0, 1));

    QCOMPARE(control.execute(QStringLiteral("wrongid on")), QStringLiteral("ok"));
    peer.send(ask);
    QCOMPARE(peer.lines(1).size(), 1);
    QCOMPARE(int(frameOf(peer.lines(1)[0]).dataField() & 0xFF), 2);  // one above motor 1

    QCOMPARE(control.execute(QStringLiteral("wrongid off")), QStringLiteral("ok"));
    QCOMPARE(control.execute(QStringLiteral("silence on")), QStringLiteral("ok"));
    peer.send(ask);
    QTest::qWait(300);
    QCOMPARE(peer.lines(1).size(), 1);

    QCOMPARE(control.execute(QStringLiteral("silence off")), QStringLiteral("ok"));
    QCOMPARE(control.execute(QStringLiteral("drop rx 1")), QStringLiteral("ok"));
    peer.send(ask);
    QTRY_COMPARE(host.adapter->counters().dropped, qint64(1));
    QCOMPARE(peer.lines(1).size(), 1);
}

void TstSimBus::unplugDropsPeersAndPlugServesAgain() {
    Host host;
    SimBus bus(host.adapter.get(), anyPort());
    SimControl control(host.adapter.get(), &bus);
    QString error;
    QVERIFY2(bus.plug(&error), qPrintable(error));
    const QString address = bus.address();
    const quint16 port = quint16(QUrl(address.mid(11)).port());
    Peer peer;
    QVERIFY(peer.join(port));
    QTRY_COMPARE(bus.clients(), 1);
    QSignalSpy gone(&peer.socket(), &QTcpSocket::disconnected);

    QCOMPARE(control.execute(QStringLiteral("unplug")), QStringLiteral("ok"));
    QVERIFY(!bus.plugged());
    QCOMPARE(bus.clients(), 0);
    QVERIFY(gone.wait(5000));
    QTcpSocket refused;
    refused.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(!refused.waitForConnected(2000));

    // The bus comes back on the port it had, even when that was chosen at the first plug.
    QCOMPARE(control.execute(QStringLiteral("plug")), QStringLiteral("ok ") + address);
    Peer again;
    QVERIFY(again.join(port));
    again.send(requestLine(request(CANCOM_ANNOUNCE_DEVID, 0, 1)));
    QCOMPARE(again.lines(1).size(), 1);
}

void TstSimBus::executable() {
    TempCwd cwd;
    const QString log = cwd.path(QStringLiteral("bus.log"));
    QProcess sim;
    sim.start(QStringLiteral(TRIVANE_SIM_BIN),
              {QStringLiteral("--bus"), QStringLiteral("virtualcan:tcp://127.0.0.1:0/can0"),
               QStringLiteral("--motors"), QStringLiteral("2"), QStringLiteral("--log"), log,
               QStringLiteral("--control")});
    QVERIFY(sim.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 10000);
    // The first line is the address a host gives to --bus, with the port the bench took.
    const QString address = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY2(address.startsWith(QLatin1String("virtualcan:tcp://127.0.0.1:")), qPrintable(address));
    const int port = QUrl(address.mid(11)).port();
    QVERIFY(port > 0);

    Peer peer;
    QVERIFY(peer.join(quint16(port)));
    peer.send(requestLine(request(CANCOM_ANNOUNCE_DEVID, 0, 1)));
    peer.send(requestLine(request(CANCOM_ANNOUNCE_DEVID, 0, 2)));
    QCOMPARE(peer.lines(2).size(), 2);
    // The log holds what crossed the bus, with no adapter text.
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray logged = file.readAll();
    QCOMPARE(logged.count(" RX "), 2);
    QCOMPARE(logged.count(" TX "), 2);
    QVERIFY(!logged.contains("text"));

    // End of stdin ends the bench with --control; so does SIGTERM without it.
    sim.closeWriteChannel();
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);

    QProcess second;
    second.start(QStringLiteral(TRIVANE_SIM_BIN), {QStringLiteral("--bus"), address});
    QVERIFY(second.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(second.canReadLine(), 10000);
    QCOMPARE(QString::fromLocal8Bit(second.readLine()).trimmed(), address);
    // The port is taken: a third bench on it says so and stops.
    QProcess third;
    third.start(QStringLiteral(TRIVANE_SIM_BIN), {QStringLiteral("--bus"), address});
    QVERIFY(third.waitForFinished(10000));
    QCOMPARE(third.exitCode(), 2);
    QVERIFY(third.readAllStandardError().contains("cannot serve the bus"));
    second.terminate();
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
}

void TstSimBus::executableRefusesSerialOptions_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("line rate") << QStringList{"--baud", "115200"};
    QTest::newRow("pacing") << QStringList{"--no-pacing"};
    QTest::newRow("device link") << QStringList{"--port-link", "x"};
    QTest::newRow("CR LF in records") << QStringList{"--crlf", "0.5"};
    QTest::newRow("not a virtual bus") << QStringList{};
}

void TstSimBus::executableRefusesSerialOptions() {
    QFETCH(QStringList, args);
    const QString bus = args.isEmpty() ? QStringLiteral("socketcan:can0")
                                       : QStringLiteral("virtualcan:tcp://127.0.0.1:0/can0");
    QProcess sim;
    sim.start(QStringLiteral(TRIVANE_SIM_BIN), QStringList{QStringLiteral("--bus"), bus} + args);
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY(sim.readAllStandardOutput().isEmpty());
    QVERIFY(!sim.readAllStandardError().isEmpty());
}

QTEST_GUILESS_MAIN(TstSimBus)
#include "tst_simbus.moc"
