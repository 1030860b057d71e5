#include "simharness.h"

#include "sim/simparamtable.h"
#include "sim/simpty.h"

#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>

using namespace simtest;

namespace {

// Reads from the port until `want` has arrived (or the time is up), serving the event loop
// meanwhile: the in-process bench lives on this thread too.
QByteArray readUntil(QSerialPort& port, const QByteArray& want, int timeoutMs = 10000) {
    QByteArray got;
    const bool arrived = QTest::qWaitFor(
        [&] {
            got += port.readAll();
            return got.contains(want);
        },
        timeoutMs);
    Q_UNUSED(arrived);  // the caller compares what came
    return got;
}

// True when nothing at all arrives within `ms` (the adapter is deaf at the host's rate).
bool staysQuiet(QSerialPort& port, int ms) {
    QTest::qWait(ms);
    return port.readAll().isEmpty();
}

}  // namespace

class TstSimPty : public QObject {
    Q_OBJECT

private slots:
    void talksAtTheDefaultRate();
    void fallbackRate();
    void executable();
};

void TstSimPty::talksAtTheDefaultRate() {
    SimSettings s = Host::settingsFor(2);
    s.pacing = true;
    SimAdapter adapter(s);
    SimPty pty(&adapter, true);
    QString error;
    QVERIFY2(pty.plug(&error), qPrintable(error));
    QSerialPort port(pty.path());
    port.setBaudRate(921600);
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    port.write("AT+AT\r\n");
    QCOMPARE(readUntil(port, "OK\r\n"), QByteArray("OK\r\n"));
    // The whole description of a motor arrives intact through the paced line.
    port.write(SerialRecord::fromFrame(request(CANCOM_PARA_STR_INFO, 0, 2)));
    const QByteArray bytes =
        readUntil(port, SerialRecord::fromFrame(adapter.motors()[1]->table().describe(2).last()));
    RecordCutter cutter;
    cutter.append(bytes);
    QByteArray rec;
    int frames = 0;
    while (cutter.next(&rec))
        frames += SerialRecord::toFrame(rec, nullptr);
    QCOMPARE(frames, adapter.motors()[1]->table().describe(2).size());
    QCOMPARE(cutter.droppedBytes(), 0);
}

void TstSimPty::fallbackRate() {
    SimSettings s = Host::settingsFor(1);
    s.baud = 115200;
    SimAdapter adapter(s);
    SimPty pty(&adapter, true);
    QString error;
    QVERIFY2(pty.plug(&error), qPrintable(error));
    QSerialPort port(pty.path());
    port.setBaudRate(921600);
    QVERIFY(port.open(QIODevice::ReadWrite));
    port.write("AT+AT\r\n");
    QVERIFY(staysQuiet(port, 300));
    QVERIFY(port.setBaudRate(115200));
    port.write("AT+CG\r\n");
    QCOMPARE(readUntil(port, "OK\r\n"), QByteArray("OK\r\n"));
    port.write("AT+USART_PARAM=921600,0,0,0\r\n");
    QCOMPARE(readUntil(port, "OK\r\n"), QByteArray("OK\r\n"));
    QVERIFY(port.setBaudRate(921600));
    port.write("AT+AT\r\n");
    QCOMPARE(readUntil(port, "OK\r\n"), QByteArray("OK\r\n"));
    port.write(SerialRecord::fromFrame(request(CANCOM_ANNOUNCE_DEVID, 0, 1)));
    const QByteArray ann = readUntil(port, "\r\n");
    CanFrame f;
    QVERIFY(SerialRecord::toFrame(ann, &f));
    QCOMPARE(qFromLittleEndian<quint64>(f.data.data()), adapter.motors()[0]->mcuId());
}

void TstSimPty::executable() {
    TempCwd cwd;
    const QString link = cwd.path(QStringLiteral("bench-port"));
    QProcess sim;
    sim.start(QStringLiteral(TRIVANE_SIM_BIN),
              {QStringLiteral("--motors"), QStringLiteral("2"), QStringLiteral("--port-link"), link,
               QStringLiteral("--control"), QStringLiteral("--print-port")});
    QVERIFY(sim.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 10000);
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY(path.startsWith(QLatin1String("/dev/")));
    QCOMPARE(QFileInfo(link).symLinkTarget(), path);

    QSerialPort port(link);
    port.setBaudRate(921600);
    QVERIFY(port.open(QIODevice::ReadWrite));
    port.write("AT+AT\r\n");
    QCOMPARE(readUntil(port, "OK\r\n"), QByteArray("OK\r\n"));

    // A run-time fault through the control channel takes effect for the very next request,
    // even before its "ok" has been read back.
    sim.write("silence on\n");
    QVERIFY(sim.waitForBytesWritten(5000));
    port.write("AT+AT\r\n");
    QVERIFY(staysQuiet(port, 300));
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 10000);
    QCOMPARE(sim.readLine().trimmed(), QByteArray("ok"));

    // Unplugging closes the master: the port reports an error (resource or read error,
    // depending on what errno Qt happens to see after the hang-up).
    qRegisterMetaType<QSerialPort::SerialPortError>();
    QSignalSpy errors(&port, &QSerialPort::errorOccurred);
    sim.write("unplug\n");
    QTRY_VERIFY_WITH_TIMEOUT(!errors.isEmpty(), 10000);
    const auto first = errors.first().first().value<QSerialPort::SerialPortError>();
    QVERIFY(first == QSerialPort::ResourceError || first == QSerialPort::ReadError);
    port.close();

    sim.terminate();  // SIGTERM: a clean exit that removes the link
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(TstSimPty)
#include "tst_simpty.moc"
