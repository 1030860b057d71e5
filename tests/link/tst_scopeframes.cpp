// Golden vectors of the scope's type-10 frames, written out by hand from the layouts.
#include "link/frames/scopeframes.h"

#include <QtTest>

#include <cstring>

Q_DECLARE_METATYPE(CanFrame)

namespace {

QByteArray bytesOf(const CanFrame& f) {
    return QByteArray(reinterpret_cast<const char*>(f.data.data()), 8);
}

}  // namespace

class TstScopeFrames : public QObject {
    Q_OBJECT

private slots:
    void hostRequests_data();
    void hostRequests();
    void motorReplies();
    void sampleRecordCutting();
    void valuesByType_data();
    void valuesByType();
};

void TstScopeFrames::hostRequests_data() {
    QTest::addColumn<CanFrame>("frame");
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QByteArray>("data");
    const QVector<quint16> five{0x3000, 0x3001, 0x3002, 0x3003, 0x2005};
    QTest::newRow("rate 1000 Hz at 921600 baud")
        << ScopeFrames::rateRequest(0x7F, 1000, 921600) << quint32(0x0A00FD7F)
        << QByteArray::fromHex("e803110000100e00");
    QTest::newRow("five channels, first frame: count-1 = 4, frame 0")
        << ScopeFrames::channelRequest(1, five, 0) << quint32(0x0A41FD01)
        << QByteArray::fromHex("0030013002300330");
    QTest::newRow("five channels, second frame: frame 1, unused places zero")
        << ScopeFrames::channelRequest(1, five, 4) << quint32(0x0A45FD01)
        << QByteArray::fromHex("0520000000000000");
    QTest::newRow("one channel") << ScopeFrames::channelRequest(9, {0x300A}, 0) << quint32(0x0A01FD09)
                                 << QByteArray::fromHex("0a30000000000000");
    QTest::newRow("start") << ScopeFrames::startRequest(1) << quint32(0x0A02FD01) << QByteArray(8, '\0');
    QTest::newRow("stop") << ScopeFrames::stopRequest(1) << quint32(0x0A03FD01) << QByteArray(8, '\0');
}

void TstScopeFrames::hostRequests() {
    QFETCH(CanFrame, frame);
    QFETCH(quint32, id);
    QFETCH(QByteArray, data);
    QCOMPARE(QString::number(frame.id, 16), QString::number(id, 16));
    QCOMPARE(int(frame.length), 8);
    QCOMPARE(bytesOf(frame).toHex(), data.toHex());
}

void TstScopeFrames::motorReplies() {
    // Rate reply from motor 1: period 10 us, the two words 1000 and 17.
    CanFrame rate;
    rate.id = 0x0A0001FD;
    rate.length = 8;
    const QByteArray rateData = QByteArray::fromHex("0a000000e8031100");
    std::memcpy(rate.data.data(), rateData.constData(), 8);
    ScopeFrames::Header h = ScopeFrames::header(rate);
    QCOMPARE(h.sub, int(ScopeFrames::Rate));
    QCOMPARE(h.code, 0);
    QCOMPARE(int(h.sender), 1);
    const ScopeFrames::RateReply r = ScopeFrames::rateReply(rate);
    QCOMPARE(r.periodUs, quint32(10));
    QCOMPARE(r.word1, quint16(1000));
    QCOMPARE(r.word2, quint16(17));
    QCOMPARE(ScopeFrames::makeRateReply(1, 0, r).id, rate.id);
    QCOMPARE(bytesOf(ScopeFrames::makeRateReply(1, 0, r)), rateData);

    // Channel reply with code 2 (bits 19-18) and types float, int16, double, uint8, int64:
    // channel i in data[i / 2], even channels in the low nibble.
    const CanFrame ch = ScopeFrames::makeChannelReply(3, 2, {6, 3, 9, 0, 8});
    QCOMPARE(QString::number(ch.id, 16), QStringLiteral("a0903fd"));
    QCOMPARE(bytesOf(ch).toHex(), QByteArray("3609080000000000"));
    h = ScopeFrames::header(ch);
    QCOMPARE(h.sub, int(ScopeFrames::Channels));
    QCOMPARE(h.code, 2);
    QCOMPARE(ScopeFrames::channelTypes(ch, 5), (QVector<int>{6, 3, 9, 0, 8}));

    QCOMPARE(QString::number(ScopeFrames::makeStopReply(1).id, 16), QStringLiteral("a0301fd"));
}

void TstScopeFrames::sampleRecordCutting() {
    // Eight float channels: 2 + 32 = 34 bytes in five frames numbered 0..4 in bits 23-20.
    const QVector<int> floats(8, 6);
    QCOMPARE(ScopeFrames::recordSize(floats), 34);
    QCOMPARE(ScopeFrames::framesPerRecord(34), 5);
    QCOMPARE(ScopeFrames::framesPerRecord(ScopeFrames::recordSize({0, 1, 2, 3})), 1);  // exactly 8
    QCOMPARE(ScopeFrames::framesPerRecord(ScopeFrames::recordSize({0, 1, 2, 3, 0})), 2);

    QByteArray record;
    for (int i = 0; i < 10; ++i)
        record.append(char(0xA0 + i));
    const QVector<CanFrame> frames = ScopeFrames::sampleFrames(1, record);
    QCOMPARE(frames.size(), 2);
    QCOMPARE(QString::number(frames[0].id, 16), QStringLiteral("a0201fd"));
    QCOMPARE(QString::number(frames[1].id, 16), QStringLiteral("a1201fd"));
    QCOMPARE(ScopeFrames::header(frames[1]).index, 1);
    QCOMPARE(bytesOf(frames[0]).toHex(), QByteArray("a0a1a2a3a4a5a6a7"));
    QCOMPARE(bytesOf(frames[1]).toHex(), QByteArray("a8a9000000000000"));
}

void TstScopeFrames::valuesByType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<double>("value");
    QTest::newRow("uint8 high bit") << 0 << QByteArray::fromHex("ff") << 255.0;
    QTest::newRow("int8 sign") << 1 << QByteArray::fromHex("ff") << -1.0;
    QTest::newRow("uint16 little-endian") << 2 << QByteArray::fromHex("3412") << double(0x1234);
    QTest::newRow("int16 sign") << 3 << QByteArray::fromHex("feff") << -2.0;
    QTest::newRow("uint32 all ones") << 4 << QByteArray::fromHex("ffffffff") << 4294967295.0;
    QTest::newRow("int32 sign") << 5 << QByteArray::fromHex("00000080") << -2147483648.0;
    QTest::newRow("float 1.5") << 6 << QByteArray::fromHex("0000c03f") << 1.5;
    QTest::newRow("uint64 2^40") << 7 << QByteArray::fromHex("0000000000010000") << 1099511627776.0;
    QTest::newRow("int64 -3") << 8 << QByteArray::fromHex("fdffffffffffffff") << -3.0;
    QTest::newRow("double -2.5") << 9 << QByteArray::fromHex("00000000000004c0") << -2.5;
    QTest::newRow("text type carries no number") << 10 << QByteArray::fromHex("0102030405060708") << 0.0;
}

void TstScopeFrames::valuesByType() {
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    QFETCH(double, value);
    bytes.append(QByteArray(8, '\x55'));  // trailing bytes of the next channel are not read
    QCOMPARE(ScopeFrames::valueAt(type, reinterpret_cast<const uchar*>(bytes.constData())), value);
}

QTEST_GUILESS_MAIN(TstScopeFrames)
#include "tst_scopeframes.moc"
