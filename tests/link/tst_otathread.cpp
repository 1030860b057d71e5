// The step machine on its own thread: answers, time-outs, the AT configuration sequence, the
// scan order, announcements and the receive path. No serial port: the test plays the adapter
// by reading WriteToSerial and feeding getSerialData.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "link/motorframes.h"
#include "link/motormodel.h"
#include "link/otathread.h"
#include "link/serialrecord.h"
#include "linktest.h"

namespace {

QByteArray record(quint32 id, const QByteArray& data) {
    CanFrame f;
    f.id = id;
    f.length = quint8(data.size());
    for (int i = 0; i < data.size(); ++i)
        f.data[i] = quint8(data[i]);
    return SerialRecord::fromFrame(f);
}

QByteArray announce(quint64 mcu, quint8 canId) {
    QByteArray data;
    for (int i = 0; i < 8; ++i)
        data.append(char(mcu >> (8 * i)));
    return record(CanFrame::makeId(0, canId, 0xFE), data);
}

QByteArray feedback(quint8 canId, int mode) {
    return record((2u << 24) | (quint32(mode) << 22) | (quint32(canId) << 8) | 0xFD,
                  QByteArray::fromHex("7fff7fff7fff0000"));
}

}  // namespace

// Lives on the test thread: everything the link writes or announces arrives here in order.
class Collector : public QObject {
    Q_OBJECT
public:
    QList<QByteArray> writes;
    QList<int> statuses;
public slots:
    void onWrite(QByteArray bytes) { writes << bytes; }
    void onState(int status) { statuses << status; }
};

class TestOtaThread : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void probeAnsweredAtOnce();
    void timeouts_data();
    void timeouts();
    void configurationSequence_data();
    void configurationSequence();
    void scanOrder();
    void stepAnswers_data();
    void stepAnswers();
    void newStepAbandonsOld();
    void announcements();
    void singleDeviceStopsAtFirstMotor();
    void modelReplyOnlySetsRanges();
    void debugStepLog();

private:
    bool waitStatus(int status, int timeoutMs = 10000);
    void answer(const QByteArray& bytes) { m_link->getSerialData(bytes); }

    otaThread* m_link = nullptr;
    Collector* m_collector = nullptr;
    std::unique_ptr<linktest::WorkDir> m_dir;
};

void TestOtaThread::initTestCase() {
    Helper::instance();
    m_link = new otaThread;
    m_collector = new Collector;
    connect(m_link, &otaThread::WriteToSerial, m_collector, &Collector::onWrite);
    connect(m_link, &otaThread::sendState, m_collector, &Collector::onState);
    m_link->start();
}

void TestOtaThread::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_link->startStep(STEP_STOP);
    QCoreApplication::processEvents();
    m_collector->writes.clear();
    m_collector->statuses.clear();
    kx::d("config.setting.enable_multiple_devices")->set(nullptr, false);
}

void TestOtaThread::cleanup() {
    m_link->startStep(STEP_STOP);
    QCOMPARE(linktest::affinityWarnings().load(), 0);
}

void TestOtaThread::cleanupTestCase() {
    QVERIFY(m_link->quitAndJoin(5000));
    delete m_link;
    delete m_collector;
}

bool TestOtaThread::waitStatus(int status, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!m_collector->statuses.contains(status) && !deadline.hasExpired())
        QTest::qWait(5);
    return m_collector->statuses.contains(status);
}

void TestOtaThread::probeAnsweredAtOnce() {
    QElapsedTimer timer;
    timer.start();
    m_link->startStep(STEP_INIT);
    QCOMPARE(m_collector->writes.value(0), QByteArray("AT+AT\r\n"));
    answer("OK\r\n");
    QVERIFY(waitStatus(OTA_STA_CONNECT_SUCCESS));
    // Concluded by the answer on the next pass (about 20 ms); the bound is loose for loaded
    // and sanitizer builds, the status list below is the real check.
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(m_link->step(), int(STEP_STOP));
    QCOMPARE(m_collector->statuses, QList<int>{OTA_STA_CONNECT_SUCCESS});
}

void TestOtaThread::timeouts_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("timeoutMs");
    QTest::newRow("probe") << int(STEP_INIT) << int(OTA_STA_CONNECT_OVER_TIME) << 500;
    QTest::newRow("enter configuration") << int(STEP_INCONFIG) << int(OTA_STA_INCONFIG_OVER_TIME) << 200;
    QTest::newRow("configuration command") << int(STEP_CONFIG) << int(OTA_STA_CONFIG_OVER_TIME) << 500;
    QTest::newRow("set can id") << int(STEP_SET_CAN_ID) << int(OTA_STA_SET_ID_OVER_TIME) << 2000;
    QTest::newRow("brake mode") << int(STEP_SET_BRAKE_MODE) << int(OTA_STA_BRAKE_MODE_OVER_TIME) << 2000;
}

void TestOtaThread::timeouts() {
    QFETCH(int, step);
    QFETCH(int, status);
    QFETCH(int, timeoutMs);
    QElapsedTimer timer;
    timer.start();
    m_link->startStep(step);
    QVERIFY(waitStatus(status, timeoutMs + 10000));
    QVERIFY2(timer.elapsed() >= timeoutMs, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(m_collector->statuses, QList<int>{status});
    QCOMPARE(m_link->step(), int(STEP_STOP));
}

void TestOtaThread::configurationSequence_data() {
    QTest::addColumn<int>("answered");
    QTest::newRow("all five answered") << 5;
    QTest::newRow("third unanswered") << 2;
}

void TestOtaThread::configurationSequence() {
    QFETCH(int, answered);
    m_link->startStep(STEP_INCONFIG);  // resets the command index
    QCOMPARE(m_collector->writes.value(0), QByteArray("AT+CG\r\n"));
    answer("OK\r\n");
    QVERIFY(waitStatus(OTA_STA_INCONFIG_SUCCESS));
    m_collector->writes.clear();
    m_link->startStep(STEP_CONFIG);
    const QList<QByteArray> expected = {"AT+CAN_MODE=0\r\n", "AT+CAN_FRAMEFORMAT=1,0,1,0\r\n",
                                        "AT+CAN_FILTER0=1,0,0,0\r\n", "AT+CAN_BAUD=1000000\r\n",
                                        "AT+USART_PARAM=921600,0,0,0\r\n"};
    for (int i = 0; i < answered; ++i) {
        QTRY_COMPARE_WITH_TIMEOUT(m_collector->writes.size(), i + 1, 5000);
        QCOMPARE(m_collector->writes[i], expected[i]);
        answer("\r\nOK\r\n");
    }
    if (answered == 5) {
        QVERIFY(waitStatus(OTA_STA_CONFIG_SUCCESS));
    } else {
        QVERIFY(waitStatus(OTA_STA_CONFIG_OVER_TIME));
        QCOMPARE(m_collector->writes.size(), answered + 1);
    }
    QCOMPARE(m_collector->statuses.size(), 2);
}

void TestOtaThread::scanOrder() {
    QList<int> expected;
    for (int i = 0; i < 16; ++i)
        expected << (i == 0 ? 1 : i * 8);
    for (int g = 1; g <= 7; ++g)
        for (int i = 0; i < 16; ++i)
            expected << g + i * 8;
    for (int i = 1; i < 16; ++i)
        expected << i * 8;
    QSignalSpy finished(m_link, &otaThread::scanFinished);
    m_link->startStep(STEP_GET_DEV_INFO);
    QVERIFY(finished.wait(20000));
    QTRY_COMPARE_WITH_TIMEOUT(m_collector->writes.size(), expected.size(), 5000);
    QList<int> probed;
    for (const QByteArray& bytes : m_collector->writes) {
        CanFrame f;
        QVERIFY(SerialRecord::toFrame(bytes, &f));
        QCOMPARE(int(f.type()), 0);
        QCOMPARE(int(f.length), 1);
        probed << f.destination();
    }
    QCOMPARE(probed, expected);
    QVERIFY(!probed.contains(0));
    QVERIFY(m_collector->statuses.isEmpty());
}

void TestOtaThread::stepAnswers_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("status");
    QTest::newRow("motor mode") << int(STEP_SET_MOTOR_MODE) << feedback(1, 2)
                                << int(OTA_STA_MOTOR_MODE_SUCCESS);
    QTest::newRow("motor mode, wrong state")
        << int(STEP_SET_MOTOR_MODE) << feedback(1, 0) << int(OTA_STA_MOTOR_MODE_OVER_TIME);
    QTest::newRow("reset mode") << int(STEP_SET_RST_MODE) << feedback(1, 0) << int(OTA_STA_RST_MODE_SUCCESS);
    QTest::newRow("brake mode") << int(STEP_SET_BRAKE_MODE) << feedback(1, 3)
                                << int(OTA_STA_BRAKE_MODE_SUCCESS);
    QTest::newRow("calibration mode")
        << int(STEP_SET_CALI_ENCODER_MODE) << feedback(1, 1) << int(OTA_STA_CALI_MODE_SUCCESS);
    QTest::newRow("zero, any state") << int(STEP_SET_ZERO_MECH_MODE) << feedback(1, 3)
                                     << int(OTA_STA_ZERO_MODE_SUCCESS);
    QTest::newRow("feedback not to the host")
        << int(STEP_SET_MOTOR_MODE) << record((2u << 24) | (2u << 22) | 0x0105, QByteArray(8, '\0'))
        << int(OTA_STA_MOTOR_MODE_OVER_TIME);
    QTest::newRow("can id: type 0 of any destination")
        << int(STEP_SET_CAN_ID) << record(CanFrame::makeId(0, 0x0105, 0x33), QByteArray(8, '\0'))
        << int(OTA_STA_SET_ID_SUCCESS);
    QTest::newRow("OK line does not answer a mode step")
        << int(STEP_SET_RST_MODE) << QByteArray("OK\r\n") << int(OTA_STA_RST_MODE_OVER_TIME);
}

void TestOtaThread::stepAnswers() {
    QFETCH(int, step);
    QFETCH(QByteArray, reply);
    QFETCH(int, status);
    kx::d("config.setting.enable_multiple_devices")->set(nullptr, true);  // no model query
    m_link->startStep(step);
    answer(reply);
    QVERIFY(waitStatus(status, 12000));
    QVERIFY(m_collector->statuses.endsWith(status));
}

void TestOtaThread::newStepAbandonsOld() {
    m_link->startStep(STEP_SET_MOTOR_MODE);
    m_link->startStep(STEP_SET_BRAKE_MODE);
    QVERIFY(waitStatus(OTA_STA_BRAKE_MODE_OVER_TIME));
    QCOMPARE(m_collector->statuses, QList<int>{OTA_STA_BRAKE_MODE_OVER_TIME});
    QCOMPARE(m_collector->writes.size(), 2);
}

void TestOtaThread::announcements() {
    kx::d("config.setting.enable_multiple_devices")->set(nullptr, true);
    m_link->resetDeviceCount();
    m_link->takeTableChanged();
    QByteArray stream;
    for (int i = 1; i <= 16; ++i)
        stream += announce(0xA000 + i, quint8(i));
    answer(stream);
    QCOMPARE(m_link->deviceCount(), otaThread::kMaxDevices);
    QVERIFY(m_link->takeTableChanged());
    QCOMPARE(m_collector->statuses.count(OTA_STA_DETECT_MCU), 16);
    QCOMPARE(m_link->deviceTable().last().mcuId, quint64(0xA000 + 14));

    // The same motor again: nothing changes; under a new CAN ID: the entry follows.
    answer(announce(0xA003, 3));
    QVERIFY(!m_link->takeTableChanged());
    answer(announce(0xA003, 0x85));
    QVERIFY(m_link->takeTableChanged());
    QCOMPARE(int(m_link->deviceEntry(2).canId), 5);
    QCOMPARE(m_link->deviceCount(), otaThread::kMaxDevices);
    QCOMPARE(int(m_link->lastAnnounced().canId), 5);

    // A type-0 frame to anyone but the announce destination is reported, not registered.
    m_collector->statuses.clear();
    answer(record(CanFrame::makeId(0, 0x0107, 0xFD), QByteArray(8, '\0')));
    QVERIFY(m_collector->statuses.isEmpty());
    QCOMPARE(kx::d("wnd.status.msg")->getString(),
             QStringLiteral("<ERROR> Invalid announce package (ex data: 263, ex id: 253)!"));
}

void TestOtaThread::singleDeviceStopsAtFirstMotor() {
    m_link->startStep(STEP_GET_DEV_INFO);
    QTRY_VERIFY_WITH_TIMEOUT(!m_collector->writes.isEmpty(), 5000);
    answer(announce(0xBEEF, 9));
    QCOMPARE(m_link->step(), int(STEP_MODEL_QUERY));
    QCOMPARE(m_collector->statuses, QList<int>{OTA_STA_DETECT_MCU});
    CanFrame query;
    QVERIFY(SerialRecord::toFrame(m_collector->writes.last(), &query));
    QCOMPARE(QString::number(query.id, 16), QStringLiteral("400fd09"));
    QCOMPARE(int(query.data[1]), 0xC4);
}

void TestOtaThread::modelReplyOnlySetsRanges() {
    MotorModel::reset();
    answer(feedback(4, 2));
    const auto before = m_link->values();
    QCOMPARE(before.positionRaw, 0x7FFF);
    answer(record((2u << 24) | (0x04u << 8) | 0xFD, QByteArray::fromHex("00c4123404010000")));
    QVERIFY(MotorModel::known());
    QCOMPARE(MotorModel::code(), 4);
    QCOMPARE(MotorModel::ranges().velMax, 15.f);
    QCOMPARE(m_link->values().positionRaw, 0x7FFF);
    QCOMPARE(m_link->values().modeState, 0);
    // Bytes (1, 1) name no model: the ranges stay.
    answer(record((2u << 24) | (0x04u << 8) | 0xFD, QByteArray::fromHex("00c4000001010000")));
    QCOMPARE(MotorModel::code(), 4);
    MotorModel::reset();
}

LINK_TEST_MAIN(TestOtaThread)
void TestOtaThread::debugStepLog() {
    const auto lines = [](const QString& from, const QString& to) {
        QString text;
        for (const QFileInfo& file : QDir(QStringLiteral("log")).entryInfoList(QDir::Files)) {
            QFile f(file.filePath());
            if (f.open(QIODevice::ReadOnly))
                text += QString::fromLocal8Bit(f.readAll());
        }
        const QRegularExpression line(
            QStringLiteral("run step:\\s*%1\\s*->\\s*%2\\s*$")
                .arg(QRegularExpression::escape(from), QRegularExpression::escape(to)),
            QRegularExpression::MultilineOption);
        int count = 0;
        for (auto it = line.globalMatch(text); it.hasNext(); it.next())
            ++count;
        return count;
    };
    m_link->setDebug(false, true);
    m_link->startStep(STEP_INIT);
    QVERIFY(waitStatus(OTA_STA_CONNECT_OVER_TIME));
    // Every pass of the waiting step is logged, the change to idle once, and idling nothing.
    QTRY_COMPARE_WITH_TIMEOUT(lines(QStringLiteral("STEP_INIT,"), QStringLiteral("STEP_STOP,")), 1, 5000);
    QVERIFY(lines(QStringLiteral("STEP_INIT,"), QStringLiteral("STEP_INIT,")) >= 20);
    QTest::qWait(200);
    QCOMPARE(lines(QStringLiteral("STEP_STOP,"), QStringLiteral("STEP_STOP,")), 0);
    QCOMPARE(lines(QStringLiteral("STEP_INIT,"), QStringLiteral("STEP_STOP,")), 1);
    m_link->setDebug(false, false);
}

#include "tst_otathread.moc"
