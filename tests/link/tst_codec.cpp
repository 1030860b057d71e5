#include "link/canframe.h"
#include "link/canprotocol.h"
#include "link/recordcutter.h"
#include "link/serialrecord.h"

#include <QtTest>

namespace {

CanFrame frame(quint32 id, std::initializer_list<quint8> bytes) {
    CanFrame f;
    f.id = id;
    f.length = quint8(bytes.size());
    int i = 0;
    for (quint8 b : bytes)
        f.data[size_t(i++)] = b;
    return f;
}

QList<QByteArray> cutAll(RecordCutter& cutter) {
    QList<QByteArray> out;
    QByteArray rec;
    while (cutter.next(&rec))
        out << rec;
    return out;
}

}  // namespace

class TstCodec : public QObject {
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void valueTypes();
    void encodeRange_data();
    void encodeRange();
    void decodeRoundTrip();
    void modelRanges_data();
    void modelRanges();
    void recordGolden();
    void recordLengthClamp();
    void recordRejects_data();
    void recordRejects();
    void mitFrame();
    void cutterDataHoldsCrLfAtEveryPositionAndSplit();
    void cutterTextLinesAndFrames();
    void cutterResyncAfterGarbage();
    void cutterBoundedMemory();
};

void TstCodec::names_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::newRow("0") << 0 << "CANCOM_ANNOUNCE_DEVID";
    QTest::newRow("1 padded to 21") << 1 << "CANCOM_MOTOR_CTRL    ";
    QTest::newRow("9 padded to 21") << 9 << "CANCOM_PARA_READ     ";
    QTest::newRow("10 padded to 20") << 10 << "CANCOM_PARA_UPDATE  ";
    QTest::newRow("19 full") << 19 << "CANCOM_PARA_STR_INFO";
    QTest::newRow("21") << 21 << "CANCOM_FAULT_WARN   ";
    QTest::newRow("22 total") << 22 << "CANCOM_MODE_TOTAL";
    QTest::newRow("23") << 23 << "<canComMode> unknown";
    QTest::newRow("negative") << -1 << "<canComMode> unknown";
}

void TstCodec::names() {
    QFETCH(int, type);
    QFETCH(QString, name);
    QCOMPARE(CanProtocol::comModeName(type), name);
    // Every bus type lines up in the log: 21 columns up to 9, 20 from 10 to 21.
    for (int t = 0; t < 22; ++t)
        QCOMPARE(CanProtocol::comModeName(t).size(), t <= 9 ? 21 : 20);
}

void TstCodec::valueTypes() {
    const QStringList names = {"uint8", "int8",  "uint16", "int16", "uint32",
                               "int32", "float", "uint64", "int64", "double"};
    const int sizes[] = {1, 1, 2, 2, 4, 4, 4, 8, 8, 8, 16};
    for (int c = 0; c < 10; ++c)
        QCOMPARE(CanProtocol::valueTypeName(c), names[c]);
    QCOMPARE(CanProtocol::valueTypeName(10), QStringLiteral("none"));
    QCOMPARE(CanProtocol::valueTypeName(200), QStringLiteral("none"));
    for (int c = 0; c <= 10; ++c)
        QCOMPARE(CanProtocol::valueTypeSize(c), sizes[c]);
    QCOMPARE(CanProtocol::valueTypeSize(11), 0);
}

void TstCodec::encodeRange_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("min");
    QTest::addColumn<float>("max");
    QTest::addColumn<int>("raw");
    QTest::newRow("top of position") << 12.5f << -12.5f << 12.5f << 65535;
    QTest::newRow("zero truncates 32767.5") << 0.f << -12.5f << 12.5f << 32767;
    QTest::newRow("bottom") << -12.5f << -12.5f << 12.5f << 0;
    QTest::newRow("kp half") << 250.f << 0.f << 500.f << 32767;
    QTest::newRow("not clamped above") << 13.f << -12.5f << 12.5f << 66845;
    QTest::newRow("truncated toward zero below") << -12.6f << -12.5f << 12.5f << -262;
    QTest::newRow("empty range") << 1.f << 0.f << 0.f << 0;
}

void TstCodec::encodeRange() {
    QFETCH(float, x);
    QFETCH(float, min);
    QFETCH(float, max);
    QFETCH(int, raw);
    QCOMPARE(CanProtocol::encodeRange(x, min, max), raw);
}

void TstCodec::decodeRoundTrip() {
    QCOMPARE(CanProtocol::decodeRange(0, -12.5f, 12.5f), -12.5f);
    QCOMPARE(CanProtocol::decodeRange(65535, -12.5f, 12.5f), 12.5f);
    for (float v : {-33.f, -1.25f, 0.f, 7.7f, 33.f}) {
        const float back = CanProtocol::decodeRange(CanProtocol::encodeRange(v, -33, 33), -33, 33);
        QVERIFY2(std::abs(back - v) <= 66.f / 65535 + 1e-5f, qPrintable(QString::number(v)));
    }
    QVERIFY(CanProtocol::inRange(12.5f, -12.5f, 12.5f));
    QVERIFY(!CanProtocol::inRange(12.51f, -12.5f, 12.5f));
    QVERIFY(!CanProtocol::inRange(std::nanf(""), -12.5f, 12.5f));
}

void TstCodec::modelRanges_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("code");  // -1: nothing is set
    QTest::addColumn<float>("vel");
    QTest::addColumn<float>("torque");
    QTest::addColumn<float>("kp");
    QTest::addColumn<float>("kd");
    QTest::newRow("0,0") << 0 << 0 << 3 << 20.f << 60.f << 5000.f << 100.f;
    QTest::newRow("0,1") << 0 << 1 << 1 << 44.f << 17.f << 500.f << 5.f;
    QTest::newRow("0,9") << 0 << 9 << 0 << 33.f << 14.f << 500.f << 5.f;
    QTest::newRow("1,1 unchanged") << 1 << 1 << -1 << 0.f << 0.f << 0.f << 0.f;
    QTest::newRow("1,2") << 1 << 2 << 17 << 44.f << 17.f << 500.f << 5.f;
    QTest::newRow("1,3") << 1 << 3 << 1 << 44.f << 17.f << 500.f << 5.f;
    QTest::newRow("2,0") << 2 << 0 << 3 << 20.f << 60.f << 5000.f << 100.f;
    QTest::newRow("2,5") << 2 << 5 << 2 << 44.f << 17.f << 500.f << 5.f;
    QTest::newRow("2,3") << 2 << 3 << 34 << 44.f << 17.f << 500.f << 5.f;
    QTest::newRow("2,4 unchanged") << 2 << 4 << -1 << 0.f << 0.f << 0.f << 0.f;
    QTest::newRow("2,6 unchanged") << 2 << 6 << -1 << 0.f << 0.f << 0.f << 0.f;
    QTest::newRow("3,7") << 3 << 7 << 3 << 20.f << 60.f << 5000.f << 100.f;
    QTest::newRow("4,1") << 4 << 1 << 4 << 15.f << 120.f << 5000.f << 100.f;
    QTest::newRow("9,0") << 9 << 0 << 3 << 20.f << 60.f << 5000.f << 100.f;
    QTest::newRow("5,1 unchanged") << 5 << 1 << -1 << 0.f << 0.f << 0.f << 0.f;
}

void TstCodec::modelRanges() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, code);
    const auto r = CanProtocol::rangesForModel(quint8(a), quint8(b));
    QCOMPARE(r.has_value(), code >= 0);
    if (!r)
        return;
    QCOMPARE(r->modelCode, code);
    QTEST(r->velMax, "vel");
    QTEST(r->torqueMax, "torque");
    QTEST(r->kpMax, "kp");
    QTEST(r->kdMax, "kd");
}

void TstCodec::recordGolden() {
    const QByteArray rec = SerialRecord::fromFrame(frame(0x0C00FD05, {1, 2, 0x0D, 0x0A}));
    QCOMPARE(rec.toHex(' '), QByteArray("41 54 60 07 e8 2c 04 01 02 0d 0a 0d 0a"));
    CanFrame back;
    QVERIFY(SerialRecord::toFrame(rec, &back));
    QCOMPARE(back.id, 0x0C00FD05u);
    QCOMPARE(int(back.length), 4);
    QCOMPARE(int(back.data[3]), 0x0A);

    // An announcement's CAN ID is bits 14-8: bit 15 does not survive the mask.
    QVERIFY(
        SerialRecord::toFrame(SerialRecord::fromFrame(frame(CanFrame::makeId(0, 0x85, 0xFE), {1})), &back));
    QCOMPARE(back.destination(), quint8(0xFE));
    QCOMPARE(back.dataField() & 0x7F, 5);
}

void TstCodec::recordLengthClamp() {
    CanFrame f = frame(0x1234567, {});
    f.data[0] = 0x55;
    QByteArray rec = SerialRecord::fromFrame(f);
    QCOMPARE(rec.size(), 10);
    QCOMPARE(int(rec[6]), 1);
    QCOMPARE(int(rec[7]), 0);
    f.length = 12;
    rec = SerialRecord::fromFrame(f);
    QCOMPARE(rec.size(), 17);
    QCOMPARE(int(rec[6]), 8);
    QVERIFY(rec.endsWith("\r\n"));
    // The identifier takes all 29 bits; the extended-frame mark is bit 2 of the word.
    CanFrame back;
    QVERIFY(SerialRecord::toFrame(rec, &back));
    QCOMPARE(back.id, 0x1234567u);
    QCOMPARE(int(quint8(rec[5])) & 0x07, 0x04);
}

void TstCodec::recordRejects_data() {
    QTest::addColumn<QByteArray>("record");
    const QByteArray good = SerialRecord::fromFrame(frame(0x02000105, {1, 2, 3}));
    QTest::newRow("ok line") << QByteArray("OK\r\n");
    QTest::newRow("short") << good.left(8);
    QTest::newRow("length byte too large") << QByteArray(good).replace(6, 1, "\x09");
    QTest::newRow("size mismatch") << good + "x";
    QTest::newRow("no crlf") << QByteArray(good).replace(good.size() - 1, 1, "x");
    QTest::newRow("not AT") << QByteArray(good).replace(0, 1, "B");
}

void TstCodec::recordRejects() {
    QFETCH(QByteArray, record);
    CanFrame f;
    QVERIFY(!SerialRecord::toFrame(record, &f));
}

void TstCodec::mitFrame() {
    // All set-points 0 for model code 0 (velocity +-33, torque +-14, Kp 500, Kd 5) to CAN ID 5.
    const auto r = CanProtocol::rangesForModel(0, 2);
    QVERIFY(r);
    const int torque = CanProtocol::encodeRange(0, -r->torqueMax, r->torqueMax);
    const int pos = CanProtocol::encodeRange(0, CanProtocol::kPosMin, CanProtocol::kPosMax);
    const int vel = CanProtocol::encodeRange(0, -r->velMax, r->velMax);
    const int kp = CanProtocol::encodeRange(0, 0, r->kpMax);
    const int kd = CanProtocol::encodeRange(0, 0, r->kdMax);
    CanFrame f = frame(CanFrame::makeId(CANCOM_MOTOR_CTRL, quint16(torque), 5),
                       {quint8(pos >> 8), quint8(pos), quint8(vel >> 8), quint8(vel), quint8(kp >> 8),
                        quint8(kp), quint8(kd >> 8), quint8(kd)});
    QCOMPARE(f.id, 0x017FFF05u);
    QCOMPARE(SerialRecord::fromFrame(f).mid(7, 8).toHex(' '), QByteArray("7f ff 7f ff 00 00 00 00"));
}

void TstCodec::cutterDataHoldsCrLfAtEveryPositionAndSplit() {
    for (int n = 2; n <= 8; ++n) {
        for (int at = 0; at + 1 < n; ++at) {
            CanFrame f = frame(0x02000DFD, {});
            f.length = quint8(n);
            for (int i = 0; i < n; ++i)
                f.data[size_t(i)] = quint8(0x30 + i);
            f.data[size_t(at)] = 0x0D;
            f.data[size_t(at + 1)] = 0x0A;
            const QByteArray one = SerialRecord::fromFrame(f);
            const QByteArray stream = one + "OK\r\n" + one;
            for (int split = 0; split <= stream.size(); ++split) {
                RecordCutter cutter;
                cutter.append(stream.left(split));
                QList<QByteArray> got = cutAll(cutter);
                cutter.append(stream.mid(split));
                got += cutAll(cutter);
                const QList<QByteArray> want = {one, "OK\r\n", one};
                QVERIFY2(got == want, qPrintable(QString("n %1 at %2 split %3").arg(n).arg(at).arg(split)));
                QCOMPARE(cutter.pending(), 0);
            }
            // Byte by byte as well.
            RecordCutter cutter;
            QList<QByteArray> got;
            for (char c : stream) {
                cutter.append(QByteArray(1, c));
                got += cutAll(cutter);
            }
            QCOMPARE(got.size(), 3);
        }
    }
}

void TstCodec::cutterTextLinesAndFrames() {
    const QByteArray fr = SerialRecord::fromFrame(frame(0x0000FDFE, {1, 2, 3, 4, 5, 6, 7, 8}));
    RecordCutter cutter;
    // An OK line followed by the start of a frame: the line comes out, the frame waits.
    cutter.append("OK\r\n" + fr.left(5));
    QCOMPARE(cutAll(cutter), QList<QByteArray>{"OK\r\n"});
    QCOMPARE(cutter.pending(), 5);
    cutter.append(fr.mid(5) + "+ERROR\r\nDATA OK\r\n");
    const QList<QByteArray> want = {fr, "+ERROR\r\n", "DATA OK\r\n"};
    QCOMPARE(cutAll(cutter), want);
    // A text line that happens to start with "AT" but has no length framing.
    cutter.append("AT+AT\r\n");
    QCOMPARE(cutAll(cutter), QList<QByteArray>{"AT+AT\r\n"});
    QCOMPARE(cutter.droppedBytes(), 0);
}

void TstCodec::cutterResyncAfterGarbage() {
    CanFrame f = frame(0x0200FDFD, {0x0D, 0x0A, 0x0D, 0x0A, 0, 0, 0x0D, 0x0A});
    const QByteArray fr = SerialRecord::fromFrame(f);
    // Noise in front of a frame whose data hold CR LF: the noise goes, the frame survives.
    RecordCutter cutter;
    cutter.append(QByteArray("\x01\xff"
                             "A"
                             "zz",
                             5) +
                  fr + fr);
    QCOMPARE(cutAll(cutter), (QList<QByteArray>{fr, fr}));
    QCOMPARE(cutter.droppedBytes(), 5);
    // The same, arriving in two pieces split at every byte.
    const QByteArray stream = QByteArray(
                                  "\x01\xff"
                                  "A"
                                  "zz",
                                  5) +
                              fr + "OK\r\n";
    for (int split = 0; split <= stream.size(); ++split) {
        RecordCutter c;
        c.append(stream.left(split));
        QList<QByteArray> got = cutAll(c);
        c.append(stream.mid(split));
        got += cutAll(c);
        QVERIFY2(got == (QList<QByteArray>{fr, "OK\r\n"}), qPrintable(QString::number(split)));
    }
    // A frame whose length byte was corrupted falls back to the line cut and the next frame
    // is found again.
    QByteArray broken = fr;
    broken[6] = 3;
    cutter.append(broken + fr);
    const QList<QByteArray> got = cutAll(cutter);
    QVERIFY(!got.isEmpty());
    QCOMPARE(got.last(), fr);
    QCOMPARE(cutter.pending(), 0);
}

void TstCodec::cutterBoundedMemory() {
    RecordCutter cutter;
    const QByteArray noise(1000, 'x');
    for (int i = 0; i < 100; ++i) {
        cutter.append(noise);
        QByteArray rec;
        QVERIFY(!cutter.next(&rec));
        QVERIFY(cutter.pending() <= RecordCutter::kMaxLine + noise.size());
    }
    QVERIFY(cutter.droppedBytes() > 90000);
    const QByteArray fr = SerialRecord::fromFrame(frame(0x0300FD01, {}));
    cutter.append("\r\n" + fr);
    QList<QByteArray> got = cutAll(cutter);
    QCOMPARE(got.size(), 2);  // the tail of the noise line, then the frame
    QCOMPARE(got.last(), fr);
}

QTEST_GUILESS_MAIN(TstCodec)
#include "tst_codec.moc"
