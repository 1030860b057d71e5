// The link over a CAN interface end to end: the worker, the link thread and the features on
// QtSerialBus's virtualcan plug-in against the simulated bench serving the bus. No adapter
// sits in between: no AT lines, no line rates; the bus is probed directly.
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/flows/calibrateflow.h"
#include "link/flows/linklease.h"
#include "link/flows/modeflow.h"
#include "link/flows/moveflow.h"
#include "link/flows/paramreadflow.h"
#include "link/flows/safestateflow.h"
#include "link/flows/scopeflow.h"
#include "link/linkcommand.h"
#include "link/motorstates.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motorframes.h"
#include "link/motormodel.h"
#include "link/otathread.h"
#include "link/param/paramfeature.h"
#include "link/param/paramwalker.h"
#include "link/reconnectwatcher.h"
#include "link/scope/scopeacquisition.h"
#include "link/tap/frametap.h"
#include "link/tap/tapsubscription.h"
#include "link/transport/canbustransport.h"
#include "benchtest.h"

namespace {

const QString kFirstMcu = QStringLiteral("3a10c5e700001001");

// A loopback port nobody serves: taken from the system, then let go.
quint16 unservedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

}  // namespace

class TestCanBus : public linktest::BenchTest {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void detectsOneMotorWithoutAdapterTraffic();
    void detectsSeveralMotors();
    void modeChange();
    void flowsRunAsBehindTheAdapter();
    void parameterTableDescribedAndRead();
    void scopeStreams();
    void unplugWithoutAutoConnectKeepsTheMotors();
    void unplugAndReplugReconnects();
    void badAddressesFailAtOnce_data();
    void badAddressesFailAtOnce();
    void lastFramesBeforeCloseReachTheBus();

private:
    bool connectBus(const QStringList& options);
    bool hasLine(const QString& line) const { return m_lines.contains(line); }
    bool hasLineContaining(const QString& part) const {
        return std::any_of(m_lines.cbegin(), m_lines.cend(),
                           [&](const QString& l) { return l.contains(part); });
    }
    kx::DataObject* firstRecord() const { return kx::d("project.device")->cdobj(kFirstMcu); }
    CANWorker* worker() const { return Helper::instance()->worker(); }

    QString m_address;
};

void TestCanBus::init() {
    kx::DataObject* root = kx::d().rootDobj();
    root->set(nullptr, QStringLiteral("config.support_at"), true);
    root->set(nullptr, QStringLiteral("config.setting.auto_connect"), false, true);
    root->set(nullptr, QStringLiteral("working"), false);
    MotorModel::reset();
    startCase(false);
}

void TestCanBus::cleanup() {
    endCase();
}

bool TestCanBus::connectBus(const QStringList& options) {
    m_address = m_sim->startBus(options);
    if (m_address.isEmpty())
        return false;
    worker()->connectPort(m_address);
    return worker()->isConnected();
}

void TestCanBus::detectsOneMotorWithoutAdapterTraffic() {
    auto tap = FrameTap::instance().subscribe(100000);
    QVERIFY(connectBus({}));
    QVERIFY(!worker()->carriesAdapterCommands());
    QTRY_VERIFY_WITH_TIMEOUT(
        hasLine(QStringLiteral("Detected device: [MCU ID: 0x3a10c5e700001001, CAN ID: 1]")), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(MotorModel::known(), 5000);
    FrameTap::instance().unsubscribe(tap);
    QCOMPARE(m_lines.first(), QStringLiteral("Detecting devices on CAN interface %1").arg(m_address));
    QVERIFY(!m_lines.join('\n').contains(QLatin1String("baud")));
    QCOMPARE(worker()->deviceForCanId(1), firstRecord());
    QVERIFY(kx::d("working")->getBool());
    // Every record written and received was a frame: nothing for an adapter went out.
    const QVector<TapRecord> seen = tap->take();
    QVERIFY(!seen.isEmpty());
    for (const TapRecord& r : seen)
        QCOMPARE(r.kind, TapRecord::Kind::Frame);
}

void TestCanBus::detectsSeveralMotors() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true);
    QSignalSpy finished(worker()->link(), &otaThread::scanFinished);
    QVERIFY(connectBus({QStringLiteral("--motors"), QStringLiteral("3"), QStringLiteral("--can-ids"),
                        QStringLiteral("5,1,9")}));
    QVERIFY(finished.wait(30000));
    QTRY_COMPARE_WITH_TIMEOUT(kx::d("project.device")->size(), 3, 5000);
    // The same probe order as behind the adapter: 1, 9, then 5.
    QStringList canIds;
    for (kx::DataObject* record : kx::d("project.device")->cdobjs())
        canIds << QString::number(record->r(QStringLiteral("info.can_id"))->get().toInt());
    QCOMPARE(canIds, (QStringList{"1", "9", "5"}));
    QCOMPARE(worker()->registeredCanIds().size(), 3);
}

void TestCanBus::modeChange() {
    QVERIFY(connectBus({}));
    QTRY_VERIFY_WITH_TIMEOUT(!firstRecord()->isEmpty(), 15000);
    // The same flows run over the bus as behind the adapter.
    const FlowResult on = ModeFlow(1, ModeFlow::Mode::Motor).run();
    QVERIFY2(on.ok(), qPrintable(on.reason));
    QVERIFY(hasLine(QStringLiteral("Set MOTOR mode successfully!")));
    // A lost reply on the bus ends in the same time-out as behind the adapter.
    m_sim->command("drop tx 1");
    const FlowResult lost = ModeFlow(1, ModeFlow::Mode::Motor).run();
    QCOMPARE(lost.outcome, FlowOutcome::Failed);
    QVERIFY(hasLine(QStringLiteral("<ERROR> Set MOTOR mode failed!")));
}

// The flows the CLI, the window and the commissioning runner share, over the bus: a lease that
// refuses a click, a calibration of two motors at once, a move settled on the feedback, a
// verified table read and a capture of both motors.
void TestCanBus::flowsRunAsBehindTheAdapter() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true);
    QSignalSpy scanned(worker()->link(), &otaThread::scanFinished);
    QVERIFY(connectBus({QStringLiteral("--motors"), QStringLiteral("2"), QStringLiteral("--cali-time"),
                        QStringLiteral("800")}));
    QVERIFY(scanned.wait(30000));
    QTRY_COMPARE_WITH_TIMEOUT(worker()->registeredCanIds().size(), 2, 5000);

    CalibrateFlow calibrate({1, 2});
    QSignalSpy finished(&calibrate, &Flow::finished);
    QString refusal;
    bool clicked = false;
    connect(&calibrate, &Flow::progress, this, [&](const FlowProgress&) {
        if (clicked)
            return;
        clicked = true;
        QVERIFY(!LinkCommands::send(LinkCommand::setMode(2, 1), LinkLease::Token(), &refusal));
    });
    calibrate.start();
    QVERIFY(finished.wait(30000));
    QVERIFY(clicked);
    // A flow over several motors holds the whole bus.
    QCOMPARE(refusal, QStringLiteral("the bus is busy: calibrating"));
    const FlowResult calibrated = finished.first().first().value<FlowResult>();
    QVERIFY2(calibrated.ok(), qPrintable(calibrated.reason));
    QCOMPARE(calibrated.values.value(QStringLiteral("motors")).toMap().size(), 2);

    MoveFlow::Request request;
    request.mode = MoveFlow::Request::Mode::Position;
    request.target = -0.5;
    request.speed = 5;
    request.settleMs = 1200;
    const FlowResult moved = MoveFlow(2, request).run();
    QVERIFY2(moved.ok(), qPrintable(moved.reason));
    QVERIFY2(qAbs(moved.values.value(QStringLiteral("position")).toDouble() + 0.5) < 0.05,
             qPrintable(moved.values.value(QStringLiteral("position")).toString()));
    QVERIFY(SafeStateFlow(2).run().ok());
    QCOMPARE(MotorStates::get(2).modeState, 0);

    const FlowResult table = ParamReadFlow(1, true).run();
    QVERIFY2(table.ok(), qPrintable(table.reason));
    QVERIFY(table.values.value(QStringLiteral("entries")).toList().size() > 30);

    ScopeFlow::Request capture;
    capture.channels = QStringList{QStringLiteral("mechPos")};
    capture.rate = 200;
    capture.seconds = 0.5;
    const FlowResult recorded = ScopeFlow({1, 2}, capture).run();
    QVERIFY2(recorded.ok(), qPrintable(recorded.reason));
    for (const QVariant& m : recorded.values.value(QStringLiteral("motors")).toMap())
        QVERIFY(m.toMap().value(QStringLiteral("records")).toDouble() > 50);
}

void TestCanBus::parameterTableDescribedAndRead() {
    QVERIFY(connectBus({}));
    QTRY_VERIFY_WITH_TIMEOUT(!firstRecord()->isEmpty(), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(MotorModel::known(), 10000);  // detection ended with the model reply
    kx::DataObject* record = firstRecord();
    Helper::instance()->setCurrentDeviceDobj(record);
    ParamWalker walker(record);
    QSignalSpy finished(&walker, &ParamWalker::finished);
    QVERIFY(walker.describe());
    QVERIFY(finished.wait(20000));
    QVERIFY(finished.takeFirst().first().toBool());
    QVERIFY(hasLine(QStringLiteral("Reload all parameters table successfully!")));
    ParamStore& store = ParamFeature::of(otaThread::instance())->store();
    QCOMPARE(store.counts(1), (std::array<int, 4>{{4, 5, 21, 16}}));

    QSignalSpy read(&walker, &ParamWalker::entryRead);
    QVERIFY(walker.upload());
    QVERIFY(finished.wait(20000));
    QVERIFY(finished.takeFirst().first().toBool());
    QCOMPARE(read.count(), 46);
    ParamEntry name;
    QVERIFY(store.entry(1, 0x0001, &name));
    QCOMPARE(name.value, QStringLiteral("TRV00001001"));
    QVERIFY(!m_lines.join('\n').contains(QLatin1String("ERROR")));
}

void TestCanBus::scopeStreams() {
    QVERIFY(connectBus({}));
    QTRY_VERIFY_WITH_TIMEOUT(!firstRecord()->isEmpty(), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(MotorModel::known(), 10000);  // detection ended with the model reply
    Helper::instance()->setCurrentDeviceDobj(firstRecord());
    otaThread* link = worker()->link();
    link->setTarget(1);
    ScopeAcquisition* scope = ScopeAcquisition::of(link);
    QVERIFY(scope);
    QSignalSpy statuses(worker(), &CANWorker::linkStatus);
    auto saw = [&statuses](int status) {
        for (const QList<QVariant>& s : statuses) {
            if (s.first().toInt() == status)
                return true;
        }
        return false;
    };
    ScopeAcquisition::Config config;
    config.frequency = 500;
    config.baudRate = worker()->portBaudRate();
    config.channels = {{0x3000, -1, QStringLiteral("a")}, {0x3001, -1, QStringLiteral("b")}};
    QString why;
    QVERIFY2(scope->configureChannels(config, &why), qPrintable(why));
    QTRY_VERIFY_WITH_TIMEOUT(saw(OTA_STA_PARA_UPDATE_SUCCESS_CHSET), 10000);
    QVERIFY2(scope->start(&why), qPrintable(why));
    // One second of samples at 500 Hz, none lost on the way.
    QTRY_VERIFY_WITH_TIMEOUT(scope->records() >= 500, 15000);
    scope->stop();
    QTRY_VERIFY_WITH_TIMEOUT(saw(OTA_STA_PARA_UPDATE_SUCCESS_END), 10000);
    QCOMPARE(scope->lost(), quint64(0));
}

void TestCanBus::unplugWithoutAutoConnectKeepsTheMotors() {
    QVERIFY(connectBus({QStringLiteral("--motors"), QStringLiteral("2")}));
    QTRY_VERIFY_WITH_TIMEOUT(!firstRecord()->isEmpty(), 15000);
    QSignalSpy closed(worker(), &CANWorker::connectionChanged);
    // The bus goes away while connected: the same path as an unplugged adapter (the motors and
    // their pages stay, the user is asked whether to wait for it), in the interface's own words.
    m_sim->command("unplug");
    QTRY_VERIFY_WITH_TIMEOUT(!m_prompt.boxes().isEmpty(), 10000);
    QVERIFY(!worker()->isConnected());
    QVERIFY(!worker()->reconnectWatcher()->isWatching());  // the question was answered no
    QCOMPARE(kx::d("project.device")->size(), 1);          // single-device mode: the first motor
    QVERIFY(!firstRecord()->c(QStringLiteral("_connected"))->getBool(true));
    QVERIFY2(
        m_prompt.boxes().first().contains(QStringLiteral("The CAN interface %1 is gone.").arg(m_address)),
        qPrintable(m_prompt.boxes().join('\n')));
    QVERIFY(hasLineContaining(QStringLiteral("The CAN interface %1 was disconnected.").arg(m_address)));
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.first().first().toBool(), false);
}

void TestCanBus::unplugAndReplugReconnects() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.auto_connect"), true, true);
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true);
    QVERIFY(connectBus({QStringLiteral("--motors"), QStringLiteral("2")}));
    QTRY_COMPARE_WITH_TIMEOUT(worker()->registeredCanIds().size(), 2, 20000);
    QPointer<kx::DataObject> first = firstRecord();

    m_sim->command("unplug");
    QTRY_VERIFY_WITH_TIMEOUT(worker()->reconnectWatcher()->isWatching(), 10000);
    QVERIFY(!worker()->isConnected());
    QVERIFY(first && !first->c(QStringLiteral("_connected"))->getBool(true));
    QVERIFY(hasLineContaining(QStringLiteral("It is reconnected when it comes back.")));
    QVERIFY2(m_prompt.boxes().isEmpty(), qPrintable(m_prompt.boxes().join('\n')));
    // While the bus is away, the watcher's looks find nobody serving it (and start no bus of
    // their own on the port).
    QTest::qWait(2500);
    QVERIFY(!worker()->isConnected());

    m_lines.clear();
    m_sim->command("plug");
    QTRY_VERIFY_WITH_TIMEOUT(worker()->isConnected(), 15000);
    QVERIFY(hasLine(QStringLiteral("CAN interface %1 is back: reconnecting.").arg(m_address)));
    QTRY_COMPARE_WITH_TIMEOUT(worker()->registeredCanIds().size(), 2, 20000);
    QCOMPARE(kx::d("project.device")->size(), 2);
    QCOMPARE(worker()->deviceForCanId(1), first.data());
}

void TestCanBus::badAddressesFailAtOnce_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("message");
    QTest::newRow("nobody serves the port")
        << QStringLiteral("virtualcan:tcp://127.0.0.1:%1/can0").arg(unservedPort())
        << QStringLiteral("Nothing serves the virtual CAN bus");
    // The plug-in would otherwise take an unknown channel for can0.
    QTest::newRow("no such channel on a served bus")
        << QStringLiteral("can7") << QStringLiteral("Invalid interface");
    QTest::newRow("no kernel CAN support")
        << QStringLiteral("socketcan:trivane-none")
        << QStringLiteral("Cannot open the CAN interface socketcan:trivane-none");
}

void TestCanBus::badAddressesFailAtOnce() {
    QFETCH(QString, address);
    QFETCH(QString, message);
    if (address == QLatin1String("can7")) {
        const QString served = m_sim->startBus({});
        QVERIFY(!served.isEmpty());
        address = served.left(served.size() - 4) + address;
    }
    QElapsedTimer clock;
    clock.start();
    worker()->connectPort(address);
    QVERIFY(!worker()->isConnected());
    QTRY_VERIFY_WITH_TIMEOUT(!m_prompt.boxes().isEmpty(), 5000);
    QCoreApplication::processEvents();  // a second report of the same failure would be queued
    QCOMPARE(m_prompt.boxes().size(), 1);
    QVERIFY2(m_prompt.boxes().first().contains(message), qPrintable(m_prompt.boxes().join('\n')));
    QVERIFY(clock.elapsed() < 5000);
    // Nothing on this side started serving an unserved port meanwhile.
    if (address.startsWith(QLatin1String("virtualcan:")) && m_sim->path().isEmpty()) {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, quint16(QUrl(address.mid(11)).port())));
    }
}

void TestCanBus::lastFramesBeforeCloseReachTheBus() {
    QVERIFY(connectBus({}));
    QTRY_VERIFY_WITH_TIMEOUT(!firstRecord()->isEmpty(), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(MotorModel::known(), 10000);  // detection ended with the model reply
    // A frame written just before the close (as the motion guard's safety resets are) still
    // reaches the motor.
    worker()->writeRaw(CANWorker::frameToSerial(MotorFrames::enterBrakeMode(1)));
    worker()->disconnectPort();
    QVERIFY(m_sim->statusShows("mode brake"));

    // So does one written as the link ends with the program, when no event loop comes round
    // to send it.
    worker()->connectPort(m_address);
    QTRY_VERIFY_WITH_TIMEOUT(worker()->registeredCanIds().size() == 1, 15000);
    worker()->writeRaw(CANWorker::frameToSerial(MotorFrames::enterMotorMode(1)));
    Helper::instance()->destroyBackends();
    QVERIFY(m_sim->statusShows("mode run"));
}

LINK_TEST_MAIN(TestCanBus)
#include "tst_canbus.moc"
