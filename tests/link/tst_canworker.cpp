// The serial link end to end: a real QSerialPort on a pseudo-terminal against the simulated
// bench (adapter and motors), through the worker, the link thread and the registration rules.
#include <QSignalSpy>
#include <QtTest>

#include <QSocketNotifier>

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motionguard.h"
#include "link/motorframes.h"
#include "link/motormodel.h"
#include "link/motorstates.h"
#include "link/otathread.h"
#include "benchtest.h"

namespace {

const QString kFirstMcu = QStringLiteral("3a10c5e700001001");

}  // namespace

class TestCanWorker : public linktest::BenchTest {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void probeAtConfiguredRate();
    void adapterFoundByFallback();
    void fallbackExhausted();
    void factoryRateEndsTheFallback();
    void adapterThatNeverAnswersTheProbe();
    void withoutAtConfiguration();
    void connectWhileOpen();
    void multipleDevicesInProbeOrder();
    void tooManyDevices();
    void secondMotorForbidden_data();
    void secondMotorForbidden();
    void canIdChangeKeepsRecord();
    void modeChanges_data();
    void modeChanges();
    void modeChangeTimesOut();
    void disconnect_data();
    void disconnect();
    void unplugMidScan();
    void setPointOutsideRangeNeverSent();
    void mixedModelsFollowTheCurrentDevice();

private:
    bool connectBench(const QStringList& options);
    bool hasLine(const QString& line) const { return m_lines.contains(line); }
    CANWorker* worker() const { return Helper::instance()->worker(); }
};

void TestCanWorker::init() {
    kx::DataObject* root = kx::d().rootDobj();
    root->set(nullptr, QStringLiteral("config.support_at"), true);
    root->set(nullptr, QStringLiteral("working"), false);
    MotorModel::reset();
    startCase(false);
}

void TestCanWorker::cleanup() {
    endCase();
}

bool TestCanWorker::connectBench(const QStringList& options) {
    const QString path = m_sim->start(options);
    if (path.isEmpty())
        return false;
    worker()->connectPort(path);
    return worker()->isConnected();
}

void TestCanWorker::probeAtConfiguredRate() {
    QSignalSpy changed(worker(), &CANWorker::deviceChanged);
    QVERIFY(connectBench({}));
    QTRY_VERIFY_WITH_TIMEOUT(
        hasLine(QStringLiteral("Detected device: [MCU ID: 0x3a10c5e700001001, CAN ID: 1]")), 15000);
    QCOMPARE(m_lines.first(), QStringLiteral("Detecting devices at serial port %1").arg(m_sim->path()));
    QVERIFY(!m_lines.join('\n').contains(QLatin1String("configuration")));
    kx::DataObject* record = kx::d("project.device")->cdobj(kFirstMcu);
    QVERIFY(!record->isEmpty());
    QCOMPARE(record->r(QStringLiteral("info.mcu_id"))->get().toULongLong(), 0x3a10c5e700001001ull);
    QCOMPARE(record->r(QStringLiteral("info.can_id"))->get().toInt(), 1);
    QVERIFY(record->r(QStringLiteral("_connected"))->getBool());
    QCOMPARE(worker()->deviceForCanId(1), record);
    QCOMPARE(CANWorker::deviceDisplayName(record), QStringLiteral("Motor 1"));
    QVERIFY(changed.count() >= 1);
    QVERIFY(kx::d("working")->getBool());
    QCOMPARE(kx::d("project.serial_port")->getString(), m_sim->path());
    // Single-device mode: the model query ended the scan and the model reply set the ranges.
    QTRY_VERIFY_WITH_TIMEOUT(MotorModel::known(), 5000);
    QCOMPARE(MotorModel::code(), 0);
    // A record deleted behind the worker's back (another project opened) is not handed out.
    kx::d("project.device")->clear(nullptr);
    QCOMPARE(worker()->deviceForCanId(1), nullptr);
}

void TestCanWorker::adapterFoundByFallback() {
    QVERIFY(connectBench({QStringLiteral("--baud"), QStringLiteral("115200")}));
    QTRY_VERIFY_WITH_TIMEOUT(!kx::d("project.device")->cdobj(kFirstMcu)->isEmpty(), 30000);
    const QStringList expected = {
        QStringLiteral("Connect overtime, try baud rate: 9600"),
        QStringLiteral("Connect overtime, try baud rate: 115200"),
        QStringLiteral("USB-CAN module configuration success!"),
        QStringLiteral("Detecting devices at serial port %1").arg(m_sim->path()),
    };
    QCOMPARE(m_lines.mid(0, 4), expected);
    QCOMPARE(worker()->portBaudRate(), 921600);
}

void TestCanWorker::fallbackExhausted() {
    QVERIFY(connectBench({QStringLiteral("--baud"), QStringLiteral("250000")}));
    const QString failed =
        QStringLiteral("<ERROR> USB-CAN module configuration failed, please check physical device!");
    QTRY_VERIFY_WITH_TIMEOUT(hasLine(failed), 30000);
    QCOMPARE(m_lines.count(), 12);  // eleven rates tried, then the failure
    QCOMPARE(m_lines[10], QStringLiteral("Connect overtime, try baud rate: 1152000"));
    QVERIFY(worker()->isConnected());
    QVERIFY(!kx::d("working")->getBool());
}

void TestCanWorker::factoryRateEndsTheFallback() {
    // Configured for 115200 while the adapter is still at its factory 921,600.
    Helper::instance()->destroyBackends();
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.baud_rate"), 115200, true);
    Helper::instance()->createBackends();
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.baud_rate"), 921600, true);
    QCOMPARE(worker()->baudFallbacks().last(), 921600);
    QVERIFY(connectBench({}));
    QTRY_VERIFY_WITH_TIMEOUT(!kx::d("project.device")->cdobj(kFirstMcu)->isEmpty(), 30000);
    QVERIFY(hasLine(QStringLiteral("Connect overtime, try baud rate: 921600")));
    QVERIFY(hasLine(QStringLiteral("USB-CAN module configuration success!")));
    QCOMPARE(worker()->portBaudRate(), 115200);
}

void TestCanWorker::adapterThatNeverAnswersTheProbe() {
    // A faulty adapter: it takes every configuration command but never answers "AT+AT", so
    // each configuration leads back to the fallback. The worker gives up after a few rounds.
    int master = -1;
    int slave = -1;
    char name[128] = {};
    QCOMPARE(openpty(&master, &slave, name, nullptr, nullptr), 0);
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    QByteArray input;
    QSocketNotifier notifier(master, QSocketNotifier::Read);
    connect(&notifier, &QSocketNotifier::activated, this, [&] {
        char buffer[256];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            return;
        input.append(buffer, int(n));
        int end;
        while ((end = input.indexOf("\r\n")) >= 0) {
            const QByteArray line = input.left(end);
            input.remove(0, end + 2);
            if (line != "AT+AT" && ::write(master, "OK\r\n", 4) != 4)
                QFAIL("could not answer");
        }
    });
    worker()->connectPort(QString::fromLocal8Bit(name));
    QVERIFY(worker()->isConnected());
    const QString failed =
        QStringLiteral("<ERROR> USB-CAN module configuration failed, please check physical device!");
    QTRY_VERIFY_WITH_TIMEOUT(hasLine(failed), 30000);
    QCOMPARE(m_lines.count(QStringLiteral("USB-CAN module configuration success!")), 3);
    QCOMPARE(m_lines.last(), failed);
    QVERIFY(!kx::d("working")->getBool());
    worker()->disconnectPort();
    ::close(slave);
    ::close(master);
}

void TestCanWorker::withoutAtConfiguration() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.support_at"), false);
    QVERIFY(connectBench({}));
    QTRY_VERIFY_WITH_TIMEOUT(!kx::d("project.device")->cdobj(kFirstMcu)->isEmpty(), 15000);
    QVERIFY(!m_lines.join('\n').contains(QLatin1String("Detecting devices")));
}

void TestCanWorker::connectWhileOpen() {
    QVERIFY(connectBench({}));
    m_lines.clear();
    worker()->connectPort(QStringLiteral("/dev/null"));
    QCOMPARE(m_lines, QStringList{QStringLiteral("Serial port %1 is already connected.").arg(m_sim->path())});
    QCOMPARE(worker()->portName(), m_sim->path());
}

void TestCanWorker::multipleDevicesInProbeOrder() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true);
    QSignalSpy finished(worker()->link(), &otaThread::scanFinished);
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("3"), QStringLiteral("--can-ids"),
                          QStringLiteral("5,1,9")}));
    QVERIFY(finished.wait(30000));
    QTRY_COMPARE_WITH_TIMEOUT(kx::d("project.device")->size(), 3, 5000);
    // Probe order 1, 8, ..., then 1 + 8k (9), ..., 5 + 8k: the announcements follow it.
    QStringList canIds;
    for (kx::DataObject* record : kx::d("project.device")->cdobjs())
        canIds << QString::number(record->r(QStringLiteral("info.can_id"))->get().toInt());
    QCOMPARE(canIds, (QStringList{"1", "9", "5"}));
    QCOMPARE(worker()->link()->deviceCount(), 3);
    QCOMPARE(worker()->registeredCanIds().size(), 3);
}

void TestCanWorker::tooManyDevices() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true);
    QSignalSpy closed(worker(), &CANWorker::connectionChanged);
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("14")}));
    QTRY_VERIFY_WITH_TIMEOUT(hasLine(QStringLiteral("<ERROR> Too many devices detected!")), 30000);
    QVERIFY(!worker()->isConnected());
    // The disconnect removed the eleven records that were accepted.
    QCOMPARE(kx::d("project.device")->size(), 0);
    QCOMPARE(worker()->link()->step(), int(STEP_STOP));
}

void TestCanWorker::secondMotorForbidden_data() {
    QTest::addColumn<int>("existing");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("one record: forbidden") << 1 << false;
    // The rule guards a single record only: a project that already holds two takes a third.
    QTest::newRow("two records: accepted") << 2 << true;
}

void TestCanWorker::secondMotorForbidden() {
    QFETCH(int, existing);
    QFETCH(bool, accepted);
    kx::DataObject* devices = kx::d("project.device");
    for (int i = 0; i < existing; ++i)
        devices->insert(nullptr, new kx::DataObject(QStringLiteral("abc%1").arg(i)));
    QVERIFY(connectBench({}));
    if (accepted) {
        QTRY_VERIFY_WITH_TIMEOUT(!devices->cdobj(kFirstMcu)->isEmpty(), 15000);
        QCOMPARE(devices->size(), existing + 1);
        QVERIFY(!hasLine(QStringLiteral("Multiple devices connection is forbidden.")));
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(hasLine(QStringLiteral("Multiple devices connection is forbidden.")), 15000);
        QCOMPARE(devices->size(), existing);
        QVERIFY(devices->cdobj(kFirstMcu)->isEmpty());
    }
}

void TestCanWorker::canIdChangeKeepsRecord() {
    QVERIFY(connectBench({}));
    QTRY_VERIFY_WITH_TIMEOUT(!kx::d("project.device")->cdobj(kFirstMcu)->isEmpty(), 15000);
    kx::DataObject* record = kx::d("project.device")->cdobj(kFirstMcu);
    Helper::instance()->setCurrentDeviceDobj(record);
    QSignalSpy status(worker(), &CANWorker::linkStatus);
    QVERIFY(LinkCommands::send(
        LinkCommand::setCanId(MotionGuard::canIdOf(Helper::instance()->currentDeviceDobj()), 7)));
    QVERIFY(hasLine(QStringLiteral("Send Z48 Command SET_CAN_ID to CAN(1): can id = 7")));
    QTRY_COMPARE_WITH_TIMEOUT(record->r(QStringLiteral("info.can_id"))->get().toInt(), 7, 10000);
    QCOMPARE(kx::d("project.device")->size(), 1);
    QCOMPARE(worker()->deviceForCanId(7), record);
    QCOMPARE(worker()->deviceForCanId(1), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(
        std::any_of(status.begin(), status.end(),
                    [](const QList<QVariant>& args) { return args[0].toInt() == OTA_STA_SET_ID_SUCCESS; }),
        10000);
}

void TestCanWorker::modeChanges_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("logLine");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("motor") << 1 << "Send Z48 Command SET_MODE to CAN(1): motor mode"
                           << "Set MOTOR mode successfully!";
    QTest::newRow("reset") << 2 << "Send Z48 Command SET_MODE to CAN(1): reset mode"
                           << "Set RESET mode successfully!";
    QTest::newRow("brake") << 0 << "Send Z48 Command SET_MODE to CAN(1): break mode"
                           << "Set BRAKE mode successfully!";
    QTest::newRow("unknown number brakes") << 7 << "Send Z48 Command SET_MODE to CAN(1): unknown mode (7)"
                                           << "Set BRAKE mode successfully!";
}

void TestCanWorker::modeChanges() {
    QFETCH(int, mode);
    QFETCH(QString, logLine);
    QFETCH(QString, outcome);
    QVERIFY(connectBench({}));
    QTRY_VERIFY_WITH_TIMEOUT(!kx::d("project.device")->cdobj(kFirstMcu)->isEmpty(), 15000);
    Helper::instance()->setCurrentDeviceDobj(kx::d("project.device")->cdobj(kFirstMcu));
    QVERIFY(LinkCommands::send(
        LinkCommand::setMode(MotionGuard::canIdOf(Helper::instance()->currentDeviceDobj()), mode)));
    QVERIFY(hasLine(logLine));
    QTRY_VERIFY_WITH_TIMEOUT(hasLine(outcome), 10000);
}

void TestCanWorker::modeChangeTimesOut() {
    QVERIFY(connectBench({}));
    QTRY_VERIFY_WITH_TIMEOUT(!kx::d("project.device")->cdobj(kFirstMcu)->isEmpty(), 15000);
    Helper::instance()->setCurrentDeviceDobj(kx::d("project.device")->cdobj(kFirstMcu));
    m_sim->command("drop tx 1");  // the motors' replies are lost
    QElapsedTimer timer;
    timer.start();
    QVERIFY(LinkCommands::send(
        LinkCommand::setMode(MotionGuard::canIdOf(Helper::instance()->currentDeviceDobj()), 1)));
    QTRY_VERIFY_WITH_TIMEOUT(hasLine(QStringLiteral("<ERROR> Set MOTOR mode failed!")), 15000);
    QVERIFY(timer.elapsed() >= 2000);
}

void TestCanWorker::disconnect_data() {
    QTest::addColumn<bool>("remove");
    QTest::newRow("records removed") << true;
    QTest::newRow("records kept, marked") << false;
}

void TestCanWorker::disconnect() {
    QFETCH(bool, remove);
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.remove_device_on_disconnected"), remove);
    QVERIFY(connectBench({}));
    QTRY_VERIFY_WITH_TIMEOUT(!kx::d("project.device")->cdobj(kFirstMcu)->isEmpty(), 15000);
    Helper::instance()->setCurrentDeviceDobj(kx::d("project.device")->cdobj(kFirstMcu));
    QSignalSpy changed(worker(), &CANWorker::deviceChanged);
    worker()->disconnectPort();
    QVERIFY(!worker()->isConnected());
    QCOMPARE(changed.count(), 1);
    QVERIFY(!kx::d("working")->getBool());
    QCOMPARE(worker()->deviceForCanId(1), nullptr);
    kx::DataObject* record = kx::d("project.device")->cdobj(kFirstMcu);
    if (remove) {
        QCOMPARE(kx::d("project.device")->size(), 0);
        // The current device does not dangle once its record is gone.
        QVERIFY(Helper::instance()->currentDeviceDobj()->isEmpty());
    } else {
        QVERIFY(!record->isEmpty());
        QVERIFY(!record->r(QStringLiteral("_connected"))->getBool(true));
    }
    worker()->disconnectPort();  // a second disconnect changes nothing
    QCOMPARE(changed.count(), 1);
}

void TestCanWorker::unplugMidScan() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true);
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("2"), QStringLiteral("--can-ids"),
                          QStringLiteral("1,100")}));
    QTRY_VERIFY_WITH_TIMEOUT(kx::d("project.device")->size() == 1, 15000);
    QCOMPARE(worker()->link()->step(), int(STEP_GET_DEV_INFO));
    m_sim->command("unplug");
    QTRY_VERIFY_WITH_TIMEOUT(!worker()->isConnected(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_prompt.boxes().isEmpty(), 10000);
    // A vanished pseudo-terminal reads as a resource or a read error, depending on timing; the
    // motor found so far stays listed, and the user is asked whether to wait for the adapter.
    QVERIFY2(m_prompt.boxes().first().startsWith(QStringLiteral("Trivane Notice: Serial port ")),
             qPrintable(m_prompt.boxes().first()));
    QCOMPARE(worker()->link()->step(), int(STEP_STOP));
    QCOMPARE(kx::d("project.device")->size(), 1);
    QVERIFY(!kx::d("project.device")->c(0)->c(QStringLiteral("_connected"))->getBool(true));
    QVERIFY(!kx::d("working")->getBool());
}

void TestCanWorker::setPointOutsideRangeNeverSent() {
    QVERIFY(connectBench({}));
    QTRY_VERIFY_WITH_TIMEOUT(MotorModel::known(), 15000);
    Helper::instance()->setCurrentDeviceDobj(kx::d("project.device")->cdobj(kFirstMcu));
    QSignalSpy writes(worker()->link(), &otaThread::WriteToSerial);
    const int target = MotionGuard::canIdOf(Helper::instance()->currentDeviceDobj());
    MotorFrames::MitSetpoints sp;
    sp.position = 20;
    QVERIFY(!LinkCommands::send(LinkCommand::mitControl(target, sp)));
    QCOMPARE(m_lines.last(),
             QStringLiteral("<ERROR> Position 20 is outside the range [-12.5, 12.5]: command refused."));
    sp.position = 12.5;
    QVERIFY(LinkCommands::send(LinkCommand::mitControl(target, sp)));
    QCOMPARE(writes.count(), 1);
}

void TestCanWorker::mixedModelsFollowTheCurrentDevice() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true);
    QSignalSpy finished(worker()->link(), &otaThread::scanFinished);
    QSignalSpy changed(worker(), &CANWorker::motorChanged);
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("2"), QStringLiteral("--models"),
                          QStringLiteral("0:2,4:1")}));
    QVERIFY(finished.wait(30000));
    worker()->link()->sendFrame(MotorFrames::modelQuery(1));
    worker()->link()->sendFrame(MotorFrames::modelQuery(2));
    QTRY_VERIFY_WITH_TIMEOUT(MotorStates::get(1).modelKnown && MotorStates::get(2).modelKnown, 10000);
    QCOMPARE(MotorStates::get(2).modelCode, 4);
    QVERIFY(changed.contains(QList<QVariant>{QVariant::fromValue<quint8>(2), -1}));

    // The process-wide model is the current device's, whichever motor replied last.
    Helper::instance()->setCurrentDeviceDobj(kx::d("project.device")->cdobj(kFirstMcu));
    QCOMPARE(MotorModel::code(), 0);
    Helper::instance()->setCurrentDeviceDobj(
        kx::d("project.device")->cdobj(QStringLiteral("3a10c5e700002002")));
    QCOMPARE(MotorModel::code(), 4);
    worker()->link()->sendFrame(MotorFrames::modelQuery(1));
    QTRY_VERIFY_WITH_TIMEOUT(changed.count(QList<QVariant>{QVariant::fromValue<quint8>(1), -1}) == 2, 10000);
    QCOMPARE(MotorModel::code(), 4);
}

LINK_TEST_MAIN(TestCanWorker)
#include "tst_canworker.moc"
