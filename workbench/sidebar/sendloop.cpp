#include "workbench/sidebar/sendloop.h"

SendLoop::SendLoop(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SendLoop::onShot);
}

void SendLoop::start(const SendAction& action, bool repeat, int periodMs) {
    if (action.isEmpty())
        return;
    if (isBusy()) {
        m_pending = Pending{action, repeat, periodMs};
        // A single round in progress ends on its own; a repeating one gives way after it.
        m_repeat = false;
        return;
    }
    m_action = action;
    m_repeat = repeat;
    m_periodMs = periodMs;
    m_index = 0;
    m_actionRounds = 0;
    m_clock.start();
    m_due = 0;
    onShot();
}

void SendLoop::stop() {
    m_timer.stop();
    m_index = -1;
    m_repeat = false;
    m_pending.reset();
}

void SendLoop::onShot() {
    if (m_index < 0)
        return;
    if (m_index >= m_action.size()) {
        // The previous round is over, its last pause included.
        if (m_pending) {
            m_action = m_pending->action;
            m_repeat = m_pending->repeat;
            m_periodMs = m_pending->periodMs;
            m_pending.reset();
            m_actionRounds = 0;
        } else if (!m_repeat) {
            m_index = -1;
            return;
        }
        m_index = 0;
    }
    if (m_index == 0) {
        // Rounds are due a period apart on one clock, so a late shot does not push every
        // later round back; one that fell behind by more than a period starts afresh
        // instead of sending a burst to catch up.
        const qint64 now = m_clock.elapsed();
        if (now - m_due > m_periodMs)
            m_due = now;
        ++m_rounds;
        ++m_actionRounds;
    }
    const SendStep step = m_action.at(m_index++);
    if (m_sender && !m_sender(step)) {
        stop();
        emit refused(step.command ? step.command().name() : QString());
        return;
    }
    // The sender may have stopped the loop (a status reaction); nothing more then.
    if (m_index < 0)
        return;
    qint64 wait = step.pauseAfterMs;
    if (m_index >= m_action.size()) {
        if (m_repeat) {
            m_due += m_periodMs;
            wait = qMax(wait, m_due - m_clock.elapsed());
        }
        if (wait <= 0 && !m_repeat && !m_pending) {
            m_index = -1;
            return;
        }
    }
    m_timer.start(int(qMax<qint64>(0, wait)));
}
