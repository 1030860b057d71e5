#include "simharness.h"

#include "sim/simcontrol.h"

#include <QElapsedTimer>
#include <QFile>

using namespace simtest;

class TstSimAdapter : public QObject {
    Q_OBJECT

private slots:
    void textFace_data();
    void textFace();
    void hearsOnlyAtItsRate();
    void frameSplitAcrossWrites();
    void faultsThroughControl_data();
    void faultsThroughControl();
    void latency();
    void controlRejectsBadInput_data();
    void controlRejectsBadInput();
    void logsEveryRecord();
};

void TstSimAdapter::textFace_data() {
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("probe") << QByteArray("AT+AT\r\n") << QByteArray("OK\r\n");
    QTest::newRow("config") << QByteArray("AT+CG\r\n") << QByteArray("OK\r\n");
    QTest::newRow("mode") << QByteArray("AT+CAN_MODE=0\r\n") << QByteArray("OK\r\n");
    QTest::newRow("format") << QByteArray("AT+CAN_FRAMEFORMAT=1,0,1,0\r\n") << QByteArray("OK\r\n");
    QTest::newRow("filter") << QByteArray("AT+CAN_FILTER0=1,0,0,0\r\n") << QByteArray("OK\r\n");
    QTest::newRow("bus rate") << QByteArray("AT+CAN_BAUD=1000000\r\n") << QByteArray("OK\r\n");
    QTest::newRow("unknown") << QByteArray("AT+FOO\r\n") << QByteArray("ERROR\r\n");
    QTest::newRow("bad line rate") << QByteArray("AT+USART_PARAM=x,0,0,0\r\n") << QByteArray("ERROR\r\n");
}

void TstSimAdapter::textFace() {
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    Host host;
    host.text(command);
    QCOMPARE(host.lines, QList<QByteArray>{answer});
    QCOMPARE(host.adapter->rate(), 921600);
}

void TstSimAdapter::hearsOnlyAtItsRate() {
    SimSettings s = Host::settingsFor(1);
    s.baud = 115200;
    Host host(s);
    host.adapter->setHostRate(921600);
    host.text("AT+AT\r\n");
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 1));
    QVERIFY(host.raw.isEmpty());
    QVERIFY(host.adapter->counters().unheard > 0);
    // The fallback: the host tries the adapter's rate, configures it, and returns to its own.
    host.adapter->setHostRate(115200);
    host.text("AT+CG\r\n");
    host.text("AT+USART_PARAM=921600,0,0,0\r\n");
    QCOMPARE(host.lines, (QList<QByteArray>{"OK\r\n", "OK\r\n"}));  // the answer left at the old rate
    QCOMPARE(host.adapter->rate(), 921600);
    host.text("AT+AT\r\n");
    QCOMPARE(host.lines.size(), 2);  // the host still listens at 115200
    host.adapter->setHostRate(921600);
    host.text("AT+AT\r\n");
    QCOMPARE(host.lines.size(), 3);
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 1));
    QCOMPARE(host.take().size(), 1);
}

void TstSimAdapter::frameSplitAcrossWrites() {
    Host host;
    // A reset request whose data hold 0D 0A, fed byte by byte after some noise.
    CanFrame f = request(CANCOM_MOTOR_RESET, 0, 2, {0x0D, 0x0A, 0x0D, 0x0A});
    const QByteArray bytes = "\x01\x02zz" + SerialRecord::fromFrame(f) + "AT+AT\r\n";
    for (char c : bytes)
        host.text(QByteArray(1, c));
    QCOMPARE(host.take().size(), 1);
    QCOMPARE(host.lines, QList<QByteArray>{"OK\r\n"});
    QCOMPARE(host.motor(1)->mode(), SimMotor::Reset);
}

void TstSimAdapter::faultsThroughControl_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("frames");  // frames back for one identity request and one model query
    QTest::addColumn<int>("canId");   // CAN ID the announcement names
    QTest::addColumn<bool>("crlfInData");
    QTest::newRow("none") << QString() << 2 << 1 << false;
    QTest::newRow("drop tx") << "drop tx 1" << 0 << 0 << false;
    QTest::newRow("drop rx") << "drop rx 1" << 0 << 0 << false;
    QTest::newRow("silence") << "silence on" << 0 << 0 << false;
    QTest::newRow("wrong id") << "wrongid on" << 2 << 2 << false;
    QTest::newRow("crlf") << "crlf 1" << 2 << 1 << true;
}

void TstSimAdapter::faultsThroughControl() {
    QFETCH(QString, command);
    QFETCH(int, frames);
    QFETCH(int, canId);
    QFETCH(bool, crlfInData);
    Host host;
    SimControl control(host.adapter.get(), nullptr);
    if (!command.isEmpty())
        QCOMPARE(control.execute(command), QStringLiteral("ok"));
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 1));
    host.send(request(CANCOM_MOTOR_IN, 0, 1));
    const QList<CanFrame> got = host.take();
    QCOMPARE(got.size(), frames);
    if (frames == 0)
        return;
    QCOMPARE(int(got[0].dataField() & 0x7F), canId);
    // CR LF in the feedback's spare bytes: the record still cuts whole, the values are intact.
    QCOMPARE(got[1].data[6] == 0x0D && got[1].data[7] == 0x0A, crlfInData);
    QCOMPARE(int(got[1].data[0] << 8 | got[1].data[1]), 32767);
}

void TstSimAdapter::latency() {
    Host host;
    SimControl control(host.adapter.get(), nullptr);
    QCOMPARE(control.execute(QStringLiteral("latency 150")), QStringLiteral("ok"));
    QElapsedTimer clock;
    clock.start();
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 1));
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 2));
    QVERIFY(host.frames.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(host.frames.size(), 2, 5000);
    QVERIFY(clock.elapsed() >= 140);
    QCOMPARE(int(host.frames[0].dataField() & 0x7F), 1);  // order kept
    QCOMPARE(control.execute(QStringLiteral("latency 0")), QStringLiteral("ok"));
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 1));
    QCOMPARE(host.frames.size(), 3);
}

void TstSimAdapter::controlRejectsBadInput_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("fraction above 1") << "drop tx 1.5";
    QTest::newRow("no direction") << "corrupt 0.5";
    QTest::newRow("negative latency") << "latency -3";
    QTest::newRow("not on/off") << "silence maybe";
    QTest::newRow("no such motor") << "fault 99 1";
    QTest::newRow("unknown") << "explode";
    QTest::newRow("plug without pty") << "plug";
}

void TstSimAdapter::controlRejectsBadInput() {
    QFETCH(QString, command);
    Host host;
    SimControl control(host.adapter.get(), nullptr);
    QVERIFY(control.execute(command).startsWith(QLatin1String("error")));
    // Nothing changed: the bench still answers normally.
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 1));
    QCOMPARE(host.take().size(), 1);
    QVERIFY(control.execute(QStringLiteral("status")).startsWith(QLatin1String("ok rate 921600")));
}

void TstSimAdapter::logsEveryRecord() {
    TempCwd cwd;
    Host host;
    QVERIFY(host.adapter->openLog(cwd.path(QStringLiteral("frames.log"))));
    SimControl control(host.adapter.get(), nullptr);
    host.text("AT+AT\r\n");
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 2));
    control.execute(QStringLiteral("drop tx 1"));
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 1));
    QFile log(cwd.path(QStringLiteral("frames.log")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    QCOMPARE(lines.size(), 6 + 1);
    QVERIFY(lines[0].contains(" RX 41 54 2b 41 54 0d 0a text"));
    QVERIFY(lines[1].contains(" TX 4f 4b 0d 0a text"));
    QVERIFY(lines[2].contains(" RX ") && lines[2].contains("CANCOM_ANNOUNCE_DEVID"));
    QVERIFY(lines[3].contains(" TX ") && lines[3].contains("id 0x000002fe"));
    QVERIFY(lines[5].contains(" TX ") && lines[5].endsWith("(dropped)"));
}

QTEST_GUILESS_MAIN(TstSimAdapter)
#include "tst_simadapter.moc"
