// The motion sidebar against trivane-sim on a pseudo-terminal: what the bench receives when
// the user switches motors on, sends set-points, jogs, stops, and when the port closes.
#include "tests/app/apptest.h"
#include "tests/workbench/motionbench.h"

#include "link/linkcommands.h"
#include "link/motorframes.h"
#include "link/motorstates.h"
#include "workbench/device/devicewidget.h"
#include "workbench/device/livevalues.h"
#include "workbench/sidebar/enablebutton.h"
#include "workbench/sidebar/setpointrow.h"
#include "workbench/sidebar/sidebar.h"
#include "workbench/sidebar/sidebarform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QLabel>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QtEndian>

using namespace motiontest;

namespace {

bool isType(const CanFrame& f, int type, int canId) {
    return f.type() == type && f.destination() == canId;
}

// Reset mode (type 4 carrying the motor's MCU ID), not the model query that shares the type.
bool isReset(const CanFrame& f) {
    return f.type() == CANCOM_MOTOR_RESET && f.data[1] != 0xC4;
}

struct Identity {
    int canId;
    quint64 mcuId;
};

Identity identityOf(kx::DataObject* device) {
    return {device->r(QStringLiteral("info.can_id"))->get().toInt(),
            device->r(QStringLiteral("info.mcu_id"))->get().toULongLong()};
}

bool isResetOf(const CanFrame& f, const Identity& motor) {
    return isReset(f) && f.destination() == motor.canId &&
           qFromLittleEndian<quint64>(f.data.data()) == motor.mcuId;
}

// The object-write indices the bench received, in order.
QList<int> sdoIndices(const QVector<CanFrame>& frames) {
    QList<int> list;
    for (const CanFrame& f : frames) {
        if (f.type() == CANCOM_SDO_WRITE && sdoIndex(f) != 0x7005)
            list << sdoIndex(f);
    }
    return list;
}

}  // namespace

class TestMotionBench : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void switchOnInEachMode_data();
    void switchOnInEachMode();
    void sineTestStartsAndStops();
    void multipleDevicesOnlyReset();
    void pagesWaitForTheModelReply();
    void estopBrakesEveryMotor();
    void jogIsDeadMan_data();
    void jogIsDeadMan();
    void jogReleaseWithoutDevice();
    void continuousMitStops_data();
    void continuousMitStops();
    void objectWritesNeverOverlap();
    void portCloseResetsSwitchedOnMotors_data();
    void portCloseResetsSwitchedOnMotors();
    void switchFollowsTheMotorAfterAJog();
    void estopKeepsTheChosenMode();
    void motorReportsAreShownNotHidden();
    void multipleDevicesKeepJogOff();
    void liveValuesInThePanelAndTheTree();

private:
    // Starts the bench, connects, and builds the panel; with several motors every one is
    // registered, then the setting returns to single-device use.
    bool open(int motors, const QString& models = QString(), bool multiple = false);
    void switchOn(int modeIndex);
    // Waits until the bench received a frame for which test holds.
    bool received(const std::function<bool(const CanFrame&)>& test, int atLeast = 1);
    // A frame the host sends at once, to know that everything before it has arrived.
    void mark();
    // A frame from outside the panel (another tool on the bus).
    void sendRaw(const CanFrame& frame) {
        Helper::instance()->worker()->writeRaw(CANWorker::frameToSerial(frame));
    }
    QString note() const {
        return f->lblMotionNote->isVisibleTo(m_sidebar.get()) ? f->lblMotionNote->text() : QString();
    }
    int marks() {
        return count(m_bench->frames(), [](const CanFrame& f) {
            return f.type() == CANCOM_MOTOR_RESET && f.destination() == 99;
        });
    }

    std::unique_ptr<CaseEnvironment> m_env;
    std::unique_ptr<MotionBench> m_bench;
    // The panel sits in a window of its own, as in the main window.
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<Sidebar> m_sidebar;
    SidebarForm* f = nullptr;
};

void TestMotionBench::init() {
    m_env = std::make_unique<CaseEnvironment>();
    setConfig(QStringLiteral("upload_param_on_connected"), false);
    setConfig(QStringLiteral("enable_multiple_devices"), false);
    Helper::instance()->createBackends();
    m_bench = std::make_unique<MotionBench>();
}

void TestMotionBench::cleanup() {
    m_sidebar.reset();
    m_window.reset();
    if (CANWorker* worker = Helper::instance()->worker())
        worker->disconnectPort();
    Helper::instance()->destroyBackends();
    m_bench.reset();
    m_env.reset();
}

bool TestMotionBench::open(int motors, const QString& models, bool multiple) {
    setConfig(QStringLiteral("enable_multiple_devices"), motors > 1);
    if (!m_bench->start(motors, models))
        return false;
    m_window = std::make_unique<QWidget>();
    auto* layout = new QHBoxLayout(m_window.get());
    layout->addWidget(new QLineEdit(m_window.get()));
    m_sidebar = std::make_unique<Sidebar>(m_window.get());
    layout->addWidget(m_sidebar.get());
    f = m_sidebar->form();
    m_window->show();
    const bool ok = m_bench->connect(motors);
    setConfig(QStringLiteral("enable_multiple_devices"), multiple);
    return ok;
}

bool TestMotionBench::received(const std::function<bool(const CanFrame&)>& test, int atLeast) {
    QElapsedTimer t;
    t.start();
    while (count(m_bench->frames(), test) < atLeast) {
        if (t.elapsed() > 20000) {
            // What the bench did receive, for the failure report.
            QFile log(m_bench->log());
            if (log.open(QIODevice::ReadOnly))
                qWarning("%s", log.readAll().right(1500).constData());
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

void TestMotionBench::mark() {
    const int before = marks();
    Helper::instance()->worker()->writeRaw(CANWorker::frameToSerial(MotorFrames::enterResetMode(99, 0)));
    QVERIFY(
        received([](const CanFrame& f) { return f.type() == CANCOM_MOTOR_RESET && f.destination() == 99; },
                 before + 1));
}

void TestMotionBench::switchOn(int modeIndex) {
    f->cmbControlMode->setCurrentIndex(modeIndex);
    QTest::mouseClick(f->ebControl, Qt::LeftButton);
    QVERIFY(f->ebControl->isOn());
}

void TestMotionBench::switchOnInEachMode_data() {
    QTest::addColumn<QString>("models");
    QTest::addColumn<int>("modeIndex");
    QTest::addColumn<int>("runMode");
    QTest::addColumn<QList<int>>("writes");
    QTest::newRow("MIT") << "0:2" << 0 << 0 << QList<int>{};
    QTest::newRow("PP, model code 0") << "0:2" << 1 << 1 << QList<int>{0x7024, 0x7025, 0x7016};
    QTest::newRow("PP, model code 2") << "2:2" << 1 << 1 << QList<int>{0x7025, 0x7016, 0x7026};
    QTest::newRow("velocity") << "0:2" << 2 << 2 << QList<int>{0x7018, 0x700A, 0x7022};
    QTest::newRow("current") << "0:2" << 3 << 3 << QList<int>{0x7006};
    QTest::newRow("CSP, model code 0") << "0:2" << 4 << 5 << QList<int>{0x7017, 0x7016};
    // Models of code 1 know CSP as run mode 1; the record still says CSP.
    QTest::newRow("CSP, model code 1") << "0:1" << 4 << 1 << QList<int>{0x7017, 0x7016};
}

void TestMotionBench::switchOnInEachMode() {
    QFETCH(QString, models);
    QFETCH(int, modeIndex);
    QFETCH(int, runMode);
    QFETCH(QList<int>, writes);
    QVERIFY(open(1, models));
    kx::DataObject* device = Helper::instance()->currentDeviceDobj();
    QVERIFY(!device->isEmpty());
    switchOn(modeIndex);
    QVERIFY(received([&](const CanFrame& fr) { return isType(fr, CANCOM_MOTOR_IN, 1); }));
    QVector<CanFrame> frames = m_bench->frames();
    const int runModeAt =
        int(std::find_if(frames.begin(), frames.end(),
                         [&](const CanFrame& fr) { return isSdo(fr, 0x7005) && fr.data[4] == runMode; }) -
            frames.begin());
    const int motorAt = int(std::find_if(frames.begin(), frames.end(),
                                         [](const CanFrame& fr) { return fr.type() == CANCOM_MOTOR_IN; }) -
                            frames.begin());
    QVERIFY2(runModeAt < motorAt, "the run mode precedes motor mode");
    QCOMPARE(device->c(QStringLiteral("_mode"))->getInt(-1), f->cmbControlMode->itemData(modeIndex).toInt());
    QVERIFY(f->stackedWidget->isEnabled());
    QVERIFY(!f->cmbControlMode->isEnabled());

    // The page's set-points reach the motor in the page's order, each once.
    if (modeIndex == 0) {
        f->torque->spin()->setValue(1.5);
        QTest::mouseClick(f->start[SidebarForm::PageMit], Qt::LeftButton);
        QVERIFY(received([](const CanFrame& fr) { return isType(fr, CANCOM_MOTOR_CTRL, 1); }));
    } else {
        QPushButton* start = modeIndex == 3 ? f->btnSendIq1 : f->start[modeIndex];
        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(received([&](const CanFrame& fr) { return isSdo(fr, quint16(writes.last())); }));
        mark();
        QCOMPARE(sdoIndices(m_bench->frames()), writes);
    }

    // Off: reset mode, and the mode list is free again.
    QTest::mouseClick(f->ebControl, Qt::LeftButton);
    QVERIFY(received([](const CanFrame& fr) { return isReset(fr) && fr.destination() == 1; }));
    QVERIFY(f->cmbControlMode->isEnabled());
    QVERIFY(!f->stackedWidget->isEnabled());
}

void TestMotionBench::sineTestStartsAndStops() {
    QVERIFY(open(1));
    switchOn(2);
    f->dspnSinA->setValue(3.5);
    f->dspnSinF->setValue(2);
    QTest::mouseClick(f->ebSin, Qt::LeftButton);
    auto start = [](const CanFrame& fr) { return isSdo(fr, 0x7001) && fr.data[4] == 1; };
    QVERIFY(received(start));
    QTest::mouseClick(f->ebSin, Qt::LeftButton);
    auto stop = [](const CanFrame& fr) { return isSdo(fr, 0x7001) && fr.data[4] == 0; };
    QVERIFY(received(stop));
    mark();
    QCOMPARE(sdoIndices(m_bench->frames()), (QList<int>{0x7003, 0x7002, 0x7001, 0x7001}));
    const QVector<CanFrame> frames = m_bench->frames();
    const auto amplitude =
        std::find_if(frames.begin(), frames.end(), [](const CanFrame& fr) { return isSdo(fr, 0x7003); });
    QCOMPARE(qFromLittleEndian<float>(amplitude->data.data() + 4), 3.5f);
    kx::DataObject* sin = Helper::instance()->currentDeviceDobj()->r(QStringLiteral("_control.sin"));
    QCOMPARE(sin->c(QStringLiteral("enable"))->getBool(true), false);
    QCOMPARE(sin->c(QStringLiteral("amplitude"))->getDouble(), 3.5);
    QCOMPARE(sin->c(QStringLiteral("frequency"))->getDouble(), 2.0);
}

void TestMotionBench::multipleDevicesOnlyReset() {
    QVERIFY(open(2, QString(), true));
    QTest::mouseClick(f->ebControl, Qt::LeftButton);
    QVERIFY(received([](const CanFrame& fr) { return isReset(fr) && fr.destination() == 1; }));
    mark();
    const QVector<CanFrame> frames = m_bench->frames();
    QCOMPARE(count(frames, [](const CanFrame& fr) { return fr.type() == CANCOM_MOTOR_IN; }), 0);
    QCOMPARE(count(frames, [](const CanFrame& fr) { return isSdo(fr, 0x7005); }), 0);
    // The motor is in reset mode: the switch must not say otherwise.
    QVERIFY(!f->ebControl->isOn());
    QVERIFY(!f->stackedWidget->isEnabled());
}

void TestMotionBench::pagesWaitForTheModelReply() {
    // Model bytes that name no model: the ranges stay unknown.
    QVERIFY(m_bench->start(1, QStringLiteral("1:1")));
    m_sidebar = std::make_unique<Sidebar>();
    f = m_sidebar->form();
    Helper::instance()->worker()->connectPort(m_bench->sim().path());
    QTRY_VERIFY_WITH_TIMEOUT(!Helper::instance()->currentDeviceDobj()->isEmpty(), 20000);
    switchOn(0);
    QVERIFY(!f->stackedWidget->isEnabled());
    QVERIFY(f->stackedWidget->toolTip().contains(QStringLiteral("model reply")));
    // Once a model is known the same panel opens its pages.
    MotorStates::applyModel(1, 0, 2);
    LinkCommands::send(LinkCommand::clearAlarm(1));  // any reply of the motor wakes the panel
    QTRY_VERIFY_WITH_TIMEOUT(f->stackedWidget->isEnabled(), 10000);
    QVERIFY(f->stackedWidget->toolTip().isEmpty());
}

void TestMotionBench::estopBrakesEveryMotor() {
    QVERIFY(open(2, QString(), false));
    kx::DataObject* devices = kx::d(QStringLiteral("project.device"));
    QCOMPARE(devices->size(), 2);
    switchOn(0);
    QVERIFY(received([](const CanFrame& fr) { return isType(fr, CANCOM_MOTOR_IN, 1); }));
    kx::DataObject* other =
        devices->c(1) == Helper::instance()->currentDeviceDobj() ? devices->c(0) : devices->c(1);
    other->set(nullptr, QStringLiteral("_mode"), 2, true);  // on, e.g. from an earlier session

    // The key works wherever the focus is in the window.
    QVERIFY(f->btnEstop->toolTip().contains(Sidebar::estopKey().toString(QKeySequence::NativeText)));
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    // Even with the panel hidden (the user closed the right sidebar) and the focus elsewhere.
    m_sidebar->hide();
    m_window->findChild<QLineEdit*>()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(received([](const CanFrame& fr) { return isType(fr, CANCOM_MOTOR_BRAKE, 1); }));
    QVERIFY(received([](const CanFrame& fr) { return isType(fr, CANCOM_MOTOR_BRAKE, 2); }));
    QVERIFY(!f->ebControl->isOn());
    QVERIFY(f->cmbControlMode->isEnabled());
    QCOMPARE(Helper::instance()->currentDeviceDobj()->c(QStringLiteral("_mode"))->getInt(0), -1);
    QCOMPARE(other->c(QStringLiteral("_mode"))->getInt(0), -1);
    QVERIFY(m_env->prompt.calls.isEmpty());
    // Braked motors are no longer the guard's business when the port closes.
    Helper::instance()->worker()->disconnectPort();
    QCOMPARE(count(m_bench->frames(), isReset), 0);
}

void TestMotionBench::jogIsDeadMan_data() {
    QTest::addColumn<QString>("event");
    QTest::newRow("release") << "release";
    QTest::newRow("window loses focus") << "focus";
    QTest::newRow("button disabled") << "disable";
    QTest::newRow("panel hidden") << "hide";
    QTest::newRow("port closes") << "close";
}

void TestMotionBench::jogIsDeadMan() {
    QFETCH(QString, event);
    QVERIFY(open(1));
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    f->dspnJosSpeed->setValue(2);
    QTest::mousePress(f->btnJogPlus, Qt::LeftButton);
    QVERIFY(received([](const CanFrame& fr) { return isJog(fr, true) && fr.destination() == 1; }));
    if (event == QLatin1String("release")) {
        QTest::mouseRelease(f->btnJogPlus, Qt::LeftButton);
    } else if (event == QLatin1String("focus")) {
        auto* other = new QWidget;
        other->show();
        QApplication::setActiveWindow(other);
        QTRY_VERIFY(!m_sidebar->isActiveWindow());
        delete other;
    } else if (event == QLatin1String("disable")) {
        f->btnJogPlus->setEnabled(false);
    } else if (event == QLatin1String("hide")) {
        m_sidebar->hide();
    } else {
        Helper::instance()->worker()->disconnectPort();
    }
    QVERIFY(received([](const CanFrame& fr) { return isJog(fr, false) && fr.destination() == 1; }));
    QVERIFY(!f->btnJogPlus->isDown());
    // The jogged motor was left enabled: closing the port resets it, after the jog stop.
    Helper::instance()->worker()->disconnectPort();
    QVERIFY(received([](const CanFrame& fr) { return isReset(fr) && fr.destination() == 1; }));
}

void TestMotionBench::jogReleaseWithoutDevice() {
    QVERIFY(open(1));
    Helper::instance()->setCurrentDeviceDobj(nullptr);
    QTest::mousePress(f->btnJogMinus, Qt::LeftButton);  // refused: "No activated device!"
    QTest::mouseRelease(f->btnJogMinus, Qt::LeftButton);
    QVERIFY(received([](const CanFrame& fr) { return isJog(fr, false) && fr.destination() == 0; }));
    QCOMPARE(count(m_bench->frames(), [](const CanFrame& fr) { return isJog(fr, true); }), 0);
    QCOMPARE(m_env->prompt.calls.size(), 1);
    QCOMPARE(m_env->prompt.calls[0].text, QStringLiteral("No activated device!"));
}

void TestMotionBench::continuousMitStops_data() {
    QTest::addColumn<QString>("stopper");
    QTest::newRow("Stop") << "stop";
    QTest::newRow("E-stop") << "estop";
    QTest::newRow("switch off") << "off";
    QTest::newRow("record removed") << "remove";
    QTest::newRow("disconnect") << "disconnect";
}

void TestMotionBench::continuousMitStops() {
    QFETCH(QString, stopper);
    QVERIFY(open(1));
    switchOn(0);
    f->kp->spin()->setValue(5);
    f->continuously[SidebarForm::PageMit]->setChecked(true);
    QVERIFY(f->stop[SidebarForm::PageMit]->isVisibleTo(m_sidebar.get()));
    // The log file counts the command lines: a stream logs its first round only.
    auto commandLines = [] {
        int lines = 0;
        for (const QFileInfo& file :
             QDir(QStringLiteral("log")).entryInfoList({QStringLiteral("global_*.log")})) {
            QFile log(file.filePath());
            if (log.open(QIODevice::ReadOnly))
                lines += log.readAll().count("Send Z48 Command MOTOR_CONTROL");
        }
        return lines;
    };
    const int linesBefore = commandLines();
    QTest::mouseClick(f->start[SidebarForm::PageMit], Qt::LeftButton);
    auto mit = [](const CanFrame& fr) { return isType(fr, CANCOM_MOTOR_CTRL, 1); };
    QVERIFY(received(mit, 50));
    // Set-points moved while streaming go out with the next frames.
    f->torque->spin()->setValue(2);
    const int torqueRaw = CanProtocol::encodeRange(2, -14, 14);
    QVERIFY(received([&](const CanFrame& fr) { return mit(fr) && (fr.dataField() == torqueRaw); }, 3));

    if (stopper == QLatin1String("stop"))
        QTest::mouseClick(f->stop[SidebarForm::PageMit], Qt::LeftButton);
    else if (stopper == QLatin1String("estop"))
        QTest::mouseClick(f->btnEstop, Qt::LeftButton);
    else if (stopper == QLatin1String("off"))
        QTest::mouseClick(f->ebControl, Qt::LeftButton);
    else if (stopper == QLatin1String("remove"))
        kx::d(QStringLiteral("project.device"))->clear(nullptr);
    else
        Helper::instance()->worker()->disconnectPort();
    QVERIFY(!m_sidebar->sendLoop()->isBusy());
    const int rounds = m_sidebar->sendLoop()->rounds();
    if (stopper != QLatin1String("disconnect")) {
        mark();
        QTest::qWait(50);  // a stream that went on would add frames meanwhile
        mark();
    } else {
        QTest::qWait(50);
    }
    // Every round the loop ran reached the bench exactly once, and none after the stop.
    QCOMPARE(count(m_bench->frames(), mit), rounds);
    QVERIFY(rounds > 3);
    QCOMPARE(commandLines() - linesBefore, 1);
}

void TestMotionBench::objectWritesNeverOverlap() {
    QVERIFY(open(1));
    switchOn(1);
    f->continuously[SidebarForm::PagePos]->setChecked(true);
    QTest::mouseClick(f->start[SidebarForm::PagePos], Qt::LeftButton);
    QVERIFY(received([](const CanFrame& fr) { return isSdo(fr, 0x7016); }, 2));
    // Asked during a round's pauses, another page's send waits for that round to end and
    // takes over from the repetition.
    QTest::mouseClick(f->start[SidebarForm::PageCsp], Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!m_sidebar->sendLoop()->isBusy(), 10000);
    mark();
    const QList<int> writes = sdoIndices(m_bench->frames());
    QVERIFY2(writes.size() >= 8 && writes.size() % 3 == 2, qPrintable(QString::number(writes.size())));
    for (int i = 0; i + 2 < writes.size(); i += 3)
        QCOMPARE(writes.mid(i, 3), (QList<int>{0x7024, 0x7025, 0x7016}));
    QCOMPARE(writes.mid(writes.size() - 2), (QList<int>{0x7017, 0x7016}));
}

void TestMotionBench::portCloseResetsSwitchedOnMotors_data() {
    QTest::addColumn<QString>("event");
    QTest::newRow("Disconnect") << "disconnect";
    QTest::newRow("port error") << "error";
    QTest::newRow("link worker ends") << "quit";
}

void TestMotionBench::portCloseResetsSwitchedOnMotors() {
    QFETCH(QString, event);
    QVERIFY(open(3));
    // Motors 1 and 3 are switched on from the panel, motor 2 is left alone.
    for (int index : {0, 2}) {
        f->cmbDevice->setCurrentIndex(index);
        switchOn(0);
    }
    QVERIFY(received([](const CanFrame& fr) { return fr.type() == CANCOM_MOTOR_IN; }, 2));
    kx::DataObject* devices = kx::d(QStringLiteral("project.device"));
    const Identity first = identityOf(devices->c(0));
    const Identity third = identityOf(devices->c(2));
    if (event == QLatin1String("disconnect")) {
        Helper::instance()->worker()->disconnectPort();
    } else if (event == QLatin1String("error")) {
        // A port that reports an error but still takes writes.
        auto* port = Helper::instance()->worker()->findChild<QSerialPort*>();
        emit port->errorOccurred(QSerialPort::ReadError);
        QTRY_VERIFY(!Helper::instance()->worker()->isConnected());
    } else {
        Helper::instance()->destroyBackends();
    }
    QVERIFY(received(isReset, 2));
    const QVector<CanFrame> frames = m_bench->frames();
    QCOMPARE(count(frames, [&](const CanFrame& fr) { return isResetOf(fr, first); }), 1);
    QCOMPARE(count(frames, [&](const CanFrame& fr) { return isResetOf(fr, third); }), 1);
    QCOMPARE(count(frames, [](const CanFrame& fr) { return isReset(fr) && fr.destination() == 2; }), 0);
    QCOMPARE(count(frames, isReset), 2);
    QVERIFY(!m_sidebar->sendLoop()->isBusy());
}

void TestMotionBench::switchFollowsTheMotorAfterAJog() {
    QVERIFY(open(1));
    kx::DataObject* device = Helper::instance()->currentDeviceDobj();
    switchOn(1);  // position mode
    QVERIFY(received([](const CanFrame& fr) { return isType(fr, CANCOM_MOTOR_IN, 1); }));
    QTest::mousePress(f->btnJogPlus, Qt::LeftButton);
    QVERIFY(received([](const CanFrame& fr) { return isJog(fr, true); }));
    QTest::mouseRelease(f->btnJogPlus, Qt::LeftButton);
    QVERIFY(received([](const CanFrame& fr) { return isJog(fr, false); }));
    // The motor stays enabled in jog mode: the switch says so, the note says how, and the
    // mode list keeps the user's choice.
    QTRY_VERIFY_WITH_TIMEOUT(note().contains(QStringLiteral("jog mode")), 5000);
    QVERIFY(f->ebControl->isOn());
    QCOMPARE(device->c(QStringLiteral("_mode"))->getInt(-1), 7);
    QCOMPARE(f->cmbControlMode->currentIndex(), 1);
    QVERIFY(!f->stackedWidget->isEnabled());
    // Off resets it, and the motor's answer agrees.
    QTest::mouseClick(f->ebControl, Qt::LeftButton);
    QVERIFY(received([](const CanFrame& fr) { return isReset(fr) && fr.destination() == 1; }));
    QTRY_COMPARE_WITH_TIMEOUT(f->lblLiveMode->text(), QStringLiteral("Reset"), 5000);
    QVERIFY(!f->ebControl->isOn());
    QVERIFY(note().isEmpty());
}

void TestMotionBench::estopKeepsTheChosenMode() {
    QVERIFY(open(1));
    switchOn(2);  // velocity mode
    QVERIFY(received([](const CanFrame& fr) { return isType(fr, CANCOM_MOTOR_IN, 1); }));
    QTest::mouseClick(f->btnEstop, Qt::LeftButton);
    QVERIFY(received([](const CanFrame& fr) { return isType(fr, CANCOM_MOTOR_BRAKE, 1); }));
    QTRY_COMPARE_WITH_TIMEOUT(f->lblLiveMode->text(), QStringLiteral("Brake"), 5000);
    QVERIFY(!f->ebControl->isOn());
    QVERIFY(f->cmbControlMode->isEnabled());
    QCOMPARE(f->cmbControlMode->currentIndex(), 2);
    QCOMPARE(f->stackedWidget->currentIndex(), int(SidebarForm::PageVel));
}

void TestMotionBench::motorReportsAreShownNotHidden() {
    QVERIFY(open(1));
    kx::DataObject* device = Helper::instance()->currentDeviceDobj();
    const Identity motor = identityOf(device);
    // Switched on by someone else: the panel shows it running and says it did not do that.
    sendRaw(MotorFrames::enterMotorMode(1));
    QTRY_VERIFY_WITH_TIMEOUT(f->ebControl->isOn(), 5000);
    QVERIFY2(note().contains(QStringLiteral("did not switch it on")), qPrintable(note()));
    QVERIFY(!f->stackedWidget->isEnabled());
    QTest::mouseClick(f->ebControl, Qt::LeftButton);
    QVERIFY(received([](const CanFrame& fr) { return isReset(fr) && fr.destination() == 1; }));
    QTRY_VERIFY_WITH_TIMEOUT(note().isEmpty(), 5000);
    QVERIFY(!f->ebControl->isOn());

    // Switched on here, reset by someone else: the switch follows the motor, the note tells.
    switchOn(2);
    QVERIFY(received([](const CanFrame& fr) { return isType(fr, CANCOM_MOTOR_IN, 1); }, 2));
    QTRY_COMPARE_WITH_TIMEOUT(f->lblLiveMode->text(), QStringLiteral("Running"), 5000);
    sendRaw(MotorFrames::enterResetMode(1, motor.mcuId));
    QTRY_VERIFY_WITH_TIMEOUT(!f->ebControl->isOn(), 5000);
    QCOMPARE(note(),
             QStringLiteral("The motor reports reset mode, not the Velocity Mode this panel switched on."));
    QVERIFY(f->cmbControlMode->isEnabled());
    QVERIFY(!f->stackedWidget->isEnabled());
}

void TestMotionBench::multipleDevicesKeepJogOff() {
    QVERIFY(open(2, QString(), true));
    QVERIFY2(note().contains(QStringLiteral("multiple devices")), qPrintable(note()));
    QVERIFY(!f->btnJogPlus->isEnabled());
    QVERIFY(!f->btnJogMinus->isEnabled());
    // A press and release that still arrive (a key, a script) send no jog and no run mode.
    f->btnJogPlus->setEnabled(true);
    QTest::mousePress(f->btnJogPlus, Qt::LeftButton);
    QTest::mouseRelease(f->btnJogPlus, Qt::LeftButton);
    mark();
    QCOMPARE(count(m_bench->frames(), [](const CanFrame& fr) { return isSdo(fr, 0x7005); }), 0);
    // Turning the setting off gives motion back, and the note goes.
    setConfig(QStringLiteral("enable_multiple_devices"), false);
    QVERIFY(f->btnJogPlus->isEnabled());
    QVERIFY(!note().contains(QStringLiteral("multiple devices")));
}

void TestMotionBench::liveValuesInThePanelAndTheTree() {
    QVERIFY(open(1));
    DeviceWidget tree;
    tree.show();
    LiveValues* live = LiveValues::of(Helper::instance()->worker());
    QVector<qint64> refreshes;
    QElapsedTimer clock;
    clock.start();
    connect(live, &LiveValues::refreshed, &tree, [&] { refreshes << clock.elapsed(); });
    QTreeWidgetItem* liveRow = tree.deviceItem(Helper::instance()->currentDeviceDobj()->name())->child(3);
    QCOMPARE(liveRow->text(0), QStringLiteral("Live"));

    // A stream of MIT frames: the motor answers each with its feedback, which drives it to 1 rad.
    switchOn(0);
    f->mitPos->spin()->setValue(1);
    f->kp->spin()->setValue(50);
    f->kd->spin()->setValue(1);
    f->continuously[SidebarForm::PageMit]->setChecked(true);
    QTest::mouseClick(f->start[SidebarForm::PageMit], Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f->lblLivePos->text().startsWith(QStringLiteral("0.9")) ||
                                 f->lblLivePos->text().startsWith(QStringLiteral("1.0")),
                             10000);
    QVERIFY(f->lblLivePos->text().endsWith(QStringLiteral(" rad")));
    QCOMPARE(f->lblLiveMode->text(), QStringLiteral("Running"));
    QCOMPARE(f->lblLiveFault->text(), QStringLiteral("None"));
    QVERIFY(f->lblLivePos->styleSheet().isEmpty());  // fresh
    QCOMPARE(liveRow->child(0)->text(1), f->lblLivePos->text());
    QCOMPARE(liveRow->child(3)->text(1), QStringLiteral("Running"));
    QVERIFY(liveRow->child(0)->data(1, Qt::ForegroundRole).isNull());
    // Feedback comes a hundred times a second; the views redraw at most ten times.
    const int before = refreshes.size();
    QTest::qWait(600);
    QVERIFY(refreshes.size() > before);
    for (int i = 1; i < refreshes.size(); ++i)
        QVERIFY2(refreshes[i] - refreshes[i - 1] >= LiveValues::kRefreshMs - 5,
                 qPrintable(QString::number(i)));

    // Stopped: a second later the values are shown dimmed, as what was, not what is.
    QTest::mouseClick(f->stop[SidebarForm::PageMit], Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!f->lblLivePos->styleSheet().isEmpty(), 5000);
    QVERIFY(!liveRow->child(0)->data(1, Qt::ForegroundRole).isNull());
    QCOMPARE(liveRow->text(1), QStringLiteral("Stale"));
    QCOMPARE(liveRow->toolTip(1), QStringLiteral("No recent feedback"));
}

TRIVANE_GUI_TEST_MAIN(TestMotionBench)
#include "tst_motionbench.moc"
