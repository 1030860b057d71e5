// The firmware update frames against bytes written out by hand from the layouts.
#include "link/canprotocol.h"
#include "link/frames/firmwareframes.h"

#include <QtTest>

Q_DECLARE_METATYPE(CanFrame)

namespace {

QByteArray bytesOf(const CanFrame& f) {
    return QByteArray(reinterpret_cast<const char*>(f.data.data()), f.length);
}

QByteArray image(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + 1);
    return bytes;
}

}  // namespace

class TstFirmwareFrames : public QObject {
    Q_OBJECT

private slots:
    void hostRequests_data();
    void hostRequests();
    void motorAnswers_data();
    void motorAnswers();
    void requestFieldsRoundTrip();
};

void TstFirmwareFrames::hostRequests_data() {
    QTest::addColumn<CanFrame>("frame");
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QByteArray>("data");
    const QByteArray full = image(524288);
    QTest::newRow("enter update mode") << FirmwareFrames::enter(5, 0x3a10c5e700001001ull) << 0x0B00FD05u
                                       << QByteArray::fromHex("01100000e7c5103a");
    QTest::newRow("info, one byte") << FirmwareFrames::info(5, 1, 1) << 0x0C00FD05u
                                    << QByteArray::fromHex("0100000001000000");
    QTest::newRow("info, largest image")
        << FirmwareFrames::info(127, 524288, 65536) << 0x0C00FD7Fu << QByteArray::fromHex("0000080000000100");
    QTest::newRow("one-byte image padded") << FirmwareFrames::packet(5, 0, QByteArray("\xAB", 1))
                                           << 0x0D000005u << QByteArray::fromHex("abffffffffffffff");
    QTest::newRow("second packet") << FirmwareFrames::packet(3, 1, image(12)) << 0x0D000103u
                                   << QByteArray::fromHex("3940474effffffff");
    // The last packet of a 512 KiB image carries number 0xFFFF on the bus.
    QTest::newRow("last packet of the largest image")
        << FirmwareFrames::packet(1, 65535, full) << 0x0DFFFF01u << full.right(8);
    QTest::newRow("end") << FirmwareFrames::end(5, 65536) << 0x0E000005u
                         << QByteArray::fromHex("0000010000000000");
}

void TstFirmwareFrames::hostRequests() {
    QFETCH(CanFrame, frame);
    QFETCH(quint32, id);
    QFETCH(QByteArray, data);
    QCOMPARE(QString::number(frame.id, 16), QString::number(id, 16));
    QCOMPARE(bytesOf(frame).toHex(' '), data.toHex(' '));
}

void TstFirmwareFrames::motorAnswers_data() {
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("packet");
    using A = FirmwareFrames::Answer;
    QTest::newRow("packet accepted") << 0x0D0005FDu << QByteArray(8, '\0') << int(A::Accepted) << 0;
    QTest::newRow("resend from packet 12")
        << 0x0D0F05FDu << QByteArray::fromHex("0c00000000000000") << int(A::Retry) << 12;
    QTest::newRow("resend from packet 0x1234")
        << 0x0E0F05FDu << QByteArray::fromHex("3412000000000000") << int(A::Retry) << 0x1234;
    QTest::newRow("another motor") << 0x0D0006FDu << QByteArray(8, '\0') << int(A::Other) << 0;
    QTest::newRow("not to the host") << 0x0D0005FEu << QByteArray(8, '\0') << int(A::Other) << 0;
    QTest::newRow("unknown offset") << 0x0D0105FDu << QByteArray(8, '\0') << int(A::Other) << 0;

    // The motor side builds what the host reads.
    const CanFrame retry = FirmwareFrames::retry(CANCOM_OTA_ING, 5, 40);
    QTest::newRow("built resend") << retry.id << bytesOf(retry) << int(A::Retry) << 40;
    const CanFrame refused = FirmwareFrames::infoAnswer(5, false, 9, 2);
    QTest::newRow("built info refusal") << refused.id << bytesOf(refused) << int(A::Retry) << 9;
}

void TstFirmwareFrames::motorAnswers() {
    QFETCH(quint32, id);
    QFETCH(QByteArray, data);
    QFETCH(int, kind);
    QFETCH(int, packet);
    CanFrame f;
    f.id = id;
    f.length = quint8(data.size());
    std::copy(data.begin(), data.end(), f.data.begin());
    const FirmwareFrames::Answer a = FirmwareFrames::answer(f, 5);
    QCOMPARE(int(a.kind), kind);
    QCOMPARE(int(a.packet), packet);
}

void TstFirmwareFrames::requestFieldsRoundTrip() {
    QCOMPARE(FirmwareFrames::enterMcuId(FirmwareFrames::enter(1, 0x8877665544332211ull)),
             0x8877665544332211ull);
    const CanFrame info = FirmwareFrames::info(1, 524288, FirmwareFrames::packetCount(524288));
    QCOMPARE(FirmwareFrames::infoSize(info), 524288u);
    QCOMPARE(FirmwareFrames::infoCount(info), 65536u);
    QCOMPARE(FirmwareFrames::packetIndex(FirmwareFrames::packet(1, 300, image(4000))), quint16(300));
    QCOMPARE(FirmwareFrames::endCount(FirmwareFrames::end(1, 65536)), 65536u);
}

QTEST_APPLESS_MAIN(TstFirmwareFrames)
#include "tst_firmwareframes.moc"
