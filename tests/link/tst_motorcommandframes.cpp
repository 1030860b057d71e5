// Command frames to a motor against bytes written out by hand from the protocol's layouts: each
// row is built and compared with its bytes, and the hand-written bytes are read back as the
// motor reads them.
#include "link/canprotocol.h"
#include "link/frames/motorcommandframes.h"

#include <QtTest>

namespace MCF = MotorCommandFrames;

namespace {

CanFrame handWritten(quint32 id, const QByteArray& data) {
    CanFrame f;
    f.id = id;
    f.length = quint8(data.size());
    for (int i = 0; i < data.size() && i < 8; ++i)
        f.data[size_t(i)] = quint8(data[i]);
    return f;
}

QString hex(quint64 value) {
    return QString::number(value, 16);
}

// What the motor makes of a frame, in one line, through the shared decoders.
QString motorReads(const CanFrame& f) {
    const QString to = QStringLiteral(" to %1").arg(f.destination());
    switch (f.type()) {
        case CANCOM_MOTOR_CTRL: {
            const MCF::MitRaw m = MCF::mitOf(f);
            return QStringLiteral("mit t=%1 p=%2 v=%3 kp=%4 kd=%5")
                       .arg(hex(m.torque), hex(m.position), hex(m.velocity), hex(m.kp), hex(m.kd)) +
                   to;
        }
        case CANCOM_MOTOR_IN:
            return QStringLiteral("motor mode") + to;
        case CANCOM_MOTOR_RESET: {
            const MCF::ResetRequest r = MCF::resetOf(f);
            if (r.kind == MCF::ResetRequest::ModelQuery)
                return QStringLiteral("model query") + to;
            if (r.kind == MCF::ResetRequest::ClearAlarm)
                return QStringLiteral("clear alarm") + to;
            return QStringLiteral("reset mcu=%1").arg(hex(r.mcuId)) + to;
        }
        case CANCOM_MOTOR_ZERO:
            return QStringLiteral("zero flag=%1").arg(MCF::zeroFlagOf(f)) + to;
        case CANCOM_MOTOR_ID: {
            const MCF::CanIdChange c = MCF::canIdChangeOf(f);
            return QStringLiteral("can id %1 -> %2 mcu=%3").arg(c.currentId).arg(c.newId).arg(hex(c.mcuId));
        }
        case CANCOM_SDO_WRITE: {
            const MCF::ObjectWrite w = MCF::objectWriteOf(f);
            if (w.isJog())
                return QStringLiteral("jog run=%1 speed=%2").arg(int(w.jogRun)).arg(hex(w.jogSpeedRaw)) + to;
            if (w.index == MCF::kRunModeIndex)
                return QStringLiteral("run mode %1").arg(w.runMode) + to;
            return QStringLiteral("object %1 u=%2 f=%3")
                       .arg(hex(w.index), hex(w.uintValue))
                       .arg(double(w.floatValue), 0, 'g', 6) +
                   to;
        }
        default:
            return QStringLiteral("type %1").arg(f.type());
    }
}

}  // namespace

Q_DECLARE_METATYPE(CanFrame)

class TstMotorCommandFrames : public QObject {
    Q_OBJECT

private slots:
    void golden_data();
    void golden();
    void readBack_data() { golden_data(); }
    void readBack();
    void resetRequestsThatLookAlike_data();
    void resetRequestsThatLookAlike();
};

void TstMotorCommandFrames::golden_data() {
    QTest::addColumn<CanFrame>("built");
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reads");
    const quint64 mcu = 0x1122334455667788ull;

    // MIT control: the torque fills identifier bits 23-8, the four others big-endian.
    MCF::MitRaw zero;  // every set-point 0 for model 0: the middle of the symmetric ranges
    zero.torque = zero.position = zero.velocity = 0x7FFF;
    QTest::newRow("mit zero set-points")
        << MCF::mitControl(5, zero) << 0x017FFF05u << QByteArray::fromHex("7fff7fff00000000")
        << "mit t=7fff p=7fff v=7fff kp=0 kd=0 to 5";
    MCF::MitRaw top;
    top.torque = top.position = top.velocity = top.kp = top.kd = 0xFFFF;
    QTest::newRow("mit range tops") << MCF::mitControl(127, top) << 0x01FFFF7Fu
                                    << QByteArray::fromHex("ffffffffffffffff")
                                    << "mit t=ffff p=ffff v=ffff kp=ffff kd=ffff to 127";
    QTest::newRow("mit range bottoms")
        << MCF::mitControl(1, MCF::MitRaw()) << 0x01000001u << QByteArray::fromHex("0000000000000000")
        << "mit t=0 p=0 v=0 kp=0 kd=0 to 1";
    MCF::MitRaw order;
    order.torque = 0x1234;
    order.position = 0xA1B2;
    order.velocity = 0x0102;
    order.kp = 0xFFFE;
    order.kd = 0x8000;
    QTest::newRow("mit byte order") << MCF::mitControl(0x20, order) << 0x01123420u
                                    << QByteArray::fromHex("a1b20102fffe8000")
                                    << "mit t=1234 p=a1b2 v=102 kp=fffe kd=8000 to 32";

    QTest::newRow("motor mode") << MCF::enterMotorMode(127) << 0x0300FD7Fu << QByteArray(8, '\0')
                                << "motor mode to 127";

    // Type 4: reset names the MCU ID little-endian; clear alarm and model query are told
    // apart by their first two bytes.
    QTest::newRow("reset, mcu byte order")
        << MCF::enterResetMode(3, mcu) << 0x0400FD03u << QByteArray::fromHex("8877665544332211")
        << "reset mcu=1122334455667788 to 3";
    QTest::newRow("reset, mcu 0") << MCF::enterResetMode(3, 0) << 0x0400FD03u << QByteArray(8, '\0')
                                  << "reset mcu=0 to 3";
    QTest::newRow("reset, mcu starting 01")
        << MCF::enterResetMode(1, 0x8000000000000001ull) << 0x0400FD01u
        << QByteArray::fromHex("0100000000000080") << "reset mcu=8000000000000001 to 1";
    QTest::newRow("clear alarm") << MCF::clearAlarm(0) << 0x0400FD00u
                                 << QByteArray::fromHex("0100000000000000") << "clear alarm to 0";
    QTest::newRow("model query") << MCF::modelQuery(9) << 0x0400FD09u
                                 << QByteArray::fromHex("00c4000000000000") << "model query to 9";

    QTest::newRow("zero, flag 1") << MCF::setMechanicalZero(3, 1) << 0x0600FD03u
                                  << QByteArray::fromHex("0101000000000000") << "zero flag=1 to 3";
    QTest::newRow("zero, flag 0") << MCF::setMechanicalZero(126, 0) << 0x0600FD7Eu
                                  << QByteArray::fromHex("0001000000000000") << "zero flag=0 to 126";

    QTest::newRow("can id 1 -> 5") << MCF::setCanId(1, 5, mcu) << 0x0705FD01u
                                   << QByteArray::fromHex("8877665544332211")
                                   << "can id 1 -> 5 mcu=1122334455667788";
    QTest::newRow("can id 127 -> 1") << MCF::setCanId(127, 1, 0xFEDCBA9876543210ull) << 0x0701FD7Fu
                                     << QByteArray::fromHex("1032547698badcfe")
                                     << "can id 127 -> 1 mcu=fedcba9876543210";

    // Type 18: index and value little-endian; the jog speed big-endian.
    QTest::newRow("object float 1.5")
        << MCF::sdoWriteFloat(2, 0x7016, 1.5f) << 0x1200FD02u << QByteArray::fromHex("167000000000c03f")
        << "object 7016 u=3fc00000 f=1.5 to 2";
    QTest::newRow("object float -2") << MCF::sdoWriteFloat(2, 0x700A, -2.0f) << 0x1200FD02u
                                     << QByteArray::fromHex("0a700000000000c0")
                                     << "object 700a u=c0000000 f=-2 to 2";
    QTest::newRow("object float -0.1")
        << MCF::sdoWriteFloat(4, 0x7006, -0.1f) << 0x1200FD04u << QByteArray::fromHex("06700000cdccccbd")
        << "object 7006 u=bdcccccd f=-0.1 to 4";
    QTest::newRow("object uint") << MCF::sdoWriteUint(2, 0x7017, 0xA1B2C3D4u) << 0x1200FD02u
                                 << QByteArray::fromHex("17700000d4c3b2a1")
                                 << "object 7017 u=a1b2c3d4 f=-1.21136e-18 to 2";
    QTest::newRow("object uint, all ones")
        << MCF::sdoWriteUint(127, 0xFFFF, 0xFFFFFFFFu) << 0x1200FD7Fu
        << QByteArray::fromHex("ffff0000ffffffff") << "object ffff u=ffffffff f=nan to 127";
    QTest::newRow("run mode 5") << MCF::runModeWrite(2, 5) << 0x1200FD02u
                                << QByteArray::fromHex("0570000005000000") << "run mode 5 to 2";
    QTest::newRow("jog zero speed") << MCF::jog(2, true, 0x7FFF) << 0x1200FD02u
                                    << QByteArray::fromHex("0570000007017fff") << "jog run=1 speed=7fff to 2";
    QTest::newRow("jog stop") << MCF::jog(2, false, 0x7FFF) << 0x1200FD02u
                              << QByteArray::fromHex("0570000007007fff") << "jog run=0 speed=7fff to 2";
    QTest::newRow("jog full reverse") << MCF::jog(2, true, 0) << 0x1200FD02u
                                      << QByteArray::fromHex("0570000007010000") << "jog run=1 speed=0 to 2";
    QTest::newRow("jog speed byte order")
        << MCF::jog(9, true, 0x1234) << 0x1200FD09u << QByteArray::fromHex("0570000007011234")
        << "jog run=1 speed=1234 to 9";
}

void TstMotorCommandFrames::golden() {
    QFETCH(CanFrame, built);
    QFETCH(quint32, id);
    QFETCH(QByteArray, data);
    QCOMPARE(QString::number(built.id, 16), QString::number(id, 16));
    QCOMPARE(int(built.length), 8);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(built.data.data()), 8).toHex(), data.toHex());
}

void TstMotorCommandFrames::readBack() {
    QFETCH(quint32, id);
    QFETCH(QByteArray, data);
    QFETCH(QString, reads);
    QCOMPARE(motorReads(handWritten(id, data)), reads);
}

void TstMotorCommandFrames::resetRequestsThatLookAlike_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reads");
    // A clear alarm is exactly 01 and seven zeros; a reset naming MCU ID 1 is the same bytes.
    QTest::newRow("reset naming mcu 1") << QByteArray::fromHex("0100000000000000") << "clear alarm to 3";
    QTest::newRow("01 with a trailing byte")
        << QByteArray::fromHex("0100000000000001") << "reset mcu=100000000000001 to 3";
    // The model query only looks at its first two bytes.
    QTest::newRow("model query with more bytes")
        << QByteArray::fromHex("00c4ffffffffffff") << "model query to 3";
    QTest::newRow("c4 first is a reset") << QByteArray::fromHex("c400000000000000") << "reset mcu=c4 to 3";
}

void TstMotorCommandFrames::resetRequestsThatLookAlike() {
    QFETCH(QByteArray, data);
    QFETCH(QString, reads);
    QCOMPARE(motorReads(handWritten(0x0400FD03u, data)), reads);
}

QTEST_GUILESS_MAIN(TstMotorCommandFrames)
#include "tst_motorcommandframes.moc"
