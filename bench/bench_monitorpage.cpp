// The monitor page's share of the GUI thread: the simulated bench streams eight float scope
// channels at 1,000 Hz over the paced 921,600 baud line (about 5,000 records a second), the
// link runs on this thread as in the workbench, and the thread's CPU time is measured first
// without the page and then with the page open and following the end. With a directory
// argument it also saves a picture of the page while it streams.
//   xvfb-run -a build/bin/bench_monitorpage [SECONDS] [zh_CN|en] [PICTURE.png]
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <time.h>

#include "chrome/chromestyle.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/monitor/tracerecorder.h"
#include "link/monitor/tracestore.h"
#include "link/motorstates.h"
#include "link/otathread.h"
#include "link/scope/scopeacquisition.h"
#include "workbench/monitor/busmonitorpage.h"
#include "workbench/monitor/livetrace.h"

namespace {

double threadCpuSeconds();

// Adds up the GUI thread's CPU time spent delivering events to the page and its children
// (its refresh timer, the recorder's notices, painting, layout): the page's own cost, apart
// from the link that shares the thread.
class BenchApplication : public QApplication {
public:
    using QApplication::QApplication;
    QObject* page = nullptr;
    double pageCpu = 0;

    bool notify(QObject* receiver, QEvent* event) override {
        if (m_depth > 0 || !page || !inside(receiver))
            return QApplication::notify(receiver, event);
        ++m_depth;
        const double start = threadCpuSeconds();
        const bool done = QApplication::notify(receiver, event);
        pageCpu += threadCpuSeconds() - start;
        --m_depth;
        return done;
    }

private:
    bool inside(QObject* o) const {
        for (; o; o = o->parent()) {
            if (o == page)
                return true;
        }
        return false;
    }
    int m_depth = 0;
};

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// Waits in the event loop without spinning: processEvents() with a time limit polls without
// blocking and would count its own spinning as the GUI thread's load.
void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        runFor(50);
    return done();
}

struct Phase {
    double cpu = 0;
    double pageCpu = 0;
    quint64 records = 0;
    double seconds = 0;
};

Phase measure(int ms) {
    TraceStore* store = LiveTrace::instance().store();
    const quint64 before = store->end();
    auto* app = static_cast<BenchApplication*>(QCoreApplication::instance());
    const double pageBefore = app->pageCpu;
    const double cpu = threadCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(ms);
    Phase p;
    p.seconds = wall.elapsed() / 1000.0;
    p.cpu = threadCpuSeconds() - cpu;
    p.pageCpu = app->pageCpu - pageBefore;
    p.records = store->end() - before;
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    BenchApplication app(argc, argv);
    const int seconds = argc > 1 ? qMax(2, atoi(argv[1])) : 20;
    const QString language = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("en");
    const QString picture = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const QString bin = QCoreApplication::applicationDirPath();
    QTranslator translator;
    if (language != QLatin1String("en") && translator.load(bin + QStringLiteral("/i18n/") + language))
        QCoreApplication::installTranslator(&translator);
    ChromeStyle::apply(&app, ChromeStyle::Dark);

    QProcess sim;
    sim.start(bin + QStringLiteral("/trivane-sim"), {QStringLiteral("--control")});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "the simulated bench did not start\n");
        return 1;
    }
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed();

    Helper* helper = Helper::instance();
    helper->createBackends();
    CANWorker* worker = helper->worker();
    worker->connectPort(port);
    if (!waitFor([worker] { return !worker->registeredCanIds().isEmpty() && MotorStates::get(1).modelKnown; },
                 30000)) {
        std::fprintf(stderr, "no motor was detected\n");
        return 1;
    }
    ScopeAcquisition* scope = ScopeAcquisition::of(worker->link());
    ScopeAcquisition::Config config;
    for (quint16 code = 0x3000; code < 0x3008; ++code)
        config.channels << ScopeAcquisition::Channel{code, -1, QString()};
    config.frequency = 1000;
    config.baudRate = worker->portBaudRate();
    config.startWhenConfigured = true;
    scope->setDisplayEnabled(false);
    worker->link()->setTarget(1);
    QString why;
    if (!scope->configureChannels(config, &why) ||
        !waitFor([scope] { return scope->records() > 1000; }, 10000)) {
        std::fprintf(stderr, "the scope did not stream: %s\n", qPrintable(why));
        return 1;
    }

    const Phase bare = measure(seconds * 1000);
    LiveTrace::instance().start();
    runFor(500);
    const Phase closed = measure(seconds * 1000);
    BusMonitorPage page;
    app.page = &page;
    page.resize(1280, 760);
    page.show();
    runFor(1000);
    const Phase open = measure(seconds * 1000);
    if (!picture.isEmpty())
        page.grab().save(picture);
    scope->stop();
    runFor(500);

    auto print = [](const char* what, const Phase& p) {
        std::printf("%s: GUI thread %.1f%% of a core, %.0f records/s\n", what, 100 * p.cpu / p.seconds,
                    p.records / p.seconds);
    };
    print("link and scope decoding, nothing on the tap", bare);
    print("trace recording from the tap, page closed", closed);
    print("page open and following", open);
    std::printf(
        "the page's own events: %.1f%% of a core (the difference of the two phases: %.1f%%); %llu records in "
        "the trace, %llu lost by the recorder\n",
        100 * open.pageCpu / open.seconds, 100 * (open.cpu / open.seconds - closed.cpu / closed.seconds),
        static_cast<unsigned long long>(LiveTrace::instance().store()->size()),
        static_cast<unsigned long long>(LiveTrace::instance().recorder()->lost()));
    worker->disconnectPort();
    helper->destroyBackends();
    sim.closeWriteChannel();
    sim.waitForFinished(5000);
    return 0;
}
