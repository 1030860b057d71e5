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
    void setCanIdTakesGivenRecord();
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
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("arg1");
    QTest::addColumn<QVariant>("arg2");
    QTest::addColumn<bool>("device");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("frame");  // identifier and data in hex; empty when nothing is sent
    QTest::newRow("mode 7 brakes") << "SET_MODE" << QVariant(7) << QVariant() << true
                                   << "Send Z48 Command SET_MODE to CAN(3): unknown mode (7)"
                                   << int(STEP_SET_BRAKE_MODE) << "1400fd03 0000000000000000";
    QTest::newRow("reset mode carries the MCU ID") << "SET_MODE" << QVariant(2) << QVariant() << true
                                                   << "Send Z48 Command SET_MODE to CAN(3): reset mode"
                                                   << int(STEP_SET_RST_MODE) << "400fd03 8877665544332211";
    QTest::newRow("run mode without a name")
        << "SET_RUN_MODE" << QVariant(7) << QVariant() << true << "Send Z48 Command SET_RUN_MODE to CAN(3)"
        << int(STEP_STOP) << "1200fd03 0570000007000000";
    QTest::newRow("run mode 8") << "SET_RUN_MODE" << QVariant(8) << QVariant() << true
                                << "Send Z48 Command SET_RUN_MODE to CAN(3): open loop mode" << int(STEP_STOP)
                                << "1200fd03 0570000008000000";
    QTest::newRow("sdo float") << "MOTOR_SDO_FLOAT" << QVariant(0x7016) << QVariant(1.5) << true
                               << "Send Z48 Command MOTOR_SDO_FLOAT to CAN(3): index = 28694, value = 1.5"
                               << int(STEP_STOP) << "1200fd03 167000000000c03f";
    QTest::newRow("sdo uint") << "MOTOR_SDO_UINT" << QVariant(0x7017) << QVariant(258u) << true
                              << "Send Z48 Command MOTOR_SDO_UINT to CAN(3): index = 28695, value = 258"
                              << int(STEP_STOP) << "1200fd03 1770000002010000";
    QTest::newRow("clear alarm without a device")
        << "CLEAR_ALARM" << QVariant() << QVariant() << false << "Send Z48 Command CLEAR_ALARM to CAN(0)"
        << int(STEP_STOP) << "400fd00 0100000000000000";
    QTest::newRow("zero") << "ZERO_MECH" << QVariant() << QVariant() << true
                          << "Send Z48 Command ZERO_MECH to CAN(3)" << int(STEP_SET_ZERO_MECH_MODE)
                          << "600fd03 0101000000000000";
    QTest::newRow("calibration") << "ENCODER_CALIBRATION" << QVariant() << QVariant() << true
                                 << "Send Z48 Command ENCODER_CALIBRATION to CAN(3)"
                                 << int(STEP_SET_CALI_ENCODER_MODE) << "500fd03 0000000000000000";
    QTest::newRow("load parameters") << "LOAD_PARAM" << QVariant() << QVariant() << true
                                     << "Send Z48 Command LOAD_PARAM to CAN(3)" << int(STEP_ASK_PARA_STR_INFO)
                                     << "";
}

void TestLinkCommands::commands() {
    QFETCH(QString, name);
    QFETCH(QVariant, arg1);
    QFETCH(QVariant, arg2);
    QFETCH(bool, device);
    QFETCH(QString, line);
    QFETCH(int, step);
    QFETCH(QString, frame);
    if (!device)
        Helper::instance()->setCurrentDeviceDobj(nullptr);
    QVERIFY(LinkCommands::run(name, arg1, arg2));
    QCOMPARE(lastLine(), line);
    QCOMPARE(m_link->step(), step);
    QCOMPARE(int(m_link->target()), device ? 3 : 0);
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
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("arg1");
    QTest::addColumn<QVariant>("arg2");
    QTest::addColumn<bool>("model");
    QTest::addColumn<QString>("line");
    QTest::newRow("mit before any model")
        << "MOTOR_CONTROL" << QVariant(0.0) << QVariant(QVariantList{0, 0, 0, 0}) << false
        << "<ERROR> No motor model known yet";
    QTest::newRow("mit position 20")
        << "MOTOR_CONTROL" << QVariant(0.0) << QVariant(QVariantList{20, 0, 0, 0}) << true
        << "<ERROR> Position 20 is outside the range [-12.5, 12.5]: command refused.";
    QTest::newRow("jog before any model")
        << "MOVE_JOG" << QVariant(1.0) << QVariant(true) << false << "<ERROR> No motor model known yet";
    QTest::newRow("can id 0") << "SET_CAN_ID" << QVariant(0) << QVariant() << true
                              << "<ERROR> CAN ID 0 is outside the range [1, 127]: command refused.";
    QTest::newRow("negative uint")
        << "MOTOR_SDO_UINT" << QVariant(0x7017) << QVariant(-1) << true
        << "<ERROR> Value -1 is outside the range [0, 4294967295]: command refused.";
    QTest::newRow("run mode 263 would wrap to 7")
        << "SET_RUN_MODE" << QVariant(263) << QVariant() << true
        << "<ERROR> Run mode 263 is outside the range [0, 255]: command refused.";
    QTest::newRow("unknown command") << "FLY" << QVariant() << QVariant() << true << "";
}

void TestLinkCommands::refusals() {
    QFETCH(QString, name);
    QFETCH(QVariant, arg1);
    QFETCH(QVariant, arg2);
    QFETCH(bool, model);
    QFETCH(QString, line);
    if (model)
        QVERIFY(MotorStates::applyModel(3, 0, 1));
    kx::d("wnd.status.msg")->set(nullptr, QStringLiteral("idle"));
    QVERIFY(!LinkCommands::run(name, arg1, arg2));
    QVERIFY2(lastLine().startsWith(line), qPrintable(lastLine()));
    QVERIFY(m_writes.isEmpty());
    QCOMPARE(m_link->step(), int(STEP_STOP));
}

void TestLinkCommands::setCanIdTakesGivenRecord() {
    kx::DataObject* other = kx::d("project.device")->append(nullptr, QStringLiteral("def"));
    other->set(nullptr, QStringLiteral("info.can_id"), QVariant::fromValue<quint8>(9), true);
    other->set(nullptr, QStringLiteral("info.mcu_id"), QVariant::fromValue<quint64>(0xAB), true);
    QVERIFY(LinkCommands::run(QStringLiteral("SET_CAN_ID"), 12, QVariant::fromValue(other)));
    QCOMPARE(lastLine(), QStringLiteral("Send Z48 Command SET_CAN_ID to CAN(9): can id = 12"));
    QCOMPARE(m_link->step(), int(STEP_SET_CAN_ID));
    CanFrame sent;
    QVERIFY(SerialRecord::toFrame(m_writes.value(0), &sent));
    QCOMPARE(QString::number(sent.id, 16), QStringLiteral("70cfd09"));
    QCOMPARE(sent.data[0], quint8(0xAB));
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
    QVERIFY(LinkCommands::run(QStringLiteral("RUN_STEP"), QVariant::fromValue(STEP_SCOPE_START)));
    QCOMPARE(m_link->step(), int(STEP_SCOPE_START));
    QVERIFY(LinkCommands::readParam(true));
    QCOMPARE(m_link->step(), int(STEP_READ_PARA_STR_START));
    QVERIFY(LinkCommands::writeParam(false));
    QCOMPARE(m_link->step(), int(STEP_WRITE_PARA_STR));
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
    QVERIFY(!LinkCommands::run(QStringLiteral("FLY")));
    QVERIFY(LinkCommands::run(QStringLiteral("CLEAR_ALARM")));  // targets CAN ID 0, no crash
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
