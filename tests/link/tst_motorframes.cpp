// Request frames and reply decoding against the motors' protocol, byte for byte.
#include <QtTest>

#include "link/motorframes.h"
#include "link/motorreplies.h"
#include "linktest.h"

Q_DECLARE_METATYPE(CanFrame)

namespace {

CanProtocol::ModelRanges model(int code, float vel, float torque, float kp, float kd) {
    CanProtocol::ModelRanges r;
    r.modelCode = code;
    r.velMax = vel;
    r.torqueMax = torque;
    r.kpMax = kp;
    r.kdMax = kd;
    return r;
}

const CanProtocol::ModelRanges kModel0 = model(0, 33, 14, 500, 5);
const CanProtocol::ModelRanges kModel1 = model(1, 44, 17, 500, 5);
const CanProtocol::ModelRanges kNoModel;

QByteArray bytes(const CanFrame& f) {
    return QByteArray(reinterpret_cast<const char*>(f.data.data()), f.length);
}

CanFrame frame(quint32 id, const QByteArray& data) {
    CanFrame f;
    f.id = id;
    f.length = quint8(data.size());
    for (int i = 0; i < data.size() && i < 8; ++i)
        f.data[i] = quint8(data[i]);
    return f;
}

}  // namespace

class TestMotorFrames : public QObject {
    Q_OBJECT

private slots:
    void requests_data();
    void requests();
    void refusals_data();
    void refusals();
    void mitScaling();
    void announcements_data();
    void announcements();
    void feedbackAndModelReply();
    void otherReplies();
};

void TestMotorFrames::requests_data() {
    QTest::addColumn<CanFrame>("frame");
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QByteArray>("data");
    const quint64 mcu = 0x1122334455667788ull;
    QTest::newRow("identity request")
        << MotorFrames::identityRequest(5) << 0x0000FD05u << QByteArray(1, '\0');
    QTest::newRow("motor mode") << MotorFrames::enterMotorMode(3) << 0x0300FD03u << QByteArray(8, '\0');
    QTest::newRow("reset mode") << MotorFrames::enterResetMode(3, mcu) << 0x0400FD03u
                                << QByteArray::fromHex("8877665544332211");
    QTest::newRow("brake mode") << MotorFrames::enterBrakeMode(3) << 0x1400FD03u << QByteArray(8, '\0');
    QTest::newRow("calibration") << MotorFrames::enterCalibration(3) << 0x0500FD03u << QByteArray(8, '\0');
    QTest::newRow("zero") << MotorFrames::setMechanicalZero(3, 1) << 0x0600FD03u
                          << QByteArray::fromHex("0101000000000000");
    QTest::newRow("set can id") << MotorFrames::setCanId(1, 5, mcu) << 0x0705FD01u
                                << QByteArray::fromHex("8877665544332211");
    QTest::newRow("clear alarm") << MotorFrames::clearAlarm(0) << 0x0400FD00u
                                 << QByteArray::fromHex("0100000000000000");
    QTest::newRow("model query") << MotorFrames::modelQuery(9) << 0x0400FD09u
                                 << QByteArray::fromHex("00c4000000000000");
    QTest::newRow("sdo float 1.5") << MotorFrames::sdoWriteFloat(2, 0x7016, 1.5f) << 0x1200FD02u
                                   << QByteArray::fromHex("167000000000c03f");
    QTest::newRow("sdo uint") << MotorFrames::sdoWriteUint(2, 0x7017, 0xA1B2C3D4u) << 0x1200FD02u
                              << QByteArray::fromHex("17700000d4c3b2a1");
    QTest::newRow("run mode 7") << MotorFrames::runModeWrite(2, 7) << 0x1200FD02u
                                << QByteArray::fromHex("0570000007000000");
    QTest::newRow("jog 0 over +-44") << *MotorFrames::jog(2, 0, true, kModel1, nullptr) << 0x1200FD02u
                                     << QByteArray::fromHex("0570000007017fff");
    QTest::newRow("jog stop before any model") << *MotorFrames::jog(2, 30, false, kNoModel, nullptr)
                                               << 0x1200FD02u << QByteArray::fromHex("0570000007007fff");
    QTest::newRow("mit zero, model 0") << *MotorFrames::mitControl(5, {}, kModel0, nullptr) << 0x017FFF05u
                                       << QByteArray::fromHex("7fff7fff00000000");
    // A quarter into each range: 65535 * 0.25 = 16383.75 and 65535 * 0.375 = 24575.625, truncated.
    QTest::newRow("mit negative set-points, model 1")
        << *MotorFrames::mitControl(3, {-8.5f, -6.25f, -11.f, 125.f, 1.25f}, kModel1, nullptr) << 0x013FFF03u
        << QByteArray::fromHex("3fff5fff3fff3fff");
    QTest::newRow("jog -22 over +-44") << *MotorFrames::jog(2, -22, true, kModel1, nullptr) << 0x1200FD02u
                                       << QByteArray::fromHex("0570000007013fff");
}

void TestMotorFrames::requests() {
    QFETCH(CanFrame, frame);
    QFETCH(quint32, id);
    QFETCH(QByteArray, data);
    QCOMPARE(QString::number(frame.id, 16), QString::number(id, 16));
    QCOMPARE(bytes(frame).toHex(), data.toHex());
}

void TestMotorFrames::refusals_data() {
    QTest::addColumn<float>("torque");
    QTest::addColumn<float>("position");
    QTest::addColumn<float>("velocity");
    QTest::addColumn<float>("kp");
    QTest::addColumn<float>("kd");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no model yet") << 0.f << 0.f << 0.f << 0.f << 0.f << false << "No motor model known yet";
    QTest::newRow("position 20 rad") << 0.f << 20.f << 0.f << 0.f << 0.f << true
                                     << "Position 20 is outside the range [-12.5, 12.5]";
    QTest::newRow("position just below") << 0.f << -12.51f << 0.f << 0.f << 0.f << true << "Position";
    QTest::newRow("velocity") << 0.f << 0.f << 33.5f << 0.f << 0.f << true
                              << "Velocity 33.5 is outside the range [-33, 33]";
    QTest::newRow("negative kp") << 0.f << 0.f << 0.f << -1.f << 0.f << true
                                 << "Kp -1 is outside the range [0, 500]";
    QTest::newRow("kd") << 0.f << 0.f << 0.f << 0.f << 5.5f << true << "Kd 5.5";
    QTest::newRow("torque") << -15.f << 0.f << 0.f << 0.f << 0.f << true
                            << "Torque -15 is outside the range [-14, 14]";
    QTest::newRow("nan position") << 0.f << float(qQNaN()) << 0.f << 0.f << 0.f << true << "Position";
}

void TestMotorFrames::refusals() {
    QFETCH(float, torque);
    QFETCH(float, position);
    QFETCH(float, velocity);
    QFETCH(float, kp);
    QFETCH(float, kd);
    QFETCH(bool, known);
    QFETCH(QString, reason);
    MotorFrames::MitSetpoints sp;
    sp.torque = torque;
    sp.position = position;
    sp.velocity = velocity;
    sp.kp = kp;
    sp.kd = kd;
    QString error;
    QVERIFY(!MotorFrames::mitControl(1, sp, known ? kModel0 : kNoModel, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestMotorFrames::mitScaling() {
    // The range ends are set-points too: they encode to 0 and 65535, never refused.
    MotorFrames::MitSetpoints sp;
    sp.torque = 14;
    sp.position = 12.5f;
    sp.velocity = -33;
    sp.kp = 500;
    sp.kd = 0;
    const auto f = MotorFrames::mitControl(7, sp, kModel0, nullptr);
    QVERIFY(f);
    QCOMPARE(QString::number(f->id, 16), QStringLiteral("1ffff07"));
    QCOMPARE(bytes(*f).toHex(), QByteArray("ffff0000ffff0000"));
    QString error;
    QVERIFY(!MotorFrames::jog(1, 45, true, kModel1, &error));
    QVERIFY2(error.contains("Speed 45 is outside the range [-44, 44]"), qPrintable(error));
    QVERIFY(!MotorFrames::jog(1, 1, true, kNoModel, &error));
}

void TestMotorFrames::announcements_data() {
    QTest::addColumn<quint32>("id");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("canId");
    QTest::newRow("plain") << 0x000005FEu << true << 5;
    QTest::newRow("bit 15 dropped") << 0x000085FEu << true << 5;
    QTest::newRow("sub-code ignored") << 0x00AB7FFEu << true << 127;
    QTest::newRow("to the host") << 0x000005FDu << false << 5;
}

void TestMotorFrames::announcements() {
    QFETCH(quint32, id);
    QFETCH(bool, valid);
    QFETCH(int, canId);
    const auto a = MotorReplies::announcement(frame(id, QByteArray::fromHex("0102030405060708")));
    QCOMPARE(a.valid, valid);
    QCOMPARE(int(a.canId), canId);
    QCOMPARE(a.mcuId, 0x0807060504030201ull);
}

void TestMotorFrames::feedbackAndModelReply() {
    // Mode state 2, fault flags 0 and 5, CAN ID 0x12.
    const quint32 id = (2u << 24) | (2u << 22) | (1u << 21) | (1u << 16) | (0x12u << 8) | 0xFD;
    auto fb = MotorReplies::feedback(frame(id, QByteArray::fromHex("80007fff00010000")));
    QVERIFY(!fb.modelReply);
    QCOMPARE(int(fb.canId), 0x12);
    QCOMPARE(fb.modeState, 2);
    QCOMPARE(fb.faults, (std::array<bool, 6>{true, false, false, false, false, true}));
    QCOMPARE(fb.positionRaw, 0x8000);
    QCOMPARE(fb.velocityRaw, 0x7FFF);
    QCOMPARE(fb.torqueRaw, 1);

    fb = MotorReplies::feedback(frame(id, QByteArray::fromHex("00c4ffff0102ffff")));
    QVERIFY(fb.modelReply);
    QCOMPARE(int(fb.modelA), 1);
    QCOMPARE(int(fb.modelB), 2);
    QCOMPARE(fb.positionRaw, 0);
    QCOMPARE(fb.modeState, 2);
}

void TestMotorFrames::otherReplies() {
    // Fault words only from full frames.
    QVERIFY(!MotorReplies::faultWarning(frame(0x150003FD, QByteArray(7, '\1'))).valid);
    const auto fw = MotorReplies::faultWarning(frame(0x150003FD, QByteArray::fromHex("0100000002000080")));
    QVERIFY(fw.valid);
    QCOMPARE(fw.fault, 1u);
    QCOMPARE(fw.warning, 0x80000002u);

    QCOMPARE(MotorReplies::sdoAcknowledgement(frame(0x120003FD, QByteArray::fromHex("1270000000000000"))), 0);
    QCOMPARE(MotorReplies::sdoAcknowledgement(frame(0x120003FD, QByteArray::fromHex("1270000001000000"))), 1);
    QCOMPARE(MotorReplies::sdoAcknowledgement(frame(0x120003FD, QByteArray::fromHex("1370000001000000"))),
             -1);

    const auto hall =
        MotorReplies::calibrationDone(frame(0x050103FD, QByteArray::fromHex("1a2b3c4d5e6f7788")));
    QCOMPARE(hall.subCode, 1);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(hall.hall.data()), 8).toHex(),
             QByteArray("a1b2c3d4e5f67788"));
    const auto offset =
        MotorReplies::calibrationDone(frame(0x050003FD, QByteArray::fromHex("0000c03f00000000")));
    QCOMPARE(offset.offset, 1.5f);

    const auto progress =
        MotorReplies::calibrationProgress(frame(0x0F1234FD, QByteArray::fromHex("0000803f00000040")));
    QCOMPARE(progress.rotorAngle, 1.0f);
    QCOMPARE(progress.statorFluxAngle, 2.0f);
    QCOMPARE(int(progress.sensorValue), 0x1234);

    const auto row = MotorReplies::calibrationRow(frame(0x100004FD, QByteArray::fromHex("fffe0200feffffff")));
    QCOMPARE(int(row.canId), 4);
    QCOMPARE(int(row.number), -257);
    QCOMPARE(int(row.index), 2);
    QCOMPARE(row.correction, -2);
}

LINK_TEST_MAIN(TestMotorFrames)
#include "tst_motorframes.moc"
