// trivane-sim: a USB-CAN adapter with motors behind a pseudo-terminal, or the motors on a
// virtual CAN bus, for trying the workbench without hardware and for the link's end-to-end tests.
#include "sim/simadapter.h"
#include "framework/core/localtimezone.h"
#include "sim/simbus.h"
#include "sim/simcontrol.h"
#include "sim/simpty.h"
#include "sim/simreplay.h"
#include "sim/simsettings.h"
#include "link/monitor/tracefilereader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <memory>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};
// Frames of a trace kept for a replay (a larger file plays its last part).
constexpr int kReplayLimit = 5000000;

void onSignal(int) {
    const char c = 1;
    const ssize_t ignored = ::write(g_signalPipe[1], &c, 1);
    (void)ignored;
}

void say(const QString& text, FILE* to = stdout) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), to);
    std::fflush(to);
}

[[noreturn]] void fail(const QString& text) {
    say(QStringLiteral("trivane-sim: ") + text, stderr);
    std::exit(2);
}

QStringList listOf(const QCommandLineParser& p, const QString& name) {
    return p.value(name).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

double fractionOf(const QCommandLineParser& p, const QString& name) {
    if (!p.isSet(name))
        return 0;
    bool ok = false;
    const double v = p.value(name).toDouble(&ok);
    if (!ok || v < 0 || v > 1)
        fail(QCoreApplication::translate("main", "--%1 needs a fraction between 0 and 1").arg(name));
    return v;
}

int intOf(const QCommandLineParser& p, const QString& name, int fallback, int min, int max) {
    if (!p.isSet(name))
        return fallback;
    bool ok = false;
    const int v = p.value(name).toInt(&ok, 0);
    if (!ok || v < min || v > max)
        fail(QCoreApplication::translate("main", "--%1 needs a number from %2 to %3")
                 .arg(name)
                 .arg(min)
                 .arg(max));
    return v;
}

SimSettings settingsFrom(const QCommandLineParser& p) {
    SimSettings s;
    const int count = intOf(p, QStringLiteral("motors"), 1, 1, 14);
    s.motors = SimSettings::defaultMotors(count);
    const QStringList mcu = listOf(p, QStringLiteral("mcu-ids"));
    const QStringList can = listOf(p, QStringLiteral("can-ids"));
    const QStringList models = listOf(p, QStringLiteral("models"));
    if (mcu.size() > count || can.size() > count || models.size() > count)
        fail(QCoreApplication::translate("main", "more identities than --motors"));
    for (int i = 0; i < mcu.size(); ++i) {
        bool ok = false;
        s.motors[i].mcuId = mcu[i].trimmed().toULongLong(&ok, 16);
        if (!ok)
            fail(QCoreApplication::translate("main", "bad MCU ID %1 (hexadecimal expected)").arg(mcu[i]));
    }
    for (int i = 0; i < can.size(); ++i) {
        bool ok = false;
        const int id = can[i].toInt(&ok, 0);
        if (!ok || id < 1 || id > 127)
            fail(QCoreApplication::translate("main", "bad CAN ID %1 (1..127)").arg(can[i]));
        s.motors[i].canId = quint8(id);
    }
    for (int i = 0; i < models.size(); ++i) {
        const QStringList ab = models[i].split(QRegExp(QStringLiteral("[:.]")));
        bool okA = false, okB = false;
        const uint a = ab.value(0).toUInt(&okA, 0), b = ab.value(1).toUInt(&okB, 0);
        if (ab.size() != 2 || !okA || !okB || a > 255 || b > 255)
            fail(QCoreApplication::translate("main", "bad model %1 (A:B with bytes 0..255)").arg(models[i]));
        s.motors[i].modelA = quint8(a);
        s.motors[i].modelB = quint8(b);
    }
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < i; ++j)
            if (s.motors[i].canId == s.motors[j].canId || s.motors[i].mcuId == s.motors[j].mcuId)
                fail(QCoreApplication::translate("main", "two motors share a CAN ID or an MCU ID"));
    s.baud = intOf(p, QStringLiteral("baud"), 921600, 50, 16000000);
    s.pacing = !p.isSet(QStringLiteral("no-pacing"));
    s.stateFile = p.value(QStringLiteral("state"));
    s.logFile = p.value(QStringLiteral("log"));
    s.eraseDelayMs = intOf(p, QStringLiteral("erase-delay"), 1500, 0, 60000);
    s.calibrationMs = intOf(p, QStringLiteral("cali-time"), 3000, 40, 600000);
    s.seed = quint32(intOf(p, QStringLiteral("seed"), 1, 0, 0x7fffffff));
    s.faults.dropRx = fractionOf(p, QStringLiteral("drop-rx"));
    s.faults.dropTx = fractionOf(p, QStringLiteral("drop-tx"));
    s.faults.corruptRx = fractionOf(p, QStringLiteral("corrupt-rx"));
    s.faults.corruptTx = fractionOf(p, QStringLiteral("corrupt-tx"));
    s.faults.crlf = fractionOf(p, QStringLiteral("crlf"));
    s.faults.latencyMs = intOf(p, QStringLiteral("latency"), 0, 0, 60000);
    s.faults.silent = p.isSet(QStringLiteral("silent"));
    s.faults.wrongCanId = p.isSet(QStringLiteral("wrong-can-id"));
    s.faults.resendEvery = intOf(p, QStringLiteral("resend-every"), 0, 0, 1000000);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    kx::pinLocalTimeZone();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("trivane-sim"));
    auto tr = [](const char* text) { return QCoreApplication::translate("main", text); };

    QCommandLineParser p;
    p.setApplicationDescription(
        tr("Simulated bench: a USB-CAN adapter (AT commands and frame records) with motors on its bus,\n"
           "behind a pseudo-terminal; or, with --bus, the motors on a virtual CAN bus the bench serves.\n"
           "The device path (or the bus address to give to --bus) is always the first line on stdout.\n\n") +
        SimControl::helpText());
    p.addHelpOption();
    const QList<QCommandLineOption> options = {
        {QStringLiteral("motors"), tr("Motors on the bus, 1 to 14 (default 1)."), QStringLiteral("N")},
        {QStringLiteral("mcu-ids"),
         tr("Comma-separated MCU IDs in hexadecimal (default 3a10c5e700001001, ...)."),
         QStringLiteral("LIST")},
        {QStringLiteral("can-ids"), tr("Comma-separated CAN IDs 1..127 (default 1, 2, ...)."),
         QStringLiteral("LIST")},
        {QStringLiteral("models"), tr("Comma-separated model bytes A:B of the model reply (default 0:2)."),
         QStringLiteral("LIST")},
        {QStringLiteral("baud"), tr("The adapter's own line rate (default 921600)."), QStringLiteral("RATE")},
        {QStringLiteral("no-pacing"), tr("Write output at once instead of at rate/10 bytes per second.")},
        {QStringLiteral("state"),
         tr("State file: saved parameters, CAN IDs and firmware versions persist here."),
         QStringLiteral("FILE")},
        {QStringLiteral("port-link"), tr("Keep a symlink at PATH to the current device."),
         QStringLiteral("PATH")},
        {QStringLiteral("bus"),
         tr("Serve a virtual CAN bus at ADDRESS instead of a pseudo-terminal: "
            "virtualcan:tcp://127.0.0.1:PORT/can0 (PORT 0: a free port; the first line tells which)."),
         QStringLiteral("ADDRESS")},
        {QStringLiteral("print-port"), tr("Print the device path on stdout's first line (always done).")},
        {QStringLiteral("log"), tr("Append every record received and sent to FILE."), QStringLiteral("FILE")},
        {QStringLiteral("control"), tr("Read control commands from stdin; end of stdin ends the bench.")},
        {QStringLiteral("erase-delay"),
         tr("Milliseconds a motor erases before confirming update mode (1500)."), QStringLiteral("MS")},
        {QStringLiteral("cali-time"), tr("Milliseconds an encoder calibration takes (3000)."),
         QStringLiteral("MS")},
        {QStringLiteral("seed"), tr("Seed of the fault dice (1)."), QStringLiteral("N")},
        {QStringLiteral("drop-rx"), tr("Fault: fraction of host frames lost."), QStringLiteral("F")},
        {QStringLiteral("drop-tx"), tr("Fault: fraction of motor frames lost."), QStringLiteral("F")},
        {QStringLiteral("corrupt-rx"), tr("Fault: fraction of host records with a flipped bit."),
         QStringLiteral("F")},
        {QStringLiteral("corrupt-tx"), tr("Fault: fraction of motor records with a flipped bit."),
         QStringLiteral("F")},
        {QStringLiteral("latency"), tr("Fault: hold every record for the host MS milliseconds."),
         QStringLiteral("MS")},
        {QStringLiteral("silent"), tr("Fault: the adapter never answers.")},
        {QStringLiteral("wrong-can-id"), tr("Fault: replies carry a CAN ID one above the motor's own.")},
        {QStringLiteral("resend-every"), tr("Fault: every N-th firmware packet gets a resend request."),
         QStringLiteral("N")},
        {QStringLiteral("crlf"), tr("Fault: fraction of feedback frames with 0D 0A inside their data."),
         QStringLiteral("F")},
        {QStringLiteral("replay"),
         tr("Instead of simulated motors, answer the host with the motors' frames of a recorded trace "
            "(candump .log or .asc), each after the host frame it followed, with its recorded spacing."),
         QStringLiteral("FILE")},
        {QStringLiteral("replay-fast"),
         tr("With --replay: send the motors' frames as fast as the line allows.")},
    };
    p.addOptions(options);
    p.process(app);

    SimSettings settings = settingsFrom(p);
    const QString replayPath = p.value(QStringLiteral("replay"));
    QVector<TraceRecord> trace;
    if (!replayPath.isEmpty()) {
        TraceFileReader::Report report;
        QString why;
        if (!TraceFileReader::load(replayPath, kReplayLimit, &trace, &report, &why))
            fail(tr("cannot read the trace %1: %2").arg(replayPath, why));
        for (const QString& note : report.notes())
            say(QStringLiteral("trivane-sim: ") + note, stderr);
        settings.motors.clear();  // the trace speaks for the motors
    }
    SimAdapter adapter(settings);
    std::unique_ptr<SimReplay> replay;
    if (!replayPath.isEmpty()) {
        const int frames = trace.size();
        replay =
            std::make_unique<SimReplay>(&adapter, std::move(trace), p.isSet(QStringLiteral("replay-fast")));
        QObject::connect(replay.get(), &SimReplay::done, [&replay] {
            const SimReplay::Counters& c = replay->counters();
            say(QCoreApplication::translate("main",
                                            "trivane-sim: replay finished: %1 motor frames sent, %2 host "
                                            "frames matched, %3 not expected")
                    .arg(c.sent)
                    .arg(c.matched)
                    .arg(c.unmatched),
                stderr);
        });
        say(tr("trivane-sim: replaying %1 frames of %2").arg(frames).arg(replayPath), stderr);
    }
    QString error;
    if (!adapter.loadState(&error))
        say(tr("trivane-sim: state file %1 ignored: %2").arg(settings.stateFile, error), stderr);
    if (!settings.logFile.isEmpty() && !adapter.openLog(settings.logFile))
        fail(tr("cannot open the log %1").arg(settings.logFile));

    // The front end the host meets: the adapter behind a pseudo-terminal, or the bus itself.
    std::unique_ptr<SimFrontEnd> frontEnd;
    SimPty* pty = nullptr;
    if (p.isSet(QStringLiteral("bus"))) {
        // There is no adapter on a bus: its line rate, pacing, device link and serial-record
        // faults have nothing to act on.
        for (const char* serialOnly : {"baud", "no-pacing", "port-link", "crlf"}) {
            if (p.isSet(QString::fromLatin1(serialOnly)))
                fail(tr("--%1 applies to the pseudo-terminal, not to --bus").arg(QLatin1String(serialOnly)));
        }
        SimBus::Address address;
        if (!SimBus::parseAddress(p.value(QStringLiteral("bus")), &address, &error))
            fail(error);
        frontEnd = std::make_unique<SimBus>(&adapter, address);
        if (!frontEnd->plug(&error))
            fail(error);
        say(frontEnd->address());
        say(tr("trivane-sim: %1 motor(s) on the virtual CAN bus %2")
                .arg(settings.motors.size())
                .arg(frontEnd->address()),
            stderr);
    } else {
        pty = new SimPty(&adapter, settings.pacing);
        frontEnd.reset(pty);
        pty->setLink(p.value(QStringLiteral("port-link")));
        if (!pty->plug(&error))
            fail(tr("cannot open a pseudo-terminal: %1").arg(error));
        say(pty->path());
        say(tr("trivane-sim: %1 motor(s) behind %2, adapter at %3 baud")
                .arg(settings.motors.size())
                .arg(pty->path())
                .arg(settings.baud),
            stderr);
    }

    // SIGTERM and SIGINT end the event loop through a pipe, so the link and the front end close
    // cleanly.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) == 0) {
        auto* n = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(n, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGTERM, onSignal);
        std::signal(SIGINT, onSignal);
    }
    std::signal(SIGPIPE, SIG_IGN);

    SimControl control(&adapter, frontEnd.get());
    QObject::connect(&control, &SimControl::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&control, &SimControl::answer, [](const QString& line) { say(line); });
    if (p.isSet(QStringLiteral("control"))) {
        control.attachStdin();
        frontEnd->setBeforeRead([&control] { control.drain(); });
    }

    const int rc = app.exec();
    frontEnd->unplug();
    if (pty)
        pty->removeLink();
    return rc;
}
