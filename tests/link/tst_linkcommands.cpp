// The link commands and the Helper's non-visual half: targeting, log lines, the frames sent or
// steps started, the refusals, status lines and message boxes from either thread, and the
// default data tree the Helper imports.
#include <QSignalSpy>
#include <QtTest>

#include <ctime>
#include <thread>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motormodel.h"
#include "link/motorstates.h"
#include "link/otathread.h"
#include "link/serialrecord.h"
#include "linktest.h"

Q_DECLARE_METATYPE(LinkCommand)

class TestLinkCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void commands_data();
    void commands();
    void refusals_data();
    void refusals();
    void setCanIdAddressesByMcuId();
    void leaseRefusesWhatWouldDisturbIt();
    void leaseEndsWithItsLastToken();
    void unnamedCommandsStayQuiet();
    void waitProcessingSleeps();

    void statusLines();
    void boxesFromEitherThread();
    void activatedDevice();
    void currentDeviceNeverDangles();
    void defaultTree();

private:
    QString lastLine() const { return kx::d("wnd.status.msg")->getString(); }

    otaThread* m_link = nullptr;
    QList<QByteArray> m_writes;
    kx::DataObject* m_device = nullptr;
    linktest::RecordingPrompt m_prompt;
    std::unique_ptr<linktest::WorkDir> m_dir;
};

void TestLinkCommands::initTestCase() {
    Helper::instance();
    m_link = new otaThread;  // the loop stays off: commands act on the calling thread
    connect(m_link, &otaThread::WriteToSerial, this, [this](QByteArray bytes) { m_writes << bytes; });
}

void TestLinkCommands::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_writes.clear();
    m_link->startStep(STEP_STOP);
    MotorModel::reset();
    MotorStates::reset();
    m_device = kx::d("project.device")->append(nullptr, QStringLiteral("abc"));
    m_device->set(nullptr, QStringLiteral("info.can_id"), QVariant::fromValue<quint8>(3), true);
    m_device->set(nullptr, QStringLiteral("info.mcu_id"), QVariant::fromValue<quint64>(0x1122334455667788ull),
                  true);
    // The motor announced itself: reset mode and a CAN ID change address it by MCU ID.
    MotorStates::update(3, [](MotorState& m) { m.mcuId = 0x1122334455667788ull; });
    Helper::instance()->setCurrentDeviceDobj(m_device);
    Helper::instance()->setPrompt(&m_prompt);
    m_prompt.clear();
}

void TestLinkCommands::cleanup() {
    Helper::instance()->setPrompt(nullptr);
    kx::d("project.device")->clear(nullptr);
    QCOMPARE(linktest::affinityWarnings().load(), 0);
}

void TestLinkCommands::cleanupTestCase() {
    delete m_link;
}

void TestLinkCommands::commands_data() {
    QTest::addColumn<LinkCommand>("command");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("frame");  // identifier and data in hex; empty when nothing is sent
    QTest::newRow("mode 7 brakes") << LinkCommand::setMode(3, 7)
                                   << "Send Z48 Command SET_MODE to CAN(3): unknown mode (7)"
                                   << int(STEP_SET_BRAKE_MODE) << "1400fd03 0000000000000000";
    QTest::newRow("reset mode carries the MCU ID")
        << LinkCommand::setMode(3, 2) << "Send Z48 Command SET_MODE to CAN(3): reset mode"
        << int(STEP_SET_RST_MODE) << "400fd03 8877665544332211";
    QTest::newRow("run mode without a name")
        << LinkCommand::setRunMode(3, 7) << "Send Z48 Command SET_RUN_MODE to CAN(3)" << int(STEP_STOP)
        << "1200fd03 0570000007000000";
    QTest::newRow("run mode 8") << LinkCommand::setRunMode(3, 8)
                                << "Send Z48 Command SET_RUN_MODE to CAN(3): open loop mode" << int(STEP_STOP)
                                << "1200fd03 0570000008000000";
    QTest::newRow("sdo float") << LinkCommand::sdoFloat(3, 0x7016, 1.5)
                               << "Send Z48 Command MOTOR_SDO_FLOAT to CAN(3): index = 28694, value = 1.5"
                               << int(STEP_STOP) << "1200fd03 167000000000c03f";
    QTest::newRow("sdo uint") << LinkCommand::sdoUint(3, 0x7017, 258)
                              << "Send Z48 Command MOTOR_SDO_UINT to CAN(3): index = 28695, value = 258"
                              << int(STEP_STOP) << "1200fd03 1770000002010000";
    QTest::newRow("clear alarm of CAN ID 0")
        << LinkCommand::clearAlarm(0) << "Send Z48 Command CLEAR_ALARM to CAN(0)" << int(STEP_STOP)
        << "400fd00 0100000000000000";
    QTest::newRow("zero") << LinkCommand::zero(3) << "Send Z48 Command ZERO_MECH to CAN(3)"
                          << int(STEP_SET_ZERO_MECH_MODE) << "600fd03 0101000000000000";
    QTest::newRow("calibration") << LinkCommand::calibrate(3)
                                 << "Send Z48 Command ENCODER_CALIBRATION to CAN(3)"
                                 << int(STEP_SET_CALI_ENCODER_MODE) << "500fd03 0000000000000000";
    QTest::newRow("load parameters") << LinkCommand::loadParam(3) << "Send Z48 Command LOAD_PARAM to CAN(3)"
                                     << int(STEP_ASK_PARA_STR_INFO) << "";
}

void TestLinkCommands::commands() {
    QFETCH(LinkCommand, command);
    QFETCH(QString, line);
    QFETCH(int, step);
    QFETCH(QString, frame);
    // The command names its motor: the window's selection plays no part.
    Helper::instance()->setCurrentDeviceDobj(nullptr);
    QVERIFY(LinkCommands::send(command));
    QCOMPARE(lastLine(), line);
    QCOMPARE(m_link->step(), step);
    QCOMPARE(int(m_link->target()), command.canId);
    if (frame.isEmpty())
        return;
    QCOMPARE(m_writes.size(), 1);
    CanFrame sent;
    QVERIFY(SerialRecord::toFrame(m_writes.first(), &sent));
    const QString got = QString::number(sent.id, 16) + ' ' +
                        QByteArray(reinterpret_cast<const char*>(sent.data.data()), sent.length).toHex();
    QCOMPARE(got, frame);
}

void TestLinkCommands::refusals_data() {
    QTest::addColumn<LinkCommand>("command");
    QTest::addColumn<bool>("model");
    QTest::addColumn<QString>("line");
    MotorFrames::MitSetpoints zero;
    MotorFrames::MitSetpoints far;
    far.position = 20;
    QTest::newRow("mit before any model")
        << LinkCommand::mitControl(3, zero) << false << "<ERROR> No motor model known yet";
    QTest::newRow("mit position 20")
        << LinkCommand::mitControl(3, far) << true
        << "<ERROR> Position 20 is outside the range [-12.5, 12.5]: command refused.";
    QTest::newRow("jog before any model")
        << LinkCommand::jog(3, 1.0, true) << false << "<ERROR> No motor model known yet";
    QTest::newRow("can id 0") << LinkCommand::setCanId(3, 0) << true
                              << "<ERROR> CAN ID 0 is outside the range [1, 127]: command refused.";
    QTest::newRow("negative uint")
        << LinkCommand::sdoUint(3, 0x7017, -1) << true
        << "<ERROR> Value -1 is outside the range [0, 4294967295]: command refused.";
    QTest::newRow("run mode 263 would wrap to 7")
        << LinkCommand::setRunMode(3, 263) << true
        << "<ERROR> Run mode 263 is outside the range [0, 255]: command refused.";
    QTest::newRow("target outside a byte")
        << LinkCommand::zero(300) << true
        << "<ERROR> CAN ID 300 is outside the range [0, 255]: command refused.";
}

void TestLinkCommands::refusals() {
    QFETCH(LinkCommand, command);
    QFETCH(bool, model);
    QFETCH(QString, line);
    if (model)
        QVERIFY(MotorStates::applyModel(3, 0, 1));
    kx::d("wnd.status.msg")->set(nullptr, QStringLiteral("idle"));
    QString why;
    QVERIFY(!LinkCommands::send(command, LinkLease::Token(), &why));
    QVERIFY2(lastLine().startsWith(line), qPrintable(lastLine()));
    QCOMPARE(lastLine(), QStringLiteral("<ERROR> ") + why);
    QVERIFY(m_writes.isEmpty());
    QCOMPARE(m_link->step(), int(STEP_STOP));
}

void TestLinkCommands::setCanIdAddressesByMcuId() {
    MotorStates::update(9, [](MotorState& m) { m.mcuId = 0xAB; });
    QVERIFY(LinkCommands::send(LinkCommand::setCanId(9, 12)));
    QCOMPARE(lastLine(), QStringLiteral("Send Z48 Command SET_CAN_ID to CAN(9): can id = 12"));
    QCOMPARE(m_link->step(), int(STEP_SET_CAN_ID));
    CanFrame sent;
    QVERIFY(SerialRecord::toFrame(m_writes.value(0), &sent));
    QCOMPARE(QString::number(sent.id, 16), QStringLiteral("70cfd09"));
    QCOMPARE(sent.data[0], quint8(0xAB));
    // The selection stays the user's.
    QCOMPARE(Helper::instance()->currentDeviceDobj(), m_device);
}

void TestLinkCommands::leaseRefusesWhatWouldDisturbIt() {
    QString refusal;
    const LinkLease::Token lease = LinkLease::acquire(3, QStringLiteral("calibrating"), &refusal);
    QVERIFY(lease.isValid());
    QVERIFY(!LinkLease::acquire(4, QStringLiteral("zeroing"), &refusal).isValid());
    QCOMPARE(refusal, QStringLiteral("motor 3 is busy: calibrating"));

    // A step for any motor, or a frame to the held motor, would disturb the flow.
    QString why;
    QVERIFY(!LinkCommands::send(LinkCommand::zero(5), LinkLease::Token(), &why));
    QCOMPARE(why, QStringLiteral("motor 3 is busy: calibrating"));
    QCOMPARE(lastLine(), QStringLiteral("<ERROR> motor 3 is busy: calibrating"));
    QVERIFY(!LinkCommands::send(LinkCommand::sdoFloat(3, 0x7016, 1.0)));
    QVERIFY(m_writes.isEmpty());
    QCOMPARE(m_link->step(), int(STEP_STOP));
    // A single frame to another motor leaves the holder's step alone; the holder itself may.
    QVERIFY(LinkCommands::send(LinkCommand::sdoFloat(5, 0x7016, 1.0)));
    QVERIFY(LinkCommands::send(LinkCommand::zero(3), lease));
    QCOMPARE(m_link->step(), int(STEP_SET_ZERO_MECH_MODE));

    // The emergency stop preempts: the holder learns it, nothing is refused any longer.
    LinkLease::preempt(QStringLiteral("emergency stop"));
    QVERIFY(lease.preempted());
    QCOMPARE(lease.preemptReason(), QStringLiteral("emergency stop"));
    QVERIFY(LinkCommands::send(LinkCommand::setMode(3, 0)));
}

void TestLinkCommands::leaseEndsWithItsLastToken() {
    QString refusal;
    {
        const LinkLease::Token lease = LinkLease::acquire(-1, QStringLiteral("detecting"), &refusal);
        const LinkLease::Token copy = lease;
        QVERIFY(!LinkLease::acquire(2, QStringLiteral("zeroing"), &refusal).isValid());
        QCOMPARE(refusal, QStringLiteral("the bus is busy: detecting"));
    }
    QVERIFY(!LinkLease::busy());
    QVERIFY(LinkLease::acquire(2, QStringLiteral("zeroing"), &refusal).isValid());
}

void TestLinkCommands::waitProcessingSleeps() {
    // Events posted meanwhile are delivered, and the wait lasts its time without spinning.
    bool delivered = false;
    QTimer::singleShot(50, this, [&delivered] { delivered = true; });
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpuBefore = std::clock();
    LinkCommands::waitProcessing(1000);
    const double cpuMs = double(std::clock() - cpuBefore) * 1000.0 / CLOCKS_PER_SEC;
    QVERIFY(delivered);
    QVERIFY(wall.elapsed() >= 990);
    // A polling loop burns most of the second even on a loaded machine; a sleeping one ~0.
    QVERIFY2(cpuMs < 300, qPrintable(QString::number(cpuMs)));
}

void TestLinkCommands::unnamedCommandsStayQuiet() {
    kx::d("wnd.status.msg")->set(nullptr, QStringLiteral("before"));
    QVERIFY(LinkCommands::send(LinkCommand::runStep(3, STEP_SCOPE_START)));
    QCOMPARE(m_link->step(), int(STEP_SCOPE_START));
    QVERIFY(LinkCommands::send(LinkCommand::runStep(3, STEP_READ_PARA_STR_START)));
    QCOMPARE(m_link->step(), int(STEP_READ_PARA_STR_START));
    QCOMPARE(lastLine(), QStringLiteral("before"));
}

void TestLinkCommands::statusLines() {
    QStringList lines;
    auto c = connect(kx::d("wnd.status.msg"), &kx::DataObject::changed, this,
                     [&lines](QVariant v, QVariant, QObject*) { lines << v.toString(); });
    Helper* helper = Helper::instance();
    helper->postStatus(QStringLiteral("same"));
    helper->postStatus(QStringLiteral("same"));
    helper->postStatus(QStringLiteral("broken"), QStringLiteral("ERROR"));
    std::thread other([helper] { helper->postStatus(QStringLiteral("from elsewhere")); });
    other.join();
    QTRY_COMPARE(lines.size(), 4);
    QCOMPARE(lines, (QStringList{"same", "same", "<ERROR> broken", "from elsewhere"}));
    disconnect(c);
}

void TestLinkCommands::boxesFromEitherThread() {
    Helper* helper = Helper::instance();
    m_prompt.answer = true;
    QVERIFY(helper->askNotice(QStringLiteral("Go?")));
    helper->showWarning(QStringLiteral("careful"));
    std::thread other([helper] {
        helper->showError(QStringLiteral("from the link"));
        QVERIFY(!helper->askNotice(QStringLiteral("never asked off the GUI thread")));
    });
    other.join();
    QTRY_COMPARE(m_prompt.boxes().size(), 3);
    QCOMPARE(m_prompt.boxes(), (QStringList{"Trivane Notice: Go?", "Trivane Warning: careful",
                                            "Trivane Error: from the link"}));
    helper->setPrompt(nullptr);
    QVERIFY(!helper->askNotice(QStringLiteral("nobody to ask")));
}

void TestLinkCommands::activatedDevice() {
    Helper* helper = Helper::instance();
    QCOMPARE(helper->activatedDevice(), m_device);
    helper->setCurrentDeviceDobj(nullptr);
    QCOMPARE(helper->activatedDevice(), nullptr);
    QCOMPARE(m_prompt.boxes(), QStringList{"Trivane Error: No activated device!"});
}

void TestLinkCommands::currentDeviceNeverDangles() {
    Helper* helper = Helper::instance();
    QSignalSpy changed(helper, &Helper::currentDeviceDobjChanged);
    helper->setCurrentDeviceDobj(m_device);  // the same record: no signal
    QCOMPARE(changed.count(), 0);
    helper->setEditDevice(m_device, QStringLiteral("param_table"));
    kx::d("project.device")->clear(nullptr);
    QCOMPARE(changed.count(), 1);
    QVERIFY(helper->currentDeviceDobj()->isEmpty());
    QVERIFY(helper->editDeviceDobj()->isEmpty());
    QVERIFY(LinkCommands::send(LinkCommand::clearAlarm(0)));  // no record to clear: no crash
    QCOMPARE(int(m_link->target()), 0);
}

void TestLinkCommands::defaultTree() {
    QCOMPARE(kx::d("config.baud_rate")->get(), QVariant(921600));
    QCOMPARE(kx::d("config.language")->getString(), QStringLiteral("zh_CN"));
    QCOMPARE(kx::d("config.setting.remove_device_on_disconnected")->getBool(), true);
    QCOMPARE(kx::d("config.wnd.h_splitter")->getList().size(), 3);
    QCOMPARE(kx::d("wnd.title")->getString(), QStringLiteral("Trivane"));
    QCOMPARE(kx::d("wnd.status.progress")->getInt(), -1);
    QCOMPARE(kx::d("project.version")->get().type(), QVariant::Double);
    QCOMPARE(kx::d("template.Ostrel_motor._control.vel.current")->getInt(), 27);
    QCOMPARE(kx::d("template.Ostrel_motor.info.type")->getString(), QStringLiteral("can"));
    QCOMPARE(kx::d("temp_analyze.channel")->size(), 1);
    QVERIFY(!kx::d("trigger.configure.param.new")->isEmpty());
    QVERIFY(kx::d("config.last_project_path")->isEmpty());
    const QStringList motor = kx::d("template.Ostrel_motor")->cdobjNames();
    QCOMPARE(motor,
             (QStringList{"_connected", "_control", "_analyze", "_trigger", "alias", "info", "param"}));
    QCOMPARE(kx::d().rootDobj()->cdobjNames().mid(0, 3), (QStringList{"config", "wnd", "working"}));
    QCOMPARE(kx::d("config.setting")->cdobjNames().first(), QStringLiteral("show_panel"));
}

LINK_TEST_MAIN(TestLinkCommands)
#include "tst_linkcommands.moc"
