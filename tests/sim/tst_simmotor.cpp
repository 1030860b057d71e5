#include "simharness.h"

#include "sim/simfirmware.h"
#include "sim/simparamtable.h"
#include "link/frames/paramframes.h"
#include "link/frames/paramvalue.h"

#include <QFile>
#include <QSignalSpy>

using namespace simtest;

class TstSimMotor : public QObject {
    Q_OBJECT

private slots:
    void scanFindsEveryMotorOnce();
    void modelReply();
    void modeChanges_data();
    void modeChanges();
    void mitDrivesTheModel_data();
    void mitDrivesTheModel();
    void runModes_data();
    void runModes();
    void canIdChange();
    void description();
    void readChunks_data();
    void readChunks();
    void writeErrors_data();
    void writeErrors();
    void writeTextAndReadBack();
    void saveSurvivesPowerCycle();
    void calibration();
    void faultFrame();
};

void TstSimMotor::scanFindsEveryMotorOnce() {
    SimSettings s = Host::settingsFor(3);
    s.motors[1].canId = 0x55;
    s.motors[2].mcuId = Q_UINT64_C(0x0a0d0a0d0a0d0a0d);  // CR LF all over the announcement
    Host host(s);
    for (int id = 1; id <= 127; ++id)
        host.send(request(CANCOM_ANNOUNCE_DEVID, 0, quint8(id)));
    const QList<CanFrame> got = host.take();
    QCOMPARE(got.size(), 3);
    QSet<quint64> mcus;
    for (const CanFrame& f : got) {
        QCOMPARE(int(f.type()), int(CANCOM_ANNOUNCE_DEVID));
        QCOMPARE(f.destination(), CanProtocol::kAnnounceId);
        const quint64 mcu = qFromLittleEndian<quint64>(f.data.data());
        mcus << mcu;
        for (const SimMotorIdentity& m : s.motors)
            if (m.mcuId == mcu)
                QCOMPARE(int(f.dataField() & 0x7F), int(m.canId));
    }
    QCOMPARE(mcus.size(), 3);
    QVERIFY(host.lines.isEmpty());
}

void TstSimMotor::modelReply() {
    SimSettings s = Host::settingsFor(1);
    s.motors[0].modelA = 4;
    s.motors[0].modelB = 1;
    Host host(s);
    host.send(request(CANCOM_MOTOR_IN, 0, 1));
    host.take();
    host.send(request(CANCOM_MOTOR_RESET, 0, 1, {0x00, 0xC4}));
    const QList<CanFrame> got = host.take();
    QCOMPARE(got.size(), 1);
    const CanFrame& f = got[0];
    QCOMPARE(int(f.type()), int(CANCOM_MOTOR_FEEDBACK));
    QCOMPARE(int(f.data[0]), 0x00);
    QCOMPARE(int(f.data[1]), 0xC4);
    const auto ranges = CanProtocol::rangesForModel(f.data[4], f.data[5]);
    QVERIFY(ranges);
    QCOMPARE(ranges->modelCode, 4);
    // A model query does not leave motor mode.
    QCOMPARE(int(f.id >> 22) & 3, int(SimMotor::Run));
    QCOMPARE(host.motor(0)->mode(), SimMotor::Run);
}

void TstSimMotor::modeChanges_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("mode");
    QTest::newRow("motor") << int(CANCOM_MOTOR_IN) << QByteArray(8, 0) << int(SimMotor::Run);
    QTest::newRow("brake") << int(CANCOM_MOTOR_BRAKE) << QByteArray(8, 0) << int(SimMotor::Brake);
    QTest::newRow("reset with MCU ID")
        << int(CANCOM_MOTOR_RESET) << QByteArray::fromHex("0110000000000000") << int(SimMotor::Reset);
    QTest::newRow("calibration") << int(CANCOM_MOTOR_CALI) << QByteArray(8, 0) << int(SimMotor::Calibration);
    QTest::newRow("zero keeps mode") << int(CANCOM_MOTOR_ZERO) << QByteArray::fromHex("0101")
                                     << int(SimMotor::Brake);
    QTest::newRow("clear alarm keeps mode")
        << int(CANCOM_MOTOR_RESET) << QByteArray::fromHex("01") << int(SimMotor::Brake);
}

void TstSimMotor::modeChanges() {
    QFETCH(int, type);
    QFETCH(QByteArray, data);
    QFETCH(int, mode);
    Host host;
    host.send(request(CANCOM_MOTOR_BRAKE, 0, 2));
    host.motor(1)->raiseFault(0x5, 0);
    host.take();
    CanFrame f = request(quint8(type), 0, 2);
    std::copy(data.begin(), data.end(), f.data.begin());
    host.send(f);
    const QList<CanFrame> got = host.take();
    QVERIFY(!got.isEmpty());
    const CanFrame& fb = got[0];
    QCOMPARE(int(fb.type()), int(CANCOM_MOTOR_FEEDBACK));
    QCOMPARE(int(fb.dataField() & 0xFF), 2);
    QCOMPARE(fb.destination(), CanProtocol::kHostId);
    QCOMPARE(int(fb.id >> 22) & 3, mode);
    // Fault flags stay until an alarm is cleared.
    const bool cleared = type == CANCOM_MOTOR_RESET && data.size() == 1;
    QCOMPARE(int(fb.id >> 16) & 0x3F, cleared ? 0 : 0x5);
    QCOMPARE(host.motor(0)->mode(), SimMotor::Reset);  // the other motor did not listen
}

void TstSimMotor::mitDrivesTheModel_data() {
    QTest::addColumn<int>("modelA");
    QTest::addColumn<int>("modelB");
    QTest::addColumn<float>("kp");
    QTest::addColumn<float>("kd");
    QTest::newRow("soft gains") << 0 << 2 << 40.f << 1.f;
    QTest::newRow("stiffest gains") << 0 << 0 << 5000.f << 100.f;
}

void TstSimMotor::mitDrivesTheModel() {
    QFETCH(int, modelA);
    QFETCH(int, modelB);
    QFETCH(float, kp);
    QFETCH(float, kd);
    SimSettings s = Host::settingsFor(1);
    s.motors[0].modelA = quint8(modelA);
    s.motors[0].modelB = quint8(modelB);
    Host host(s);
    host.send(request(CANCOM_MOTOR_IN, 0, 1));
    const auto r = host.motor(0)->ranges();
    const int pos = CanProtocol::encodeRange(1.0f, -12.5f, 12.5f);
    const int vel = CanProtocol::encodeRange(0, -r.velMax, r.velMax);
    const int kpRaw = CanProtocol::encodeRange(kp, 0, r.kpMax);
    const int kdRaw = CanProtocol::encodeRange(kd, 0, r.kdMax);
    const int torque = CanProtocol::encodeRange(0, -r.torqueMax, r.torqueMax);
    CanFrame mit;
    mit.id = CanFrame::makeId(CANCOM_MOTOR_CTRL, quint16(torque), 1);
    mit.length = 8;
    mit.data = {quint8(pos >> 8),   quint8(pos),   quint8(vel >> 8),   quint8(vel),
                quint8(kpRaw >> 8), quint8(kpRaw), quint8(kdRaw >> 8), quint8(kdRaw)};
    float position = 0;
    QTRY_VERIFY_WITH_TIMEOUT(
        ([&] {
            host.take();
            host.send(mit);
            const QList<CanFrame> got = host.take();
            if (got.size() != 1)
                return false;
            position = CanProtocol::decodeRange(got[0].data[0] << 8 | got[0].data[1], -12.5f, 12.5f);
            const float velocity =
                CanProtocol::decodeRange(got[0].data[2] << 8 | got[0].data[3], -r.velMax, r.velMax);
            return std::abs(position - 1.0f) < 0.02f && std::abs(velocity) < 0.05f;
        }()),
        10000);
    // Back to reset mode: the drive lets go and the feedback says so.
    host.send(request(CANCOM_MOTOR_RESET, 0, 1, {1, 2, 3}));
    QCOMPARE(int(host.take().value(0).id >> 22) & 3, int(SimMotor::Reset));
}

void TstSimMotor::runModes_data() {
    QTest::addColumn<int>("runMode");
    QTest::addColumn<int>("index");  // object holding the set-point
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("position");  // expected settled position, or NaN
    QTest::addColumn<float>("velocity");  // expected steady velocity
    QTest::newRow("velocity") << 2 << 0x700A << 4.0f << std::nanf("") << 4.0f;
    QTest::newRow("csp position") << 5 << 0x7016 << -1.5f << -1.5f << 0.0f;
    QTest::newRow("pp position") << 1 << 0x7016 << 2.0f << 2.0f << 0.0f;
    QTest::newRow("jog") << 7 << 0 << 3.0f << std::nanf("") << 3.0f;
}

void TstSimMotor::runModes() {
    QFETCH(int, runMode);
    QFETCH(int, index);
    QFETCH(float, value);
    QFETCH(float, position);
    QFETCH(float, velocity);
    Host host;
    const auto r = host.motor(0)->ranges();
    auto object = [&](int idx, std::initializer_list<quint8> tail) {
        CanFrame f = request(CANCOM_SDO_WRITE, 0, 1, {quint8(idx), quint8(idx >> 8), 0, 0});
        int i = 4;
        for (quint8 b : tail)
            f.data[size_t(i++)] = b;
        host.send(f);
    };
    if (runMode == 7) {
        const int raw = CanProtocol::encodeRange(value, -r.velMax, r.velMax);
        object(0x7005, {7, 1, quint8(raw >> 8), quint8(raw)});
    } else {
        object(0x7005, {quint8(runMode)});
        host.send(request(CANCOM_MOTOR_IN, 0, 1));
        quint8 b[4];
        qToLittleEndian(value, b);
        object(index, {b[0], b[1], b[2], b[3]});
    }
    QCOMPARE(host.motor(0)->runMode(), runMode);
    auto feedback = [&](float* pos, float* vel) {
        host.take();
        host.send(request(CANCOM_MOTOR_IN, 0, 1));
        const CanFrame fb = host.take().value(0);
        *pos = CanProtocol::decodeRange(fb.data[0] << 8 | fb.data[1], -12.5f, 12.5f);
        *vel = CanProtocol::decodeRange(fb.data[2] << 8 | fb.data[3], -r.velMax, r.velMax);
        return int(fb.id >> 22) & 3;
    };
    float pos = 0, vel = 0;
    QTRY_VERIFY_WITH_TIMEOUT(feedback(&pos, &vel) == SimMotor::Run && std::abs(vel - velocity) < 0.1f &&
                                 (std::isnan(position) || std::abs(pos - position) < 0.02f),
                             15000);
    // Brake: the rotor comes to rest.
    host.send(request(CANCOM_MOTOR_BRAKE, 0, 1));
    QCOMPARE(int(host.take().value(0).id >> 22) & 3, int(SimMotor::Brake));
    QTRY_VERIFY_WITH_TIMEOUT((host.motor(0)->advance(), std::abs(host.motor(0)->physics().velocity()) < 0.01),
                             15000);
}

void TstSimMotor::canIdChange() {
    Host host;
    const quint64 mcu = host.motor(0)->mcuId();
    CanFrame f = request(CANCOM_MOTOR_ID, 9, 1);
    qToLittleEndian(mcu + 1, f.data.data());  // another motor's MCU ID: ignored
    host.send(f);
    QVERIFY(host.take().isEmpty());
    qToLittleEndian(mcu, f.data.data());
    host.send(f);
    const QList<CanFrame> got = host.take();
    QCOMPARE(got.size(), 1);
    QCOMPARE(int(got[0].type()), int(CANCOM_ANNOUNCE_DEVID));
    QCOMPARE(int(got[0].dataField() & 0x7F), 9);
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 1));
    QVERIFY(host.take().isEmpty());
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 9));
    QCOMPARE(host.take().size(), 1);
}

void TstSimMotor::description() {
    Host host;
    host.send(request(CANCOM_PARA_STR_INFO, 0, 1));
    const QList<CanFrame> got = host.take();
    QVERIFY(got.size() > 50);
    // Walk the stream as the host does: an entry starts at phase 0, its phases follow in order,
    // entries of a group come in index order, the summary closes the stream.
    int counts[4] = {};
    int prevPhase = -1, prevCode = -1;
    QSet<int> types;
    QString name;
    double limitMax = 0;
    bool sawScaledLimit = false;
    for (int i = 0; i < got.size(); ++i) {
        const CanFrame& f = got[i];
        QCOMPARE(int(f.type()), int(CANCOM_PARA_STR_INFO));
        QCOMPARE(f.destination(), CanProtocol::kHostId);
        const int phase = (f.id >> 16) & 0xFF;
        const int code = le16(f, 0);
        const int group = code >> 12, index = code & 0xFFF;
        if (phase == 9) {
            QCOMPARE(i, got.size() - 1);
            QCOMPARE(int(f.data[2]), counts[0]);
            QCOMPARE(int(f.data[3]), counts[1]);
            QCOMPARE(int(le16(f, 4)), counts[2]);
            QCOMPARE(int(le16(f, 6)), counts[3]);
            QVERIFY(int(f.data[0]) < counts[2]);
            continue;
        }
        if (phase == 0) {
            QCOMPARE(index, counts[group]);
            ++counts[group];
            name = QString::fromLatin1(reinterpret_cast<const char*>(&f.data[2]), 6);
        } else {
            QCOMPARE(code, prevCode);
            if (phase == 6) {
                QVERIFY(group <= 1);  // a string's value follows its name
                QCOMPARE(prevPhase, 2);
            } else {
                QCOMPARE(phase, prevPhase + 1);
            }
        }
        if (phase == 3) {
            QVERIFY(group >= 2);
            const int type = f.data[7] & 0x1F;
            QVERIFY(type <= 9);
            if (group == 2) {
                types << type;
                const qint8 e = qint8(f.data[6]);
                limitMax = qint16(le16(f, 4)) * std::pow(10.0, e);
                sawScaledLimit = sawScaledLimit || e != 0;
                QVERIFY(qint16(le16(f, 2)) <= qint16(le16(f, 4)));
            }
        }
        prevPhase = phase;
        prevCode = code;
    }
    QVERIFY(counts[0] >= 2 && counts[1] >= 2 && counts[2] >= 10 && counts[3] >= 5);
    QCOMPARE(types.size(), 10);  // every numeric type has a setting
    QVERIFY(sawScaledLimit);
    Q_UNUSED(limitMax);
    QCOMPARE(name.left(4), QStringLiteral("elec"));  // the last entry's name was streamed
}

void TstSimMotor::readChunks_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("chunks");
    QTest::addColumn<int>("type");
    QTest::newRow("float") << 0x2008 << 1 << 6;
    QTest::newRow("uint8") << 0x2013 << 1 << 0;
    QTest::newRow("double") << 0x200F << 2 << 9;
    QTest::newRow("uint64") << 0x2011 << 2 << 7;
    QTest::newRow("text") << 0x1002 << 4 << 10;
    QTest::newRow("live float") << 0x3004 << 1 << 6;
    QTest::newRow("no such code") << 0x2FFF << 1 << -1;
}

void TstSimMotor::readChunks() {
    QFETCH(int, code);
    QFETCH(int, chunks);
    QFETCH(int, type);
    Host host;
    host.send(request(CANCOM_PARA_READ, 0, 1, {quint8(code), quint8(code >> 8)}));
    const QList<CanFrame> got = host.take();
    QCOMPARE(got.size(), chunks);
    QByteArray value;
    for (int i = 0; i < got.size(); ++i) {
        const CanFrame& f = got[i];
        QCOMPARE(int(f.type()), int(CANCOM_PARA_READ));
        QCOMPARE(int(le16(f, 0)), code);
        QCOMPARE(int(f.dataField() & 0xFF), 1);
        QCOMPARE(int(f.id >> 16) & 0xFF, type < 0 ? 1 : 0);
        if (type < 0)
            return;
        QCOMPARE(int(f.data[2]), type);
        QCOMPARE(int(f.data[3]), i);
        value.append(reinterpret_cast<const char*>(&f.data[4]), 4);
    }
    SimParamTable& table = host.motor(0)->table();
    if (type == 10)
        QCOMPARE(QString::fromLatin1(value.left(value.indexOf('\0'))), table.text(quint16(code)));
    else if (code == 0x2011)
        QCOMPARE(qFromLittleEndian<quint64>(value.constData()), host.motor(0)->mcuId());
    else
        QVERIFY(std::abs(ParamValue::toDouble(type, value) - table.value(quint16(code))) < 1e-6);
}

void TstSimMotor::writeErrors_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("type");
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("in range") << 0x2008 << 6 << 5.5f << 0;
    QTest::newRow("top of range") << 0x2008 << 6 << 14.0f << 0;
    QTest::newRow("out of range") << 0x2008 << 6 << 14.5f << 6;
    QTest::newRow("below range") << 0x200E << 6 << 0.05f << 6;
    QTest::newRow("read-only setting") << 0x2007 << 4 << 100.f << 2;
    QTest::newRow("measurement") << 0x3000 << 6 << 1.f << 2;
    QTest::newRow("read-only text") << 0x1000 << 10 << 0.f << 2;
    QTest::newRow("type error") << 0x2008 << 4 << 5.f << 3;
    QTest::newRow("no such code") << 0x2FFF << 6 << 1.f << 1;
}

void TstSimMotor::writeErrors() {
    QFETCH(int, code);
    QFETCH(int, type);
    QFETCH(float, value);
    QFETCH(int, error);
    Host host;
    const double before = host.motor(0)->table().value(quint16(code));
    // The request comes from the shared layout; the value bytes from the shared codec.
    host.send(ParamFrames::writeRequest(1, quint16(code), type, 0,
                                        ParamValue::toRaw(type == 10 ? 6 : type, value)));
    const QList<CanFrame> got = host.take();
    QCOMPARE(got.size(), 1);
    const CanFrame& r = got[0];
    QCOMPARE(int(r.type()), int(CANCOM_PARA_WRITE));
    QCOMPARE(int(r.id >> 16) & 3, 0);  // sub-command echoed
    QCOMPARE(int(r.id >> 18) & 0x3F, error);
    QCOMPARE(int(le16(r, 0)), code);
    QCOMPARE(int(r.data[2]), type);
    QCOMPARE(int(r.data[3]), 0);
    const double after = host.motor(0)->table().value(quint16(code));
    if (error == 0 && type == 6)
        QCOMPARE(float(after), value);
    else if (code != 0x3000)
        QCOMPARE(after, before);
}

void TstSimMotor::writeTextAndReadBack() {
    Host host;
    const QByteArray text = "left-knee-0D0A\r\n";  // 16 bytes, CR LF included
    auto chunk = [&](int n) {
        CanFrame f = request(CANCOM_PARA_WRITE, 0, 1, {0x02, 0x00, 10, quint8(n)});
        std::copy(text.begin() + 4 * n, text.begin() + 4 * n + 4, f.data.begin() + 4);
        return f;
    };
    // A skipped chunk is a lost frame, and the write starts over.
    host.send(chunk(0));
    host.send(chunk(2));
    QList<CanFrame> got = host.take();
    QCOMPARE(got.size(), 2);
    QCOMPARE(int(got[0].id >> 18) & 0x3F, 0);
    QCOMPARE(int(got[1].id >> 18) & 0x3F, int(SimParamTable::LossFrame));
    for (int n = 0; n < 4; ++n)
        host.send(chunk(n));
    got = host.take();
    QCOMPARE(got.size(), 4);
    for (int n = 0; n < 4; ++n) {
        QCOMPARE(int(got[n].id >> 18) & 0x3F, 0);
        QCOMPARE(int(got[n].data[3]), n);
    }
    host.send(request(CANCOM_PARA_READ, 0, 1, {0x02, 0x00}));
    got = host.take();
    QCOMPARE(got.size(), 4);
    QByteArray back;
    for (const CanFrame& f : got)
        back.append(reinterpret_cast<const char*>(&f.data[4]), 4);
    QCOMPARE(back, text);
}

void TstSimMotor::saveSurvivesPowerCycle() {
    TempCwd cwd;
    SimSettings s = Host::settingsFor(1);
    s.stateFile = cwd.path(QStringLiteral("bench.json"));
    auto write = [](Host& host, quint16 code, float v) {
        CanFrame f = request(CANCOM_PARA_WRITE, 0, 1, {quint8(code), quint8(code >> 8), 6, 0});
        qToLittleEndian(v, &f.data[4]);
        host.send(f);
        return host.take().value(0);
    };
    {
        Host host(s);
        QCOMPARE(int(write(host, 0x200B, 55.5f).id >> 18) & 0x3F, 0);
        host.send(request(CANCOM_PARA_WRITE, ParamFrames::kSave, 1));
        const CanFrame saved = host.take().value(0);
        QCOMPARE(int(saved.id >> 16) & 3, ParamFrames::kSave);
        QCOMPARE(int(saved.id >> 18) & 0x3F, 0);
        // Changed after the save: lost at the power cycle.
        write(host, 0x200C, 7.0f);
        // A CAN ID change persists at once.
        CanFrame id = request(CANCOM_MOTOR_ID, 12, 1);
        qToLittleEndian(host.motor(0)->mcuId(), id.data.data());
        host.send(id);
    }
    QVERIFY(QFile::exists(s.stateFile));
    {
        Host host(s);
        QString error;
        QVERIFY(host.adapter->loadState(&error));
        QCOMPARE(int(host.motor(0)->canId()), 12);
        QCOMPARE(host.motor(0)->table().value(0x200B), double(55.5f));
        QCOMPARE(host.motor(0)->table().value(0x200C), 2.0);
        // Factory reset: defaults back, and no answer (the host does not wait for one).
        host.send(request(CANCOM_PARA_WRITE, ParamFrames::kFactoryReset, 12, {1, 2, 3, 4, 5, 6, 7, 8}));
        QVERIFY(host.take().isEmpty());
        QCOMPARE(host.motor(0)->table().value(0x200B), 30.0);
    }
    // A damaged state file is reported, not fatal.
    QFile bad(s.stateFile);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("{ not json");
    bad.close();
    Host host(s);
    QString error;
    QVERIFY(!host.adapter->loadState(&error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(int(host.motor(0)->canId()), 1);
}

void TstSimMotor::calibration() {
    Host host;
    host.send(request(CANCOM_MOTOR_CALI, 0, 2));
    QTRY_VERIFY_WITH_TIMEOUT(std::any_of(host.frames.begin(), host.frames.end(),
                                         [](const CanFrame& f) { return f.type() == CANCOM_MOTOR_CALI; }),
                             10000);
    const QList<CanFrame> got = host.take();
    QCOMPARE(int(got.first().type()), int(CANCOM_MOTOR_FEEDBACK));
    QCOMPARE(int(got.first().id >> 22) & 3, int(SimMotor::Calibration));
    int progress = 0, rows = 0;
    for (const CanFrame& f : got) {
        if (f.type() == CANCOM_CALI_ING) {
            ++progress;
            QVERIFY(lef(f, 0) >= 0 && lef(f, 0) < 7);
        } else if (f.type() == CANCOM_CALI_RST) {
            QCOMPARE(int(f.dataField() & 0xFF), 2);
            QCOMPARE(int(qint16(le16(f, 0))), rows++);
        }
    }
    QVERIFY(progress >= 10);
    QVERIFY(rows >= 4);
    const CanFrame& done = got.last();
    QCOMPARE(int(done.type()), int(CANCOM_MOTOR_CALI));
    QCOMPARE(int(done.id >> 16) & 0xFF, 0);
    QCOMPARE(int(done.dataField() & 0xFF), 2);
    QVERIFY(lef(done, 0) > 0);
    QCOMPARE(host.motor(1)->mode(), SimMotor::Reset);
}

void TstSimMotor::faultFrame() {
    Host host;
    host.motor(0)->raiseFault(0x12345678, 0x9);
    const QList<CanFrame> got = host.take();
    QCOMPARE(got.size(), 1);
    QCOMPARE(int(got[0].type()), int(CANCOM_FAULT_WARN));
    QCOMPARE(int(got[0].length), 8);
    QCOMPARE(le32(got[0], 0), 0x12345678u);
    QCOMPARE(le32(got[0], 4), 0x9u);
}

QTEST_GUILESS_MAIN(TstSimMotor)
#include "tst_simmotor.moc"
