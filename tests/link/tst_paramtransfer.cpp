// The parameter-table protocol against scripted motor replies: description, reads and writes
// into the store, their statuses and failure lines. Replies are built from the shared layouts.
#include "link/canprotocol.h"
#include "link/frames/paramframes.h"
#include "link/frames/paramvalue.h"
#include "link/linkstates.h"
#include "link/param/paramstore.h"
#include "link/param/paramtransfer.h"

#include <QtTest>

Q_DECLARE_METATYPE(CanFrame)

using namespace ParamFrames;

namespace {

constexpr quint8 kMotor = 5;

// A small table: two strings in group 0, one in group 1, a float setting with E = -2 limits,
// a read-only uint8, and one live measurement.
QVector<CanFrame> describeTable(quint8 canId, int configCount = 1) {
    QVector<CanFrame> out;
    auto name = [&](quint16 code, const QByteArray& n) {
        const QByteArray b = ParamValue::textBytes(n);
        out << describeFrame(canId, 0, code, b.mid(0, 6)) << describeFrame(canId, 1, code, b.mid(6, 6))
            << describeFrame(canId, 2, code, b.mid(12, 4));
    };
    auto text = [&](quint16 code, const QByteArray& n, const QByteArray& v) {
        name(code, n);
        const QByteArray b = ParamValue::textBytes(v);
        out << describeFrame(canId, 6, code, b.mid(0, 6)) << describeFrame(canId, 7, code, b.mid(6, 6))
            << describeFrame(canId, 8, code, b.mid(12, 4));
    };
    auto number = [&](quint16 code, const QByteArray& n, int type, qint16 lo, qint16 hi, qint8 e, int prop,
                      double v) {
        name(code, n);
        out << limitsFrame(canId, code, lo, hi, e, type, prop);
        const QByteArray raw = ParamValue::toRaw(type, v);
        out << valueFrame(canId, 4, code, type, raw) << valueFrame(canId, 5, code, type, raw);
    };
    text(0x0000, "Name", "joint");
    text(0x0001, "Location-of-the-joint", "left knee 0123456789");  // both cut at 16 bytes
    text(0x1000, "AppCodeVersion", "0.9.4");
    number(0x2000, "CAN_ID", 0, 1, 127, 0, 0, 5);
    number(0x2001, "limit_spd", 6, 0, 3000, -2, 1, 10);
    number(0x3000, "mechPos", 9, 0, 0, 0, 0, -1.25);
    out << summaryFrame(canId, configCount, {{2, 1, 2, 1}});
    return out;
}

int feed(ParamTransfer& t, const QVector<CanFrame>& frames) {
    int status = -1;
    for (const CanFrame& f : frames) {
        const int s = t.decode(f, nullptr);
        if (s >= 0)
            status = s;
    }
    return status;
}

ParamEntry entryOf(const ParamStore& store, quint16 code) {
    ParamEntry e;
    store.entry(kMotor, code, &e);
    return e;
}

}  // namespace

class TstParamTransfer : public QObject {
    Q_OBJECT

private slots:
    void descriptionFillsTheStore();
    void summaryIsNotAnEntry_data();
    void summaryIsNotAnEntry();
    void descriptionFaults_data();
    void descriptionFaults();
    void readsCollectChunks_data();
    void readsCollectChunks();
    void readFailures_data();
    void readFailures();
    void writesChunkByChunk();
    void writeFailures();
    void otherMotorsNeverCompleteATransfer();
};

void TstParamTransfer::descriptionFillsTheStore() {
    ParamStore store;
    ParamTransfer t(&store);
    const CanFrame request = t.startDescription(kMotor, 0x1122);
    QCOMPARE(int(request.type()), int(CANCOM_PARA_STR_INFO));
    QCOMPARE(feed(t, describeTable(kMotor)), int(OTA_STA_GET_PARA_INFO_SUCCESS));
    QCOMPARE(store.counts(kMotor), (std::array<int, 4>{{2, 1, 2, 1}}));
    QCOMPARE(store.configCount(kMotor), 1);

    const QVector<ParamEntry> all = store.snapshot(kMotor);
    QCOMPARE(all.size(), 6);
    QCOMPARE(all[1].name, QStringLiteral("Location-of-the-"));
    QCOMPARE(all[1].value, QStringLiteral("left knee 012345"));
    QCOMPARE(all[2].value, QStringLiteral("0.9.4"));
    const ParamEntry spd = entryOf(store, 0x2001);
    QCOMPARE(spd.name, QStringLiteral("limit_spd"));
    QCOMPARE(spd.minimum, 0.0);
    QCOMPARE(spd.maximum, 30.0);
    QCOMPARE(spd.decimals, 2);
    QCOMPARE(spd.value, QStringLiteral("10.000000"));
    QVERIFY(spd.writable());
    QVERIFY(!entryOf(store, 0x2000).writable());
    QCOMPARE(entryOf(store, 0x3000).value, QStringLiteral("-1.250000000000"));
    QCOMPARE(entryOf(store, 0x3000).type, 9);
}

void TstParamTransfer::summaryIsNotAnEntry_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    // The configuration count sits where an entry code would: read as a code, each of these
    // names an index above its group's count.
    QTest::newRow("group 0") << 7 << 0x00;
    QTest::newRow("group 1") << 7 << 0x10;
    QTest::newRow("group 2") << 7 << 0x20;
    QTest::newRow("group 3") << 7 << 0x30;
    QTest::newRow("beyond the groups") << 0xff << 0xff;
}

void TstParamTransfer::summaryIsNotAnEntry() {
    QFETCH(int, first);
    QFETCH(int, second);
    ParamStore store;
    ParamTransfer t(&store);
    t.startDescription(kMotor, 1);
    QVector<CanFrame> frames = describeTable(kMotor);
    frames.last().data[0] = quint8(first);
    frames.last().data[1] = quint8(second);
    QCOMPARE(feed(t, frames), int(OTA_STA_GET_PARA_INFO_SUCCESS));
    QCOMPARE(t.errorBits(), 0u);
    QCOMPARE(store.counts(kMotor), (std::array<int, 4>{{2, 1, 2, 1}}));
}

void TstParamTransfer::descriptionFaults_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("line");
    QTest::newRow("lost name frame") << "drop 1"
                                     << "Reload parameters table failed: code:0X20/frame lost";
    QTest::newRow("phase 1 after phase 2") << "repeat 1 after 2"
                                           << "Reload parameters table failed: code:0X20/frame lost";
    QTest::newRow("wrong summary")
        << "summary"
        << "Reload parameters table failed: code:0X200/write param number mismatch";
    QTest::newRow("disorder") << "disorder"
                              << "Reload parameters table failed: code:0X208/disordered "
                                 "number/write param number mismatch";
    QTest::newRow("invalid phase") << "phase 12"
                                   << "Reload parameters table failed: code:0X1/invalid type";
    QTest::newRow("limits of a string") << "limits on group 0"
                                        << "Reload parameters table failed: code:0X40/type & data mismatch";
}

void TstParamTransfer::descriptionFaults() {
    QFETCH(QString, fault);
    QFETCH(QString, line);
    ParamStore store;
    ParamTransfer t(&store);
    t.startDescription(kMotor, 1);
    QVector<CanFrame> frames = describeTable(kMotor);
    if (fault == "drop 1") {
        frames.remove(1);
    } else if (fault == "repeat 1 after 2") {
        frames.insert(3, frames[1]);
    } else if (fault == "summary") {
        frames.last().data[4] = 3;
    } else if (fault == "disorder") {
        // The live measurement is announced as index 2 of group 2, before index 1.
        for (CanFrame& f : frames) {
            if (f.data[0] == 0x01 && f.data[1] == 0x20)
                f.data[0] = 0x02;
        }
    } else if (fault == "phase 12") {
        frames.insert(3, describeFrame(kMotor, 12, 0x0000, QByteArray()));
    } else if (fault == "limits on group 0") {
        frames.insert(3, limitsFrame(kMotor, 0x0000, 0, 1, 0, 0, 0));
    }
    QCOMPARE(feed(t, frames), int(OTA_STA_GET_PARA_INFO_ERROR));
    QCOMPARE(ParamTransfer::describeErrorText(t.errorBits()), line);
}

void TstParamTransfer::readsCollectChunks_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("float: one chunk") << 0x2001 << ParamValue::toRaw(6, 12.5) << "12.500000";
    QTest::newRow("double: two chunks") << 0x3000 << ParamValue::toRaw(9, 0.5) << "0.500000000000";
    QTest::newRow("uint8: one chunk") << 0x2000 << QByteArray("\x07", 1) << "7";
    QTest::newRow("text: four chunks") << 0x1000 << ParamValue::textBytes("1.0.0-rc2") << "1.0.0-rc2";
}

void TstParamTransfer::readsCollectChunks() {
    QFETCH(int, code);
    QFETCH(QByteArray, value);
    QFETCH(QString, text);
    ParamStore store;
    ParamTransfer t(&store);
    t.startDescription(kMotor, 1);
    feed(t, describeTable(kMotor));
    t.setCursor(groupOf(quint16(code)), indexOf(quint16(code)));
    const auto request = t.startRead(kMotor, false);
    QVERIFY(request);
    QCOMPARE(int(request->data[0] | request->data[1] << 8), code);
    const int type = entryOf(store, quint16(code)).type;
    const int chunks = ParamValue::chunks(type);
    for (int c = 0; c < chunks; ++c) {
        const int status = t.decode(readReply(kMotor, quint16(code), type, c, value.mid(c * 4, 4)), nullptr);
        QCOMPARE(status, c + 1 < chunks ? -1 : int(OTA_STA_READ_PARA_SUCCESS));
    }
    QCOMPARE(entryOf(store, quint16(code)).value, text);
    QCOMPARE(t.expectedCode(), quint16(code));
}

void TstParamTransfer::readFailures_data() {
    QTest::addColumn<CanFrame>("reply");
    QTest::addColumn<QString>("line");
    QTest::newRow("another code") << readReply(kMotor, 0x2003, 6, 0, QByteArray(4, '\0'))
                                  << "Read param from 0X2001 failed: /number mismatch";
    QTest::newRow("no such code") << readMissing(kMotor, 0x2001)
                                  << "Read param from 0X2001 failed: /no such code";
    QTest::newRow("wrong type") << readReply(kMotor, 0x2001, 4, 0, QByteArray(4, '\0'))
                                << "Read param from 0X2001 failed: /wrong type";
    QTest::newRow("chunk skipped") << readReply(kMotor, 0x2001, 6, 1, QByteArray(4, '\0'))
                                   << "Read param from 0X2001 failed: /loss frame";
}

void TstParamTransfer::readFailures() {
    QFETCH(CanFrame, reply);
    QFETCH(QString, line);
    ParamStore store;
    ParamTransfer t(&store);
    t.startDescription(kMotor, 1);
    feed(t, describeTable(kMotor));
    t.setCursor(2, 1);
    QVERIFY(t.startRead(kMotor, false));
    QCOMPARE(t.decode(reply, nullptr), int(OTA_STA_READ_PARA_ERROR));
    QCOMPARE(ParamTransfer::readErrorText(t.expectedCode(), t.errorBits()), line);
    QCOMPARE(entryOf(store, 0x2001).value, QStringLiteral("10.000000"));
}

void TstParamTransfer::writesChunkByChunk() {
    ParamStore store;
    ParamTransfer t(&store);
    t.startDescription(kMotor, 1);
    feed(t, describeTable(kMotor));
    store.setPending(kMotor, 0x0001, ParamValue::textBytes("right-elbow-0001"));
    store.setPending(kMotor, 0x2001, ParamValue::toRaw(6, 25.5));

    int status = -1;
    std::optional<CanFrame> request = t.startWrite(kMotor, true, &status);
    QVERIFY(request);
    QByteArray sent;
    for (int c = 0; c < 4; ++c) {
        QVERIFY(request);
        const auto w = writeRequestOf(*request);
        QCOMPARE(int(w.code), 0x0001);
        QCOMPARE(w.type, 10);
        QCOMPARE(w.chunk, c);
        sent.append(reinterpret_cast<const char*>(w.bytes.data()), 4);
        std::optional<CanFrame> next;
        status = t.decode(writeReply(kMotor, *request, 0), &next);
        QCOMPARE(status, c < 3 ? -1 : int(OTA_STA_WRITE_PARA_SUCCESS));
        request = next;
    }
    QCOMPARE(sent, QByteArray("right-elbow-0001"));
    QCOMPARE(entryOf(store, 0x0001).value, QStringLiteral("right-elbow-0001"));
    QVERIFY(!entryOf(store, 0x0001).modified);

    // The walk moves on to the next modified entry: group 2 after group 0.
    const int next = store.nextModified(kMotor, 0);
    QCOMPARE(next, 0x2001);
    t.setCursor(groupOf(quint16(next)), indexOf(quint16(next)));
    request = t.startWrite(kMotor, false, &status);
    QVERIFY(request);
    QCOMPARE(writeRequestOf(*request).type, 6);
    QCOMPARE(t.decode(writeReply(kMotor, *request, 0), nullptr), int(OTA_STA_WRITE_PARA_SUCCESS));
    QCOMPARE(entryOf(store, 0x2001).value, QStringLiteral("25.500000"));
    QCOMPARE(store.nextModified(kMotor, 0), -1);

    const CanFrame save = t.startSave(kMotor);
    QCOMPARE(t.decode(writeReply(kMotor, save, 0), nullptr), int(OTA_STA_SAVE_PARA_SUCCESS));
}

void TstParamTransfer::writeFailures() {
    ParamStore store;
    ParamTransfer t(&store);
    t.startDescription(kMotor, 1);
    feed(t, describeTable(kMotor));

    // Nothing modified: fails at once, without a frame.
    int status = -1;
    QVERIFY(!t.startWrite(kMotor, true, &status));
    QCOMPARE(status, int(OTA_STA_WRITE_PARA_ERROR));
    QCOMPARE(ParamTransfer::writeErrorText(t.expectedCode(), t.errorBits()),
             QStringLiteral("Write param to 0X2002failed: /no such code"));

    // The motor's own error code: 6 is "value out of range".
    store.setPending(kMotor, 0x2001, ParamValue::toRaw(6, 99.0));
    const auto request = t.startWrite(kMotor, true, &status);
    QVERIFY(request);
    QCOMPARE(t.decode(writeReply(kMotor, *request, 6), nullptr), int(OTA_STA_WRITE_PARA_ERROR));
    QCOMPARE(ParamTransfer::writeErrorText(t.expectedCode(), t.errorBits()),
             QStringLiteral("Write param to 0X2001failed: /value out of range"));
    QVERIFY(entryOf(store, 0x2001).modified);

    // A reply to another sub-command, and a save the motor could not do.
    t.startWrite(kMotor, true, &status);
    QCOMPARE(t.decode(writeReply(kMotor, saveRequest(kMotor), 0), nullptr), int(OTA_STA_WRITE_PARA_ERROR));
    QVERIFY(ParamTransfer::writeErrorText(0x2001, t.errorBits()).endsWith("/command mismatch"));
    const CanFrame save = t.startSave(kMotor);
    QCOMPARE(t.decode(writeReply(kMotor, save, 9), nullptr), int(OTA_STA_WRITE_PARA_ERROR));
    QVERIFY(ParamTransfer::writeErrorText(0x2001, t.errorBits()).endsWith("failed: /save failed"));
}

void TstParamTransfer::otherMotorsNeverCompleteATransfer() {
    ParamStore store;
    ParamTransfer t(&store);
    t.startDescription(kMotor, 1);
    // A neighbour's description interleaved with ours changes nothing of ours.
    const QVector<CanFrame> ours = describeTable(kMotor);
    QVector<CanFrame> theirs = describeTable(kMotor + 1, 2);
    theirs.last().data[2] = 9;
    QVector<CanFrame> mixed;
    for (int i = 0; i < ours.size(); ++i)
        mixed << theirs.value(i) << ours[i];
    QCOMPARE(feed(t, mixed), int(OTA_STA_GET_PARA_INFO_SUCCESS));
    QCOMPARE(store.canIds(), QList<quint8>{kMotor});
    QCOMPARE(store.configCount(kMotor), 1);

    t.setCursor(2, 1);
    QVERIFY(t.startRead(kMotor, false));
    const CanFrame foreign = readReply(kMotor + 1, 0x2001, 6, 0, ParamValue::toRaw(6, 1.0));
    QVERIFY(!t.belongs(foreign));
    QCOMPARE(t.decode(foreign, nullptr), -1);
    QVERIFY(!t.concluded());
    QCOMPARE(t.decode(readReply(kMotor, 0x2001, 6, 0, ParamValue::toRaw(6, 2.0)), nullptr),
             int(OTA_STA_READ_PARA_SUCCESS));
    QCOMPARE(entryOf(store, 0x2001).value, QStringLiteral("2.000000"));
}

QTEST_GUILESS_MAIN(TstParamTransfer)
#include "tst_paramtransfer.moc"
