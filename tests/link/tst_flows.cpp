// The link's flows end to end against the simulated bench on a pseudo-terminal: each flow's
// success, refusal and time-out; flows for two motors back to back with the window's
// selection untouched; a click refused during a flow's lease and an emergency stop honoured.
#include <QSignalSpy>
#include <QtTest>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/flows/calibrateflow.h"
#include "link/flows/clearalarmflow.h"
#include "link/flows/detectflow.h"
#include "link/flows/estopflow.h"
#include "link/flows/modeflow.h"
#include "link/flows/moveflow.h"
#include "link/flows/paramapplyflow.h"
#include "link/flows/paramreadflow.h"
#include "link/flows/safestateflow.h"
#include "link/flows/scopeflow.h"
#include "link/flows/setcanidflow.h"
#include "link/flows/zeroflow.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motionguard.h"
#include "link/motorstates.h"
#include "link/param/paramfeature.h"
#include "link/scope/scopewavefile.h"
#include "benchtest.h"

class TestFlows : public linktest::BenchTest {
    Q_OBJECT

private slots:
    void init() { startCase(true); }
    void cleanup() { endCase(); }

    void detectWholeBus();
    void detectNamedMotorFallsBackToScan();
    void detectEmptyBusFails();
    void detectPortThatDoesNotOpen();
    void modeZeroAndClearAlarm();
    void modeTimesOutWhenTheMotorIsDeaf();
    void calibrateOneAndSeveral();
    void calibrateNeverStarts();
    void canIdChangeAndClash();
    void moveSettlesNearTheTarget();
    void flowsForTwoMotorsLeaveTheSelection();
    void clickRefusedDuringALease();
    void emergencyStopEndsTheFlow();
    void estopCheckAndLeaveSafe();
    void parameterTableReadPlainAndVerified();
    void profileAppliedAndReadBack();
    void profileThatDoesNotFitWritesNothing();
    void captureToCsvForOneAndTwoMotors();
    void captureUnpluggedKeepsTheOldFile();

private:
    // Starts the bench and detects its motors through the flow.
    FlowResult connectBench(const QStringList& options, bool wholeBus = true);
    CANWorker* worker() const { return Helper::instance()->worker(); }
    int motorCount(const FlowResult& r) const {
        return r.values.value(QStringLiteral("motors")).toList().size();
    }
};

FlowResult TestFlows::connectBench(const QStringList& options, bool wholeBus) {
    DetectFlow::Options o;
    o.address = m_sim->start(options);
    o.wholeBus = wholeBus;
    return DetectFlow(o).run();
}

void TestFlows::detectWholeBus() {
    const FlowResult r = connectBench({QStringLiteral("--motors"), QStringLiteral("3"),
                                       QStringLiteral("--models"), QStringLiteral("0:2,0:1,0:2")});
    QVERIFY2(r.ok(), qPrintable(r.reason));
    QCOMPARE(motorCount(r), 3);
    const QVariantMap second = r.values.value(QStringLiteral("motors")).toList().at(1).toMap();
    QCOMPARE(second.value(QStringLiteral("can_id")).toInt(), 2);
    QCOMPARE(second.value(QStringLiteral("mcu_id")).toString(), QStringLiteral("3a10c5e700002002"));
    QVERIFY(second.value(QStringLiteral("model")).toInt() >= 0);
    // Scanning the whole bus did not change the user's own setting for good.
    QCOMPARE(kx::d("config.setting.enable_multiple_devices")->getBool(), true);
}

void TestFlows::detectNamedMotorFallsBackToScan() {
    DetectFlow::Options o;
    o.address = m_sim->start({QStringLiteral("--motors"), QStringLiteral("2"), QStringLiteral("--can-ids"),
                              QStringLiteral("5,6")});
    o.canId = 9;  // nobody answers there: the bus is scanned, and the flow says 9 is not on it
    QStringList progress;
    DetectFlow flow(o);
    connect(&flow, &Flow::progress, this, [&progress](const FlowProgress& p) { progress << p.text; });
    const FlowResult r = flow.run();
    QCOMPARE(r.outcome, FlowOutcome::Failed);
    QVERIFY2(r.reason.contains(QLatin1String("No motor with CAN ID 9")), qPrintable(r.reason));
    QCOMPARE(motorCount(r), 2);
    QVERIFY(progress.contains(QStringLiteral("CAN ID 9 did not answer: scanning the bus.")));
}

void TestFlows::detectEmptyBusFails() {
    DetectFlow::Options o;
    o.address = m_sim->start({QStringLiteral("--motors"), QStringLiteral("1")});
    o.wholeBus = true;
    m_sim->command("drop tx 1");  // the adapter answers, no motor does
    const FlowResult r = DetectFlow(o).run();
    QVERIFY(!r.ok());
    QVERIFY2(r.reason.startsWith(QLatin1String("No motor answered")), qPrintable(r.reason));
    QCOMPARE(motorCount(r), 0);
}

void TestFlows::detectPortThatDoesNotOpen() {
    DetectFlow::Options o;
    o.address = m_dir->path() + QStringLiteral("/no-such-port");
    const FlowResult r = DetectFlow(o).run();
    QCOMPARE(r.outcome, FlowOutcome::Failed);
    QCOMPARE(r.reason, QStringLiteral("Cannot open %1.").arg(o.address));
    QVERIFY(!worker()->isConnected());
}

void TestFlows::modeZeroAndClearAlarm() {
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("2")}).ok());
    FlowResult r = ModeFlow(2, ModeFlow::Mode::Motor).run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    QCOMPARE(r.canId, 2);
    QCOMPARE(r.flow, QStringLiteral("mode"));
    QCOMPARE(MotorStates::get(2).modeState, 2);  // the motor reports run mode
    QVERIFY(ModeFlow(2, ModeFlow::Mode::Reset).run().ok());
    QCOMPARE(MotorStates::get(2).modeState, 0);
    QVERIFY(ZeroFlow(1).run().ok());

    m_sim->command("fault 1 0x3 0");
    QTRY_VERIFY_WITH_TIMEOUT(MotorStates::get(1).faultWord == 3, 10000);
    r = ClearAlarmFlow(1).run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    QCOMPARE(r.values.value(QStringLiteral("faults")).toInt(), 0);
}

void TestFlows::modeTimesOutWhenTheMotorIsDeaf() {
    QVERIFY(connectBench({}).ok());
    m_sim->command("drop rx 1");
    const FlowResult r = ModeFlow(1, ModeFlow::Mode::Motor).run();
    QCOMPARE(r.outcome, FlowOutcome::Failed);  // the step's own time-out status
    QCOMPARE(r.reason, QStringLiteral("Motor 1 did not confirm motor mode."));
    const FlowResult z = ZeroFlow(1).run();
    QVERIFY(!z.ok());
    QCOMPARE(z.reason, QStringLiteral("The motor did not confirm the mechanical zero."));
}

void TestFlows::calibrateOneAndSeveral() {
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("3"), QStringLiteral("--cali-time"),
                          QStringLiteral("600")})
                .ok());
    QStringList stages;
    CalibrateFlow one({2});
    connect(&one, &Flow::progress, this, [&stages](const FlowProgress& p) {
        stages << p.values.value(QStringLiteral("stage")).toString();
    });
    FlowResult r = one.run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    QVERIFY(r.values.contains(QStringLiteral("offset")));
    QCOMPARE(stages, (QStringList{"calibrating", "saving"}));

    // All at once: each is started in turn, then the flow waits for every result.
    QElapsedTimer clock;
    clock.start();
    r = CalibrateFlow({1, 2, 3}).run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    const QVariantMap motors = r.values.value(QStringLiteral("motors")).toMap();
    QCOMPARE(motors.size(), 3);
    for (const QString& id : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}) {
        QCOMPARE(motors.value(id).toMap().value(QStringLiteral("outcome")).toString(),
                 QStringLiteral("succeeded"));
        QVERIFY(motors.value(id).toMap().contains(QStringLiteral("offset")));
    }
}

void TestFlows::calibrateNeverStarts() {
    QVERIFY(connectBench({}).ok());
    m_sim->command("drop rx 1");
    const FlowResult r = CalibrateFlow({1}).run();
    QCOMPARE(r.outcome, FlowOutcome::Failed);
    QCOMPARE(r.reason, QStringLiteral("The motor did not enter calibration mode."));
}

void TestFlows::canIdChangeAndClash() {
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("2")}).ok());
    kx::DataObject* first = worker()->deviceForCanId(1);
    QVERIFY(first);
    // Motor 2 is on the bus: giving motor 1 its ID is refused before anything is sent.
    FlowResult r = SetCanIdFlow(1, 2).run();
    QCOMPARE(r.outcome, FlowOutcome::Refused);
    QVERIFY2(r.reason.startsWith(QLatin1String("CAN ID 2 belongs to Motor 2")), qPrintable(r.reason));
    QCOMPARE(MotionGuard::canIdOf(first), quint8(1));

    r = SetCanIdFlow(1, 9).run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    QCOMPARE(r.values.value(QStringLiteral("can_id")).toInt(), 9);
    QCOMPARE(worker()->deviceForCanId(9), first);  // the same record followed the motor
    QCOMPARE(MotorStates::get(9).mcuId, Q_UINT64_C(0x3a10c5e700001001));
}

void TestFlows::moveSettlesNearTheTarget() {
    QVERIFY(connectBench({}).ok());
    MoveFlow::Request request;
    request.mode = MoveFlow::Request::Mode::Position;
    request.target = 1.0;
    request.speed = 5;
    request.settleMs = 1500;
    QList<double> positions;
    MoveFlow move(1, request);
    connect(&move, &Flow::progress, this, [&positions](const FlowProgress& p) {
        positions << p.values.value(QStringLiteral("position")).toDouble();
    });
    const FlowResult r = move.run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    QVERIFY2(qAbs(r.values.value(QStringLiteral("position")).toDouble() - 1.0) < 0.05,
             qPrintable(QString::number(r.values.value(QStringLiteral("position")).toDouble())));
    QVERIFY(positions.size() > 5);  // the feedback was asked for while it settled
    // The motor stays on for the caller; leaving it safe takes it back to reset mode.
    QCOMPARE(MotorStates::get(1).modeState, 2);
    QVERIFY(SafeStateFlow(1).run().ok());
    QCOMPARE(MotorStates::get(1).modeState, 0);
}

void TestFlows::flowsForTwoMotorsLeaveTheSelection() {
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("3")}).ok());
    kx::DataObject* chosen = worker()->deviceForCanId(1);
    Helper::instance()->setCurrentDeviceDobj(chosen);
    QSignalSpy selection(Helper::instance(), &Helper::currentDeviceDobjChanged);
    QVERIFY(ModeFlow(2, ModeFlow::Mode::Motor).run().ok());
    QVERIFY(ZeroFlow(3).run().ok());
    QVERIFY(ModeFlow(2, ModeFlow::Mode::Reset).run().ok());
    QCOMPARE(Helper::instance()->currentDeviceDobj(), chosen);
    QCOMPARE(selection.count(), 0);
    QVERIFY(m_lines.contains(QStringLiteral("Send Z48 Command ZERO_MECH to CAN(3)")));
}

void TestFlows::clickRefusedDuringALease() {
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("2"), QStringLiteral("--cali-time"),
                          QStringLiteral("1500")})
                .ok());
    CalibrateFlow flow({2});
    QSignalSpy finished(&flow, &Flow::finished);
    QString refusal;
    bool clicked = false;
    // A click while the motor calibrates: refused with the reason, the flow goes on.
    connect(&flow, &Flow::progress, this, [&](const FlowProgress&) {
        if (clicked)
            return;
        clicked = true;
        QVERIFY(!LinkCommands::send(LinkCommand::setMode(1, 1), LinkLease::Token(), &refusal));
    });
    flow.start();
    QVERIFY(finished.wait(30000));
    QVERIFY(clicked);
    QCOMPARE(refusal, QStringLiteral("motor 2 is busy: calibrating"));
    QVERIFY(m_lines.contains(QStringLiteral("<ERROR> motor 2 is busy: calibrating")));
    const FlowResult r = finished.first().first().value<FlowResult>();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    QVERIFY(!LinkLease::busy());
}

void TestFlows::emergencyStopEndsTheFlow() {
    QVERIFY(connectBench({}).ok());
    MoveFlow::Request request;
    request.mode = MoveFlow::Request::Mode::Velocity;
    request.target = 2.0;
    request.settleMs = 20000;
    MoveFlow move(1, request);
    QSignalSpy finished(&move, &Flow::finished);
    bool stopped = false;
    connect(&move, &Flow::progress, this, [&stopped] {
        if (stopped)
            return;
        stopped = true;
        // The emergency stop is never refused, whoever holds the link.
        MotionGuard::of(Helper::instance()->worker())->brake({1});
    });
    move.start();
    QVERIFY(finished.wait(30000));
    const FlowResult r = finished.first().first().value<FlowResult>();
    QCOMPARE(r.outcome, FlowOutcome::Cancelled);
    QCOMPARE(r.reason, QStringLiteral("emergency stop"));
    // The brake frame went out: the motor reports brake mode (mode state 3).
    QTRY_COMPARE_WITH_TIMEOUT(MotorStates::get(1).modeState, 3, 10000);
}

void TestFlows::estopCheckAndLeaveSafe() {
    QVERIFY(connectBench({}).ok());
    QVERIFY(ModeFlow(1, ModeFlow::Mode::Motor).run().ok());
    const FlowResult r = EstopFlow(1).run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    QVERIFY(r.values.value(QStringLiteral("brake_ms")).toDouble() > 0);
    QVERIFY(SafeStateFlow(1).run().ok());
    QCOMPARE(MotorStates::get(1).modeState, 0);
}

namespace {

QString valueOf(const QVariantList& entries, int code) {
    for (const QVariant& e : entries) {
        if (e.toMap().value(QStringLiteral("code")).toInt() == code)
            return e.toMap().value(QStringLiteral("value")).toString();
    }
    return QString();
}

}  // namespace

void TestFlows::parameterTableReadPlainAndVerified() {
    QVERIFY(connectBench({}).ok());
    FlowResult r = ParamReadFlow(1, false).run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    const QVariantList plain = r.values.value(QStringLiteral("entries")).toList();
    QVERIFY(plain.size() > 30);
    QCOMPARE(valueOf(plain, 0x2000), QStringLiteral("1"));  // its CAN ID entry
    r = ParamReadFlow(1, true).run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    QVERIFY(r.values.value(QStringLiteral("descriptions")).toInt() >= 2);
    QCOMPARE(r.values.value(QStringLiteral("entries")).toList().size(), plain.size());
}

void TestFlows::profileAppliedAndReadBack() {
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("2")}).ok());
    QVERIFY(ParamReadFlow(1, false).run().ok());
    ParamBackup profile =
        ParamBackup::fromEntries(ParamFeature::of(worker()->link())->store().snapshot(1), 0, 1, -1);
    bool changed = false;
    for (ParamBackup::Item& item : profile.items) {
        if (item.code == 0x2009) {
            item.value = QStringLiteral("7.5");
            changed = true;
        }
    }
    QVERIFY(changed);
    // Both motors take the profile in turn: each is described, planned, written and read back.
    const FlowResult r = ParamApplyFlow({1, 2}, profile, false).run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    const QVariantMap motors = r.values.value(QStringLiteral("motors")).toMap();
    for (const QString& id : {QStringLiteral("1"), QStringLiteral("2")}) {
        const QVariantMap m = motors.value(id).toMap();
        QCOMPARE(m.value(QStringLiteral("outcome")).toString(), QStringLiteral("succeeded"));
        QVERIFY(m.value(QStringLiteral("written")).toInt() >= 1);
        QCOMPARE(valueOf(m.value(QStringLiteral("entries")).toList(), 0x2009).toDouble(), 7.5);
    }
}

void TestFlows::profileThatDoesNotFitWritesNothing() {
    const QString log = m_dir->path() + QStringLiteral("/bench.log");
    QVERIFY(connectBench({QStringLiteral("--log"), log}).ok());
    QVERIFY(ParamReadFlow(1, false).run().ok());
    ParamBackup profile =
        ParamBackup::fromEntries(ParamFeature::of(worker()->link())->store().snapshot(1), 0, 1, -1);
    for (ParamBackup::Item& item : profile.items) {
        if (item.code == 0x2009)
            item.value = QStringLiteral("8.5");  // fits
        if (item.code == 0x2006)
            item.value = QStringLiteral("999");  // above protect_temp's 145
    }
    const FlowResult r = ParamApplyFlow({1}, profile, true).run();
    QCOMPARE(r.outcome, FlowOutcome::Refused);
    QVERIFY2(r.reason.contains(QLatin1String("protect_temp")), qPrintable(r.reason));
    QCOMPARE(r.values.value(QStringLiteral("written")).toInt(), 0);
    m_sim->stop();
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // No parameter write (type 8) reached the bench.
    QVERIFY(!file.readAll().contains("PARA_WRITE"));
}

void TestFlows::captureToCsvForOneAndTwoMotors() {
    QVERIFY(connectBench({QStringLiteral("--motors"), QStringLiteral("2")}).ok());
    ScopeFlow::Request request;
    request.channels = QStringList{QStringLiteral("mechPos"), QStringLiteral("0x3001")};
    request.rate = 200;
    request.seconds = 0.5;
    FlowResult r = ScopeFlow({2}, request).run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    const QList<QByteArray> lines = r.values.value(QStringLiteral("csv")).toByteArray().split('\n');
    QVERIFY(lines.first().startsWith("time,mechPos,"));
    QVERIFY(lines.size() > 50);
    QCOMPARE(r.values.value(QStringLiteral("channels")).toStringList().first(), QStringLiteral("mechPos"));

    r = ScopeFlow({1, 2}, request).run();
    QVERIFY2(r.ok(), qPrintable(r.reason));
    const QVariantMap motors = r.values.value(QStringLiteral("motors")).toMap();
    QCOMPARE(motors.size(), 2);
    for (const QVariant& m : motors)
        QVERIFY(m.toMap().value(QStringLiteral("records")).toDouble() > 50);
}

void TestFlows::captureUnpluggedKeepsTheOldFile() {
    QVERIFY(connectBench({}).ok());
    const QString out = m_dir->path() + QStringLiteral("/w.csv");
    {
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the recording before\n");
    }
    ScopeFlow::Request request;
    request.channels = QStringList{QStringLiteral("0x3000")};
    request.rate = 100;
    request.seconds = 30;
    request.path = out;
    ScopeFlow flow({1}, request);
    bool pulled = false;
    connect(&flow, &Flow::progress, this, [&](const FlowProgress& p) {
        if (!pulled && p.values.value(QStringLiteral("records")).toDouble() > 0) {
            pulled = true;
            m_sim->command("unplug");
        }
    });
    const FlowResult r = flow.run();
    QCOMPARE(r.outcome, FlowOutcome::PortClosed);
    QFile old(out);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the recording before\n"));
    QCOMPARE(r.values.value(QStringLiteral("file")).toString(), ScopeWaveFile::partialPath(out));
    QVERIFY(QFile::exists(ScopeWaveFile::partialPath(out)));
}

QTEST_GUILESS_MAIN(TestFlows)
#include "tst_flows.moc"
