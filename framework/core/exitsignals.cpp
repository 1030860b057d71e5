#include "framework/core/exitsignals.h"

#include "framework/log/qflog.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The handler may only do async-signal-safe work: it writes the signal number into a
// socket that the event loop watches.
int g_pipe[2] = {-1, -1};

void onPosixSignal(int signal) {
    const char byte = static_cast<char>(signal);
    if (g_pipe[0] >= 0) [[maybe_unused]]
        ssize_t n = ::write(g_pipe[0], &byte, 1);
}
}  // namespace

ExitSignals::ExitSignals(QObject* parent) : QObject(parent) {
    if (g_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) {
        kx::logW() << "SIGINT/SIGTERM are not watched";
        return;
    }
    ::fcntl(g_pipe[0], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { onSignalReadable(); });

    struct sigaction action = {};
    action.sa_handler = onPosixSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

ExitSignals::~ExitSignals() {
    if (!m_notifier)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void ExitSignals::onSignalReadable() {
    char byte = 0;
    if (::read(g_pipe[1], &byte, 1) == 1) {
        kx::logI() << QStringLiteral("signal %1 received, shutting down").arg(int(byte));
        emit exitRequested(int(byte));
    }
}
