// Parameter table figures: the full description plus a read of every entry, against the
// simulated bench on a pseudo-terminal with an emulated adapter latency, compared with the
// protocol floor (round trips x latency). Run by hand: build/bin/bench_paramtable [runs]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QTemporaryDir>
#include <QDir>

#include <algorithm>
#include <cstdio>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/otathread.h"
#include "link/frames/paramvalue.h"
#include "link/param/paramfeature.h"
#include "link/param/paramwalker.h"
#include "link/serialrecord.h"

namespace {

// Sleeps in the event loop until done() holds: a spinning wait would take the core the
// simulated bench needs and distort the figures.
bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    QTimer tick;
    tick.start(20);
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Runs one walk; its wall time in ms, or -1.
double timed(ParamWalker& walker, const std::function<bool()>& start) {
    bool done = false, ok = false;
    auto c = QObject::connect(&walker, &ParamWalker::finished, [&](bool r) {
        done = true;
        ok = r;
    });
    QElapsedTimer t;
    t.start();
    start();
    waitFor([&] { return done; }, 60000);
    QObject::disconnect(c);
    return done && ok ? t.nsecsElapsed() / 1e6 : -1;
}

struct Figures {
    double describe = 0, read = 0;
    int entries = 0, frames = 0;
};

bool measure(int latencyMs, int runs, Figures* best) {
    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + "/trivane-sim",
              {"--control", "--latency", QString::number(latencyMs)});
    if (!sim.waitForStarted(10000) || !sim.waitForReadyRead(10000))
        return false;
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed();
    Helper* helper = Helper::instance();
    helper->createBackends();
    helper->worker()->connectPort(port);
    bool ok = waitFor([] { return kx::d("project.device")->size() == 1; }, 30000);
    if (ok) {
        kx::DataObject* record = kx::d("project.device")->cdobj(0);
        helper->setCurrentDeviceDobj(record);
        ParamWalker walker(record);
        std::vector<double> describe, read;
        for (int i = 0; i < runs && ok; ++i) {
            const double d = timed(walker, [&] { return walker.describe(); });
            const double r = timed(walker, [&] { return walker.upload(); });
            ok = d > 0 && r > 0;
            describe.push_back(d);
            read.push_back(r);
        }
        if (ok) {
            std::sort(describe.begin(), describe.end());
            std::sort(read.begin(), read.end());
            best->describe = describe[describe.size() / 2];
            best->read = read[read.size() / 2];
            const QVector<ParamEntry> entries = ParamFeature::of(otaThread::instance())->store().snapshot(1);
            best->entries = entries.size();
            // On the line: six description frames an entry and the summary; per read the
            // request and its chunks, one after the other.
            best->frames = entries.size() * 6 + 2;
            for (const ParamEntry& e : entries)
                best->frames += 1 + ParamValue::chunks(e.type);
        }
    }
    helper->setCurrentDeviceDobj(nullptr);
    helper->worker()->disconnectPort();
    helper->destroyBackends();
    sim.closeWriteChannel();
    sim.waitForFinished(5000);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    kx::DataObject* root = kx::d().rootDobj();
    root->set(nullptr, "config.setting.upload_param_on_connected", false, true);
    root->set(nullptr, "config.setting.enable_multiple_devices", false, true);
    root->set(nullptr, "config.setting.record_write_raw_data", false, true);
    // One record on the line: "AT", identifier, length, 8 data bytes, CR LF; 10 bits a byte.
    const double recordMs = SerialRecord::fromFrame(CanFrame{}).size() * 10.0 * 1000.0 / 921600.0;
    std::printf("median of %d runs; adapter at 921600 baud, %.3f ms per record on the line\n", runs,
                recordMs);
    for (int latency : {0, 1, 4}) {
        Figures f;
        if (!measure(latency, runs, &f)) {
            std::printf("latency %d ms: the bench did not answer\n", latency);
            return 1;
        }
        // Round trips: one for the description (the motor streams it), one per entry read
        // (its chunks come back in one burst).
        const int trips = 1 + f.entries;
        const double floor = trips * latency;
        const double total = f.describe + f.read;
        const double line = f.frames * recordMs;
        std::printf(
            "latency %d ms: %d entries; description %.1f ms + reads %.1f ms = %.1f ms\n"
            "  protocol floor %d round trips x %d ms = %.0f ms (ratio %.2f); with the line time of %d "
            "records "
            "(%.1f ms): %.0f ms (ratio %.2f)\n",
            latency, f.entries, f.describe, f.read, total, trips, latency, floor,
            floor > 0 ? total / floor : 0.0, f.frames, line, floor + line, total / (floor + line));
    }
    return 0;
}
