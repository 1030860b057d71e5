#include "link/flows/linklease.h"

#include <QCoreApplication>

struct LinkLease::Token::State {
    int canId = -1;
    QString activity;        // guarded by g_mutex
    bool preempted = false;  // guarded by g_mutex
    QString preemptReason;   // guarded by g_mutex
    ~State() { LinkLease::release(this); }
};

namespace {

std::mutex g_mutex;
// The holder's state; a plain pointer because the holder's tokens own it (their last copy
// releases the lease). Guarded by g_mutex.
LinkLease::Token::State* g_holder = nullptr;

}  // namespace

int LinkLease::Token::canId() const {
    return m_state ? m_state->canId : -1;
}

QString LinkLease::Token::activity() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    return m_state ? m_state->activity : QString();
}

bool LinkLease::Token::preempted() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    return m_state && m_state->preempted;
}

QString LinkLease::Token::preemptReason() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    return m_state ? m_state->preemptReason : QString();
}

void LinkLease::Token::setActivity(const QString& activity) const {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (m_state)
        m_state->activity = activity;
}

LinkLease::Token LinkLease::acquire(int canId, const QString& activity, QString* refusal) {
    Token token;
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_holder) {
        if (refusal)
            *refusal = busyMessage(g_holder->canId, g_holder->activity);
        return token;
    }
    token.m_state = std::make_shared<Token::State>();
    token.m_state->canId = canId;
    token.m_state->activity = activity;
    g_holder = token.m_state.get();
    return token;
}

void LinkLease::release(Token::State* state) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_holder == state)
        g_holder = nullptr;
}

bool LinkLease::admits(int canId, bool startsStep, const Token& holder, QString* refusal) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_holder || g_holder->preempted || holder.m_state.get() == g_holder)
        return true;
    // A single frame to another motor leaves the holder's step alone; anything that starts a
    // step (there is one step machine for the bus) or talks to the held motor would not.
    const bool sameMotor = g_holder->canId < 0 || canId < 0 || g_holder->canId == canId;
    if (!startsStep && !sameMotor)
        return true;
    if (refusal)
        *refusal = busyMessage(g_holder->canId, g_holder->activity);
    return false;
}

void LinkLease::preempt(const QString& reason) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_holder)
        return;
    g_holder->preempted = true;
    g_holder->preemptReason = reason;
}

bool LinkLease::busy(int* canId, QString* activity) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_holder || g_holder->preempted)
        return false;
    if (canId)
        *canId = g_holder->canId;
    if (activity)
        *activity = g_holder->activity;
    return true;
}

QString LinkLease::busyMessage(int canId, const QString& activity) {
    if (canId < 0)
        return QCoreApplication::translate("LinkLease", "the bus is busy: %1").arg(activity);
    return QCoreApplication::translate("LinkLease", "motor %1 is busy: %2").arg(canId).arg(activity);
}
