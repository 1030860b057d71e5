// The trace recorder between the link's tap and the trace store, with its own thread: every
// record published reaches the store once and in order while readers copy from the store, and
// stopping keeps what was waiting. Runs under ThreadSanitizer in CI.
#include "link/monitor/tracerecorder.h"
#include "link/monitor/tracestore.h"
#include "link/tap/frametap.h"

#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

class TstTraceRecorder : public QObject {
    Q_OBJECT

private slots:
    void everyRecordOnceInOrder();
    void stopKeepsWhatWaited();
};

namespace {

void publish(FrameTap& tap, int from, int count) {
    CanFrame f;
    f.length = 4;
    for (int i = from; i < from + count; ++i) {
        f.id = 0x028001FD;
        f.data[0] = quint8(i);
        f.data[1] = quint8(i >> 8);
        f.data[2] = quint8(i >> 16);
        tap.publishFrame(TapRecord::Direction::Rx, f, QByteArray());
    }
}

int numberOf(const TraceRecord& r) {
    return r.frame.data[0] | r.frame.data[1] << 8 | r.frame.data[2] << 16;
}

}  // namespace

void TstTraceRecorder::everyRecordOnceInOrder() {
    TraceStore store(1 << 20);
    TraceRecorder recorder(&store);
    recorder.start();
    FrameTap& tap = FrameTap::instance();
    constexpr int kRecords = 200000;
    std::atomic<bool> done{false};
    std::atomic<int> disorder{0};
    // A reader copying from the store the whole time, as the page and the exports do.
    std::thread reader([&] {
        while (!done.load()) {
            const quint64 end = store.end();
            const QVector<TraceRecord> tail = store.range(end > 100 ? end - 100 : 0, end);
            for (int i = 1; i < tail.size(); ++i)
                disorder += numberOf(tail[i]) != numberOf(tail[i - 1]) + 1;
        }
    });
    // The port's thread.
    std::thread link([&] {
        // 200,000 records a second, forty times a saturated line.
        for (int i = 0; i < kRecords; i += 1000) {
            publish(tap, i, 1000);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    link.join();
    const bool arrived = QTest::qWaitFor([&] { return store.end() >= quint64(kRecords); }, 30000);
    done = true;
    reader.join();
    QVERIFY(arrived);
    QCOMPARE(store.end(), quint64(kRecords));
    QCOMPARE(disorder.load(), 0);
    recorder.stop();
    QCOMPARE(recorder.lost(), 0u);
    const QVector<TraceRecord> all = store.range(0, kRecords);
    QCOMPARE(all.size(), kRecords);
    for (int i = 0; i < kRecords; ++i) {
        if (numberOf(all[i]) != i)
            QFAIL(qPrintable(QStringLiteral("record %1 holds %2").arg(i).arg(numberOf(all[i]))));
    }
    // Wall times: the tap's monotonic clock plus the epoch offset, so today's date.
    QVERIFY(qAbs(all.last().timeUs / 1000 - QDateTime::currentMSecsSinceEpoch()) < 60000);
}

void TstTraceRecorder::stopKeepsWhatWaited() {
    TraceStore store(1000);
    TraceRecorder recorder(&store);
    for (int round = 0; round < 20; ++round) {
        recorder.start();
        publish(FrameTap::instance(), round * 10, 10);
        // Stopped before its batch timer fired: what waited still reaches the store.
        recorder.stop();
        QCOMPARE(store.end(), quint64(round * 10 + 10));
    }
    publish(FrameTap::instance(), 0, 10);  // not recording: nothing arrives
    QTest::qWait(50);
    QCOMPARE(store.end(), 200u);
}

QTEST_GUILESS_MAIN(TstTraceRecorder)
#include "tst_tracerecorder.moc"
