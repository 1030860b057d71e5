#pragma once

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

// The link is held by one multi-step flow at a time: the step machine follows one request at
// a time, so a click in the window or the automatic parameter upload must not replace a
// flow's step and turn it into a time-out. A conflicting request is refused with a message
// naming the motor and what it is doing ("motor 3 is busy: calibrating"). The emergency stop
// is never refused: it preempts the lease, and the flow holding it ends as cancelled.
//
// Used on the port's (GUI) thread; the state is guarded by a mutex so that a query from the
// link thread is safe as well.
class LinkLease {
public:
    // The lease of one flow; released when the last copy goes.
    class Token {
    public:
        Token() = default;
        bool isValid() const { return bool(m_state); }
        int canId() const;
        QString activity() const;
        // The lease was preempted (E-stop) or revoked; the flow stops at its next wait.
        bool preempted() const;
        QString preemptReason() const;
        // A flow that runs under another's lease names what it does now.
        void setActivity(const QString& activity) const;

        struct State;

    private:
        friend class LinkLease;
        std::shared_ptr<State> m_state;
    };

    // Takes the link for canId (-1: the whole bus). Refused with *refusal when another lease
    // is held.
    static Token acquire(int canId, const QString& activity, QString* refusal);
    // Whether a request may go out now. holder is the lease the request runs under (an invalid
    // token for requests from the window). startsStep: the request replaces the current step.
    // A request that would disturb the holder is refused with *refusal.
    static bool admits(int canId, bool startsStep, const Token& holder, QString* refusal);
    // The emergency stop: the holder (if any) is told to stop; the lease stays until the flow
    // releases it, but admits() lets everything through from now on.
    static void preempt(const QString& reason);
    // Whether a lease is held, and by what.
    static bool busy(int* canId = nullptr, QString* activity = nullptr);
    // "motor 3 is busy: calibrating".
    static QString busyMessage(int canId, const QString& activity);

private:
    static void release(Token::State* state);
};
