// Commissioning runs against the simulated bench: the shipped plan passing on one motor and on
// several, and each way a run can go wrong failing the right step for the right reason, with
// every motor the run drove left in reset mode on the bench.
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "link/flows/linklease.h"
#include "link/motionguard.h"
#include "runbench.h"

Q_DECLARE_METATYPE(Outcome)

using commissiontest::RunBench;
using Scope = CommissionRunner::Scope;

class TestCommissionRun : public RunBench {
    Q_OBJECT

private slots:
    void init() {
        m_motors = 1;
        m_reconnectWaitMs = 10000;
    }
    void cleanup() { endCase(); }

    void benchCheckPassesOnOneMotor();
    void benchCheckPassesOnSeveralMotorsInOnePass();
    void simJointPassesOnSeveralMotors();
    void emptyBusNeverPasses();
    void moveJudgedAgainstItsTolerance_data();
    void moveJudgedAgainstItsTolerance();
    void stepFailsForItsReason_data();
    void stepFailsForItsReason();
    void flashVerifiedByTheVersionReadBack_data();
    void flashVerifiedByTheVersionReadBack();
    void faultFailsTheMotorItCameFrom();
    void canIdClashRefusedBeforeSending();
    void unplugMidStepEndsTheRun_data();
    void unplugMidStepEndsTheRun();
    void cancelAndEmergencyStopEndTheRun_data();
    void cancelAndEmergencyStopEndTheRun();

private:
    std::optional<Plan> examplePlan() {
        QVector<PlanProblem> problems;
        return PlanReader::readFile(QStringLiteral(TRIVANE_EXAMPLES_DIR "/bench-check.yaml"), &problems);
    }
};

namespace {

// A velocity move long enough for something to happen in the middle of it.
const QByteArray kLongSpin =
    "name: spin\n"
    "steps:\n"
    "  - step: detect\n"
    "  - step: move\n"
    "    name: Long spin\n"
    "    mode: velocity\n"
    "    target: 2\n"
    "    settle: 4 s\n"
    "  - step: zero\n";

}  // namespace

void TestCommissionRun::benchCheckPassesOnOneMotor() {
    QVERIFY(startBench({"--motors", "1"}));
    const std::optional<Plan> plan = examplePlan();
    QVERIFY(plan);
    const RunRecord record = run(*plan, Scope::OnlyMotor);
    QCOMPARE(record.motors.size(), 1);
    const MotorRecord& motor = record.motors.first();
    for (const StepRecord& s : motor.steps)
        QVERIFY2(s.outcome == Outcome::Pass,
                 qPrintable(s.title + ": " + s.message + " " + s.log.join(" | ")));
    QCOMPARE(motor.steps.size(), plan->steps.size());
    QCOMPARE(record.outcome, Outcome::Pass);
    QVERIFY(record.message.isEmpty());
    QCOMPARE(motor.canId, 1);
    QCOMPARE(motor.mcuId, Q_UINT64_C(0x3a10c5e700001001));
    QVERIFY(measurement(step(motor, 4), "offset"));
    QVERIFY(motor.steps.last().log.join('\n').contains("left in reset mode"));
    QVERIFY(allReset());
}

void TestCommissionRun::benchCheckPassesOnSeveralMotorsInOnePass() {
    m_motors = 3;
    QVERIFY(startBench({"--motors", "3", "--cali-time", "1500"}));
    const std::optional<Plan> plan = examplePlan();
    QVERIFY(plan);
    const int calibrate = 4;
    QCOMPARE(plan->steps[calibrate - 1].kind, QString("calibrate"));
    QVERIFY(plan->steps[calibrate - 1].allMotors);
    // The motors calibrate together: every motor's calibration starts before any finishes.
    int calibrationStarts = 0;
    int finishedBeforeLastStart = 0;
    const RunRecord record = run(*plan, Scope::AllMotors, [&](CommissionRunner& runner) {
        connect(&runner, &CommissionRunner::stepStarted, this,
                [&](int, const PlanStep& s) { calibrationStarts += s.index == calibrate ? 1 : 0; });
        connect(&runner, &CommissionRunner::stepFinished, this, [&](int, const StepRecord& s) {
            if (s.index == calibrate && calibrationStarts < 3)
                ++finishedBeforeLastStart;
        });
    });
    QCOMPARE(record.motors.size(), 3);
    QCOMPARE(calibrationStarts, 3);
    QCOMPARE(finishedBeforeLastStart, 0);
    for (const MotorRecord& motor : record.motors) {
        QCOMPARE(motor.outcome, Outcome::Pass);
        // One pass: well under three calibrations one after the other.
        QVERIFY2(step(motor, calibrate)->seconds < 2 * 1.5 + 1,
                 qPrintable(QString::number(step(motor, calibrate)->seconds)));
        QVERIFY(step(motor, calibrate)->startUtc.msecsTo(step(record.motors.first(), calibrate)->startUtc) <
                100);
    }
    // The moves go one motor after the other.
    QVERIFY(step(record.motors[0], 9)->startUtc <= step(record.motors[1], 5)->startUtc);
    QCOMPARE(record.outcome, Outcome::Pass);
    QVERIFY(allReset());
}

void TestCommissionRun::simJointPassesOnSeveralMotors() {
    m_motors = 3;
    QVERIFY(startBench({"--motors", "3", "--cali-time", "1500"}));
    QVector<PlanProblem> problems;
    const std::optional<Plan> plan =
        PlanReader::readFile(QStringLiteral(TRIVANE_EXAMPLES_DIR "/sim-joint.yaml"), &problems);
    QVERIFY(plan);
    const RunRecord record = run(*plan, Scope::AllMotors);
    QCOMPARE(record.motors.size(), 3);
    QStringList tables;
    for (const MotorRecord& motor : record.motors) {
        for (const StepRecord& s : motor.steps)
            QVERIFY2(s.outcome == Outcome::Pass || s.outcome == Outcome::Marginal,
                     qPrintable(s.title + ": " + s.message + " " + s.log.join(" | ")));
        QCOMPARE(motor.firmware, QString("0.9.4"));
        QCOMPARE(motor.paramSha256.size(), 64);
        QCOMPARE(measurement(step(motor, 4), "limit_spd")->value, 20.0);
        tables << motor.paramSha256;
        const StepRecord* capture = step(motor, 8);
        QCOMPARE(capture->attachments.size(), 1);
        QVERIFY(capture->attachments.first().data.startsWith("time,mechVel,mechPos"));
    }
    // Each table holds its motor's own address: three motors, three fingerprints.
    QCOMPARE(QSet<QString>(tables.begin(), tables.end()).size(), 3);
    // Addressed from 10 up, each to its own ID, and left in reset mode there.
    const QMap<int, QString> modes = benchModes();
    QCOMPARE(modes.keys(), (QList<int>{10, 11, 12}));
    QVERIFY(allReset());
}

void TestCommissionRun::emptyBusNeverPasses() {
    // The adapter answers, no motor does.
    QVERIFY(startBench({"--motors", "1", "--drop-tx", "1"}));
    const std::optional<Plan> plan = this->plan(kLongSpin);
    QVERIFY(plan);
    const RunRecord record = run(*plan, Scope::AllMotors);
    QVERIFY(record.motors.isEmpty());
    QVERIFY(record.outcome == Outcome::Error || record.outcome == Outcome::Fail);
    QVERIFY2(record.message.contains("No motor answered"), qPrintable(record.message));
}

void TestCommissionRun::moveJudgedAgainstItsTolerance_data() {
    QTest::addColumn<QByteArray>("check");
    QTest::addColumn<Outcome>("outcome");
    // The motor reaches 1 rad; the check decides what that is worth.
    QTest::newRow("within") << QByteArray("{tolerance: 0.05}") << Outcome::Pass;
    QTest::newRow("outside") << QByteArray("{expect: 1.3, tolerance: 0.1}") << Outcome::Fail;
    QTest::newRow("in the marginal band")
        << QByteArray("{expect: 1.08, tolerance: 0.1, marginal: 50%}") << Outcome::Marginal;
}

void TestCommissionRun::moveJudgedAgainstItsTolerance() {
    QFETCH(QByteArray, check);
    QFETCH(Outcome, outcome);
    QVERIFY(startBench({"--motors", "1"}));
    const std::optional<Plan> plan = this->plan(
        "name: tolerance\nsteps:\n  - step: move\n    mode: position\n    target: 1\n    speed: 4\n"
        "    settle: 1 s\n    check:\n      position: " +
        check + "\n  - step: zero\n");
    QVERIFY(plan);
    const RunRecord record = run(*plan, Scope::OnlyMotor);
    QCOMPARE(record.motors.size(), 1);
    const StepRecord* move = step(record.motors.first(), 1);
    QVERIFY(move);
    QCOMPARE(move->outcome, outcome);
    const Measurement* position = measurement(move, "position");
    QVERIFY(position);
    QVERIFY(qAbs(position->value - 1.0) < 0.05);
    // A failed move ends the motor's run; a marginal one does not.
    QCOMPARE(step(record.motors.first(), 2)->outcome,
             outcome == Outcome::Fail ? Outcome::Skipped : Outcome::Pass);
    QVERIFY(allReset());
}

void TestCommissionRun::stepFailsForItsReason_data() {
    QTest::addColumn<QStringList>("bench");
    QTest::addColumn<QByteArray>("steps");
    QTest::addColumn<QString>("failedMeasure");  // the failed measurement, or empty
    QTest::addColumn<QString>("message");        // part of the step's message, or empty
    QTest::addColumn<bool>("promptAnswer");
    QTest::addColumn<int>("failing");  // the step that fails; the next one is skipped
    QTest::newRow("identify: another model")
        << QStringList() << QByteArray("  - step: identify\n    models: [5]\n") << "model"
        << "" << true << 1;
    QTest::newRow("calibrate: offset out of limits")
        << QStringList{"--cali-time", "1000"}
        << QByteArray("  - step: calibrate\n    offset: {min: 2, max: 3}\n") << "offset"
        << "" << true << 1;
    // Every record reaches the host late: the brake is confirmed after the limit.
    QTest::newRow("estop: brake too slow")
        << QStringList{"--latency", "300"} << QByteArray("  - step: estop\n    within: 200 ms\n")
        << "brake confirmed after"
        << "" << true << 1;
    QTest::newRow("prompt: declined")
        << QStringList() << QByteArray("  - step: prompt\n    text: Ready?\n") << ""
        << "declined" << false << 1;
    // The profile asks for more than the entry allows: refused whole, nothing written.
    QTest::newRow("params: refused entry")
        << QStringList() << QByteArray("  - step: params\n    profile: refused.json\n") << "protect_temp"
        << "" << true << 1;
    QTest::newRow("capture: over its limit")
        << QStringList()
        << QByteArray(
               "  - step: move\n    mode: velocity\n    target: 3\n    settle: 1 s\n"
               "  - step: capture\n    channels: [mechVel]\n    rate: 100\n    duration: 1 s\n"
               "    checks:\n      - measure: peak\n        channel: mechVel\n        max: 1\n")
        << "peak(mechVel)"
        << "" << true << 2;
}

void TestCommissionRun::stepFailsForItsReason() {
    QFETCH(QStringList, bench);
    QFETCH(QByteArray, steps);
    QFETCH(QString, failedMeasure);
    QFETCH(QString, message);
    QFETCH(bool, promptAnswer);
    QFETCH(int, failing);
    QVERIFY(startBench(QStringList{"--motors", "1"} + bench));
    QFile profile("refused.json");
    QVERIFY(profile.open(QIODevice::WriteOnly));
    profile.write(R"({"format": "trivane-param-backup", "version": 1, "mcu_id": "0", "can_id": 0, "model": 0,
        "date": "2026-12-01T09:00:00", "identity": {}, "entries": [
        {"code": "0X2009", "name": "limit_spd", "type": "float", "value": "15.000000", "writable": true},
        {"code": "0X2006", "name": "protect_temp", "type": "int16", "value": "500", "writable": true}]})");
    profile.close();
    const std::optional<Plan> plan = this->plan("name: failing\nsteps:\n" + steps + "  - step: zero\n");
    QVERIFY(plan);
    const RunRecord record = run(*plan, Scope::OnlyMotor, [promptAnswer](CommissionRunner& runner) {
        runner.setPrompter([promptAnswer](const QString&, QString*) { return promptAnswer; });
    });
    QCOMPARE(record.motors.size(), 1);
    const StepRecord* failed = step(record.motors.first(), failing);
    QVERIFY(failed);
    QVERIFY2(failed->outcome == Outcome::Fail,
             qPrintable(Outcomes::name(failed->outcome) + " " + failed->message));
    if (!failedMeasure.isEmpty()) {
        const Measurement* m = measurement(failed, failedMeasure);
        QVERIFY(m);
        QCOMPARE(m->outcome, Outcome::Fail);
    }
    if (!message.isEmpty())
        QVERIFY2(failed->message.contains(message), qPrintable(failed->message));
    QCOMPARE(step(record.motors.first(), failing + 1)->outcome, Outcome::Skipped);
    QCOMPARE(record.outcome, Outcome::Fail);
    QVERIFY(allReset());
}

namespace {

// A firmware image the simulated motor installs as `version`: "TRVFW", the version in 16
// bytes, the CRC-32 of the rest, then the rest.
QByteArray firmwareImage(const QByteArray& version) {
    QByteArray body(4096, '\0');
    for (int i = 0; i < body.size(); ++i)
        body[i] = char(i * 7 + 3);
    quint32 crc = 0xFFFFFFFF;
    for (char c : body) {
        crc ^= quint8(c);
        for (int b = 0; b < 8; ++b)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc = ~crc;
    QByteArray image = "TRVFW" + version.leftJustified(16, '\0', true);
    for (int i = 0; i < 4; ++i)
        image += char((crc >> (8 * i)) & 0xFF);
    return image + body;
}

}  // namespace

void TestCommissionRun::flashVerifiedByTheVersionReadBack_data() {
    QTest::addColumn<QByteArray>("carries");
    QTest::addColumn<QByteArray>("planned");
    QTest::addColumn<Outcome>("outcome");
    QTest::newRow("the version the plan names")
        << QByteArray("1.2.0") << QByteArray("1.2.0") << Outcome::Pass;
    // The plan says one version, the image installs another: only the read-back counts.
    QTest::newRow("another version") << QByteArray("1.2.0") << QByteArray("1.3.0") << Outcome::Fail;
}

void TestCommissionRun::flashVerifiedByTheVersionReadBack() {
    QFETCH(QByteArray, carries);
    QFETCH(QByteArray, planned);
    QFETCH(Outcome, outcome);
    QVERIFY(startBench({"--motors", "1", "--erase-delay", "200"}));
    QFile image("image.bin");
    QVERIFY(image.open(QIODevice::WriteOnly));
    QCOMPARE(image.write(firmwareImage(carries)), qint64(4096 + 25));
    image.close();
    const std::optional<Plan> plan = this->plan(
        "name: flash\nsteps:\n  - step: flash\n    image: image.bin\n"
        "    version: " +
        planned + "\n    version_entry: AppCodeVersion\n");
    QVERIFY(plan);
    const RunRecord first = run(*plan, Scope::OnlyMotor);
    QCOMPARE(first.motors.size(), 1);
    const StepRecord* flash = step(first.motors.first(), 1);
    QVERIFY2(flash->outcome == outcome, qPrintable(Outcomes::name(flash->outcome) + " " + flash->message));
    QCOMPARE(first.motors.first().firmware, QString(carries));
    QCOMPARE(measurement(flash, "AppCodeVersion")->text, QString(carries));
    if (outcome != Outcome::Pass)
        return;
    // Run again: the motor runs that version already, nothing is sent.
    const RunRecord second = run(*plan, Scope::OnlyMotor);
    QCOMPARE(step(second.motors.first(), 1)->outcome, Outcome::Skipped);
    QCOMPARE(second.outcome, Outcome::Pass);
}

void TestCommissionRun::faultFailsTheMotorItCameFrom() {
    m_motors = 2;
    QVERIFY(startBench({"--motors", "2"}));
    const std::optional<Plan> plan = this->plan(kLongSpin);
    QVERIFY(plan);
    bool raised = false;
    const RunRecord record = run(*plan, Scope::AllMotors, [&](CommissionRunner& runner) {
        connect(&runner, &CommissionRunner::stepStarted, this, [&](int motor, const PlanStep& s) {
            if (motor == 0 && s.kind == "move" && !raised) {
                raised = true;
                QTimer::singleShot(500, this, [this] { m_sim->command("fault 1 0x3"); });
            }
        });
    });
    QVERIFY(raised);
    QCOMPARE(record.motors.size(), 2);
    const MotorRecord& faulty = record.motors[0];
    const StepRecord* spin = step(faulty, 2);
    QCOMPARE(spin->outcome, Outcome::Fail);
    QVERIFY2(spin->message.contains("Motor 1 reported a fault"), qPrintable(spin->message));
    const Measurement* alarm = measurement(spin, "alarm");
    QVERIFY(alarm);
    QVERIFY2(alarm->text.contains("0x3"), qPrintable(alarm->text));
    // Stopped at once, not after the settle time.
    QVERIFY2(spin->seconds < 3.5, qPrintable(QString::number(spin->seconds)));
    QCOMPARE(step(faulty, 3)->outcome, Outcome::Skipped);
    // The other motor's run goes on and passes.
    QCOMPARE(record.motors[1].outcome, Outcome::Pass);
    QCOMPARE(record.outcome, Outcome::Fail);
    QVERIFY(record.message.isEmpty());
    QVERIFY(allReset());
}

void TestCommissionRun::canIdClashRefusedBeforeSending() {
    m_motors = 2;
    QVERIFY(startBench({"--motors", "2", "--log", QDir::current().filePath("bench.log")}));
    const std::optional<Plan> plan =
        this->plan("name: clash\nsteps:\n  - step: set-can-id\n    id: 2\n  - step: zero\n");
    QVERIFY(plan);
    const RunRecord record = run(*plan, Scope::OneCanId, nullptr, 1);
    QCOMPARE(record.motors.size(), 1);
    const StepRecord* setId = step(record.motors.first(), 1);
    QCOMPARE(setId->outcome, Outcome::Fail);
    QVERIFY2(setId->message.contains("CAN ID 2 belongs to another motor"), qPrintable(setId->message));
    QCOMPARE(record.motors.first().canId, 1);
    QCOMPARE(step(record.motors.first(), 2)->outcome, Outcome::Skipped);
    // Nothing asked the motor for a new ID: the bench still has both at their addresses.
    const QMap<int, QString> modes = benchModes();
    QCOMPARE(modes.keys(), (QList<int>{1, 2}));
}

void TestCommissionRun::unplugMidStepEndsTheRun_data() {
    QTest::addColumn<bool>("replug");
    QTest::newRow("adapter comes back") << true;
    QTest::newRow("adapter stays away") << false;
}

void TestCommissionRun::unplugMidStepEndsTheRun() {
    QFETCH(bool, replug);
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.auto_connect"), true, true);
    const QString link = QDir::current().filePath(QStringLiteral("adapter"));
    m_reconnectWaitMs = replug ? 20000 : 1500;
    // Connected by the stable link, the worker finds a replugged adapter again.
    QVERIFY(startBench({"--motors", "1", "--port-link", link}, link));

    const std::optional<Plan> plan = this->plan(kLongSpin);
    QVERIFY(plan);
    QStringList notices;
    const RunRecord record = run(*plan, Scope::AllMotors, [&](CommissionRunner& runner) {
        connect(&runner, &CommissionRunner::notice, this, [&](const QString& text) {
            notices << text;
            if (replug && text.contains("waiting"))
                m_sim->command("plug");
        });
        connect(&runner, &CommissionRunner::stepStarted, this, [&](int, const PlanStep& s) {
            if (s.kind == "move")
                QTimer::singleShot(500, this, [this] { m_sim->command("unplug"); });
        });
    });
    QCOMPARE(record.motors.size(), 1);
    const StepRecord* spin = step(record.motors.first(), 2);
    QCOMPARE(spin->outcome, Outcome::Error);
    QVERIFY2(record.message.contains("disconnected"), qPrintable(record.message));
    QCOMPARE(step(record.motors.first(), 3)->outcome, Outcome::Skipped);
    QCOMPARE(record.outcome, Outcome::Error);
    const QString log = spin->log.join('\n');
    if (replug) {
        QVERIFY2(log.contains("Motor 1 left in reset mode"), qPrintable(log));
        QVERIFY(allReset());
    } else {
        // Nothing could reach the motor: the record says so instead of claiming it safe.
        QVERIFY2(log.contains("Motor 1 could not be reached"), qPrintable(log));
        QVERIFY(!log.contains("left in reset mode"));
    }
    QVERIFY2(notices.join('\n').contains("waiting up to"), qPrintable(notices.join('\n')));
}

void TestCommissionRun::cancelAndEmergencyStopEndTheRun_data() {
    QTest::addColumn<bool>("estop");
    QTest::newRow("cancel") << false;
    QTest::newRow("emergency stop") << true;
}

void TestCommissionRun::cancelAndEmergencyStopEndTheRun() {
    QFETCH(bool, estop);
    m_motors = 2;
    QVERIFY(startBench({"--motors", "2"}));
    const std::optional<Plan> plan = this->plan(kLongSpin);
    QVERIFY(plan);
    const RunRecord record = run(*plan, Scope::AllMotors, [&](CommissionRunner& runner) {
        connect(&runner, &CommissionRunner::stepStarted, this, [&, estop](int motor, const PlanStep& s) {
            if (motor != 0 || s.kind != "move")
                return;
            QTimer::singleShot(500, this, [&runner, estop] {
                if (estop)
                    MotionGuard::of(Helper::instance()->worker())->brake(MotionGuard::connectedCanIds());
                else
                    runner.cancel(QStringLiteral("Stopped by the test."));
            });
        });
    });
    QCOMPARE(record.motors.size(), 2);
    QCOMPARE(step(record.motors[0], 2)->outcome, Outcome::Error);
    QVERIFY2(record.message.contains(estop ? "emergency stop" : "Stopped by the test."),
             qPrintable(record.message));
    // The whole run ends: the second motor never starts.
    QCOMPARE(step(record.motors[1], 2)->outcome, Outcome::Skipped);
    QCOMPARE(record.outcome, Outcome::Error);
    QVERIFY(step(record.motors[0], 2)->log.join('\n').contains("Motor 1 left in reset mode"));
    // The run's motor in reset mode; the other one as the emergency stop left it.
    const QMap<int, QString> modes = benchModes();
    QCOMPARE(modes.value(1), QString("reset"));
    QCOMPARE(modes.value(2), QString(estop ? "brake" : "reset"));
    QVERIFY(!LinkLease::busy());
}

LINK_TEST_MAIN(TestCommissionRun)
#include "tst_commissionrun.moc"
