// Oscilloscope figures: sample records decoded per second on one core (with and without the
// waveform file), the replot time of 8 x 20,000 points, the plot's share of a core while a
// 1,000 Hz stream of 8 channels is drawn at the frame rate, and the memory of ten minutes of
// that stream in the plot's history. Prints the figures; run by hand (build/bin/bench_scope).
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <time.h>

#include "framework/data/datamanager.h"
#include "link/frames/scopeframes.h"
#include "link/helper.h"
#include "link/scope/scopebatchqueue.h"
#include "link/scope/scopedecoder.h"
#include "link/scope/scopewavefile.h"
#include "scope/wavedisplay.h"

namespace {

constexpr int kChannels = 8;

// CPU time of this thread: on a shared, loaded machine wall time measures the neighbours.
double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long rssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The sample frames of `count` records of eight float channels at 1,000 Hz (10 us ticks).
QVector<CanFrame> stream(int count) {
    QVector<CanFrame> frames;
    for (int i = 0; i < count; ++i) {
        QByteArray record(2 + 4 * kChannels, '\0');
        const quint16 stamp = quint16(i * 100);
        std::memcpy(record.data(), &stamp, 2);
        for (int c = 0; c < kChannels; ++c) {
            const float v = float(i % 1000) / 1000 + c;
            std::memcpy(record.data() + 2 + 4 * c, &v, 4);
        }
        frames += ScopeFrames::sampleFrames(1, record);
    }
    return frames;
}

double decodeRate(const QVector<CanFrame>& frames, int records, ScopeWaveFile* file) {
    ScopeBatchQueue queue;
    queue.setLimit(20000);
    ScopeDecoder decoder;
    ScopeDecoder::Setup setup;
    setup.types = QVector<int>(kChannels, 6);
    setup.periodUs = 10;
    setup.frequency = 1000;
    decoder.configure(setup);
    decoder.setSinks(&queue, file);
    const double cpu0 = threadCpuSeconds();
    for (const CanFrame& f : frames)
        decoder.feed(ScopeFrames::header(f).index, f.data.data());
    const double seconds = threadCpuSeconds() - cpu0;
    if (decoder.records() != quint64(records) || decoder.lost() != 0)
        std::printf("  (decoded %llu records, %llu lost: unexpected)\n",
                    (unsigned long long)decoder.records(), (unsigned long long)decoder.lost());
    return records / seconds;
}

std::deque<ScopeBatchPtr> batchesOf(int from, int records, int perBatch) {
    std::deque<ScopeBatchPtr> out;
    for (int at = from; at < from + records; at += perBatch) {
        auto b = std::make_shared<ScopeBatch>();
        b->channels = kChannels;
        b->generation = 1;
        for (int i = at; i < at + perBatch; ++i) {
            b->times << i / 1000.0;
            for (int c = 0; c < kChannels; ++c)
                b->values << std::sin(i / 100.0 + c) * (c + 1);
        }
        out.push_back(b);
    }
    return out;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    Helper::instance();

    const int records = 500000;
    const QVector<CanFrame> frames = stream(records);
    double best = 0;
    for (int run = 0; run < 3; ++run)
        best = std::max(best, decodeRate(frames, records, nullptr));
    std::printf("decode, 8 float channels (5 frames per record): %.0f records/s (CPU time)\n", best);
    QTemporaryDir dir;
    ScopeWaveFile file;
    file.open(dir.filePath(QStringLiteral("wave.txt")));
    std::printf("decode + waveform file lines:                   %.0f records/s\n",
                decodeRate(frames, records, &file));
    file.close();
    // What a display-only acquisition does: its file is handed over but not open.
    std::printf("decode with the waveform file closed:           %.0f records/s\n",
                decodeRate(frames, records, &file));

    waveDisplay plot;
    plot.resize(1200, 700);
    QVector<int> active;
    QStringList names;
    for (int c = 0; c < kChannels; ++c) {
        active << c;
        names << QStringLiteral("ch%1").arg(c + 1);
    }
    plot.setActiveGraphs(active, names, 20000);
    plot.showData(batchesOf(0, 20000, 20));
    plot.replot();
    QElapsedTimer clock;
    clock.start();
    const double replotCpu0 = threadCpuSeconds();
    const int replots = 50;
    for (int i = 0; i < replots; ++i)
        plot.replot();
    std::printf("replot of 8 x %d points (1200 x 700):          %.2f ms CPU (%.2f ms wall)\n",
                plot.graph(0)->data()->size(), (threadCpuSeconds() - replotCpu0) * 1e3 / replots,
                clock.nsecsElapsed() / 1e6 / replots);

    // Ten seconds of a 1,000 Hz stream drawn as the page does: 24 frames a second, each taking
    // about 42 records and replotting once.
    plot.setActiveGraphs(active, names, 10000);
    plot.showData(batchesOf(0, 10000, 20));
    const double cpu0 = cpuSeconds();
    int at = 10000;
    const int frameCount = 240;
    for (int f = 0; f < frameCount; ++f) {
        const int n = 1000 / 24;
        plot.showData(batchesOf(at, n, n));
        at += n;
        plot.replot();
    }
    const double cpuPerSecond = (cpuSeconds() - cpu0) / (frameCount / 24.0);
    std::printf("plotting 8 channels at 1000 Hz, 24 frames/s:    %.1f %% of one core\n", cpuPerSecond * 100);

    // Ten minutes of that stream through the history: memory stays that of ten seconds.
    const long before = rssKb();
    for (int minute = 0; minute < 10; ++minute) {
        for (int s = 0; s < 60; ++s)
            plot.showData(batchesOf(at + s * 1000, 1000, 20));
        at += 60000;
        if (minute == 0 || minute == 9)
            std::printf("after %2d min of samples: history %d records, curve %d points, RSS %ld kB (%+ld)\n",
                        minute + 1, plot.history().size(), plot.graph(0)->data()->size(), rssKb(),
                        rssKb() - before);
    }
    return 0;
}
