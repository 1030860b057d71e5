#include "sim/simpty.h"

#include "sim/ptyspeed.h"
#include "sim/simadapter.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int kRatePollMs = 20;
constexpr int kPaceMs = 2;
}  // namespace

SimPty::SimPty(SimAdapter* adapter, bool pacing, QObject* parent)
    : SimFrontEnd(parent), m_adapter(adapter), m_pacing(pacing) {
    connect(adapter, &SimAdapter::bytesOut, this, &SimPty::queue);
    connect(&m_rateTimer, &QTimer::timeout, this, &SimPty::onRateTimer);
    m_paceTimer.setSingleShot(true);
    m_paceTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_paceTimer, &QTimer::timeout, this, &SimPty::pump);
}

SimPty::~SimPty() {
    unplug();
    removeLink();
}

bool SimPty::plug(QString* error) {
    if (plugged())
        return true;
    int master = -1, slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Raw at once, before the host opens it, or early bytes get echoed and mangled.
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    m_master = master;
    m_slave = slave;
    m_path = QString::fromLocal8Bit(name);
    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &SimPty::onReadable);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &SimPty::onWritable);
    m_rateTimer.start(kRatePollMs);
    onRateTimer();
    m_paceClock.start();
    m_paceNs = 0;
    m_credit = 0;
    m_lineIdle = true;
    emit pathChanged(m_path);
    return updateLink(error);
}

void SimPty::unplug() {
    if (!plugged())
        return;
    m_rateTimer.stop();
    m_paceTimer.stop();
    m_readNotifier.reset();
    m_writeNotifier.reset();
    ::close(m_master);
    ::close(m_slave);
    m_master = m_slave = -1;
    m_lost += m_pending.size() - m_pendingPos;
    m_pending.clear();
    m_pendingPos = 0;
}

bool SimPty::updateLink(QString* error) {
    if (m_link.isEmpty())
        return true;
    QFile::remove(m_link);
    if (!QFile::link(m_path, m_link)) {
        *error = tr("cannot create the link %1").arg(m_link);
        return false;
    }
    return true;
}

void SimPty::removeLink() {
    if (!m_link.isEmpty() && QFileInfo(m_link).isSymLink())
        QFile::remove(m_link);
}

void SimPty::onRateTimer() {
    if (m_slave >= 0)
        m_adapter->setHostRate(ptyLineSpeed(m_slave));
}

void SimPty::onReadable() {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            beforeRead();
            if (!plugged())
                return;
            onRateTimer();  // the host may have just changed its rate
            m_adapter->feed(QByteArray(buf, int(n)));
            if (!plugged())
                return;  // a control command may unplug while the bytes are handled
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return;  // EAGAIN: all read; EIO cannot occur while our own slave descriptor is open
    }
}

void SimPty::queue(const QByteArray& bytes) {
    if (!plugged()) {
        m_lost += bytes.size();
        return;
    }
    if (m_pending.size() - m_pendingPos + bytes.size() > kMaxPending) {
        m_lost += bytes.size();
        return;
    }
    if (m_pendingPos > 0 && m_pendingPos == m_pending.size()) {
        m_pending.resize(0);
        m_pendingPos = 0;
    }
    m_pending.append(bytes);
    if (!m_paceTimer.isActive() && !(m_writeNotifier && m_writeNotifier->isEnabled()))
        pump();
}

void SimPty::onWritable() {
    m_writeNotifier->setEnabled(false);
    pump();
}

double SimPty::idleCredit() const {
    return std::max(64.0, m_adapter->rate() / 10.0 / 1000.0 * 4 * kPaceMs);
}

void SimPty::pump() {
    if (!plugged())
        return;
    int allowed = m_pending.size() - m_pendingPos;
    if (m_pacing) {
        // Credit is counted in nanoseconds: a millisecond clock restarted on every call drops the
        // fraction each time and made the line some ten percent slower than its rate.
        const qint64 now = m_paceClock.nsecsElapsed();
        const double perNs = m_adapter->rate() / 10.0 / 1e9;
        m_credit += double(now - m_paceNs) * perNs;
        m_paceNs = now;
        // A busy line keeps sending while the bench is late; only an idle one banks no more
        // than its small hardware buffer.
        if (m_lineIdle)
            m_credit = std::min(m_credit, idleCredit());
        allowed = int(std::min(m_credit, double(allowed)));
    }
    if (allowed > 0) {
        const ssize_t n = ::write(m_master, m_pending.constData() + m_pendingPos, size_t(allowed));
        if (n > 0) {
            m_pendingPos += int(n);
            m_credit -= double(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            m_lost += m_pending.size() - m_pendingPos;
            m_pendingPos = m_pending.size();
        }
        if (n < allowed && n >= -1 && (n >= 0 || errno == EAGAIN)) {
            // The host is not reading: wait until the pty takes bytes again.
            m_lineIdle = false;
            m_writeNotifier->setEnabled(true);
            return;
        }
    }
    m_lineIdle = m_pendingPos >= m_pending.size();
    if (m_lineIdle) {
        m_pending.resize(0);
        m_pendingPos = 0;
        return;
    }
    if (m_pendingPos > 64 * 1024) {
        m_pending.remove(0, m_pendingPos);
        m_pendingPos = 0;
    }
    m_paceTimer.start(kPaceMs);
}
