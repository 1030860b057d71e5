// A small program that crashes on purpose, for the crash reporter's tests. The first argument
// names the way: divide, null, overflow, thread-overflow (on a second thread), abort, raise (a
// signal that is no fault), nested (a fault inside the tree dump) or hang (a tree dump that never
// finishes). Before crashing it prints "crash site: <line>" with the line of the faulting statement.

#include "framework/core/setup.h"
#include "framework/crash/crashreporter.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QCoreApplication>
#include <QMetaType>

#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <thread>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__clang__) || defined(__GNUC__)
#define NO_CHECKS __attribute__((noinline, no_sanitize("undefined", "address")))
#else
#define NO_CHECKS
#endif

namespace {

// A value whose text form misbehaves, so that the tree dump itself faults or stalls.
struct Trap {
    int kind = 0;
};

volatile int g_limit = INT_MAX;

void site(int line) {
    std::printf("crash site: %d\n", line);
    std::fflush(stdout);
}

NO_CHECKS int divideByZero(int numerator) {
    volatile int zero = 0;
    site(__LINE__ + 1);
    return numerator / zero;
}

NO_CHECKS void dereferenceNull() {
    volatile int* volatile pointer = nullptr;
    site(__LINE__ + 1);
    *pointer = 1;
}

NO_CHECKS int overflowStack(int depth) {
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (depth >= g_limit) {
        return frame[0];
    }
    return overflowStack(depth + 1) + frame[0];
}

NO_CHECKS void raiseSegmentationSignal() {
    site(__LINE__ + 1);
    ::raise(SIGSEGV);
    g_limit = 0;  // keeps this frame on the stack: no tail call
}

NO_CHECKS void abortNow() {
    site(__LINE__ + 1);
    std::abort();
}

NO_CHECKS QString trapText(const Trap& trap) {
    if (trap.kind == 1) {
        volatile int* volatile pointer = nullptr;
        return QString::number(*pointer);
    }
    for (;;) {
        ::pause();
    }
}

}  // namespace

Q_DECLARE_METATYPE(Trap)

int main(int argc, char** argv) {
    // No core files in the test's directory.
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
    QCoreApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();

    kx::DataObject* root = kx::d().rootDobj();
    root->set(nullptr, QStringLiteral("config.language"), QStringLiteral("en"), true);
    root->set(nullptr, QStringLiteral("config.baud_rate"), 921600, true);
    root->set(nullptr, QStringLiteral("wnd.status.msg"), QStringLiteral("ready & <set>"), true);
    root->set(nullptr, QStringLiteral("project.device"), QVariant(), true);

    kx::setup();
    kx::CrashReporter::setDumpTimeLimit(mode == "hang" ? 2 : 60);

    if (mode == "nested" || mode == "hang") {
        QMetaType::registerConverter<Trap, QString>(&trapText);
        root->set(nullptr, QStringLiteral("wnd.trap"), QVariant::fromValue(Trap{mode == "nested" ? 1 : 2}),
                  true);
    }
    if (mode == "divide") {
        return divideByZero(argc);
    }
    if (mode == "null") {
        dereferenceNull();
    } else if (mode == "overflow") {
        return overflowStack(0);
    } else if (mode == "thread-overflow") {
        // Another thread overflows its own stack: it needs an alternate stack of its own.
        std::thread([] {
            kx::CrashReporter::prepareThread();
            overflowStack(0);
        }).join();
    } else if (mode == "raise") {
        raiseSegmentationSignal();
    } else if (mode == "abort" || mode == "nested") {
        abortNow();
    } else if (mode == "hang") {
        dereferenceNull();
    }
    std::fprintf(stderr, "usage: crashhelper divide|null|overflow|thread-overflow|abort|raise|nested|hang\n");
    return 2;
}
