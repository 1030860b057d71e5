#include "simharness.h"

#include "sim/simfirmware.h"
#include "sim/simparamtable.h"

#include <QElapsedTimer>

using namespace simtest;

namespace {

CanFrame scopeRequest(int sub, int frameIndex, int countMinus1, std::initializer_list<quint16> codes = {}) {
    CanFrame f = request(CANCOM_PARA_UPDATE, quint8(countMinus1 << 4 | frameIndex << 2 | sub), 1);
    int i = 0;
    for (quint16 c : codes) {
        f.data[size_t(i++)] = quint8(c);
        f.data[size_t(i++)] = quint8(c >> 8);
    }
    return f;
}

// Runs an update the way the host does: enter, info, packets with acknowledgement and resend,
// end. Returns the final reply.
CanFrame flash(Host& host, const QByteArray& image, int* resends) {
    CanFrame start = request(CANCOM_OTA_START, 0, 1);
    qToLittleEndian(host.motor(0)->mcuId(), start.data.data());
    host.send(start);
    if (!QTest::qWaitFor([&] { return !host.frames.isEmpty(); }, 5000))
        return CanFrame();
    CanFrame f = host.take().first();
    if (f.type() != CANCOM_OTA_START || f.dataField() != 1)
        return f;
    const quint32 count = quint32(image.size() + 7) / 8;
    CanFrame info = request(CANCOM_OTA_INFO, 0, 1);
    qToLittleEndian(quint32(image.size()), &info.data[0]);
    qToLittleEndian(count, &info.data[4]);
    host.send(info);
    f = host.take().value(0);
    if (f.dataField() != 1)
        return f;
    quint32 index = 0;
    while (index < count) {
        CanFrame packet;
        packet.id = CanFrame::makeId(CANCOM_OTA_ING, quint16(index), 1);
        packet.length = 8;
        for (int i = 0; i < 8; ++i) {
            const int at = int(index * 8) + i;
            packet.data[size_t(i)] = at < image.size() ? quint8(image[at]) : 0xFF;
        }
        host.send(packet);
        const CanFrame ack = host.take().value(0);
        if (ack.dataField() == 1) {
            ++index;
        } else if (ack.dataField() == 1 + 0x0F00) {
            ++*resends;
            index = le16(ack, 0);
        } else {
            return ack;
        }
    }
    CanFrame end = request(CANCOM_OTA_END, 0, 1);
    end.id = CanFrame::makeId(CANCOM_OTA_END, 0, 1);
    qToLittleEndian(count, &end.data[0]);
    host.send(end);
    return host.take().value(0);
}

QByteArray taggedImage(const QByteArray& version, const QByteArray& body) {
    QByteArray v = version.left(16);
    v.append(QByteArray(16 - v.size(), '\0'));
    QByteArray crc(4, '\0');
    qToLittleEndian(SimFirmware::crc32(body.constData(), body.size()), crc.data());
    return "TRVFW" + v + crc + body;
}

}  // namespace

class TstSimScopeFw : public QObject {
    Q_OBJECT

private slots:
    void scopeConfiguration();
    void scopeStreamRecords();
    void scopeFollowsTheMotion();
    void firmwareUpdate_data();
    void firmwareUpdate();
    void firmwareRefusesBadInfo();
};

void TstSimScopeFw::scopeConfiguration() {
    Host host;
    host.send(scopeRequest(0, 0, 0, {200, 17, 0x1000, 0x000e}));
    CanFrame r = host.take().value(0);
    QCOMPARE(int(r.type()), int(CANCOM_PARA_UPDATE));
    QCOMPARE(int(r.id >> 16) & 0xF, 0);  // sub-code 0, no error
    QVERIFY(le32(r, 0) > 0);
    // Five channels take two frames; the reply to the last one carries all five type nibbles.
    const quint16 codes[5] = {0x3000, 0x3005, 0x300C, 0x3008, 0x200F};
    host.send(scopeRequest(1, 0, 4, {codes[0], codes[1], codes[2], codes[3]}));
    r = host.take().value(0);
    QCOMPARE(int(r.id >> 16) & 0xF, 1);
    host.send(scopeRequest(1, 1, 4, {codes[4]}));
    r = host.take().value(0);
    QCOMPARE(int(r.id >> 16) & 0xF, 1);
    const int types[5] = {6, 3, 7, 0, 9};
    for (int i = 0; i < 5; ++i)
        QCOMPARE((r.data[size_t(i / 2)] >> (i % 2 ? 4 : 0)) & 0xF, types[i]);
    // A text entry cannot be sampled; a frame out of order is refused.
    host.send(scopeRequest(1, 0, 0, {0x1002}));
    QCOMPARE(int(host.take().value(0).id >> 18) & 3, 1);
    host.send(scopeRequest(1, 1, 5, {0x3000}));
    QCOMPARE(int(host.take().value(0).id >> 18) & 3, 3);
    host.send(scopeRequest(0, 0, 0, {0}));
    QCOMPARE(int(host.take().value(0).id >> 18) & 3, 1);  // rate 0
}

void TstSimScopeFw::scopeStreamRecords() {
    Host host;
    const int rate = 500;
    host.send(scopeRequest(0, 0, 0, {rate, 17}));
    const quint32 tickUs = le32(host.take().value(0), 0);
    // Record: stamp(2) + double(8) + float(4) + uint64(8) = 22 bytes -> 3 frames.
    host.send(scopeRequest(1, 0, 2, {0x300E, 0x3004, 0x300C}));
    QCOMPARE(int(host.take().value(0).id >> 18) & 3, 0);
    QElapsedTimer clock;
    clock.start();
    host.send(scopeRequest(2, 0, 0));
    QTRY_VERIFY_WITH_TIMEOUT(host.frames.size() >= 3 * 100, 10000);
    host.send(scopeRequest(3, 0, 0));
    const qint64 elapsedMs = clock.elapsed();
    QList<CanFrame> got = host.take();
    QCOMPARE(int(got.last().id >> 16) & 3, 3);  // stop reply last
    got.removeLast();
    QCOMPARE(got.size() % 3, 0);
    int lastStamp = -1;
    double spanTicks = 0;
    for (int i = 0; i < got.size(); ++i) {
        const CanFrame& f = got[i];
        QCOMPARE(int(f.id >> 16) & 0xF, 2);      // sample frame, no error
        QCOMPARE(int(f.id >> 20) & 0xF, i % 3);  // frame index within the record
        if (i % 3 == 0) {
            const int stamp = le16(f, 0);
            if (lastStamp >= 0) {
                const int d = (stamp - lastStamp) & 0xFFFF;
                QVERIFY2(std::abs(d * double(tickUs) - 1e6 / rate) <= tickUs, qPrintable(QString::number(d)));
                spanTicks += d;
            }
            lastStamp = stamp;
            QCOMPARE(float(qFromLittleEndian<double>(&f.data[2])) >= 0, true);  // energy
        }
        if (i % 3 == 1) {
            QVERIFY(std::abs(qFromLittleEndian<float>(&f.data[2]) - 24.0f) < 1.0f);  // VBUS
        }
    }
    // Real time stamps: the records span about the time that passed.
    QVERIFY(spanTicks * tickUs / 1000 <= elapsedMs + 50);
    // Stopped: nothing more arrives.
    host.send(request(CANCOM_ANNOUNCE_DEVID, 0, 1));
    QTRY_COMPARE_WITH_TIMEOUT(host.frames.size(), 1, 5000);
    QCOMPARE(int(host.frames.first().type()), int(CANCOM_ANNOUNCE_DEVID));
}

void TstSimScopeFw::scopeFollowsTheMotion() {
    Host host;
    host.send(scopeRequest(0, 0, 0, {200, 17}));
    host.send(scopeRequest(1, 0, 0, {0x3001}));  // mechVel, float
    const auto r = host.motor(0)->ranges();
    const int raw = CanProtocol::encodeRange(3.0f, -r.velMax, r.velMax);
    host.send(request(CANCOM_SDO_WRITE, 0, 1, {0x05, 0x70, 0, 0, 7, 1, quint8(raw >> 8), quint8(raw)}));
    host.take();
    host.send(scopeRequest(2, 0, 0));
    // The sampled velocity climbs to the jog speed.
    QTRY_VERIFY_WITH_TIMEOUT(
        std::any_of(
            host.frames.begin(), host.frames.end(),
            [](const CanFrame& f) { return ((f.id >> 16) & 3) == 2 && std::abs(lef(f, 2) - 3.0f) < 0.1f; }),
        10000);
    host.send(scopeRequest(3, 0, 0));
}

void TstSimScopeFw::firmwareUpdate_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("resendEvery");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("version");
    QByteArray body(1000, '\0');
    for (int i = 0; i < body.size(); ++i)
        body[i] = char(i * 7);
    QTest::newRow("one byte") << QByteArray("\x5a", 1) << 0 << true
                              << QStringLiteral("fw-%1").arg(SimFirmware::crc32("\x5a", 1), 8, 16,
                                                             QLatin1Char('0'));
    QTest::newRow("tagged") << taggedImage("2.0.1", body) << 0 << true << QStringLiteral("2.0.1");
    QTest::newRow("tagged with resends")
        << taggedImage("2.0.2", body) << 7 << true << QStringLiteral("2.0.2");
    QByteArray broken = taggedImage("2.0.3", body);
    broken[600] = char(broken[600] ^ 1);
    QTest::newRow("bad checksum") << broken << 0 << false << QStringLiteral("0.9.4");
}

void TstSimScopeFw::firmwareUpdate() {
    QFETCH(QByteArray, image);
    QFETCH(int, resendEvery);
    QFETCH(bool, accepted);
    QFETCH(QString, version);
    SimSettings s = Host::settingsFor(1);
    s.faults.resendEvery = resendEvery;
    Host host(s);
    int resends = 0;
    const CanFrame end = flash(host, image, &resends);
    QCOMPARE(int(end.type()), int(CANCOM_OTA_END));
    QCOMPARE(int(end.dataField()), accepted ? 1 : 1 + 0x0F00);
    QCOMPARE(resends > 0, resendEvery > 0);
    QCOMPARE(host.motor(0)->table().text(0x1002), version);
}

void TstSimScopeFw::firmwareRefusesBadInfo() {
    Host host;
    CanFrame start = request(CANCOM_OTA_START, 0, 1);
    qToLittleEndian(host.motor(0)->mcuId() ^ 1, start.data.data());  // not this motor
    host.send(start);
    qToLittleEndian(host.motor(0)->mcuId(), start.data.data());
    host.send(start);
    QTRY_COMPARE_WITH_TIMEOUT(host.frames.size(), 1, 5000);
    host.take();
    auto info = [&](quint32 size, quint32 count) {
        CanFrame f = request(CANCOM_OTA_INFO, 0, 1);
        qToLittleEndian(size, &f.data[0]);
        qToLittleEndian(count, &f.data[4]);
        host.send(f);
        return int(host.take().value(0).dataField());
    };
    QCOMPARE(info(524289, 65537), 1 + 0x0F00);
    QCOMPARE(info(100, 12), 1 + 0x0F00);
    QCOMPARE(info(0, 0), 1 + 0x0F00);
    QCOMPARE(info(524288, 65536), 1);
    // A packet out of order asks for the expected one.
    CanFrame p;
    p.id = CanFrame::makeId(CANCOM_OTA_ING, 3, 1);
    p.length = 8;
    host.send(p);
    const CanFrame r = host.take().value(0);
    QCOMPARE(int(r.dataField()), 1 + 0x0F00);
    QCOMPARE(int(le16(r, 0)), 0);
}

QTEST_GUILESS_MAIN(TstSimScopeFw)
#include "tst_simscopefw.moc"
