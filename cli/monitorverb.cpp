#include "cli/monitorverb.h"

#include "cli/cliverbregistry.h"
#include "cli/linksession.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/monitor/framedecoder.h"
#include "link/monitor/tracefilewriter.h"
#include "link/monitor/tracefilter.h"
#include "link/monitor/tracerecorder.h"
#include "link/monitor/tracestatistics.h"
#include "link/monitor/tracetext.h"
#include "link/tap/frametap.h"
#include "link/tap/tapsubscription.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("MonitorVerb", text);
}

const CliVerbRegistrar<MonitorVerb> registrar;

constexpr double kMaxSeconds = 7 * 24 * 3600;

// SIGINT and SIGTERM end the monitor through a socket the event loop watches: the handler may
// only write a byte.
int g_signalSocket[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    const ssize_t ignored = ::write(g_signalSocket[1], &c, 1);
    (void)ignored;
}

class SignalWatch {
public:
    explicit SignalWatch(std::function<void()> onSignalled) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSocket) != 0)
            return;
        m_notifier = std::make_unique<QSocketNotifier>(g_signalSocket[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, std::move(onSignalled));
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }
    ~SignalWatch() {
        if (!m_notifier)
            return;
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        m_notifier.reset();
        ::close(g_signalSocket[0]);
        ::close(g_signalSocket[1]);
        g_signalSocket[0] = g_signalSocket[1] = -1;
    }

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// Writes the decoded lines to stdout on a thread of its own: the link shares this process's main
// thread, and a terminal or pipe that reads slowly must not hold it. What does not fit in the
// bounded queue is dropped and counted.
class OutputPump {
public:
    static constexpr qint64 kMaxQueued = 16 * 1024 * 1024;

    OutputPump() : m_thread([this] { run(); }) {}
    ~OutputPump() { finish(); }

    void push(QByteArray bytes, quint64 lines) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_queued + bytes.size() > kMaxQueued) {
                m_dropped += lines;
                return;
            }
            m_queued += bytes.size();
            m_queue.push_back(std::move(bytes));
        }
        m_wake.notify_one();
    }
    // Writes what waits and ends the thread.
    void finish() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_done)
                return;
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    quint64 dropped() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_dropped;
    }

private:
    void run() {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (true) {
            m_wake.wait(lock, [this] { return m_done || !m_queue.empty(); });
            if (m_queue.empty())
                return;  // done and drained
            QByteArray bytes = std::move(m_queue.front());
            m_queue.pop_front();
            m_queued -= bytes.size();
            lock.unlock();
            fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
            fflush(stdout);
            lock.lock();
        }
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QByteArray> m_queue;  // guarded by m_mutex
    qint64 m_queued = 0;             // guarded by m_mutex
    quint64 m_dropped = 0;           // guarded by m_mutex
    bool m_done = false;             // guarded by m_mutex
    std::thread m_thread;
};

}  // namespace

QString MonitorVerb::synopsis() const {
    return QStringLiteral(
        "monitor [--seconds <s>] [--filter <expr>] [--log <file.log|file.asc>] [--no-scan] --port <device> "
        "[--baud <rate>]|--bus <plugin:interface> [--can-id <id>] [--json]");
}

QString MonitorVerb::description() const {
    return tr(
        "Print every record of the bus decoded (JSON lines with --json) until Ctrl+C or --seconds, record "
        "every "
        "frame into a candump or ASC file with --log, and print per-CAN-ID statistics on stderr at the end. "
        "Filter terms: dir=rx|tx type=NAME|NUMBER,... id=N,... and free text.");
}

int MonitorVerb::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    LinkSession session;
    session.addOptions(&parser);
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), tr("Stop after this time."), tr("s"));
    const QCommandLineOption filterOption(QStringLiteral("filter"), tr("Print only the records that match."),
                                          tr("expr"));
    const QCommandLineOption logOption(
        QStringLiteral("log"), tr("Record every frame into this file (.asc: ASC, otherwise candump)."),
        tr("file"));
    const QCommandLineOption noScanOption(QStringLiteral("no-scan"),
                                          tr("Configure the adapter and listen, without detecting motors."));
    parser.addOptions({secondsOption, filterOption, logOption, noScanOption});
    if (const int code = session.parseCommandLine(&parser, arguments); code >= 0)
        return code;
    auto usage = [](const QString& text) {
        LinkSession::printErr(text);
        return kExitUsage;
    };
    if (!parser.positionalArguments().isEmpty())
        return usage(
            tr("monitor takes no arguments: %1").arg(parser.positionalArguments().join(QLatin1Char(' '))));
    double seconds = 0;
    if (parser.isSet(secondsOption)) {
        bool ok = false;
        seconds = parser.value(secondsOption).toDouble(&ok);
        if (!ok || !(seconds > 0) || seconds > kMaxSeconds)
            return usage(tr("--seconds expects a time above 0 and at most a week."));
    }
    TraceFilter filter;
    QString error;
    if (!TraceFilter::parse(parser.value(filterOption), &filter, &error))
        return usage(error);
    if (parser.isSet(noScanOption))
        session.skipDetection();
    session.statusToStderr();

    // The log is opened first, so that a bad path costs no traffic; it replaces the file only
    // once the monitor ends.
    std::unique_ptr<TraceFileWriter> log;
    const QString logPath = parser.value(logOption);
    if (!logPath.isEmpty()) {
        log = std::make_unique<TraceFileWriter>(logPath, traceFileFormatFor(logPath));
        if (!log->open(&error)) {
            LinkSession::printErr(tr("Cannot write %1: %2").arg(logPath, error));
            return kExitFailure;
        }
    }

    FrameDecoder decoder;
    TraceStatistics statistics;
    quint64 printed = 0;
    const bool json = session.json();
    QByteArray out;
    quint64 outLines = 0;
    OutputPump pump;
    // Subscribed before the port opens: the adapter's set-up and detection are part of the trace.
    const std::shared_ptr<TapSubscription> subscription =
        FrameTap::instance().subscribe(TraceRecorder::kQueueCapacity);
    auto drain = [&] {
        for (const TapRecord& tap : subscription->take()) {
            const TraceRecord record = TraceRecorder::fromTap(tap);
            decoder.learn(record);
            statistics.add(record);
            if (log)
                log->add(record);
            if (!filter.acceptsRecord(record))
                continue;
            const DecodedRecord decoded = decoder.decode(record);
            if (!filter.accepts(record, decoded))
                continue;
            out += json ? TraceText::json(record, decoded) : TraceText::line(record, decoded).toUtf8();
            out += '\n';
            ++outLines;
        }
        if (!out.isEmpty()) {
            printed += outLines;
            pump.push(std::exchange(out, QByteArray()), outLines);
            outLines = 0;
        }
    };
    QObject::connect(subscription.get(), &TapSubscription::ready, subscription.get(), drain);

    bool stopped = false;
    SignalWatch exitWatch([&stopped] { stopped = true; });
    const bool opened = session.open();
    otaThread* link = Helper::instance()->worker() ? Helper::instance()->worker()->link() : nullptr;
    if (link)
        decoder.useLink(link);
    bool ok = Helper::instance()->worker() && Helper::instance()->worker()->isConnected();
    if (!opened && ok)
        LinkSession::printErr(tr("No motor was detected; listening all the same."));
    if (ok && !stopped) {
        QElapsedTimer clock;
        clock.start();
        const qint64 totalMs = seconds > 0 ? qint64(seconds * 1000) : -1;
        LinkSession::printErr(seconds > 0 ? tr("Monitoring for %1 s.").arg(seconds)
                                          : tr("Monitoring; Ctrl+C ends."));
        while (!stopped && Helper::instance()->worker()->isConnected()) {
            const qint64 left = totalMs < 0 ? 1000 : totalMs - clock.elapsed();
            if (left <= 0)
                break;
            session.waitUntil([&stopped] { return stopped; }, int(qMin<qint64>(left, 1000)));
        }
        if (!Helper::instance()->worker()->isConnected())
            LinkSession::printErr(tr("The link closed."));
    }
    FrameTap::instance().unsubscribe(subscription);
    drain();
    pump.finish();
    if (pump.dropped() > 0)
        LinkSession::printErr(
            tr("%1 lines were not printed: the terminal could not keep up.").arg(pump.dropped()));
    if (subscription->dropped() > 0)
        LinkSession::printErr(
            tr("%1 records were lost by the monitor (it fell behind the bus).").arg(subscription->dropped()));
    if (log && !ok) {
        log->cancel();  // nothing was monitored: an older file of that name stays
    } else if (log) {
        if (log->commit(&error)) {
            LinkSession::printErr(tr("%1 frames written to %2.").arg(log->frames()).arg(logPath));
        } else {
            LinkSession::printErr(tr("Cannot write %1: %2").arg(logPath, error));
            ok = false;
        }
    }
    for (const QString& row : statistics.table())
        LinkSession::printErr(row);
    LinkSession::printErr(tr("%1 records printed.").arg(printed - pump.dropped()));
    return ok ? kExitOk : kExitFailure;
}
