// Parameter-table frames and value codec against bytes written out by hand from the layouts.
#include "link/canprotocol.h"
#include "link/frames/paramframes.h"
#include "link/frames/paramvalue.h"

#include <QtTest>

#include <optional>

namespace {

QByteArray bytesOf(const CanFrame& f) {
    return QByteArray(reinterpret_cast<const char*>(f.data.data()), 8);
}

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

}  // namespace

Q_DECLARE_METATYPE(CanFrame)

class TstParamFrames : public QObject {
    Q_OBJECT

private slots:
    void golden_data();
    void golden();
    void repliesDecode();
    void formatRaw_data();
    void formatRaw();
    void storeRaw_data();
    void storeRaw();
    void parseEdits_data();
    void parseEdits();
};

void TstParamFrames::golden_data() {
    QTest::addColumn<CanFrame>("frame");
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QByteArray>("data");
    using namespace ParamFrames;
    QTest::newRow("describe request carries the MCU ID")
        << describeRequest(5, Q_UINT64_C(0x1122334455667788)) << 0x1300FD05u << hex("8877665544332211");
    QTest::newRow("read request") << readRequest(1, 0x2004) << 0x0900FD01u << hex("0420000000000000");
    QTest::newRow("write chunk of a float 5.5")
        << writeRequest(1, 0x2008, 6, 0, hex("0000b040")) << 0x0800FD01u << hex("0820060000 00b040");
    QTest::newRow("third text chunk")
        << writeRequest(7, 0x0002, 10, 2, QByteArray("ab")) << 0x0800FD07u << hex("0200 0a02 6162 0000");
    QTest::newRow("save") << saveRequest(3) << 0x0802FD03u << hex("0000000000000000");
    QTest::newRow("factory reset") << factoryResetRequest(3) << 0x0803FD03u << hex("0102030405060708");
    QTest::newRow("name part") << describeFrame(1, 1, 0x200a, QByteArray("mit_kp")) << 0x130101FDu
                               << hex("0a20 6d69745f6b70");
    QTest::newRow("limits, E = -2, writable float")
        << limitsFrame(1, 0x2009, 0, 3000, -2, 6, 1) << 0x130301FDu << hex("0920 0000 b80b fe 26");
    QTest::newRow("negative limit, read-only int16")
        << limitsFrame(2, 0x2006, -40, 145, 0, 3, 0) << 0x130302FDu << hex("0620 d8ff 9100 00 03");
    QTest::newRow("value, high half of a double")
        << valueFrame(1, 5, 0x200f, 9, hex("9a9999999999b93f")) << 0x130501FDu << hex("0f20 0009 9999b93f");
    QTest::newRow("summary") << summaryFrame(1, 3, {{4, 5, 21, 300}}) << 0x130901FDu
                             << hex("0300 0405 1500 2c01");
    QTest::newRow("read reply, last text chunk")
        << readReply(2, 0x1002, 10, 3, QByteArray("abcd")) << 0x090002FDu << hex("0210 0a03 61626364");
    QTest::newRow("read of a missing code")
        << readMissing(2, 0x2fff) << 0x090102FDu << hex("ff2f000000000000");
    QTest::newRow("write reply, out of range")
        << writeReply(1, writeRequest(1, 0x2008, 6, 0, hex("0000b040")), 6) << 0x081801FDu
        << hex("0820060000 00b040");
    QTest::newRow("save reply, save failed")
        << writeReply(4, saveRequest(4), 9) << 0x082604FDu << hex("0000000000000000");
}

void TstParamFrames::golden() {
    QFETCH(CanFrame, frame);
    QFETCH(quint32, id);
    QFETCH(QByteArray, data);
    QCOMPARE(QString::number(frame.id, 16), QString::number(id, 16));
    QCOMPARE(int(frame.length), 8);
    QCOMPARE(bytesOf(frame).toHex(' '), data.toHex(' '));
}

void TstParamFrames::repliesDecode() {
    CanFrame f;
    f.length = 8;
    // Type 19, phase 4, from CAN ID 0x21: code 0x3005, type int16, value bytes.
    f.id = 0x130421FD;
    f.data = {0x05, 0x30, 0x00, 0x03, 0x9c, 0xff, 0x00, 0x00};
    const auto d = ParamFrames::description(f);
    QCOMPARE(int(d.canId), 0x21);
    QCOMPARE(d.phase, 4);
    QCOMPARE(int(d.code), 0x3005);
    QCOMPARE(int(d.content[1]), 3);

    f.id = 0x130901FD;
    f.data = {0x02, 0x20, 0x04, 0x05, 0x15, 0x00, 0x2c, 0x01};
    const auto s = ParamFrames::summary(f);
    QCOMPARE(s.configCount, 2);
    QCOMPARE(s.counts, (std::array<int, 4>{{4, 5, 21, 300}}));

    f.id = 0x090107FD;
    f.data = {0x04, 0x20, 0, 0, 0, 0, 0, 0};
    const auto r = ParamFrames::readChunk(f);
    QVERIFY(r.missing);
    QCOMPARE(int(r.canId), 7);
    QCOMPARE(int(r.code), 0x2004);

    // Type 8 reply: bits 23-18 motor error 6, bits 17-16 sub-command 3.
    f.id = 0x081B01FD;
    f.data = {0x08, 0x20, 0x06, 0x01, 1, 2, 3, 4};
    const auto w = ParamFrames::writeReplyOf(f);
    QCOMPARE(w.sub, 3);
    QCOMPARE(w.error, 6);
    QCOMPARE(int(w.code), 0x2008);
    QCOMPARE(w.type, 6);
    QCOMPARE(w.chunk, 1);
}

void TstParamFrames::formatRaw_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("text");
    QTest::newRow("int8 sign-extends") << 1 << hex("ff00000000000000") << "-1";
    QTest::newRow("uint8 ignores the other bytes") << 0 << hex("ffffffffffffffff") << "255";
    QTest::newRow("int16 minimum") << 3 << hex("0080000000000000") << "-32768";
    QTest::newRow("uint32") << 4 << hex("ffffffff00000000") << "4294967295";
    QTest::newRow("int32") << 5 << hex("feffffff00000000") << "-2";
    QTest::newRow("float six decimals") << 6 << hex("0000c03f00000000") << "1.500000";
    QTest::newRow("uint64 full width") << 7 << hex("ffffffffffffffff") << "18446744073709551615";
    QTest::newRow("int64") << 8 << hex("0000000000000080") << "-9223372036854775808";
    QTest::newRow("double twelve decimals") << 9 << hex("9a9999999999b93f") << "0.100000000000";
    QTest::newRow("text type") << 10 << hex("3100000000000000") << "none";
    QTest::newRow("unknown type") << 17 << QByteArray() << "none";
}

void TstParamFrames::formatRaw() {
    QFETCH(int, type);
    QFETCH(QByteArray, raw);
    QFETCH(QString, text);
    QCOMPARE(ParamValue::formatRaw(type, raw), text);
}

void TstParamFrames::storeRaw_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("raw");
    QTest::newRow("uint8 wraps") << 0 << 300.0 << "44" << hex("2c00000000000000");
    QTest::newRow("int8 truncates toward zero, then wraps")
        << 1 << -129.7 << "127" << hex("7f00000000000000");
    QTest::newRow("uint16 of -1") << 2 << -1.0 << "65535" << hex("ffff000000000000");
    QTest::newRow("int32 beyond 64 bits gives 0") << 5 << 1e20 << "0" << hex("0000000000000000");
    QTest::newRow("float rounds to single precision") << 6 << 0.1 << "0.100000" << hex("cdcccc3d00000000");
    QTest::newRow("uint64 top half") << 7 << 9223372036854775808.0 << "9223372036854775808"
                                     << hex("0000000000000080");
    QTest::newRow("double") << 9 << -2.5 << "-2.500000000000" << hex("00000000000004c0");
    QTest::newRow("other type stores 0") << 12 << 7.0 << "0" << hex("0000000000000000");
}

void TstParamFrames::storeRaw() {
    QFETCH(int, type);
    QFETCH(double, value);
    QFETCH(QString, text);
    QFETCH(QByteArray, raw);
    QByteArray got;
    QCOMPARE(ParamValue::storeRaw(type, value, &got), text);
    QCOMPARE(got.toHex(' '), raw.toHex(' '));
}

void TstParamFrames::parseEdits_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("parses");
    QTest::addColumn<QByteArray>("raw");
    QTest::newRow("1e3 in a float") << 6 << "1e3" << true << hex("00007a4400000000");
    QTest::newRow("-1 in an unsigned entry") << 0 << "-1" << false << QByteArray();
    QTest::newRow("+1 in an unsigned entry") << 2 << "+1" << false << QByteArray();
    QTest::newRow("-1 in a signed byte") << 1 << "-1" << true << hex("ff00000000000000");
    QTest::newRow("fraction in an integer") << 5 << "12.5" << false << QByteArray();
    QTest::newRow("exponent in an integer") << 4 << "1e3" << false << QByteArray();
    QTest::newRow("largest uint64 exactly") << 7 << "18446744073709551615" << true << hex("ffffffffffffffff");
    QTest::newRow("int64 minimum exactly") << 8 << "-9223372036854775808" << true << hex("0000000000000080");
    QTest::newRow("not a number") << 9 << "abc" << false << QByteArray();
    QTest::newRow("infinity") << 9 << "inf" << false << QByteArray();
    QTest::newRow("text type has no number rule") << 10 << "1" << false << QByteArray();
}

void TstParamFrames::parseEdits() {
    QFETCH(int, type);
    QFETCH(QString, input);
    QFETCH(bool, parses);
    QFETCH(QByteArray, raw);
    QByteArray got;
    const std::optional<double> v = ParamValue::parse(type, input, &got);
    QCOMPARE(v.has_value(), parses);
    if (parses)
        QCOMPARE(got.toHex(' '), raw.toHex(' '));
}

QTEST_GUILESS_MAIN(TstParamFrames)
#include "tst_paramframes.moc"
