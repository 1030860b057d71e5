// The frame tap: every record the link writes and receives reaches an observer once, in
// order, against the simulated bench's own log of the same conversation; bytes that could
// not be cut are shown; a slow observer loses from its own queue only.
#include <QSignalSpy>
#include <QtTest>

#include "link/canworker.h"
#include "link/helper.h"
#include "link/otathread.h"
#include "link/serialrecord.h"
#include "link/tap/frametap.h"
#include "link/tap/tapsubscription.h"
#include "benchtest.h"

class TestFrameTap : public linktest::BenchTest {
    Q_OBJECT

private slots:
    void init() { startCase(true); }
    void cleanup() { endCase(); }

    void scanSeenInBothDirectionsInOrder();
    void skippedBytesAreShown();
    void fullQueueDropsOldestAndCounts();
    void nothingPublishedWithoutObserver();

private:
    CANWorker* worker() const { return Helper::instance()->worker(); }
};

namespace {

struct LoggedRecord {
    QString direction;  // "RX"/"TX" as the bench saw it
    QByteArray bytes;
};

// The bench's log: "<time> RX|TX <hex bytes> <what>[ (note)]"; dropped records never crossed.
QVector<LoggedRecord> readBenchLog(const QString& path) {
    QVector<LoggedRecord> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    const QRegularExpression line(QStringLiteral("^\\s*[0-9.]+ (RX|TX) ((?:[0-9a-f]{2} ?)+)"));
    while (!file.atEnd()) {
        const QString text = QString::fromUtf8(file.readLine());
        if (text.contains(QLatin1String("(dropped)")))
            continue;
        const QRegularExpressionMatch m = line.match(text);
        if (m.hasMatch())
            out.append({m.captured(1), QByteArray::fromHex(m.captured(2).toLatin1())});
    }
    return out;
}

}  // namespace

void TestFrameTap::scanSeenInBothDirectionsInOrder() {
    const QString log = m_dir->path() + QStringLiteral("/bench.log");
    auto sub = FrameTap::instance().subscribe(100000);
    const QString path =
        m_sim->start({QStringLiteral("--motors"), QStringLiteral("3"), QStringLiteral("--log"), log});
    QVERIFY(!path.isEmpty());
    QSignalSpy scanned(worker()->link(), &otaThread::scanFinished);
    worker()->connectPort(path);
    QVERIFY(scanned.wait(60000));
    worker()->disconnectPort();
    m_sim->stop();
    FrameTap::instance().unsubscribe(sub);

    const QVector<TapRecord> seen = sub->take();
    QCOMPARE(sub->dropped(), quint64(0));
    const QVector<LoggedRecord> bench = readBenchLog(log);
    QVERIFY(bench.size() > 100);  // AT set-up, 144 probes, three announcements and model replies

    // What the host wrote is what the bench received, and what the bench sent is what the host
    // received: the two sequences are compared per direction, record by record.
    QVector<QByteArray> hostTx, hostRx, benchRx, benchTx;
    qint64 last = 0;
    for (const TapRecord& r : seen) {
        QVERIFY(r.timeUs >= last);
        last = r.timeUs;
        QVERIFY(r.kind != TapRecord::Kind::Garbage);
        if (r.kind == TapRecord::Kind::Frame) {
            CanFrame check;
            QVERIFY(SerialRecord::toFrame(r.raw, &check));
            QCOMPARE(check.id, r.frame.id);
        }
        (r.direction == TapRecord::Direction::Tx ? hostTx : hostRx) << r.raw;
    }
    for (const LoggedRecord& r : bench)
        (r.direction == QLatin1String("RX") ? benchRx : benchTx) << r.bytes;
    QCOMPARE(hostTx, benchRx);
    QCOMPARE(hostRx, benchTx);
    QVERIFY(hostTx.first().startsWith("AT+AT"));
}

void TestFrameTap::skippedBytesAreShown() {
    auto sub = FrameTap::instance().subscribe(16);
    CanFrame f;
    f.id = CanFrame::makeId(2, 0x8001, 0xFD);
    f.length = 8;
    const QByteArray record = SerialRecord::fromFrame(f);
    worker()->link()->getSerialData(QByteArray("\x01\x02noise", 7) + record);
    const QVector<TapRecord> seen = sub->take();
    FrameTap::instance().unsubscribe(sub);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0].kind, TapRecord::Kind::Garbage);
    QCOMPARE(seen[0].raw, QByteArray("\x01\x02noise", 7));
    QCOMPARE(seen[1].kind, TapRecord::Kind::Frame);
    QCOMPARE(seen[1].frame.id, f.id);
    QCOMPARE(seen[1].direction, TapRecord::Direction::Rx);
}

void TestFrameTap::fullQueueDropsOldestAndCounts() {
    auto sub = FrameTap::instance().subscribe(4);
    QSignalSpy ready(sub.get(), &TapSubscription::ready);
    for (int i = 0; i < 10; ++i)
        FrameTap::instance().publishText(TapRecord::Direction::Tx, QByteArray::number(i));
    QVERIFY(ready.wait(5000));
    QCOMPARE(ready.count(), 1);  // one wake-up for the batch
    const QVector<TapRecord> seen = sub->take();
    FrameTap::instance().unsubscribe(sub);
    QCOMPARE(sub->dropped(), quint64(6));
    QCOMPARE(seen.size(), 4);
    QCOMPARE(seen.first().raw, QByteArray("6"));
    QCOMPARE(seen.last().raw, QByteArray("9"));
}

void TestFrameTap::nothingPublishedWithoutObserver() {
    auto sub = FrameTap::instance().subscribe(4);
    FrameTap::instance().unsubscribe(sub);
    QVERIFY(!FrameTap::instance().observed());
    FrameTap::instance().publishText(TapRecord::Direction::Tx, "AT+AT\r\n");
    QVERIFY(sub->take().isEmpty());
}

QTEST_GUILESS_MAIN(TestFrameTap)
#include "tst_frametap.moc"
