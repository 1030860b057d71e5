// A feature plugged into the link through its registration seam alone: its steps run from the
// rules it declares, its frame type reaches its decoder, chained steps wait for their own
// answers, and a closed link reaches it. No serial port: the test plays the motor.
#include <QtTest>

#include <atomic>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "link/linkfeature.h"
#include "link/otathread.h"
#include "link/serialrecord.h"
#include "linktest.h"

namespace {

// Steps and statuses of the test feature: numbers the core does not use.
enum { kAsk = 40, kFetch = 41, kBatch = 42, kCount = 43, kRetry = 44 };
enum { kAskDone = 200, kFetchDone, kFetchLate, kBatchDone, kRetryGaveUp, kDecoded };
constexpr int kType = 10;
constexpr int kLongPoll = 60000;

QByteArray reply(quint8 tag) {
    CanFrame f;
    f.id = CanFrame::makeId(kType, 0x0001, 0xFD);
    f.length = 8;
    f.data[0] = tag;
    return SerialRecord::fromFrame(f);
}

QByteArray request(int step) {
    CanFrame f;
    f.id = CanFrame::makeId(kType, quint16(step), 0x01);
    f.length = 8;
    return SerialRecord::fromFrame(f);
}

StepRule waiting(int step, int poll, int timeout) {
    StepRule r;
    r.step = step;
    r.logName = QStringLiteral("STEP_TEST_%1,").arg(step);
    r.kind = StepRule::Kind::Wait;
    r.poll = poll;
    r.counted = poll;
    r.timeout = timeout;
    r.start = [step](otaThread& link) { link.sendRaw(request(step)); };
    return r;
}

class TestFeature : public LinkFeature {
public:
    QString name() const override { return QStringLiteral("test"); }
    QVector<StepRule> steps() const override {
        // kAsk: answered by any frame of the type, chains to kFetch. Its poll is far longer
        // than the test waits: only an answer that wakes the loop can conclude it.
        StepRule ask = waiting(kAsk, kLongPoll, kLongPoll * 2);
        ask.answerStatus = kAskDone;
        ask.answerNext = kFetch;
        // kFetch: answered only by tag 2; a short time-out so a missing answer shows.
        StepRule fetch = waiting(kFetch, 20, 400);
        fetch.answerStatus = kFetchDone;
        fetch.timeoutStatus = kFetchLate;
        fetch.isAnswer = [](otaThread&, bool valid, const CanFrame& frame, const QByteArray&) {
            return valid && frame.type() == kType && frame.data[0] == 2;
        };
        // kBatch: stays current for three answers, sending the next request from onAnswer.
        StepRule batch = waiting(kBatch, kLongPoll, kLongPoll * 2);
        batch.onAnswer = [this](otaThread& link) {
            if (++batchAnswers < 3) {
                link.sendRaw(request(kBatch));
                return int(kBatch);
            }
            link.announce(kBatchDone);
            return int(STEP_STOP);
        };
        // kRetry: counts more than it polls, then leaves its time-out to onTimeout and chains
        // to kFetch.
        StepRule retry = waiting(kRetry, 10, 100);
        retry.counted = 30;
        retry.timeoutStatus = 1;
        retry.timeoutNext = kFetch;
        retry.onTimeout = [this](otaThread&, int status) {
            retryDefault = status;
            return int(kRetryGaveUp);
        };
        retry.isAnswer = [](otaThread&, bool, const CanFrame&, const QByteArray&) { return false; };
        StepRule count;
        count.step = kCount;
        count.kind = StepRule::Kind::Pass;
        count.poll = 5;
        count.pass = [this](otaThread&) { return ++passes < passLimit.load(); };
        count.ended = [this](otaThread&) { ++ended; };
        return {ask, fetch, batch, retry, count};
    }
    QVector<int> frameTypes() const override { return {kType}; }
    int decodeFrame(otaThread&, const CanFrame& frame) override {
        ++decoded;
        return frame.data[0] == 9 ? int(kDecoded) : -1;
    }
    void linkClosed(otaThread&) override { ++closed; }

    mutable std::atomic<int> decoded{0};
    mutable std::atomic<int> closed{0};
    mutable std::atomic<int> batchAnswers{0};
    mutable std::atomic<int> retryDefault{0};
    mutable std::atomic<int> passes{0};
    mutable std::atomic<int> passLimit{1000000};
    mutable std::atomic<int> ended{0};
};

}  // namespace

class Collector : public QObject {
    Q_OBJECT
public:
    QList<QByteArray> writes;
    QList<int> statuses;
public slots:
    void onWrite(QByteArray bytes) { writes << bytes; }
    void onState(int status) { statuses << status; }
};

class TestLinkSeam : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void chainedStepWaitsForItsOwnAnswer();
    void stepStaysCurrentAcrossAnswers();
    void timeoutDecidedByFeature();
    void passUntilDone();
    void framesAndClosing();

private:
    bool waitStatus(int status, int timeoutMs = 10000);
    void answer(const QByteArray& bytes) { m_link->getSerialData(bytes); }

    TestFeature m_feature;
    otaThread* m_link = nullptr;
    Collector* m_collector = nullptr;
    std::unique_ptr<linktest::WorkDir> m_dir;
};

void TestLinkSeam::initTestCase() {
    Helper::instance();
    kx::d("config.setting.enable_multiple_devices")->set(nullptr, true);
    m_link = new otaThread;
    m_link->registerFeature(&m_feature);
    m_collector = new Collector;
    connect(m_link, &otaThread::WriteToSerial, m_collector, &Collector::onWrite);
    connect(m_link, &otaThread::sendState, m_collector, &Collector::onState);
    m_link->start();
}

void TestLinkSeam::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_link->startStep(STEP_STOP);
    QCoreApplication::processEvents();
    m_collector->writes.clear();
    m_collector->statuses.clear();
}

void TestLinkSeam::cleanupTestCase() {
    QVERIFY(m_link->quitAndJoin(5000));
    delete m_link;
    delete m_collector;
    QCOMPARE(linktest::affinityWarnings().load(), 0);
}

bool TestLinkSeam::waitStatus(int status, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!m_collector->statuses.contains(status) && !deadline.hasExpired())
        QTest::qWait(5);
    return m_collector->statuses.contains(status);
}

void TestLinkSeam::chainedStepWaitsForItsOwnAnswer() {
    // Answered: the chained step starts (its request goes out) and then needs its own answer.
    m_link->startStep(kAsk);
    QCOMPARE(m_collector->writes, QList<QByteArray>{request(kAsk)});
    answer(reply(1));
    QVERIFY(waitStatus(kAskDone));
    QCOMPARE(m_link->step(), int(kFetch));
    QTRY_COMPARE_WITH_TIMEOUT(m_collector->writes.size(), 2, 5000);
    QCOMPARE(m_collector->writes.last(), request(kFetch));
    answer(reply(1));  // a repeat of the first answer is not this step's
    answer(reply(2));
    QVERIFY(waitStatus(kFetchDone));
    QCOMPARE(m_collector->statuses, (QList<int>{kAskDone, kFetchDone}));
    QCOMPARE(m_link->step(), int(STEP_STOP));

    // Unanswered: the answer that concluded the first step must not conclude the second.
    m_collector->statuses.clear();
    m_link->startStep(kAsk);
    answer(reply(1));
    QVERIFY(waitStatus(kFetchLate));
    QCOMPARE(m_collector->statuses, (QList<int>{kAskDone, kFetchLate}));
}

void TestLinkSeam::stepStaysCurrentAcrossAnswers() {
    m_feature.batchAnswers = 0;
    m_link->startStep(kBatch);
    for (int i = 1; i <= 3; ++i) {
        // Each answer comes after the request it answers: the one sent from onAnswer must be
        // waited for, not concluded by the answer that triggered it.
        QTRY_COMPARE_WITH_TIMEOUT(m_collector->writes.size(), i, 5000);
        QCOMPARE(m_feature.batchAnswers.load(), i - 1);
        QCOMPARE(m_link->step(), int(kBatch));
        answer(reply(7));
    }
    QVERIFY(waitStatus(kBatchDone));
    QCOMPARE(m_feature.batchAnswers.load(), 3);
    QCOMPARE(m_collector->writes.size(), 3);
    QTRY_COMPARE_WITH_TIMEOUT(m_link->step(), int(STEP_STOP), 5000);
}

void TestLinkSeam::timeoutDecidedByFeature() {
    // The feature's status replaces the declared one; the time-out chains to a step that
    // starts (sends its request) and times out on its own.
    m_link->startStep(kRetry);
    QVERIFY(waitStatus(kFetchLate));
    QCOMPARE(m_feature.retryDefault.load(), 1);
    QCOMPARE(m_collector->statuses, (QList<int>{kRetryGaveUp, kFetchLate}));
    QCOMPARE(m_collector->writes, (QList<QByteArray>{request(kRetry), request(kFetch)}));
}

void TestLinkSeam::passUntilDone() {
    m_feature.passes = 0;
    m_feature.ended = 0;
    m_feature.passLimit = 4;
    m_link->startStep(kCount);
    QTRY_COMPARE_WITH_TIMEOUT(m_link->step(), int(STEP_STOP), 5000);
    QCOMPARE(m_feature.passes.load(), 4);
    QCOMPARE(m_feature.ended.load(), 1);
    QVERIFY(m_collector->statuses.isEmpty());

    // Replaced by another step, a pass step ends without its end action.
    m_feature.passLimit = 1000000;
    m_link->startStep(kCount);
    QTRY_VERIFY_WITH_TIMEOUT(m_feature.passes.load() > 6, 5000);
    m_link->startStep(STEP_STOP);
    QTest::qWait(50);
    QCOMPARE(m_feature.ended.load(), 1);
}

void TestLinkSeam::framesAndClosing() {
    const int before = m_feature.decoded.load();
    answer(reply(9) + reply(3));
    QCOMPARE(m_feature.decoded.load(), before + 2);
    QCOMPARE(m_collector->statuses, QList<int>{kDecoded});
    // A frame of a core type never reaches the feature.
    CanFrame feedback;
    feedback.id = (2u << 24) | (2u << 22) | (1u << 8) | 0xFD;
    feedback.length = 8;
    answer(SerialRecord::fromFrame(feedback));
    QCOMPARE(m_feature.decoded.load(), before + 2);

    m_link->startStep(kAsk);
    m_link->resetLink();
    QCOMPARE(m_feature.closed.load(), 1);
    QCOMPARE(m_link->step(), int(STEP_STOP));
}

LINK_TEST_MAIN(TestLinkSeam)
#include "tst_linkseam.moc"
