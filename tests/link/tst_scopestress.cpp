// The scope's hand-over between threads under load: one thread decodes a fast sample stream
// (the receive path) while another takes the batches, reads the counters and the channel set-up
// and opens and closes the waveform file. Run under ThreadSanitizer in CI.
#include <QtEndian>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <thread>

#include "framework/data/datamanager.h"
#include "link/frames/scopeframes.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/otathread.h"
#include "link/scope/scopeacquisition.h"
#include "link/scope/scopehistory.h"

namespace {

constexpr int kRecords = 200000;
constexpr int kRate = 10000;

// Record i of the stream: stamp advancing 10 ticks of 10 us, then uint32 i and float i / 4.
QByteArray recordAt(int i) {
    QByteArray r(10, '\0');
    qToLittleEndian(quint16(i * 10), r.data());
    qToLittleEndian(quint32(i), r.data() + 2);
    const float f = float(i) / 4;
    std::memcpy(r.data() + 6, &f, 4);
    return r;
}

}  // namespace

class TstScopeStress : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Helper::instance(); }
    void decodeWhileThePlotTakesBatches();
};

void TstScopeStress::decodeWhileThePlotTakesBatches() {
    QTemporaryDir dir;
    otaThread link;
    link.setTarget(3);
    ScopeAcquisition scope(&link);
    scope.setDisplayEnabled(true);
    ScopeAcquisition::Config config;
    config.frequency = kRate;
    config.baudRate = 4000000;
    config.channels = {{0x3006, 4, QStringLiteral("count")}, {0x3000, 6, QStringLiteral("quarter")}};
    QVERIFY(scope.configureChannels(config));
    for (const StepRule& r : scope.steps()) {
        if (r.step == STEP_SCOPE_SET_CHANNAL)
            r.start(link);
    }
    ScopeFrames::RateReply rate;
    rate.periodUs = 10;
    scope.decodeFrame(link, ScopeFrames::makeRateReply(3, 0, rate));
    QCOMPARE(scope.decodeFrame(link, ScopeFrames::makeChannelReply(3, 0, {4, 6})),
             int(OTA_STA_PARA_UPDATE_SUCCESS_CHSET));

    std::atomic<bool> done{false};
    std::thread receivePath([&] {
        for (int i = 0; i < kRecords; ++i) {
            for (const CanFrame& f : ScopeFrames::sampleFrames(3, recordAt(i)))
                scope.decodeFrame(link, f);
        }
        scope.decodeFrame(link, ScopeFrames::makeStopReply(3));
        done = true;
    });

    // The plot's side: batches into a history, checked record by record.
    ScopeHistory history;
    history.reset(kRate * 10, 2);
    qint64 expected = -1;
    int taken = 0;
    int fileToggles = 0;
    bool ordered = true;
    for (;;) {
        const bool finished = done.load();
        for (const ScopeBatchPtr& b : scope.batches().takeAll()) {
            for (int r = 0; r < b->records(); ++r) {
                const qint64 index = qint64(b->values[r * 2]);
                // Batches may be dropped when the plot lags, never reordered or torn.
                ordered = ordered && index > expected && b->values[r * 2 + 1] == double(float(index) / 4);
                expected = index;
                history.append(b->times[r], &b->values[r * 2]);
                ++taken;
            }
        }
        (void)scope.records();
        (void)scope.lost();
        (void)scope.activeChannels();
        if (fileToggles < 200) {
            // Recording switched on and off while lines are written.
            if (fileToggles++ % 2 == 0)
                scope.openWaveFile(dir.filePath(QStringLiteral("wave.txt")));
            else
                scope.closeWaveFile();
        }
        if (finished)
            break;
        std::this_thread::yield();
    }
    receivePath.join();
    scope.closeWaveFile();
    QVERIFY(ordered);
    QCOMPARE(expected, qint64(kRecords - 1));  // the last batch arrives after the stop
    QCOMPARE(scope.records(), quint64(kRecords));
    QCOMPARE(scope.lost(), quint64(0));
    QVERIFY(taken > 0);
    QVERIFY(history.size() <= kRate * 10);
    QVERIFY(!scope.running());
}

QTEST_GUILESS_MAIN(TstScopeStress)
#include "tst_scopestress.moc"
