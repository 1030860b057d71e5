// Link figures: receive-path throughput (records/s through cutting, parsing and dispatch on
// one core), CPU of the whole link while a line streams at full rate, and CPU of an idle
// link. Prints the figures; run by hand (build/bin/bench_link [seconds]).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/otathread.h"
#include "link/serialrecord.h"

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QByteArray feedbackRecord(int i) {
    CanFrame f;
    f.id = (2u << 24) | (2u << 22) | (1u << 8) | 0xFD;
    f.length = 8;
    for (int b = 0; b < 8; ++b)
        f.data[b] = quint8(i * 7 + b * 13);
    if (i % 5 == 0) {  // data that holds CR LF, as real feedback does now and then
        f.data[2] = 0x0D;
        f.data[3] = 0x0A;
    }
    f.data[1] = 0x11;  // never a model reply
    return SerialRecord::fromFrame(f);
}

void runLoopFor(int ms) {
    QTimer::singleShot(ms, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

void throughput() {
    otaThread link;  // the loop is not needed: the receive path runs on this thread
    int dispatched = 0;
    QObject::connect(&link, &otaThread::sendState, [&dispatched](int) { ++dispatched; });
    QByteArray stream;
    const int records = 200000;
    for (int i = 0; i < records; ++i)
        stream += feedbackRecord(i);
    QElapsedTimer timer;
    timer.start();
    const int rounds = 5;
    for (int r = 0; r < rounds; ++r) {
        for (int at = 0; at < stream.size(); at += 4096)
            link.getSerialData(stream.mid(at, 4096));
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    printf("receive path: %d records in %.3f s = %.0f records/s (goal >= 1000000)\n", dispatched, seconds,
           dispatched / seconds);
}

void idle(int seconds) {
    Helper::instance()->createBackends();
    const double before = cpuSeconds();
    runLoopFor(seconds * 1000);
    const double used = cpuSeconds() - before;
    printf("idle link: %.4f s CPU over %d s = %.3f%% of one core (goal < 0.5%%)\n", used, seconds,
           100.0 * used / seconds);
    Helper::instance()->destroyBackends();
}

// A child process plays an adapter streaming feedback at the line's full rate into a
// pseudo-terminal; this process runs the worker on the other end and counts only its own CPU.
void streaming(int seconds) {
    int master = -1, slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        printf("streaming: no pseudo-terminal\n");
        return;
    }
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    const int baud = 921600;
    const pid_t child = fork();
    if (child == 0) {
        // 10 bits per byte on the line: baud / 10 bytes per second, sent every millisecond.
        QByteArray chunk;
        int i = 0;
        const long perMs = baud / 10 / 1000;
        timespec next{};
        clock_gettime(CLOCK_MONOTONIC, &next);
        QByteArray pending;
        for (;;) {
            while (pending.size() < perMs)
                pending += feedbackRecord(i++);
            const QByteArray slice = pending.left(int(perMs));
            if (write(master, slice.constData(), size_t(slice.size())) < 0)
                _exit(0);
            pending.remove(0, int(perMs));
            next.tv_nsec += 1000000;
            if (next.tv_nsec >= 1000000000) {
                next.tv_nsec -= 1000000000;
                ++next.tv_sec;
            }
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        }
    }
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.support_at"), false, true);
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true, true);
    Helper::instance()->createBackends();
    CANWorker* worker = Helper::instance()->worker();
    int feedback = 0;
    QObject::connect(worker, &CANWorker::linkStatus,
                     [&feedback](int status) { feedback += status == OTA_STA_MOTOR_FEEDBACK; });
    worker->connectPort(QString::fromLocal8Bit(name));
    worker->link()->startStep(STEP_STOP);  // only the receive path is of interest
    const double before = cpuSeconds();
    runLoopFor(seconds * 1000);
    const double used = cpuSeconds() - before;
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    printf(
        "streaming at %d baud: %d feedback records (%.0f/s), link CPU %.3f s over %d s = %.2f%% of one core "
        "(goal < 5%%)\n",
        baud, feedback, feedback / double(seconds), used, seconds, 100.0 * used / seconds);
    worker->disconnectPort();
    Helper::instance()->destroyBackends();
    close(master);
    close(slave);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? qMax(1, atoi(argv[1])) : 10;
    QTemporaryDir dir;  // the link's log lines land here
    QDir::setCurrent(dir.path());
    Helper::instance();
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true, true);
    throughput();
    idle(seconds);
    streaming(seconds);
    return 0;
}
