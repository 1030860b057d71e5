#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <QVector>

#include <functional>
#include <optional>

#include "link/linkcommand.h"

// One link command of a send action, built when it is sent (a continuous stream follows the
// set-points as the user moves them), and the pause before the next write.
struct SendStep {
    std::function<LinkCommand()> command;
    int pauseAfterMs = 0;
};
using SendAction = QVector<SendStep>;

// Runs the sidebar's send actions: the writes of an action with their pauses, once or again
// and again. Pauses are timer shots, not nested event loops, so nothing else runs "inside" an
// action; an action started while another is still in its pauses waits for its end, and
// repeated rounds start no sooner than a period after the previous one began.
class SendLoop : public QObject {
    Q_OBJECT

public:
    // Sends one step; false when the link refused it (the loop then stops).
    using Sender = std::function<bool(const SendStep&)>;

    explicit SendLoop(QObject* parent = nullptr);

    void setSender(Sender sender) { m_sender = std::move(sender); }
    // Sends the first write at once when idle; otherwise after the present action's pauses.
    void start(const SendAction& action, bool repeat, int periodMs);
    // Ends repetition and drops the present action's remaining writes and any waiting one.
    void stop();

    bool isBusy() const { return m_index >= 0; }
    bool isRepeating() const { return isBusy() && m_repeat; }
    int rounds() const { return m_rounds; }
    // True from the second round of a repeating action on: its writes are no news to log.
    bool repeatedRound() const { return m_actionRounds > 1; }

signals:
    // The link refused a write; the loop has stopped.
    void refused(const QString& command);

private:
    struct Pending {
        SendAction action;
        bool repeat = false;
        int periodMs = 0;
    };
    void onShot();

    Sender m_sender;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_actionRounds = 0;  // rounds of the present action so far
    qint64 m_due = 0;        // when the present round was due, on m_clock
    SendAction m_action;
    bool m_repeat = false;
    int m_periodMs = 0;
    int m_index = -1;  // next write of the action; -1 when idle
    int m_rounds = 0;
    std::optional<Pending> m_pending;
};
