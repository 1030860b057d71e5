#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <atomic>
#include <functional>

#include "link/flows/flowresult.h"
#include "link/flows/linklease.h"
#include "link/linkcommand.h"
#include "link/linkwait.h"

// One multi-step operation of the link addressed by CAN ID (calibrate, move and settle,
// apply and verify parameters, capture, flash...), used alike by the CLI, the window and the
// commissioning runner. A flow holds the link lease for its motor while it runs, reports
// progress, and ends with a typed FlowResult.
//
// run() runs the flow to its end inside a local event loop (frames, statuses and timers go
// on; user input waits unless setAllowInput(true), which a window flow sets so that the E-stop
// stays reachable). start() does the same from the event loop and emits finished().
// Flows live on the port's (GUI) thread.
class Flow : public QObject {
    Q_OBJECT

public:
    // canId: the motor (-1 for a flow over the whole bus).
    explicit Flow(int canId, QObject* parent = nullptr);
    ~Flow() override;

    int canId() const { return m_canId; }
    // Machine name, e.g. "calibrate".
    virtual QString name() const = 0;
    // What the motor is doing while the flow runs, for people: "calibrating".
    virtual QString activity() const = 0;

    // Runs under another flow's lease instead of taking one (the commissioning runner holds
    // one lease for a motor across its steps).
    void runUnder(const LinkLease::Token& lease) { m_parentLease = lease; }
    void setAllowInput(bool allow) { m_allowInput = allow; }
    bool allowsInput() const { return m_allowInput; }

    FlowResult run();
    void start();
    // Ends the flow at its next wait with FlowOutcome::Cancelled.
    void cancel(const QString& reason = QString());
    bool isRunning() const { return m_running; }
    bool isCancelled() const { return m_cancelled.load(); }

signals:
    void progress(const FlowProgress& progress);
    void finished(const FlowResult& result);

protected:
    virtual FlowResult execute() = 0;

    // The lease this flow runs under (valid while execute() runs).
    const LinkLease::Token& lease() const { return m_lease; }
    // LinkWait::until that also ends (Result::Cancelled) on cancel() or a preempted lease.
    LinkWait::Result wait(const std::function<bool()>& done, LinkWait::Options options);
    LinkWait::Result wait(const std::function<bool()>& done, int timeoutMs);
    // True once cancel() was called or the lease was preempted.
    bool cancelled() const;
    QString cancelReason() const;

    FlowResult result(FlowOutcome outcome, const QString& reason = QString(),
                      const QVariantMap& values = QVariantMap()) const;
    // One result for several motors: each motor's values, outcome and reason under "motors" by
    // CAN ID; the flow's outcome and reason are those of the first motor that did not succeed.
    FlowResult combined(const QList<QPair<int, FlowResult>>& perMotor) const;
    // Runs `one` for each motor in turn, stopping when one is cancelled or loses the port, and
    // combines what they returned.
    FlowResult eachMotor(const QList<int>& canIds, const std::function<FlowResult(int)>& one) const;
    // The result that ends a wait that did not finish (time-out, unplug, cancel...).
    FlowResult interrupted(LinkWait::Result waitResult, const QString& timeoutReason) const;
    void report(double fraction, const QString& text, const QVariantMap& values = QVariantMap());
    // Sends a command under this flow's lease and waits for one of the statuses for this
    // motor: Succeeded on `success`, Failed (failReason) on any other of them, TimedOut
    // (failReason) when none came; Refused when the link refused the command.
    FlowResult sendAndWait(const LinkCommand& command, int success, const QList<int>& failures, int timeoutMs,
                           const QString& failReason);

private:
    const int m_canId;
    LinkLease::Token m_parentLease;
    LinkLease::Token m_lease;
    bool m_allowInput = false;
    bool m_running = false;
    std::atomic<bool> m_cancelled{false};
    QString m_cancelReason;
};
