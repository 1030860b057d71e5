// Link figures: receive-path throughput (records/s through cutting, parsing and dispatch on
// one core), CPU of the whole link while a line streams at full rate, and CPU of an idle
// link; over a virtual CAN bus, the frames per second the link sustains and its CPU at 5,000
// frames/s. Prints the figures; run by hand (build/bin/bench_link [seconds]).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QVector>

#include <atomic>
#include <chrono>
#include <thread>

#include <arpa/inet.h>
#include <cstdio>
#include <netinet/in.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
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
#include "link/tap/frametap.h"
#include "link/tap/tapsubscription.h"

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
void streaming(int seconds, bool observed) {
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
    // One tap observer, as the bus monitor attaches one: a thread of its own that takes what
    // waits every 20 ms. Its CPU counts with the link's.
    std::shared_ptr<TapSubscription> tap;
    std::atomic<bool> stopObserver{false};
    std::atomic<long> observedRecords{0};
    std::thread observer;
    if (observed) {
        tap = FrameTap::instance().subscribe(1 << 20);
        observer = std::thread([&] {
            while (!stopObserver.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                observedRecords += tap->take().size();
            }
        });
    }
    const double before = cpuSeconds();
    runLoopFor(seconds * 1000);
    const double used = cpuSeconds() - before;
    if (observed) {
        stopObserver = true;
        observer.join();
        FrameTap::instance().unsubscribe(tap);
        printf("tap observer: %ld records taken, %llu lost from its queue\n", observedRecords.load(),
               (unsigned long long)tap->dropped());
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    printf(
        "streaming at %d baud%s: %d feedback records (%.0f/s), link CPU %.3f s over %d s = %.2f%% of one "
        "core "
        "(goal < 5%%)\n",
        baud, observed ? " with one tap observer" : "", feedback, feedback / double(seconds), used, seconds,
        100.0 * used / seconds);
    worker->disconnectPort();
    Helper::instance()->destroyBackends();
    close(master);
    close(slave);
}

// The line a virtual CAN bus carries for one frame: "<decimal id>#X#<hex data>\n".
QByteArray busLine(int i) {
    CanFrame f;
    SerialRecord::toFrame(feedbackRecord(i), &f);
    return QByteArray::number(f.id) + "#X#" +
           QByteArray(reinterpret_cast<const char*>(f.data.data()), f.length).toHex() + '\n';
}

// Lines of feedback frames, prepared before the fork: the child then only sends bytes.
struct BusStream {
    QByteArray bytes;
    QVector<int> starts;  // offset of each line, and the end
};

BusStream busStream(int lines) {
    BusStream stream;
    for (int i = 0; i < lines; ++i) {
        stream.starts << stream.bytes.size();
        stream.bytes += busLine(i);
    }
    stream.starts << stream.bytes.size();
    return stream;
}

// The child's side of the virtual bus: serves the one client that joins (a connection that
// closes without joining, such as the link's look whether the bus is served, is skipped) and
// streams the prepared frames to it over and over, paced at rate frames/s or, with rate 0, as
// fast as the client takes them (the socket pushes back when the link falls behind).
[[noreturn]] void serveBus(int listener, int rate, const BusStream& stream) {
    int client = -1;
    for (;;) {
        client = accept(listener, nullptr, nullptr);
        if (client < 0)
            _exit(1);
        char c = 0;
        ssize_t n = 0;
        while ((n = read(client, &c, 1)) == 1 && c != '\n') {
        }
        if (n == 1)
            break;  // "connect:can0" arrived
        close(client);
    }
    const int lines = stream.starts.size() - 1;
    if (rate <= 0) {
        for (;;) {
            if (send(client, stream.bytes.constData(), size_t(stream.bytes.size()), MSG_NOSIGNAL) < 0)
                _exit(0);
        }
    }
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    double owed = 0;
    int at = 0;
    for (;;) {
        owed += rate / 1000.0;
        while (owed >= 1) {
            const int count = qMin(int(owed), lines - at);
            const int from = stream.starts[at], to = stream.starts[at + count];
            if (send(client, stream.bytes.constData() + from, size_t(to - from), MSG_NOSIGNAL) < 0)
                _exit(0);
            owed -= count;
            at = (at + count) % lines;
        }
        next.tv_nsec += 1000000;
        if (next.tv_nsec >= 1000000000) {
            next.tv_nsec -= 1000000000;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
}

// A child process serves a virtual CAN bus streaming feedback frames; this process runs the
// worker on QtSerialBus's virtualcan plug-in and counts only its own CPU.
void canStreaming(int seconds, int rate) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(listener, 4) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        printf("virtual CAN bus: no loopback socket\n");
        return;
    }
    const BusStream stream = busStream(4096);
    const pid_t child = fork();
    if (child == 0)
        serveBus(listener, rate, stream);
    close(listener);
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true, true);
    Helper::instance()->createBackends();
    CANWorker* worker = Helper::instance()->worker();
    int feedback = 0;
    QObject::connect(worker, &CANWorker::linkStatus,
                     [&feedback](int status) { feedback += status == OTA_STA_MOTOR_FEEDBACK; });
    worker->connectPort(QStringLiteral("virtualcan:tcp://127.0.0.1:%1/can0").arg(ntohs(addr.sin_port)));
    // Once the bus is up the worker starts its scan; only the receive path is of interest.
    runLoopFor(300);
    worker->link()->startStep(STEP_STOP);
    feedback = 0;
    const double before = cpuSeconds();
    runLoopFor(seconds * 1000);
    const double used = cpuSeconds() - before;
    const int received = feedback;
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    if (rate <= 0) {
        printf(
            "virtual CAN bus, as fast as the link takes: %d feedback frames = %.0f frames/s, link CPU %.2f%% "
            "of one core\n",
            received, received / double(seconds), 100.0 * used / seconds);
    } else {
        printf(
            "virtual CAN bus at %d frames/s: %d feedback frames (%.0f/s), link CPU %.3f s over %d s = "
            "%.2f%% of one core\n",
            rate, received, received / double(seconds), used, seconds, 100.0 * used / seconds);
    }
    worker->disconnectPort();
    Helper::instance()->destroyBackends();
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
    streaming(seconds, false);
    streaming(seconds, true);
    canStreaming(seconds, 0);
    canStreaming(seconds, 5000);
    return 0;
}
