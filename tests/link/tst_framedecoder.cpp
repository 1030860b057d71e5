// The monitor's decoder, filters, ring and statistics on hand-written records.
#include "link/monitor/framedecoder.h"
#include "link/monitor/tracefilter.h"
#include "link/monitor/tracestatistics.h"
#include "link/monitor/tracestore.h"

#include <QtTest>

namespace {

TraceRecord frame(TraceRecord::Direction dir, quint32 id, const char* hex, qint64 timeUs = 0) {
    TraceRecord r;
    r.direction = dir;
    r.timeUs = timeUs;
    r.frame.id = id;
    const QByteArray bytes = QByteArray::fromHex(hex);
    r.frame.length = quint8(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        r.frame.data[size_t(i)] = quint8(bytes[i]);
    return r;
}

constexpr auto Tx = TraceRecord::Direction::Tx;
constexpr auto Rx = TraceRecord::Direction::Rx;

// Model 0: velocity +-33, torque +-14, Kp 500, Kd 5.
FrameDecoder decoderWithModel0() {
    FrameDecoder d;
    d.learn(frame(Rx, 0x020005FD, "00C4000000020000"));
    d.setNameLookup([](quint8 canId, quint16 code) {
        return canId == 5 && code == 0x2008 ? QStringLiteral("limit_spd") : QString();
    });
    return d;
}

}  // namespace

class TstFrameDecoder : public QObject {
    Q_OBJECT

private slots:
    void everyType_data();
    void everyType();
    void unscaledWithoutModel();
    void textAndSkippedBytes();
    void filters_data();
    void filters();
    void filterExpressions_data();
    void filterExpressions();
    void ringWrapsAndCounts();
    void statisticsPerCanId();
};

void TstFrameDecoder::everyType_data() {
    QTest::addColumn<TraceRecord>("record");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("destination");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<bool>("failed");

    QTest::newRow("identity request")
        << frame(Tx, 0x0000FD05, "00") << "ANNOUNCE_DEVID" << 0xFD << 5 << "identity-request" << false;
    // Bits 15-8 hold 0x85: the CAN ID is 5, bit 15 is dropped.
    QTest::newRow("announcement") << frame(Rx, 0x000085FE, "011000 00E7C5103A") << "ANNOUNCE_DEVID" << 5
                                  << 0xFE << "announce mcu=0x3A10C5E700001001 can_id=5" << false;
    QTest::newRow("announcement elsewhere")
        << frame(Rx, 0x000005FD, "0110000000000000") << "ANNOUNCE_DEVID" << 5 << 0xFD
        << "error=announcement not sent to 0xFE data=01 10 00 00 00 00 00 00" << true;
    QTest::newRow("MIT all zero") << frame(Tx, 0x017FFF05, "7FFF7FFF00000000") << "MOTOR_CTRL" << 0xFD << 5
                                  << "pos=0.000 vel=0.00 kp=0.00 kd=0.000 torque=0.00" << false;
    QTest::newRow("MIT full scale") << frame(Tx, 0x01FFFF05, "FFFF0000FFFFFFFF") << "MOTOR_CTRL" << 0xFD << 5
                                    << "pos=12.500 vel=-33.00 kp=500.00 kd=5.000 torque=14.00" << false;
    // Run mode, fault flags 0 and 3.
    QTest::newRow("feedback") << frame(Rx, 0x028905FD, "FFFF000080000000") << "MOTOR_FEEDBACK" << 5 << 0xFD
                              << "pos=12.500 vel=-33.00 torque=0.00 mode=run faults=0,3" << false;
    QTest::newRow("model reply") << frame(Rx, 0x020005FD, "00C4000004010000") << "MOTOR_FEEDBACK" << 5 << 0xFD
                                 << "model-reply a=4 b=1 model=4 mode=reset faults=-" << false;
    QTest::newRow("model reply naming no model")
        << frame(Rx, 0x02C005FD, "00C4000001010000") << "MOTOR_FEEDBACK" << 5 << 0xFD
        << "model-reply a=1 b=1 model=- mode=brake faults=-" << false;
    QTest::newRow("short feedback") << frame(Rx, 0x020005FD, "FFFF00") << "MOTOR_FEEDBACK" << 5 << 0xFD
                                    << "error=frame too short for its type data=FF FF 00" << true;
    QTest::newRow("run mode") << frame(Tx, 0x0300FD05, "0000000000000000") << "MOTOR_IN" << 0xFD << 5
                              << "enter-run-mode" << false;
    QTest::newRow("reset mode") << frame(Tx, 0x0400FD05, "011000 00E7C5103A") << "MOTOR_RESET" << 0xFD << 5
                                << "enter-reset-mode mcu=0x3A10C5E700001001" << false;
    QTest::newRow("clear alarm") << frame(Tx, 0x0400FD05, "0100000000000000") << "MOTOR_RESET" << 0xFD << 5
                                 << "clear-alarm" << false;
    QTest::newRow("model query") << frame(Tx, 0x0400FD05, "00C4000000000000") << "MOTOR_RESET" << 0xFD << 5
                                 << "model-query" << false;
    QTest::newRow("calibration done") << frame(Rx, 0x050005FD, "0000C03F00000000") << "MOTOR_CALI" << 5
                                      << 0xFD << "calibrated offset=1.5000" << false;
    QTest::newRow("zero") << frame(Tx, 0x0600FD05, "0101000000000000") << "MOTOR_ZERO" << 0xFD << 5
                          << "set-zero flag=1" << false;
    QTest::newRow("CAN ID change") << frame(Tx, 0x0707FD05, "0110000000000000") << "MOTOR_ID" << 0xFD << 5
                                   << "set-can-id from=5 to=7 mcu=0x0000000000001001" << false;
    QTest::newRow("write float") << frame(Tx, 0x0800FD05, "082006000000C03F") << "PARA_WRITE" << 0xFD << 5
                                 << "write code=0x2008 name=limit_spd type=float chunk=0 value=1.500000"
                                 << false;
    QTest::newRow("write refused") << frame(Rx, 0x081805FD, "0820060000000000") << "PARA_WRITE" << 5 << 0xFD
                                   << "write-reply code=0x2008 name=limit_spd chunk=0 error=6" << false;
    QTest::newRow("save") << frame(Tx, 0x0802FD05, "0000000000000000") << "PARA_WRITE" << 0xFD << 5 << "save"
                          << false;
    QTest::newRow("read") << frame(Tx, 0x0900FD05, "0820") << "PARA_READ" << 0xFD << 5
                          << "read code=0x2008 name=limit_spd" << false;
    QTest::newRow("read reply") << frame(Rx, 0x090005FD, "082006000000C03F") << "PARA_READ" << 5 << 0xFD
                                << "value code=0x2008 name=limit_spd type=float chunk=0 value=1.500000"
                                << false;
    QTest::newRow("read text chunk") << frame(Rx, 0x090005FD, "0010 0A 02 6D6F746F") << "PARA_READ" << 5
                                     << 0xFD << "value code=0x1000 type=text chunk=2 bytes=6D 6F 74 6F"
                                     << false;
    QTest::newRow("no such code") << frame(Rx, 0x090105FD, "0920") << "PARA_READ" << 5 << 0xFD
                                  << "no-such-code code=0x2009" << false;
    QTest::newRow("scope rate") << frame(Tx, 0x0A00FD05, "64001100 00100E00") << "PARA_UPDATE" << 0xFD << 5
                                << "scope-rate hz=100 baud=921600" << false;
    // Five channels: count 4 in bits 23-20, frame 1 in bits 19-18, sub-command 1.
    QTest::newRow("scope channels") << frame(Tx, 0x0A45FD05, "0430000000000000") << "PARA_UPDATE" << 0xFD << 5
                                    << "scope-channels frame=1 count=5 codes=0x3004,0x0000,0x0000,0x0000"
                                    << false;
    QTest::newRow("scope sample") << frame(Rx, 0x0A1205FD, "0102030405060708") << "PARA_UPDATE" << 5 << 0xFD
                                  << "scope-sample part=1 code=0" << false;
    QTest::newRow("scope stopped") << frame(Rx, 0x0A0305FD, "") << "PARA_UPDATE" << 5 << 0xFD
                                   << "scope-stopped" << false;
    QTest::newRow("update info") << frame(Tx, 0x0C00FD05, "0900000002000000") << "OTA_INFO" << 0xFD << 5
                                 << "size=9 packets=2" << false;
    QTest::newRow("packet") << frame(Tx, 0x0D002A05, "0102030405060708") << "OTA_ING" << 0xFD << 5
                            << "packet=42 bytes=01 02 03 04 05 06 07 08" << false;
    QTest::newRow("packet accepted") << frame(Rx, 0x0D0005FD, "") << "OTA_ING" << 5 << 0xFD << "accepted"
                                     << false;
    QTest::newRow("resend") << frame(Rx, 0x0D0F05FD, "0C00") << "OTA_ING" << 5 << 0xFD << "resend packet=12"
                            << false;
    QTest::newRow("end") << frame(Tx, 0x0E00FD05, "02000000") << "OTA_END" << 0xFD << 5 << "end packets=2"
                         << false;
    QTest::newRow("calibrating") << frame(Rx, 0x0F0102FD, "0000803F000000C0") << "CALI_ING" << 2 << 0xFD
                                 << "calibrating rotor=1.0000 flux=-2.0000 sensor=258" << false;
    QTest::newRow("calibration row") << frame(Rx, 0x100005FD, "0300FEFF10000000") << "CALI_RST" << 5 << 0xFD
                                     << "calibration-row number=3 index=-2 correction=16" << false;
    QTest::newRow("jog") << frame(Tx, 0x1200FD05, "05700000 0701FFFF") << "SDO_WRITE" << 0xFD << 5
                         << "jog on=1 speed=33.00" << false;
    QTest::newRow("run mode write") << frame(Tx, 0x1200FD05, "0570000001000000") << "SDO_WRITE" << 0xFD << 5
                                    << "run-mode mode=1" << false;
    QTest::newRow("object ack") << frame(Rx, 0x120005FD, "1270000001000000") << "SDO_WRITE" << 5 << 0xFD
                                << "ack index=0x7012 value=1" << false;
    QTest::newRow("describe name") << frame(Rx, 0x130005FD, "0820 6C696D69745F") << "PARA_STR_INFO" << 5
                                   << 0xFD << "phase=0 code=0x2008 name=limit_spd text=\"limit_\"" << false;
    // Limits 0..3000 x 10^-2, float, writable.
    QTest::newRow("describe limits") << frame(Rx, 0x130305FD, "0820 0000 B80B FE 26") << "PARA_STR_INFO" << 5
                                     << 0xFD
                                     << "phase=3 code=0x2008 name=limit_spd min=0 max=3000 exp=-2 type=float "
                                        "property=1"
                                     << false;
    QTest::newRow("describe summary") << frame(Rx, 0x130905FD, "0300 0201 1400 0A00") << "PARA_STR_INFO" << 5
                                      << 0xFD << "phase=9 summary config=3 counts=2,1,20,10" << false;
    QTest::newRow("brake") << frame(Tx, 0x1400FD05, "0000000000000000") << "MOTOR_BRAKE" << 0xFD << 5
                           << "enter-brake-mode" << false;
    QTest::newRow("fault words") << frame(Rx, 0x150005FD, "0900000001000080") << "FAULT_WARN" << 5 << 0xFD
                                 << "fault=0x00000009 bits=0,3 warning=0x80000001 bits=0,31" << false;
    QTest::newRow("fault of 7 bytes")
        << frame(Rx, 0x150005FD, "09000000010000") << "FAULT_WARN" << 5 << 0xFD
        << "error=fault/warning frame without 8 bytes data=09 00 00 00 01 00 00" << true;
    QTest::newRow("unknown type") << frame(Rx, 0x170005FD, "01") << "TYPE_23" << 5 << 0xFD
                                  << "error=unknown communication type data=01" << true;
    QTest::newRow("feedback from the host")
        << frame(Tx, 0x0200FD05, "0000000000000000") << "MOTOR_FEEDBACK" << 0xFD << 5
        << "error=a motor's frame type sent by the host data=00 00 00 00 00 00 "
           "00 00"
        << true;
}

void TstFrameDecoder::everyType() {
    QFETCH(TraceRecord, record);
    QFETCH(QString, type);
    QFETCH(int, source);
    QFETCH(int, destination);
    QFETCH(QString, fields);
    QFETCH(bool, failed);
    const FrameDecoder decoder = decoderWithModel0();
    const DecodedRecord d = decoder.decode(record);
    QCOMPARE(d.type, type);
    QCOMPARE(d.source, source);
    QCOMPARE(d.destination, destination);
    QCOMPARE(d.fields, fields);
    QCOMPARE(d.failed, failed);
    QCOMPARE(FrameDecoder::problemOf(record) != nullptr, failed);
}

void TstFrameDecoder::unscaledWithoutModel() {
    // Position has a fixed range; velocity and torque wait for the motor's model.
    FrameDecoder decoder;
    QCOMPARE(decoder.decode(frame(Rx, 0x028005FD, "0000FFFF12340000")).fields,
             QStringLiteral("pos=-12.500 vel_raw=65535 torque_raw=4660 mode=run faults=-"));
    decoder.setRangesLookup([](quint8 canId) -> std::optional<CanProtocol::ModelRanges> {
        if (canId == 5)
            return CanProtocol::rangesForModel(4, 1);  // +-15 rad/s, +-120 Nm
        return std::nullopt;
    });
    QCOMPARE(decoder.decode(frame(Rx, 0x028005FD, "0000FFFF00000000")).fields,
             QStringLiteral("pos=-12.500 vel=15.00 torque=-120.00 mode=run faults=-"));
    // A model reply in the trace wins over the lookup: it is what the motor said then.
    decoder.learn(frame(Rx, 0x020005FD, "00C4000000000000"));  // model 3: +-20, +-60
    QCOMPARE(decoder.decode(frame(Rx, 0x028005FD, "0000FFFF00000000")).fields,
             QStringLiteral("pos=-12.500 vel=20.00 torque=-60.00 mode=run faults=-"));
}

void TstFrameDecoder::textAndSkippedBytes() {
    FrameDecoder decoder;
    TraceRecord at;
    at.kind = TraceRecord::Kind::Text;
    at.direction = Tx;
    at.bytes = "AT+CAN_BAUD=1000000\r\n";
    DecodedRecord d = decoder.decode(at);
    QCOMPARE(d.type, QStringLiteral("AT"));
    QCOMPARE(d.fields, QStringLiteral("AT+CAN_BAUD=1000000"));
    QVERIFY(!d.failed);
    QCOMPARE(d.source, -1);
    at.direction = Rx;
    at.bytes = QByteArray("O\x01K\r\n");
    QCOMPARE(decoder.decode(at).fields, QStringLiteral("O\\x01K"));

    TraceRecord junk;
    junk.kind = TraceRecord::Kind::Garbage;
    junk.bytes = QByteArray(13, '\x55');
    d = decoder.decode(junk);
    QCOMPARE(d.type, QStringLiteral("SKIPPED"));
    QVERIFY(d.failed);
    QVERIFY(d.fields.startsWith(QStringLiteral("bytes=13 ")));
    QCOMPARE(FrameDecoder::motorOf(junk), -1);
}

void TstFrameDecoder::filters_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("accepted");  // indices of the records below

    QTest::newRow("everything") << ""
                                << "0123456";
    QTest::newRow("host only") << "dir=tx"
                               << "0235";
    QTest::newRow("motors only") << "dir=RX"
                                 << "146";
    QTest::newRow("feedback by name") << "type=MOTOR_FEEDBACK"
                                      << "1";
    QTest::newRow("full name and number") << "type=CANCOM_PARA_READ,21"
                                          << "56";
    QTest::newRow("AT lines") << "type=AT"
                              << "3";
    QTest::newRow("skipped bytes") << "type=skipped"
                                   << "4";
    QTest::newRow("motor 5") << "id=5"
                             << "0156";
    QTest::newRow("motor 7, both ways") << "id=7"
                                        << "2";
    QTest::newRow("text in fields") << "text=mode=run"
                                    << "1";
    QTest::newRow("text in the entry name") << "text=LIMIT_SPD"
                                            << "5";
    QTest::newRow("text in data bytes") << "c4"
                                        << "0";
    QTest::newRow("combined") << "dir=tx id=5 read"
                              << "5";
}

void TstFrameDecoder::filters() {
    QFETCH(QString, expression);
    QFETCH(QString, accepted);
    TraceRecord at;
    at.kind = TraceRecord::Kind::Text;
    at.direction = Tx;
    at.bytes = "AT+AT\r\n";
    TraceRecord junk;
    junk.kind = TraceRecord::Kind::Garbage;
    junk.bytes = "\x01\x02";
    const QVector<TraceRecord> records = {
        frame(Tx, 0x0400FD05, "00C4000000000000"),  // 0 model query
        frame(Rx, 0x028005FD, "8000800080000000"),  // 1 feedback, run
        frame(Tx, 0x0300FD07, "0000000000000000"),  // 2 motor 7
        at,                                         // 3
        junk,                                       // 4
        frame(Tx, 0x0900FD05, "0820"),              // 5 read 0x2008
        frame(Rx, 0x150005FD, "0000000000000000"),  // 6 fault words
    };
    TraceFilter filter;
    QString error;
    QVERIFY2(TraceFilter::parse(expression, &filter, &error), qPrintable(error));
    const FrameDecoder decoder = decoderWithModel0();
    QString got;
    for (int i = 0; i < records.size(); ++i) {
        if (filter.accepts(records[i], decoder.decode(records[i])))
            got += QString::number(i);
    }
    QCOMPARE(got, accepted);
}

void TstFrameDecoder::filterExpressions_data() {
    QTest::addColumn<QString>("expression");
    QTest::newRow("direction") << "dir=both";
    QTest::newRow("type") << "type=FEEDBACKS";
    QTest::newRow("type number") << "type=40";
    QTest::newRow("id") << "id=x";
    QTest::newRow("id range") << "id=300";
    QTest::newRow("key") << "can=5";
}

void TstFrameDecoder::filterExpressions() {
    QFETCH(QString, expression);
    TraceFilter filter;
    filter.text = QStringLiteral("kept");
    QString error;
    QVERIFY(!TraceFilter::parse(expression, &filter, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(filter.text, QStringLiteral("kept"));  // a refused expression changes nothing
}

void TstFrameDecoder::ringWrapsAndCounts() {
    TraceStore store(4);
    for (int i = 0; i < 3; ++i)
        store.append(frame(Tx, 0x0300FD01, "00", i));
    QCOMPARE(store.first(), 0u);
    QCOMPARE(store.end(), 3u);
    QCOMPARE(store.droppedFromStart(), 0u);
    QVector<TraceRecord> batch;
    for (int i = 3; i < 10; ++i)
        batch << frame(Tx, 0x0300FD01, "00", i);
    store.append(batch);
    // The oldest records gave way; sequence numbers go on counting.
    QCOMPARE(store.first(), 6u);
    QCOMPARE(store.end(), 10u);
    QCOMPARE(store.size(), 4u);
    QCOMPARE(store.droppedFromStart(), 6u);
    TraceRecord r;
    QVERIFY(!store.at(5, &r));
    QVERIFY(store.at(6, &r));
    QCOMPARE(r.timeUs, 6);
    quint64 from = 0;
    const QVector<TraceRecord> all = store.range(0, 100, &from);
    QCOMPARE(from, 6u);
    QCOMPARE(all.size(), 4);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(all[i].timeUs, 6 + i);

    store.clear();
    QCOMPARE(store.size(), 0u);
    QCOMPARE(store.droppedFromStart(), 0u);
    store.append(frame(Tx, 0x0300FD01, "00", 10));
    QCOMPARE(store.first(), 10u);
    QVERIFY(store.at(10, &r));
    QCOMPARE(r.timeUs, 10);

    store.setCapacity(2);
    QCOMPARE(store.size(), 0u);
    for (int i = 0; i < 5; ++i)
        store.append(frame(Tx, 0x0300FD01, "00", 20 + i));
    QCOMPARE(store.range(0, 100).size(), 2);
    QCOMPARE(store.range(0, 100).last().timeUs, 24);
    QCOMPARE(store.droppedFromStart(), 3u);
}

void TstFrameDecoder::statisticsPerCanId() {
    TraceStatistics stats;
    // Motor 5: feedback at 0, 1, 3 and 6 ms, a model reply between (not a feedback value),
    // a fault frame and one undecodable frame; the host's request counts for motor 5 too.
    stats.add(frame(Tx, 0x0300FD05, "0000000000000000", 0));
    stats.add(frame(Rx, 0x028005FD, "8000800080000000", 0));
    stats.add(frame(Rx, 0x028005FD, "8000800080000000", 1000));
    stats.add(frame(Rx, 0x020005FD, "00C4000000020000", 2000));
    stats.add(frame(Rx, 0x028005FD, "8000800080000000", 3000));
    stats.add(frame(Rx, 0x150005FD, "0900000001000000", 4000));
    stats.add(frame(Rx, 0x150005FD, "09", 5000));
    stats.add(frame(Rx, 0x028005FD, "8000800080000000", 6000));
    stats.add(frame(Rx, 0x028007FD, "8000800080000000", 6000));
    TraceRecord at;
    at.kind = TraceRecord::Kind::Text;
    at.bytes = "OK\r\n";
    stats.add(at);

    const QVector<IdStatistics> rows = stats.rows();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].canId, -1);
    QCOMPARE(rows[0].text, 1u);
    const IdStatistics& m5 = rows[1];
    QCOMPARE(m5.canId, 5);
    QCOMPARE(m5.records, 8u);
    QCOMPARE(m5.perType[CANCOM_MOTOR_FEEDBACK], 5u);
    QCOMPARE(m5.perType[CANCOM_MOTOR_IN], 1u);
    QCOMPARE(m5.perType[CANCOM_FAULT_WARN], 2u);
    QCOMPARE(m5.failed, 1u);
    QCOMPARE(m5.feedback, 4u);
    QCOMPARE(m5.minIntervalUs, 1000);
    QCOMPARE(m5.maxIntervalUs, 3000);
    QCOMPARE(m5.meanIntervalUs(), 2000.0);
    QVERIFY(m5.faultSeen);
    QCOMPARE(m5.lastFault, 9u);
    QCOMPARE(m5.lastWarning, 1u);
    QCOMPARE(m5.rate(), 0.0);  // six milliseconds of traffic name no rate yet
    stats.add(frame(Rx, 0x028005FD, "8000800080000000", 2000000));
    QCOMPARE(stats.rows()[1].rate(), 8 / 2.0);
    QCOMPARE(rows[2].canId, 7);
    QCOMPARE(rows[2].intervals, 0u);
    QCOMPARE(stats.table().size(), 4);
}

QTEST_GUILESS_MAIN(TstFrameDecoder)
#include "tst_framedecoder.moc"
