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
#include "link/flows/safestateflow.h"
#include "link/flows/setcanidflow.h"
#include "link/flows/zeroflow.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motionguard.h"
#include "link/motorstates.h"
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

QTEST_GUILESS_MAIN(TestFlows)
#include "tst_flows.moc"
