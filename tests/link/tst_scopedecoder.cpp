// The scope's sample path: record reassembly, time and lost records from the motor's stamps,
// waveform lines, display batches and the bounded history.
#include "link/scope/scopebatchqueue.h"
#include "link/scope/scopedecoder.h"
#include "link/scope/scopehistory.h"
#include "link/scope/scopewavefile.h"

#include <QtEndian>
#include <QtTest>

#include "tests/framework/filesizelimit.h"

#include <cstring>

namespace {

// One record: stamp followed by the given raw channel bytes.
QByteArray record(quint16 stamp, const QByteArray& values) {
    QByteArray r(2, '\0');
    qToLittleEndian(stamp, r.data());
    return r + values;
}

QByteArray f32(float v) {
    QByteArray b(4, '\0');
    std::memcpy(b.data(), &v, 4);
    return b;
}

// Feeds a record's frames in the given order (all frames when order is empty).
int feedRecord(ScopeDecoder& d, const QByteArray& rec, QVector<int> order = {}) {
    const int frames = (rec.size() + 7) / 8;
    if (order.isEmpty()) {
        for (int i = 0; i < frames; ++i)
            order << i;
    }
    int done = 0;
    for (int i : order) {
        quint8 data[8] = {};
        std::memcpy(data, rec.constData() + i * 8, size_t(qMin(8, rec.size() - i * 8)));
        done += d.feed(i, data) ? 1 : 0;
    }
    return done;
}

ScopeDecoder::Setup setup(QVector<int> types, quint32 periodUs = 10, int frequency = 1000) {
    ScopeDecoder::Setup s;
    s.types = types;
    s.periodUs = periodUs;
    s.frequency = frequency;
    s.generation = 7;
    return s;
}

}  // namespace

class TstScopeDecoder : public QObject {
    Q_OBJECT

private slots:
    void reassemblyInOrderOutOfOrderAndLost();
    void badFrameIndexIsIgnored();
    void timeFollowsStampsAcrossTheWrap();
    void lostRecordsCountedFromStampGaps();
    void damagedStampsAreNotGaps_data();
    void damagedStampsAreNotGaps();
    void waveLinePerType_data();
    void waveLinePerType();
    void waveFileAppendsLines();
    void recordingReplacesOnlyWhenComplete();
    void brokenRecordingGoesBeside();
    void fullDiskKeepsTheOldRecording();
    void batchSizeFollowsRate_data();
    void batchSizeFollowsRate();
    void batchQueueStaysBounded();
    void historyKeepsTheLastRecords();
};

void TstScopeDecoder::damagedStampsAreNotGaps_data() {
    // 100 ticks per record; a stamp's bit flipped on the way moves it by a power of two. The
    // last record's time is taken from its own stamp again (10 us per tick).
    QTest::addColumn<QVector<int>>("stamps");
    QTest::addColumn<int>("lost");
    QTest::addColumn<int>("damaged");
    QTest::addColumn<double>("lastTime");
    QTest::newRow("backwards") << QVector<int>{100, 200, 300 - 256, 400, 500} << 0 << 1 << 0.005;
    QTest::newRow("implausibly far") << QVector<int>{100, 200, 300 + 16384, 400, 500} << 0 << 1 << 0.005;
    QTest::newRow("forward within reach, then the next runs back")
        << QVector<int>{100, 200, 300 + 1024, 400, 500} << 0 << 1 << 0.005;
    QTest::newRow("across the wrap") << QVector<int>{65300, 65400, 65500, 64, 164 ^ 0x4000, 264, 364} << 0
                                     << 1 << 0.653 + 0.006;
    QTest::newRow("a real gap stays lost") << QVector<int>{100, 200, 500, 600} << 2 << 0 << 0.006;
    QTest::newRow("a gap beside a damaged stamp")
        << QVector<int>{100, 200, 300 - 256, 700, 800} << 3 << 1 << 0.008;
    // A jump that two records in a row agree on is the motor's time line, not damage.
    QTest::newRow("two stamps agree on a new time line")
        << QVector<int>{100, 200, 30000, 30100, 30200} << 0 << 0 << 0.002 + 0.001 + 0.002;
}

void TstScopeDecoder::damagedStampsAreNotGaps() {
    QFETCH(QVector<int>, stamps);
    QFETCH(int, lost);
    QFETCH(int, damaged);
    QFETCH(double, lastTime);
    ScopeDecoder d;
    d.configure(setup({6}, 10, 1000));
    for (int stamp : stamps)
        QCOMPARE(feedRecord(d, record(quint16(stamp), f32(1))), 1);
    QCOMPARE(d.records(), quint64(stamps.size()));
    QCOMPARE(d.lost(), quint64(lost));
    QCOMPARE(d.damaged(), quint64(damaged));
    QVERIFY2(qAbs(d.time() - lastTime) < 1e-9, qPrintable(QString::number(d.time(), 'f', 6)));
}

void TstScopeDecoder::reassemblyInOrderOutOfOrderAndLost() {
    // Five float channels: 22 bytes in three frames.
    ScopeDecoder d;
    d.configure(setup({6, 6, 6, 6, 6}));
    QCOMPARE(d.recordSize(), 22);
    auto values = [](float base) {
        QByteArray v;
        for (int i = 0; i < 5; ++i)
            v += f32(base + i);
        return v;
    };
    QCOMPARE(feedRecord(d, record(100, values(1))), 1);
    QCOMPARE(d.lastValues()[4], 5.0);

    // Frames of one record may come in any order.
    QCOMPARE(feedRecord(d, record(200, values(10)), {2, 0, 1}), 1);
    QCOMPARE(d.lastValues()[0], 10.0);
    QCOMPARE(d.lastValues()[4], 14.0);

    // A record missing its middle frame is dropped when the next record's first frame
    // arrives; the next record then decodes whole, without stale bytes.
    QCOMPARE(feedRecord(d, record(300, values(20)), {0, 2}), 0);
    QCOMPARE(feedRecord(d, record(400, values(30))), 1);
    QCOMPARE(d.incomplete(), quint64(1));
    QCOMPARE(d.lastValues()[2], 32.0);
    QCOMPARE(d.records(), quint64(3));
    QCOMPARE(d.lost(), quint64(1));  // stamps 200 -> 400 at 100 ticks per record
}

void TstScopeDecoder::badFrameIndexIsIgnored() {
    ScopeDecoder d;
    d.configure(setup({0}));  // 3-byte record, one frame
    quint8 data[8] = {1, 0, 42};
    QVERIFY(!d.feed(15, data));  // would lie 120 bytes past a 3-byte record
    QVERIFY(!d.feed(-1, data));
    QCOMPARE(d.badFrames(), quint64(2));
    QVERIFY(d.feed(0, data));
    QCOMPARE(d.lastValues()[0], 42.0);
}

void TstScopeDecoder::timeFollowsStampsAcrossTheWrap() {
    ScopeDecoder d;
    d.configure(setup({2}, 10, 10000));  // 10 ticks per record at 10 us
    feedRecord(d, record(65530, QByteArray(2, '\0')));
    const double before = d.time();
    QVERIFY(qAbs(before - 0.6553) < 1e-12);
    feedRecord(d, record(4, QByteArray(2, '\0')));
    QVERIFY(qAbs(d.time() - before - 10 * 10e-6) < 1e-12);
    QCOMPARE(d.lost(), quint64(0));
}

void TstScopeDecoder::lostRecordsCountedFromStampGaps() {
    ScopeDecoder d;
    d.configure(setup({6}, 10, 1000));  // 100 ticks per record
    quint16 stamp = 65000;
    feedRecord(d, record(stamp, f32(0)));
    for (int gap : {1, 1, 4, 1, 2}) {  // 3 and 1 records missing, one gap across the wrap
        stamp = quint16(stamp + gap * 100);
        feedRecord(d, record(stamp, f32(0)));
    }
    QCOMPARE(d.records(), quint64(6));
    QCOMPARE(d.lost(), quint64(4));
    // A new configuration starts the counts afresh and never counts the first record's gap.
    d.configure(setup({6}, 10, 1000));
    feedRecord(d, record(12345, f32(0)));
    QCOMPARE(d.lost(), quint64(0));
}

void TstScopeDecoder::waveLinePerType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("uint8 %4d") << 0 << QByteArray::fromHex("ff") << QByteArray(" 255");
    QTest::newRow("int8 %5d") << 1 << QByteArray::fromHex("80") << QByteArray(" -128");
    QTest::newRow("uint16 %6d") << 2 << QByteArray::fromHex("ffff") << QByteArray(" 65535");
    QTest::newRow("int16 %7d") << 3 << QByteArray::fromHex("0080") << QByteArray(" -32768");
    QTest::newRow("uint32 %10d, all digits")
        << 4 << QByteArray::fromHex("ffffffff") << QByteArray("4294967295");
    QTest::newRow("int32 %11d") << 5 << QByteArray::fromHex("00000080") << QByteArray("-2147483648");
    QTest::newRow("float %12.6f") << 6 << f32(-1.25f) << QByteArray("   -1.250000");
    QTest::newRow("uint64 width 15, exact")
        << 7 << QByteArray::fromHex("0100000000000100") << QByteArray("281474976710657");
    QTest::newRow("int64 width 16") << 8 << QByteArray::fromHex("fdffffffffffffff")
                                    << QByteArray("              -3");
    QTest::newRow("double %16.8f") << 9 << QByteArray::fromHex("00000000000004c0")
                                   << QByteArray("     -2.50000000");
    QTest::newRow("other type") << 10 << QByteArray(16, '\x11') << QByteArray("null");
}

void TstScopeDecoder::waveLinePerType() {
    QFETCH(int, type);
    QFETCH(QByteArray, raw);
    QFETCH(QByteArray, field);
    // Two channels, no separators: the type under test followed by a uint8 that must be read
    // right after it.
    QByteArray line;
    const QByteArray values = raw + QByteArray::fromHex("07");
    ScopeDecoder::formatLine(&line, 1.5, {type, 0}, reinterpret_cast<const uchar*>(values.constData()));
    QCOMPARE(line, QByteArray("      1.500000") + field + QByteArray("   7\r\n"));
}

void TstScopeDecoder::waveFileAppendsLines() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wave.txt"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("kept\r\n");
    }
    ScopeWaveFile file;
    QVERIFY(file.open(path));
    ScopeDecoder d;
    d.configure(setup({3}, 10, 1000));
    d.setSinks(nullptr, &file);
    feedRecord(d, record(100, QByteArray::fromHex("feff")));
    feedRecord(d, record(200, QByteArray::fromHex("0200")));
    file.close();
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("kept\r\n"
                                     "      0.001000     -2\r\n"
                                     "      0.002000      2\r\n"));
    QVERIFY(!file.open(dir.filePath(QStringLiteral("no/such/dir/wave.txt"))));
    QVERIFY(!file.isOpen());
}

void TstScopeDecoder::recordingReplacesOnlyWhenComplete() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.csv"));
    auto contents = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old\n");
    }
    ScopeWaveFile file;
    ScopeDecoder d;
    // int16, float, uint64, double as CSV: exact integers, shortest round-trip floats.
    d.configure(setup({3, 6, 7, 9}, 10, 1000));
    d.setSinks(nullptr, &file);
    const QByteArray values = QByteArray::fromHex("feff") + f32(0.1f) +
                              QByteArray::fromHex("ffffffffffffffff") +
                              QByteArray::fromHex("9a9999999999b93f");  // 0.1

    // An interrupted recording leaves the old file as it was.
    QVERIFY(file.open(path, nullptr, ScopeWaveFile::Mode::Replace, ScopeWaveFile::Format::Csv));
    feedRecord(d, record(100, values));
    QCOMPARE(contents(), QByteArray("old\n"));
    file.discard();
    QCOMPARE(contents(), QByteArray("old\n"));

    QVERIFY(file.open(path, nullptr, ScopeWaveFile::Mode::Replace, ScopeWaveFile::Format::Csv));
    file.write("time,a,b,c,d\r\n");
    feedRecord(d, record(200, values));
    QCOMPARE(contents(), QByteArray("old\n"));
    QVERIFY(file.close());
    QCOMPARE(contents(), QByteArray("time,a,b,c,d\r\n"
                                    "0.002000,-2,0.100000001,18446744073709551615,0.10000000000000001\r\n"));
    QCOMPARE(file.lines(), quint64(2));
}

void TstScopeDecoder::brokenRecordingGoesBeside() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.csv"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("complete\n");
    }
    ScopeWaveFile file;
    QVERIFY(file.open(path, nullptr, ScopeWaveFile::Mode::Replace, ScopeWaveFile::Format::Csv));
    file.write("time,a\r\n0.1,1\r\n");
    QString kept;
    QVERIFY(file.closePartial(&kept));
    QCOMPARE(kept, dir.filePath(QStringLiteral("w.partial.csv")));
    QFile old(path), partial(kept);
    QVERIFY(old.open(QIODevice::ReadOnly) && partial.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("complete\n"));
    QCOMPARE(partial.readAll(), QByteArray("time,a\r\n0.1,1\r\n"));
    // Asked again (the link closed it first), the answer is the same.
    QString again;
    QVERIFY(file.closePartial(&again));
    QCOMPARE(again, kept);
    QCOMPARE(ScopeWaveFile::partialPath(QStringLiteral("rec")), QStringLiteral("rec.partial"));
    QCOMPARE(ScopeWaveFile::partialPath(QStringLiteral("a.b/rec.wave.txt")),
             QStringLiteral("a.b/rec.wave.partial.txt"));
}

void TstScopeDecoder::fullDiskKeepsTheOldRecording() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.csv"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("complete\n");
    }
    ScopeWaveFile file;
    bool closed = true;
    {
        const testfiles::FileSizeLimit full(1000);
        QVERIFY(file.open(path, nullptr, ScopeWaveFile::Mode::Replace, ScopeWaveFile::Format::Csv));
        // Small lines stay in the write buffer: the disk's refusal shows only at the close.
        for (int i = 0; i < 100; ++i)
            file.write("0.000000,12345.678\r\n");
        closed = file.close();
    }
    QVERIFY(!closed);
    QCOMPARE(file.errorString(), QStringLiteral("File too large"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("complete\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"w.csv"});
}

void TstScopeDecoder::batchSizeFollowsRate_data() {
    QTest::addColumn<int>("frequency");
    QTest::addColumn<int>("perBatch");
    QTest::newRow("1000 Hz") << 1000 << 20;
    QTest::newRow("30 Hz") << 30 << 1;
    QTest::newRow("2000 Hz") << 2000 << 40;
}

void TstScopeDecoder::batchSizeFollowsRate() {
    QFETCH(int, frequency);
    QFETCH(int, perBatch);
    ScopeBatchQueue queue;
    queue.setLimit(frequency * 10);
    ScopeDecoder d;
    d.configure(setup({6, 2}, 10, frequency));
    d.setSinks(&queue, nullptr);
    const int ticks = 100000 / frequency;
    const int n = perBatch * 3 + 1;
    for (int i = 0; i < n; ++i) {
        QByteArray v = f32(float(i));
        v += QByteArray::fromHex("0100");
        feedRecord(d, record(quint16(i * ticks), v));
    }
    auto batches = queue.takeAll();
    QCOMPARE(int(batches.size()), n / perBatch);
    for (const ScopeBatchPtr& b : batches) {
        QCOMPARE(b->records(), perBatch);
        QCOMPARE(b->channels, 2);
        QCOMPARE(b->generation, quint64(7));
        QCOMPARE(b->values.size(), perBatch * 2);
    }
    QCOMPARE(batches[2]->values[0], double(perBatch * 2));
    // The rest goes out when the stream ends.
    d.flush();
    batches = queue.takeAll();
    QCOMPARE(int(batches.size()), n % perBatch ? 1 : 0);
}

void TstScopeDecoder::batchQueueStaysBounded() {
    ScopeBatchQueue queue;
    queue.setLimit(100);
    for (int i = 0; i < 1000; ++i) {
        auto b = std::make_shared<ScopeBatch>();
        b->channels = 1;
        b->times = QVector<double>(20, double(i));
        b->values = b->times;
        queue.push(b);
    }
    const auto batches = queue.takeAll();
    int records = 0;
    for (const auto& b : batches)
        records += b->records();
    QVERIFY(records <= 120);
    QVERIFY(records >= 100);
    QCOMPARE(batches.back()->times[0], 999.0);  // the newest are kept
    QVERIFY(queue.takeAll().empty());
}

void TstScopeDecoder::historyKeepsTheLastRecords() {
    ScopeHistory h;
    h.reset(5, 2);
    QCOMPARE(h.indexAt(1.0), -1);
    for (int i = 0; i < 12; ++i) {
        const double v[2] = {double(i), double(-i)};
        h.append(i * 0.1, v);
        QCOMPARE(h.size(), qMin(i + 1, 5));
    }
    QCOMPARE(h.capacity(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(h.value(0, i), double(7 + i));
        QCOMPARE(h.value(1, i), double(-(7 + i)));
    }
    QCOMPARE(h.indexAt(0.0), 0);
    QCOMPARE(h.indexAt(0.95), 2);  // records 0.7 ... 1.1: the last one at or before 0.95 is 0.9
    QCOMPARE(h.indexAt(5.0), 4);
}

QTEST_GUILESS_MAIN(TstScopeDecoder)
#include "tst_scopedecoder.moc"
