#include "sim/simcontrol.h"

#include "sim/simadapter.h"
#include "sim/simmotor.h"
#include "sim/simfrontend.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <poll.h>
#include <unistd.h>

SimControl::SimControl(SimAdapter* adapter, SimFrontEnd* frontEnd, QObject* parent)
    : QObject(parent), m_adapter(adapter), m_frontEnd(frontEnd) {}

SimControl::~SimControl() = default;

QString SimControl::helpText() {
    return QCoreApplication::translate(
        "SimControl",
        "Control commands (one per line on stdin with --control; also usable as start flags):\n"
        "  drop rx|tx FRACTION      lose that fraction of frames host->motors (rx) or motors->host (tx)\n"
        "  corrupt rx|tx FRACTION   flip one bit in that fraction of frame records\n"
        "  latency MS               hold every record for the host MS milliseconds\n"
        "  silence on|off           the adapter hears but stops answering\n"
        "  wrongid on|off           replies carry a CAN ID one above the motor's own\n"
        "  resend N                 every N-th firmware packet gets a resend request (0 = off)\n"
        "  crlf FRACTION            that fraction of feedback frames carries 0D 0A in its data\n"
        "  baud RATE                set the adapter's own line rate\n"
        "  fault CANID FAULT [WARN] motor sends a fault/warning frame (words in hex or decimal)\n"
        "  unplug | plug            off the line (pseudo-terminal closed, bus server stopped) / back\n"
        "                           on it (a new pseudo-terminal, the same bus); prints the address\n"
        "  status                   adapter rates, counters (overflow: bytes the full line buffer\n"
        "                           lost) and every motor's state\n"
        "  quit                     end the bench\n");
}

QString SimControl::execute(const QString& text) {
    const QStringList w = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w.isEmpty())
        return QString();
    const QString cmd = w[0].toLower();
    SimFaults f = m_adapter->faults();
    bool ok = true;
    auto fraction = [&](int at) {
        const double v = w.value(at).toDouble(&ok);
        ok = ok && v >= 0 && v <= 1;
        return v;
    };
    auto onOff = [&](int at) {
        const QString v = w.value(at).toLower();
        ok = v == QLatin1String("on") || v == QLatin1String("off");
        return v == QLatin1String("on");
    };
    const QString dir = w.value(1).toLower();
    if ((cmd == QLatin1String("drop") || cmd == QLatin1String("corrupt")) &&
        (dir == QLatin1String("rx") || dir == QLatin1String("tx"))) {
        const double v = fraction(2);
        if (!ok)
            return QStringLiteral("error: fraction 0..1 expected");
        const bool rx = dir == QLatin1String("rx");
        (cmd == QLatin1String("drop") ? (rx ? f.dropRx : f.dropTx) : (rx ? f.corruptRx : f.corruptTx)) = v;
    } else if (cmd == QLatin1String("latency")) {
        f.latencyMs = w.value(1).toInt(&ok);
        if (!ok || f.latencyMs < 0 || f.latencyMs > 60000)
            return QStringLiteral("error: milliseconds 0..60000 expected");
    } else if (cmd == QLatin1String("silence") || cmd == QLatin1String("wrongid")) {
        const bool on = onOff(1);
        if (!ok)
            return QStringLiteral("error: on or off expected");
        (cmd == QLatin1String("silence") ? f.silent : f.wrongCanId) = on;
    } else if (cmd == QLatin1String("resend")) {
        f.resendEvery = w.value(1).toInt(&ok);
        if (!ok || f.resendEvery < 0)
            return QStringLiteral("error: packet count expected");
    } else if (cmd == QLatin1String("crlf")) {
        f.crlf = fraction(1);
        if (!ok)
            return QStringLiteral("error: fraction 0..1 expected");
    } else if (cmd == QLatin1String("baud")) {
        const int rate = w.value(1).toInt(&ok);
        if (!ok || rate <= 0)
            return QStringLiteral("error: rate expected");
        m_adapter->setRate(rate);
        return QStringLiteral("ok");
    } else if (cmd == QLatin1String("fault")) {
        SimMotor* m = m_adapter->motorByCanId(w.value(1).toInt());
        const quint32 fault = w.value(2).toUInt(&ok, 0);
        bool okWarn = true;
        const quint32 warn = w.size() > 3 ? w.value(3).toUInt(&okWarn, 0) : 0;
        if (!m || !ok || !okWarn)
            return QStringLiteral("error: fault CANID FAULT [WARN] with a CAN ID on the bus");
        m->raiseFault(fault, warn);
        return QStringLiteral("ok");
    } else if (cmd == QLatin1String("unplug")) {
        if (m_frontEnd)
            m_frontEnd->unplug();
        return QStringLiteral("ok");
    } else if (cmd == QLatin1String("plug")) {
        QString error;
        if (!m_frontEnd || !m_frontEnd->plug(&error))
            return QStringLiteral("error: ") + error;
        return QStringLiteral("ok ") + m_frontEnd->address();
    } else if (cmd == QLatin1String("status")) {
        const auto& c = m_adapter->counters();
        QStringList lines;
        lines << QStringLiteral(
                     "ok rate %1 host %2 in %3 out %4 text %5 dropped %6 corrupted %7 unheard %8 overflow %9")
                     .arg(m_adapter->rate())
                     .arg(m_adapter->hostRate())
                     .arg(c.framesIn)
                     .arg(c.framesOut)
                     .arg(c.textIn)
                     .arg(c.dropped)
                     .arg(c.corrupted)
                     .arg(c.unheard)
                     .arg(m_frontEnd ? m_frontEnd->lost() : 0);
        for (SimMotor* m : m_adapter->motors()) {
            m->advance();
            lines << QStringLiteral("  ") + m->describeState();
        }
        return lines.join(QLatin1Char('\n'));
    } else if (cmd == QLatin1String("help")) {
        return QStringLiteral("ok\n") + helpText();
    } else if (cmd == QLatin1String("quit")) {
        emit quitRequested();
        return QStringLiteral("ok");
    } else {
        return QStringLiteral("error: unknown command %1 (try help)").arg(cmd);
    }
    m_adapter->setFaults(f);
    return QStringLiteral("ok");
}

void SimControl::attachStdin() {
    m_stdin = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    connect(m_stdin.get(), &QSocketNotifier::activated, this, &SimControl::onStdin);
}

void SimControl::drain() {
    if (!m_stdin || !m_stdin->isEnabled())
        return;
    pollfd pfd{STDIN_FILENO, POLLIN, 0};
    while (m_stdin->isEnabled() && ::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLIN | POLLHUP)))
        onStdin();
}

void SimControl::onStdin() {
    // drain() may have read what woke the notifier: a read now would block the whole bench
    // until the next command.
    pollfd pfd{STDIN_FILENO, POLLIN, 0};
    if (::poll(&pfd, 1, 0) <= 0 || !(pfd.revents & (POLLIN | POLLHUP)))
        return;
    char buf[1024];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
        m_stdin->setEnabled(false);
        emit quitRequested();
        return;
    }
    m_line.append(buf, int(n));
    int nl;
    while ((nl = m_line.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_line.left(nl));
        m_line.remove(0, nl + 1);
        const QString reply = execute(line);
        if (!reply.isEmpty())
            emit answer(reply);
    }
    if (m_line.size() > 4096)
        m_line.clear();  // no command is that long
}
