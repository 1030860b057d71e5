// Candump and ASC files: exact lines written, hand-written files of other tools read back,
// bad lines reported by number and skipped, big files loading their last part.
#include "link/monitor/tracefilereader.h"
#include "link/monitor/tracefilewriter.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

TraceRecord frame(TraceRecord::Direction dir, quint32 id, const char* hex, qint64 timeUs) {
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

bool writeFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QVector<TraceRecord> sample() {
    TraceRecord at;
    at.kind = TraceRecord::Kind::Text;
    at.bytes = "AT+AT\r\n";
    at.timeUs = 1733740000000000;
    return {
        at,
        frame(Tx, 0x0300FD01, "0000000000000000", 1733740000123456),
        frame(Rx, 0x028001FD, "7FFF80007FFF0000", 1733740000124000),
        frame(Tx, 0x0000FD05, "00", 1733740001000001),
        frame(Rx, 0x0A0305FD, "", 1733740002500000),
    };
}

bool sameFrames(const QVector<TraceRecord>& a, const QVector<TraceRecord>& b, QString* why) {
    if (a.size() != b.size()) {
        *why = QStringLiteral("%1 vs %2 records").arg(a.size()).arg(b.size());
        return false;
    }
    for (int i = 0; i < a.size(); ++i) {
        if (a[i].timeUs != b[i].timeUs || a[i].frame.id != b[i].frame.id ||
            a[i].frame.length != b[i].frame.length || a[i].frame.data != b[i].frame.data ||
            a[i].direction != b[i].direction) {
            *why = QStringLiteral("record %1 differs").arg(i);
            return false;
        }
    }
    return true;
}

}  // namespace

class TstTraceFiles : public QObject {
    Q_OBJECT

private slots:
    void init();
    void candumpLinesExactly();
    void ascLinesExactly();
    void roundTrips_data();
    void roundTrips();
    void candumpOfOtherTools();
    void ascOfOtherTools();
    void corruptLinesAreNumberedAndSkipped();
    void bigFileLoadsItsLastPart();
    void unreadableFileChangesNothing();
    void failedSaveKeepsTheOldFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
    bool save(const QString& file, TraceFileFormat format, const QVector<TraceRecord>& records);
};

void TstTraceFiles::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

bool TstTraceFiles::save(const QString& file, TraceFileFormat format, const QVector<TraceRecord>& records) {
    TraceFileWriter writer(path(file), format);
    QString error;
    if (!writer.open(&error))
        return false;
    for (const TraceRecord& r : records)
        writer.add(r);
    return writer.commit(&error);
}

void TstTraceFiles::candumpLinesExactly() {
    TraceFileWriter writer(path("a.log"), TraceFileFormat::Candump);
    QString error;
    QVERIFY(writer.open(&error));
    for (const TraceRecord& r : sample())
        writer.add(r);
    QVERIFY2(writer.commit(&error), qPrintable(error));
    QCOMPARE(writer.frames(), 4u);
    QCOMPARE(writer.leftOut(), 1u);  // the AT line has no place in a CAN log
    QCOMPARE(readFile(path("a.log")), QByteArray("(1733740000.123456) can0 0300FD01#0000000000000000 T\n"
                                                 "(1733740000.124000) can0 028001FD#7FFF80007FFF0000 R\n"
                                                 "(1733740001.000001) can0 0000FD05#00 T\n"
                                                 "(1733740002.500000) can0 0A0305FD# R\n"));
}

void TstTraceFiles::ascLinesExactly() {
    QVERIFY(save("a.asc", TraceFileFormat::Asc, sample()));
    const QList<QByteArray> lines = readFile(path("a.asc")).split('\n');
    QVERIFY2(lines.size() == 11, readFile(path("a.asc")).constData());
    QVERIFY(lines[0].startsWith("date "));
    QVERIFY(lines[0].endsWith(" 2024"));
    QCOMPARE(lines[1], QByteArray("base hex  timestamps absolute"));
    QVERIFY(lines[3].startsWith("Begin Triggerblock "));
    QCOMPARE(lines[4], QByteArray("   0.000000 Start of measurement"));
    // Times count from the header's millisecond (the first frame's).
    QCOMPARE(lines[5], QByteArray("   0.000456 1  300FD01x         Tx   d 8 00 00 00 00 00 00 00 00"));
    QCOMPARE(lines[6], QByteArray("   0.001000 1  28001FDx         Rx   d 8 7F FF 80 00 7F FF 00 00"));
    QCOMPARE(lines[7], QByteArray("   0.877001 1  FD05x            Tx   d 1 00"));
    QCOMPARE(lines[8], QByteArray("   2.377000 1  A0305FDx         Rx   d 0"));
    QCOMPARE(lines[9], QByteArray("End TriggerBlock"));
}

void TstTraceFiles::roundTrips_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("candump") << "x.log"
                             << "y.log";
    QTest::newRow("asc") << "x.asc"
                         << "y.asc";
    QTest::newRow("candump to asc") << "x.log"
                                    << "y.asc";
    QTest::newRow("asc to candump") << "x.asc"
                                    << "y.log";
}

void TstTraceFiles::roundTrips() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QVector<TraceRecord> frames;
    for (const TraceRecord& r : sample()) {
        if (r.isFrame())
            frames << r;
    }
    // ASC keeps milliseconds in its date: start on a whole millisecond to compare exactly.
    for (TraceRecord& r : frames)
        r.timeUs -= 456;
    QVERIFY(save(first, traceFileFormatFor(first), frames));
    QVector<TraceRecord> back;
    TraceFileReader::Report report;
    QString error;
    QVERIFY(TraceFileReader::load(path(first), 100, &back, &report, &error));
    QVERIFY(save(second, traceFileFormatFor(second), back));
    QVERIFY(TraceFileReader::load(path(second), 100, &back, &report, &error));
    QCOMPARE(report.format, traceFileFormatFor(second));
    QCOMPARE(report.corrupt, 0u);
    QVERIFY(report.notes().isEmpty());
    QString why;
    QVERIFY2(sameFrames(frames, back, &why), qPrintable(why));
}

void TstTraceFiles::candumpOfOtherTools() {
    // What a bench log from the Linux tools looks like: another interface name, 11-bit
    // identifiers of other nodes, error frames, a remote and an FD frame, lines without the
    // direction, lower-case hex and dotted data.
    QVERIFY(writeFile(path("bench.log"),
                      "(1700000000.000100) vcan0 123#DEADBEEF\n"
                      "(1700000000.000200) vcan0 0000FD01#00 T\n"
                      "(1700000000.000300) vcan0 000081fe#0110000000e7c53a\n"
                      "(1700000000.000400) vcan0 20000004#0004000000000000\n"
                      "(1700000000.000500) vcan0 7DF#R\n"
                      "(1700000000.000600) vcan0 0300FD01##1112233\n"
                      "(1700000000.000700) vcan0 028001FD#7F.FF.80.00.7F.FF.00.00 R\n"
                      "(1700000000.0008) vcan0 0300FD01#\r\n"
                      "\n"
                      "(1700000000.000900) vcan0 12345678#11"));
    QVector<TraceRecord> records;
    TraceFileReader::Report report;
    QString error;
    QVERIFY(TraceFileReader::load(path("bench.log"), 100, &records, &report, &error));
    QCOMPARE(report.format, TraceFileFormat::Candump);
    QCOMPARE(report.frames, 5u);
    QCOMPARE(report.standard, 2u);
    QCOMPARE(report.errorFrames, 1u);
    QCOMPARE(report.other, 1u);
    QCOMPARE(report.corrupt, 0u);
    QCOMPARE(report.notes().size(), 1);
    QVERIFY(report.notes().first().contains(QStringLiteral("4 records ignored")));
    QCOMPARE(records.size(), 5);
    QCOMPARE(records[0].frame.id, 0x0000FD01u);
    QCOMPARE(records[0].direction, Tx);
    // Without a suffix the destination tells: an announcement is the motor's.
    QCOMPARE(records[1].direction, Rx);
    QCOMPARE(records[1].frame.data[7], quint8(0x3A));
    QCOMPARE(records[2].frame.length, quint8(8));
    QCOMPARE(records[2].frame.data[1], quint8(0xFF));
    QCOMPARE(records[3].timeUs, 1700000000000800);
    QCOMPARE(records[3].frame.length, quint8(0));
    QCOMPARE(records[3].direction, Tx);
    QCOMPARE(records[4].frame.id, 0x12345678u);  // the last line has no newline
}

void TstTraceFiles::ascOfOtherTools() {
    QVERIFY(writeFile(path("desk.asc"),
                      "date Sat Dec 9 10:26:40.500 pm 2023\r\n"
                      "base hex  timestamps absolute\r\n"
                      "internal events logged\r\n"
                      "// version 13.0.0\r\n"
                      "Begin Triggerblock Sat Dec 9 10:26:40.500 pm 2023\r\n"
                      "   0.000000 Start of measurement\r\n"
                      "   0.001000 1  Statistic: D 0 R 0 XD 0 XR 0 E 0 O 0 B 0.00%\r\n"
                      "   0.010000 1  300FD01x        Tx   d 8 00 00 00 00 00 00 00 00  Length = 240000 "
                      "BitCount = 125 ID = 50396417x\r\n"
                      "   0.020000 1  1A5             Rx   d 2 01 02\r\n"
                      "   0.030000 1  ErrorFrame\r\n"
                      "   0.040000 2  28001FDx        Rx   d 6 7F FF 80 00 7F FF\r\n"
                      "   0.050000 CANFD   1 Rx 123 1 0 8 8 11 22 33 44 55 66 77 88 0 0 0 0 0\r\n"
                      "   0.060000 1  300FD01x        Tx   r\r\n"
                      "End TriggerBlock\r\n"));
    QVector<TraceRecord> records;
    TraceFileReader::Report report;
    QString error;
    QVERIFY(TraceFileReader::load(path("desk.asc"), 100, &records, &report, &error));
    QCOMPARE(report.format, TraceFileFormat::Asc);
    QCOMPARE(report.corrupt, 0u);
    QCOMPARE(records.size(), 2);
    QCOMPARE(report.standard, 1u);
    QCOMPARE(report.errorFrames, 1u);
    QCOMPARE(report.other, 3u);  // statistics, FD, remote
    const qint64 start = QDateTime(QDate(2023, 12, 9), QTime(22, 26, 40, 500)).toMSecsSinceEpoch() * 1000;
    QCOMPARE(records[0].timeUs, start + 10000);
    QCOMPARE(records[0].frame.id, 0x0300FD01u);
    QCOMPARE(records[0].direction, Tx);
    QCOMPARE(records[1].timeUs, start + 40000);
    QCOMPARE(records[1].frame.length, quint8(6));
    QCOMPARE(records[1].direction, Rx);

    // Relative time stamps in decimal.
    QVERIFY(writeFile(path("rel.asc"),
                      "date Sat Dec 9 22:26:40 2023\n"
                      "base dec  timestamps relative\n"
                      "   0.500000 1  50396417x  Tx   d 1 255\n"
                      "   0.250000 1  50396417x  Rx   d 1 16\n"));
    QVERIFY(TraceFileReader::load(path("rel.asc"), 100, &records, &report, &error));
    QCOMPARE(records.size(), 2);
    const qint64 start2 = QDateTime(QDate(2023, 12, 9), QTime(22, 26, 40)).toMSecsSinceEpoch() * 1000;
    QCOMPARE(records[0].timeUs, start2 + 500000);
    QCOMPARE(records[1].timeUs, start2 + 750000);
    QCOMPARE(records[0].frame.id, 0x0300FD01u);
    QCOMPARE(records[0].frame.data[0], quint8(255));
    QCOMPARE(records[1].frame.data[0], quint8(16));
}

void TstTraceFiles::corruptLinesAreNumberedAndSkipped() {
    QByteArray text;
    text += "(1700000000.000100) can0 0300FD01#00 T\n";                  // 1
    text += "(1700000000.000200) can0 0300FD01#0 T\n";                   // 2 odd digit
    text += "(1700000000.000300) can0 0300FD01#001122334455667788 T\n";  // 3 nine bytes
    text += "1700000000.000400 can0 0300FD01#00\n";                      // 4 no time stamp
    text += "(1700000000.000500) can0 0300FDZ1#00\n";                    // 5 bad identifier
    text += "(1700000000.000600) can0 0300FD01#00 X\n";                  // 6 trailing junk
    text += QByteArray(10000, 'A') + '\n';                               // 7 overlong
    text += QByteArray("\x00\xff\x13\n", 4);                             // 8 binary
    text += "(1700000000.000900) can0 0300FD02#01 T\n";                  // 9
    QVERIFY(writeFile(path("bad.log"), text));
    QVector<TraceRecord> records;
    TraceFileReader::Report report;
    QString error;
    QVERIFY(TraceFileReader::load(path("bad.log"), 100, &records, &report, &error));
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[1].frame.id, 0x0300FD02u);
    QCOMPARE(report.lines, 9u);
    QCOMPARE(report.corrupt, 7u);
    QCOMPARE(report.problems.size(), 7);
    QCOMPARE(report.problems[0], QStringLiteral("line 2: bad data bytes"));
    QCOMPARE(report.problems[1], QStringLiteral("line 3: more than 8 data bytes"));
    QCOMPARE(report.problems[2], QStringLiteral("line 4: no time stamp"));
    QCOMPARE(report.problems[5], QStringLiteral("line 7: line too long"));
    QCOMPARE(report.problems[6], QStringLiteral("line 8: no time stamp"));

    // Past the named ones, problems are counted.
    QByteArray many;
    for (int i = 0; i < 50; ++i)
        many += "garbage\n";
    QVERIFY(writeFile(path("many.log"), many));
    QVERIFY(TraceFileReader::load(path("many.log"), 100, &records, &report, &error));
    QCOMPARE(report.corrupt, 50u);
    QCOMPARE(report.problems.size(), TraceFileReader::kMaxProblems);
    QVERIFY(report.notes().last().contains(QStringLiteral("30 more")));
}

void TstTraceFiles::bigFileLoadsItsLastPart() {
    QVector<TraceRecord> records;
    for (int i = 0; i < 1000; ++i)
        records << frame(i % 2 ? Rx : Tx, 0x0300FD01, "00", 1700000000000000 + i);
    QVERIFY(save("big.log", TraceFileFormat::Candump, records));
    QVector<TraceRecord> loaded;
    TraceFileReader::Report report;
    QString error;
    QVERIFY(TraceFileReader::load(path("big.log"), 300, &loaded, &report, &error));
    QCOMPARE(loaded.size(), 300);
    QCOMPARE(loaded.first().timeUs, 1700000000000700);
    QCOMPARE(loaded.last().timeUs, 1700000000000999);
    QCOMPARE(report.leftOut, 700u);
    QVERIFY(report.notes().first().contains(QStringLiteral("the last 300")));
}

void TstTraceFiles::unreadableFileChangesNothing() {
    QVector<TraceRecord> records = {frame(Tx, 1, "00", 1)};
    TraceFileReader::Report report;
    QString error;
    QVERIFY(!TraceFileReader::load(path("missing.log"), 10, &records, &report, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(records.size(), 1);
}

void TstTraceFiles::failedSaveKeepsTheOldFile() {
    QVERIFY(writeFile(path("keep.log"), "old\n"));
    TraceFileWriter writer(path("keep.log"), TraceFileFormat::Candump);
    QString error;
    QVERIFY(writer.open(&error));
    writer.add(frame(Tx, 1, "00", 1));
    writer.cancel();
    QCOMPARE(readFile(path("keep.log")), QByteArray("old\n"));

    TraceFileWriter nowhere(path("no/such/dir/x.log"), TraceFileFormat::Candump);
    QVERIFY(!nowhere.open(&error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TstTraceFiles)
#include "tst_tracefiles.moc"
