// Firmware update throughput against the simulated bench with emulated latency. The protocol
// floor is packets x (round trip + "config.update_dt"): the round trip is measured on the same
// bench with a bare serial ping-pong (no link code), so the ratio shows what the link adds per
// packet. Run by hand: build/bin/bench_firmware [latency-ms]   (goal: ratio <= 1.2)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/flows/firmwareflow.h"
#include "link/helper.h"
#include "link/linkwait.h"
#include "link/motorframes.h"
#include "link/recordcutter.h"
#include "link/serialrecord.h"

namespace {

class Bench {
public:
    QString start(int latencyMs) {
        m_sim.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/trivane-sim"));
        m_sim.setArguments({QStringLiteral("--control"), QStringLiteral("--erase-delay"),
                            QStringLiteral("100"), QStringLiteral("--latency"), QString::number(latencyMs)});
        m_sim.start();
        if (!m_sim.waitForStarted(10000) || !m_sim.waitForReadyRead(10000))
            return QString();
        return QString::fromLocal8Bit(m_sim.readLine()).trimmed();
    }
    ~Bench() {
        m_sim.closeWriteChannel();
        if (!m_sim.waitForFinished(5000))
            m_sim.kill();
    }

private:
    QProcess m_sim;
};

// Median time from an identity request to the motor's announcement, straight on the port.
double roundTripMs(const QString& path, int samples) {
    QSerialPort port(path);
    port.setBaudRate(921600);
    if (!port.open(QIODevice::ReadWrite))
        return -1;
    RecordCutter cutter;
    std::vector<double> times;
    const QByteArray request = SerialRecord::fromFrame(MotorFrames::identityRequest(1));
    for (int i = 0; i < samples; ++i) {
        QElapsedTimer clock;
        clock.start();
        port.write(request);
        bool answered = false;
        while (!answered && clock.elapsed() < 1000) {
            if (!port.waitForReadyRead(100))
                continue;
            cutter.append(port.readAll());
            QByteArray record;
            CanFrame frame;
            while (cutter.next(&record))
                answered = answered || (SerialRecord::toFrame(record, &frame) && frame.type() == 0);
        }
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Run {
    bool ok = false;
    quint32 packets = 0;
    double seconds = 0;
};

Run update(const QString& path, int size) {
    Run run;
    CANWorker* worker = Helper::instance()->worker();
    worker->connectPort(path);
    // A wait in the event loop: processEvents() with a time limit would spin.
    LinkWait::until([] { return kx::d("project.device")->size() >= 1; }, 15000);
    if (kx::d("project.device")->size() < 1)
        return run;
    Helper::instance()->setCurrentDeviceDobj(kx::d("project.device")->cdobj(0));
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = char(i * 13 + 5);
    FirmwareFlow flow(1, image);
    flow.run();
    const FirmwareFlow::Report report = flow.details();
    run.ok = report.result == FirmwareFlow::Result::Succeeded;
    run.packets = report.packets;
    run.seconds = report.seconds;
    Helper::instance()->setCurrentDeviceDobj(nullptr);
    worker->disconnectPort();
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int latency = argc > 1 ? QByteArray(argv[1]).toInt() : 1;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    kx::DataObject* root = kx::d().rootDobj();
    root->set(nullptr, QStringLiteral("config.setting.upload_param_on_connected"), false, true);
    root->set(nullptr, QStringLiteral("config.setting.record_write_raw_data"), false, true);
    root->set(nullptr, QStringLiteral("config.update_dt"), 1, true);
    const int dt = 1;

    std::printf("firmware update, emulated latency %d ms, update_dt %d ms\n", latency, dt);
    for (int size : {64 * 1024, 512 * 1024}) {
        Bench bench;
        const QString path = bench.start(latency);
        if (path.isEmpty()) {
            std::printf("the simulated bench did not start\n");
            return 1;
        }
        const double rtt = roundTripMs(path, 200);
        Helper::instance()->createBackends();
        const Run run = update(path, size);
        Helper::instance()->destroyBackends();
        if (!run.ok) {
            std::printf("%d KiB: the update failed\n", size / 1024);
            return 1;
        }
        const double floor = run.packets * (rtt + dt) / 1000.0;
        std::printf(
            "%4d KiB: %6u packets in %7.2f s = %6.0f packets/s; round trip %.3f ms, floor %.2f s, "
            "ratio %.3f\n",
            size / 1024, run.packets, run.seconds, run.packets / run.seconds, rtt, floor,
            run.seconds / floor);
        std::fflush(stdout);
    }
    return 0;
}
