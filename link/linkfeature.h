#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <functional>

#include "link/canframe.h"

class otaThread;

// How one step of the link thread behaves while it is current. A feature (parameter table,
// firmware, scope) declares the steps it owns with these; the core keeps the scan, the AT flow
// and the maintenance steps in the same form. Timings are in milliseconds.
//
// Threads: `start` runs on the thread that starts the step (the link thread when an answer or
// a time-out chains to it); `isAnswer` and the feature's frame decoding run on the receive
// path (the port's thread); `onAnswer`, `onTimeout`, `pass` and `ended` run on the link
// thread. A feature guards its own state accordingly.
struct StepRule {
    enum class Kind {
        Idle,  // nothing runs while it is current (the loop blocks)
        Wait,  // request sent by `start`, then polled until answered or timed out
        Pass,  // `pass` is called every `poll` ms until it returns false
    };

    static constexpr int kNoStatus = -1;

    using Action = std::function<void(otaThread& link)>;
    using AnswerTest =
        std::function<bool(otaThread& link, bool valid, const CanFrame& frame, const QByteArray& record)>;
    using AnswerChoice = std::function<int(otaThread& link)>;
    using TimeoutChoice = std::function<int(otaThread& link, int defaultStatus)>;
    using PassAction = std::function<bool(otaThread& link)>;

    int step = 0;     // the step number (canComStep)
    QString logName;  // name in the debug step log, e.g. "STEP_READ_PARA_STR,"
    Kind kind = Kind::Wait;
    int poll = 0;                  // interval between passes
    int counted = 0;               // time counted towards the time-out per pass
    int timeout = 0;               // the step times out once more than this was counted
    int answerStatus = kNoStatus;  // status announced on an answer; none: `onAnswer` decides
    int answerNext = 0;            // step that becomes current after an answer
    int timeoutStatus = kNoStatus;
    int timeoutNext = 0;

    // Sends the step's request. The step is current before this runs, so a fast answer is
    // never missed. Runs when the step is started and when an answer or a time-out chains to
    // it (not when the exchange ends in STEP_STOP).
    Action start;
    // Whether a received record answers this step (frame is valid when the record held one).
    // Without it, a frame of one of the feature's types answers the step. An answer wakes the
    // loop at once: the step concludes without waiting for its next poll.
    AnswerTest isAnswer;
    // For steps with answerStatus < 0: the step to go on with after an answer (without it:
    // answerNext, no status). Returning the same step keeps it current and waiting for its
    // next answer; the answer flag and elapsed time are cleared before this runs, so a request
    // it sends may be answered at once. Returning another step chains to it.
    AnswerChoice onAnswer;
    // The status announced on a time-out; gets timeoutStatus.
    TimeoutChoice onTimeout;
    // Kind::Pass: one pass; false ends the step (to STEP_STOP, no status).
    PassAction pass;
    // Kind::Pass: called once after `pass` ended the step (not when another step replaced it).
    Action ended;

    // A rule is written as one chain, e.g.
    //     StepRule::waiting(STEP_X, "STEP_X,").poll(50).timeout(1000)
    //         .onAnswer(OTA_STA_X_DONE, STEP_STOP).onTimeout(OTA_STA_X_LATE, STEP_STOP).start(send)
    // and converts to a StepRule wherever one is expected. Anything not named keeps the
    // defaults above (no status, STEP_STOP next).
    class Builder;
    static Builder waiting(int step, const QString& logName);
    static Builder passing(int step, const QString& logName);
    static Builder idle(int step, const QString& logName);
};

class StepRule::Builder {
public:
    Builder(int step, const QString& logName, Kind kind) {
        m_rule.step = step;
        m_rule.logName = logName;
        m_rule.kind = kind;
    }

    // Passes every `ms`, each counting `ms` towards the time-out unless counting() differs.
    Builder& poll(int ms) {
        m_rule.poll = ms;
        m_rule.counted = ms;
        return *this;
    }
    // Time counted towards the time-out per pass, when it is not the poll interval.
    Builder& counting(int ms) {
        m_rule.counted = ms;
        return *this;
    }
    Builder& timeout(int ms) {
        m_rule.timeout = ms;
        return *this;
    }
    Builder& onAnswer(int status, int next) {
        m_rule.answerStatus = status;
        m_rule.answerNext = next;
        return *this;
    }
    // The answer's status is left to `choose` (see StepRule::onAnswer).
    Builder& onAnswer(AnswerChoice choose) {
        m_rule.onAnswer = std::move(choose);
        return *this;
    }
    Builder& onTimeout(int status, int next) {
        m_rule.timeoutStatus = status;
        m_rule.timeoutNext = next;
        return *this;
    }
    Builder& onTimeout(TimeoutChoice choose) {
        m_rule.onTimeout = std::move(choose);
        return *this;
    }
    Builder& start(Action start) {
        m_rule.start = std::move(start);
        return *this;
    }
    Builder& answeredBy(AnswerTest test) {
        m_rule.isAnswer = std::move(test);
        return *this;
    }
    Builder& pass(PassAction pass) {
        m_rule.pass = std::move(pass);
        return *this;
    }
    Builder& ended(Action ended) {
        m_rule.ended = std::move(ended);
        return *this;
    }

    operator StepRule() const { return m_rule; }

private:
    StepRule m_rule;
};

inline StepRule::Builder StepRule::waiting(int step, const QString& logName) {
    return Builder(step, logName, Kind::Wait);
}

inline StepRule::Builder StepRule::passing(int step, const QString& logName) {
    return Builder(step, logName, Kind::Pass);
}

inline StepRule::Builder StepRule::idle(int step, const QString& logName) {
    return Builder(step, logName, Kind::Idle);
}

// A link feature: one folder of classes that registers its steps and frame types with the
// link thread (otaThread::registerFeature) and decodes its frames. Adding a feature never
// edits the core; removing it is deleting its folder and its registration line.
class LinkFeature {
public:
    virtual ~LinkFeature() = default;

    virtual QString name() const = 0;
    virtual QVector<StepRule> steps() const = 0;
    // Communication types whose valid frames this feature decodes.
    virtual QVector<int> frameTypes() const = 0;
    // Decodes a valid frame of one of its types on the receive path; returns the status to
    // announce or -1.
    virtual int decodeFrame(otaThread& link, const CanFrame& frame) = 0;
    // The port closed or the link was reset: end whatever transfer is under way. Called on the
    // port's thread after the step machine went idle.
    virtual void linkClosed(otaThread& link) { (void)link; }
};

// The feature of type Feature among a link's registered features (otaThread::features()), or
// null.
template <class Feature>
Feature* findLinkFeature(const QVector<LinkFeature*>& features) {
    for (LinkFeature* f : features) {
        if (auto* feature = dynamic_cast<Feature*>(f))
            return feature;
    }
    return nullptr;
}
