#include "workbench/sidebar/sidebar.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/flows/motionrecipe.h"
#include "link/linkcommands.h"
#include "link/motionguard.h"
#include "link/motorframes.h"
#include "link/motormodel.h"
#include "link/motorstates.h"
#include "link/otathread.h"
#include "workbench/device/livevalues.h"
#include "workbench/sidebar/enablebutton.h"
#include "workbench/sidebar/motionranges.h"
#include "workbench/sidebar/setpointrow.h"
#include "workbench/sidebar/sidebarform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStackedWidget>

// The resource initialiser must be declared outside any namespace.
static void initSidebarResources() {
    Q_INIT_RESOURCE(sidebar);
}

namespace {

bool multipleDevices() {
    return kx::d(QStringLiteral("config.setting.enable_multiple_devices"))->getBool(false);
}

// The run mode the panel records while a jog holds the motor: not one of the control modes.
constexpr int kJogMode = 7;
// Mode state of a motor in motor (run) mode.
constexpr int kRunning = 2;
// How long the panel waits for the motor to answer a mode command before it says so.
constexpr int kConfirmMs = 1000;
// Right after a command, a report that disagrees with it may have been on its way before the
// motor got the command (the answer to an earlier set-point): it counts only after this.
constexpr int kGraceMs = 300;

void setDimmed(QLabel* label, bool dimmed) {
    const QString sheet = dimmed ? QStringLiteral("color:#808080;") : QString();
    if (label->styleSheet() != sheet)
        label->setStyleSheet(sheet);
}

// One object write whose value is read when it is sent, to the motor current when it is sent.
SendStep write(const std::function<int()>& canId, int index, QDoubleSpinBox* spin, int pauseAfter) {
    return {[canId, index, spin] { return LinkCommand::sdoFloat(canId(), index, spin->value()); },
            pauseAfter};
}

}  // namespace

Sidebar::Sidebar(QWidget* parent) : QWidget(parent) {
    initSidebarResources();
    setObjectName(QStringLiteral("Sidebar"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("Sidebar {\nborder:none;\nborder-left:1px solid #1e1e1e;\n}"));
    resize(452, 706);
    m_form = new SidebarForm(this);
    SidebarForm* f = m_form;

    m_loop = new SendLoop(this);
    m_loop->setSender([this](const SendStep& step) {
        // A continuous stream logs its first round, not a hundred lines a second.
        LinkCommands::QuietScope quiet(m_loop->repeatedRound());
        return LinkCommands::send(step.command());
    });

    Helper* helper = Helper::instance();
    if (CANWorker* worker = helper->worker()) {
        connect(worker, &CANWorker::deviceChanged, this, &Sidebar::refillDevices);
        connect(worker, &CANWorker::connectionChanged, this, [this](bool connected) {
            if (!connected)
                m_loop->stop();
            showMotion();
        });
        connect(LiveValues::of(worker), &LiveValues::refreshed, this, [this] {
            showLive();
            showMotion();
        });
        // Every feedback frame lands here: one look at the device and one at its state.
        connect(worker, &CANWorker::motorChanged, this, [this](quint8 canId) {
            kx::DataObject* record = device();
            if (record->isEmpty() || canId != MotionGuard::canIdOf(record))
                return;
            const MotorState state = MotorStates::get(canId);
            if (state.modelKnown != m_modelKnown || (m_modelKnown && state.modelCode != m_appliedCode))
                updatePages();
        });
        connect(MotionGuard::of(worker), &MotionGuard::portClosing, this, &Sidebar::onPortClosing);
    }
    connect(helper, &Helper::currentDeviceDobjChanged, this, &Sidebar::onCurrentDeviceChanged);
    connect(f->cmbDevice, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &Sidebar::changeDevice);

    connect(f->btnEstop, &QPushButton::clicked, this, &Sidebar::estop);
    // Window-wide and owned by the window: the stop must depend neither on where the focus
    // is nor on whether the panel is shown.
    m_shortcut = new QShortcut(estopKey(), window(), nullptr, nullptr, Qt::WindowShortcut);
    connect(m_shortcut, &QShortcut::activated, this, &Sidebar::estop);
    f->btnEstop->setToolTip(
        tr("Brake every connected motor (%1)").arg(estopKey().toString(QKeySequence::NativeText)));

    connect(f->btnJogPlus, &QPushButton::pressed, this, [this] { jogPress(true); });
    connect(f->btnJogMinus, &QPushButton::pressed, this, [this] { jogPress(false); });
    // A disabled button that was held down reports its release as well.
    connect(f->btnJogPlus, &QPushButton::released, this, &Sidebar::jogRelease);
    connect(f->btnJogMinus, &QPushButton::released, this, &Sidebar::jogRelease);

    connect(f->cmbControlMode, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        m_form->stackedWidget->setCurrentIndex(index);
        m_form->wgtSin->setVisible(index >= 1 && index <= 4);
    });
    connect(f->ebControl, &EnableButton::enabled, this, &Sidebar::onMotionSwitch);
    connect(f->ebSin, &EnableButton::enabled, this, &Sidebar::onSineSwitch);
    for (int page = 0; page < SidebarForm::PageCount; ++page) {
        if (!f->start[page])
            continue;
        QPushButton* stop = f->stop[page];
        connect(f->continuously[page], &QCheckBox::toggled, stop, &QWidget::setVisible);
        connect(f->start[page], &QPushButton::clicked, this, [this, page] { startPage(page); });
        connect(stop, &QPushButton::clicked, m_loop, &SendLoop::stop);
    }
    connect(f->btnSendIq1, &QPushButton::clicked, this, &Sidebar::sendCurrent);
    connect(kx::d(QStringLiteral("config.setting.enable_multiple_devices")), &kx::DataObject::changed, this,
            &Sidebar::showMotion);
    m_confirm.setSingleShot(true);
    connect(&m_confirm, &QTimer::timeout, this, [this] {
        showMotion();
        // Once at the end of the grace, once when the answer is overdue.
        LiveValues* live = liveValues();
        const qint64 since = live ? live->now() - m_commandAt : kConfirmMs;
        if (since <= kConfirmMs)
            m_confirm.start(int(kConfirmMs - since) + 50);
    });

    f->cmbControlMode->setCurrentIndex(0);
    f->stackedWidget->setCurrentIndex(0);
    f->wgtSin->setVisible(false);
    f->ebControl->setSwitch(false, true);
    loadSine(device());
    updatePages();
    refillDevices();
    showLive();
    showMotion();
}

Sidebar::~Sidebar() {
    m_loop->stop();
    delete m_shortcut.data();
}

QKeySequence Sidebar::estopKey() {
    return QKeySequence(Qt::Key_Escape);
}

kx::DataObject* Sidebar::device() const {
    return Helper::instance()->currentDeviceDobj();
}

MotionGuard* Sidebar::guard() const {
    return MotionGuard::of(Helper::instance()->worker());
}

void Sidebar::refillDevices() {
    // The user's choice survives a refill (another motor announcing itself); only when it is
    // gone does the first connected device take its place.
    QComboBox* combo = m_form->cmbDevice;
    const QString current = device()->isEmpty() ? QString() : device()->name();
    {
        const QSignalBlocker block(combo);
        combo->clear();
        for (kx::DataObject* record : kx::d(QStringLiteral("project.device"))->cdobjs()) {
            if (record->c(QStringLiteral("_connected"))->getBool(false))
                combo->addItem(QIcon(), CANWorker::deviceDisplayName(record), record->name());
        }
        const int keep = combo->findData(current);
        combo->setCurrentIndex(keep >= 0 ? keep : (combo->count() > 0 ? 0 : -1));
    }
    // An unconnected current device stays current (it may be chosen in the device tree).
    if (combo->currentIndex() < 0 && !device()->isEmpty()) {
        showDevice(device());
        return;
    }
    // Another motor announcing itself changes nothing for the device shown.
    const QString shown = m_device ? m_device->name() : QString();
    if (combo->currentData().toString() == shown && shown == current && !shown.isEmpty())
        return;
    changeDevice(combo->currentIndex());
}

void Sidebar::onCurrentDeviceChanged() {
    QComboBox* combo = m_form->cmbDevice;
    const int index = device()->isEmpty() ? -1 : combo->findData(device()->name());
    if (index >= 0 && index != combo->currentIndex()) {
        combo->setCurrentIndex(index);  // changeDevice follows
        return;
    }
    if (index < 0) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(-1);
    }
    showDevice(device());
}

void Sidebar::changeDevice(int index) {
    const QString name = m_form->cmbDevice->itemData(index).toString();
    kx::DataObject* record =
        index < 0 ? kx::d().emptyDobj() : kx::d(QStringLiteral("project.device"))->c(name);
    Helper* helper = Helper::instance();
    if (record != helper->currentDeviceDobj()) {
        // The Helper's signal comes back here; the index already matches, so it only shows.
        helper->setCurrentDeviceDobj(record);
        return;
    }
    showDevice(record);
}

void Sidebar::showDevice(kx::DataObject* record) {
    // Refills come with every announcement: only a change of the device shown is news.
    const QString shown = record->isEmpty() ? QString() : record->name();
    if (!m_announced || *m_announced != shown) {
        m_announced = shown;
        Helper::instance()->postStatus(
            record->isEmpty() ? tr("No device")
                              : tr("Activate device: %1").arg(CANWorker::deviceDisplayName(record)));
    }
    if (m_device != record) {
        if (m_device)
            disconnect(m_device, &QObject::destroyed, m_loop, nullptr);
        if (m_device)
            disconnect(m_device->c(QStringLiteral("_connected")), &kx::DataObject::changed, this, nullptr);
        m_device = record->isEmpty() ? nullptr : record;
        // Nothing may keep streaming to a record that is gone.
        if (m_device) {
            connect(m_device, &QObject::destroyed, m_loop, &SendLoop::stop);
            connect(m_device->c(QStringLiteral("_connected")), &kx::DataObject::changed, this,
                    &Sidebar::showMotion);
        }
        // The motor's own current limit arrives with its parameter table.
        disconnect(m_paramWatch);
        if (m_device) {
            m_paramWatch = connect(m_device->c(QStringLiteral("param")), &kx::DataObject::changed, this,
                                   &Sidebar::applyCurrentLimit);
        }
    }
    loadSine(record);
    bindRows(record);
    showLive();
    applyCurrentLimit();
    modeSync(-2);
    if (!record->isEmpty() && !modelKnown())
        if (MotionGuard* g = guard())
            g->queryModel(MotionGuard::canIdOf(record));
}

void Sidebar::loadSine(kx::DataObject* record) {
    kx::DataObject* sin = record->r(QStringLiteral("_control.sin"));
    // Records written elsewhere may carry the switch as "enabled": read it once, keep it
    // under "enable" from then on.
    kx::DataObject* legacy = sin->c(QStringLiteral("enabled"));
    if (!legacy->isEmpty()) {
        const bool on = legacy->getBool(false);
        sin->remove(this, QStringLiteral("enabled"));
        sin->set(this, QStringLiteral("enable"), on, true);
    }
    {
        const QSignalBlocker block(m_form->ebSin);
        m_form->ebSin->setSwitch(sin->c(QStringLiteral("enable"))->getBool(false), false);
    }
    m_form->dspnSinA->setValue(sin->c(QStringLiteral("amplitude"))->getDouble(0));
    m_form->dspnSinF->setValue(sin->c(QStringLiteral("frequency"))->getDouble(0));
}

void Sidebar::bindRows(kx::DataObject* record) {
    static const char* const nodes[] = {"mit.torque",  "mit.pos",  "mit.vel", "mit.kp",  "mit.kd",
                                        "pos.vel",     "pos.acc",  "pos.pos", "vel.vel", "vel.acc1",
                                        "vel.current", "pos2.vel", "pos2.pos"};
    const QVector<SetpointRow*>& rows = m_form->rows;
    for (int i = 0; i < rows.size(); ++i) {
        kx::DataObject* node =
            record->isEmpty() ? record : record->r(QStringLiteral("_control.") + QLatin1String(nodes[i]));
        rows[i]->bind(node);
    }
}

void Sidebar::modeSync(int m) {
    kx::DataObject* record = device();
    const int mode = record->c(QStringLiteral("_mode"))->getInt(-1);
    if (m != -2) {
        if (m == mode) {
            showMotion();
            return;
        }
        if (!record->isEmpty())
            record->set(this, QStringLiteral("_mode"), m, true);
    }
    showMotion();
    m_loop->stop();
}

LiveValues* Sidebar::liveValues() const {
    return LiveValues::of(Helper::instance()->worker());
}

void Sidebar::commandSent(quint8 canId) {
    LiveValues* live = liveValues();
    m_commandCanId = canId;
    m_commandAt = live ? live->now() : -1;
    m_commandSerial = live ? live->serial() : 0;
    m_confirm.start(kGraceMs + 50);
}

void Sidebar::askState(quint8 canId) {
    CANWorker* worker = Helper::instance()->worker();
    if (worker && worker->isConnected() && worker->link())
        worker->link()->sendFrame(MotorFrames::modelQuery(canId));
}

void Sidebar::showMotion() {
    kx::DataObject* record = device();
    const int mode = record->c(QStringLiteral("_mode"))->getInt(-1);
    const bool connected = !record->isEmpty() && record->c(QStringLiteral("_connected"))->getBool(false);
    LiveValues* live = liveValues();
    LiveValues::Motor motor;
    bool counted = false;  // a report the panel's last command could not have made stale
    const quint8 canId = MotionGuard::canIdOf(record);
    if (!record->isEmpty() && live) {
        motor = live->motor(canId);
        const bool afterCommand = m_commandCanId != canId || motor.reportSerial > m_commandSerial;
        const bool agrees = (motor.state.modeState == kRunning) == (mode >= 0);
        const bool settled = m_commandCanId != canId || live->now() - m_commandAt > kGraceMs;
        counted = motor.reported && afterCommand && (agrees || settled);
    }
    // What the motor said wins over what the panel last asked for; of a motor that is away
    // nothing is known, and nothing could be switched.
    const bool on = connected && (counted ? motor.state.modeState == kRunning : mode >= 0);
    {
        const QSignalBlocker block(m_form->ebControl);
        m_form->ebControl->setSwitch(on, false);
    }
    if (m_shownOn && !on)
        m_loop->stop();
    m_shownOn = on;
    m_form->cmbControlMode->setEnabled(!on);
    // Off (an E-stop, a reset) keeps the mode the user chose in the list.
    const int item = m_form->cmbControlMode->findData(mode);
    if (item >= 0)
        m_form->cmbControlMode->setCurrentIndex(item);

    const bool multiple = multipleDevices();
    for (QPushButton* b : {m_form->btnJogPlus, m_form->btnJogMinus})
        b->setEnabled(!multiple || m_jogging);

    QStringList note;
    if (record->isEmpty()) {
        note << tr("No activated device: connect a motor or choose one in the device list.");
    } else if (!connected) {
        note << tr("%1 is disconnected.").arg(CANWorker::deviceDisplayName(record));
    } else {
        if (multiple)
            note << tr(
                "Motion control is off while multiple devices are enabled: the switch only "
                "resets the motor and JOG is unavailable.");
        if (!modelKnown())
            note << tr("Waiting for the motor's model reply: its set-point ranges are not known yet.");
        if (counted && motor.state.modeState == kRunning && mode == kJogMode) {
            note << tr("The motor is running in jog mode; switch off to reset it.");
        } else if (counted && motor.state.modeState == kRunning && item < 0) {
            note << tr(
                "The motor reports that it is running, though this panel did not switch it on; "
                "switch off to reset it.");
        } else if (counted && motor.state.modeState != kRunning && mode >= 0 && mode != kJogMode) {
            note << tr("The motor reports %1 mode, not the %2 this panel switched on.")
                        .arg(LiveValues::modeName(motor.state.modeState).toLower(),
                             m_form->cmbControlMode->itemText(qMax(0, item)));
        } else if (!counted && m_commandCanId == canId && m_commandAt >= 0 && live &&
                   live->now() - m_commandAt > kConfirmMs) {
            note << tr("The motor has not confirmed its mode.");
        }
    }
    m_form->lblMotionNote->setText(note.join(QLatin1Char('\n')));
    m_form->lblMotionNote->setVisible(!note.isEmpty());
    updatePages();
}

void Sidebar::showLive() {
    kx::DataObject* record = device();
    LiveValues* live = liveValues();
    SidebarForm* f = m_form;
    const QString dash = QStringLiteral("–");
    if (record->isEmpty() || !live) {
        for (QLabel* label :
             {f->lblLivePos, f->lblLiveVel, f->lblLiveTorque, f->lblLiveMode, f->lblLiveFault}) {
            label->setText(dash);
            setDimmed(label, true);
        }
        return;
    }
    const LiveValues::Motor m = live->motor(MotionGuard::canIdOf(record));
    f->lblLivePos->setText(m.heard ? LiveValues::positionText(m.state) : dash);
    f->lblLiveVel->setText(m.heard ? LiveValues::velocityText(m.state) : dash);
    f->lblLiveTorque->setText(m.heard ? LiveValues::torqueText(m.state) : dash);
    f->lblLiveMode->setText(m.reported ? LiveValues::modeName(m.state.modeState) : dash);
    f->lblLiveFault->setText(m.reported ? LiveValues::faultText(m.state) : dash);
    const bool reportFresh = m.reported && live->now() - m.reportAt < LiveValues::kStaleMs;
    for (QLabel* label : {f->lblLivePos, f->lblLiveVel, f->lblLiveTorque})
        setDimmed(label, !m.fresh);
    setDimmed(f->lblLiveMode, !reportFresh);
    setDimmed(f->lblLiveFault, !reportFresh);
}

void Sidebar::onMotionSwitch(bool on) {
    kx::DataObject* record = device();
    if (record->isEmpty()) {
        const QSignalBlocker block(m_form->ebControl);
        m_form->ebControl->setSwitch(false, false);
        showMotion();
        return;
    }
    const int code = m_form->cmbControlMode->currentData().toInt();
    const bool multiple = multipleDevices();
    MotionGuard* g = guard();
    const int canId = MotionGuard::canIdOf(record);
    commandSent(canId);
    if (on && !multiple) {
        m_form->cmbControlMode->setEnabled(false);
        // Models of code 1 know CSP as run mode 1.
        LinkCommands::send(LinkCommand::setRunMode(
            canId, code == 5 ? MotionRecipe::runMode(MotionRecipe::Mode::Csp, modelCode()) : code));
        record->set(this, QStringLiteral("_mode"), code, true);
        if (LinkCommands::send(LinkCommand::setMode(canId, 1)) && g)
            g->arm(MotionGuard::canIdOf(record), MotionGuard::mcuIdOf(record));
    } else {
        LinkCommands::send(LinkCommand::setMode(MotionGuard::canIdOf(record), 2));
        m_loop->stop();
        if (g)
            g->disarm(MotionGuard::canIdOf(record));
        // With several motors on the bus the switch only resets: it must not show a motor
        // as running that was just put into reset mode.
        if (on) {
            Helper::instance()->postStatus(tr("Motion control is off while multiple devices are enabled."));
            const QSignalBlocker block(m_form->ebControl);
            m_form->ebControl->setSwitch(false, false);
        }
        record->set(this, QStringLiteral("_mode"), -1, true);
    }
    applyRanges();
    showMotion();
}

void Sidebar::onSineSwitch(bool on) {
    kx::DataObject* record = device();
    if (record->isEmpty()) {
        const QSignalBlocker block(m_form->ebSin);
        m_form->ebSin->setSwitch(false, false);
        Helper::instance()->activatedDevice();
        return;
    }
    record->set(this, QStringLiteral("_control.sin.enable"), on, true);
    record->set(this, QStringLiteral("_control.sin.amplitude"), m_form->dspnSinA->value(), true);
    record->set(this, QStringLiteral("_control.sin.frequency"), m_form->dspnSinF->value(), true);
    SendAction action;
    const auto target = targetId();
    if (on) {
        action << write(target, 0x7003, m_form->dspnSinA, kPauseMs)
               << write(target, 0x7002, m_form->dspnSinF, kPauseMs)
               << SendStep{[target] { return LinkCommand::sdoUint(target(), 0x7001, 1); }, 0};
    } else {
        // The stop goes out now, not after whatever was still in its pauses.
        m_loop->stop();
        action << SendStep{[target] { return LinkCommand::sdoUint(target(), 0x7001, 0); }, 0};
    }
    m_loop->start(action, false, 0);
}

void Sidebar::estop() {
    m_loop->stop();
    // Every motor the host talks to is braked at once; the active one also through the mode
    // command, whose answer confirms it on the status line.
    if (MotionGuard* g = guard())
        g->brake(MotionGuard::connectedCanIds());
    m_jogging = false;
    for (kx::DataObject* record : kx::d(QStringLiteral("project.device"))->cdobjs()) {
        if (record != device() && record->c(QStringLiteral("_mode"))->getInt(-1) >= 0)
            record->set(this, QStringLiteral("_mode"), -1, true);
    }
    if (!Helper::instance()->activatedDevice())
        return;
    commandSent(MotionGuard::canIdOf(device()));
    LinkCommands::send(LinkCommand::setMode(MotionGuard::canIdOf(device()), 0));
    modeSync(-1);
}

void Sidebar::jogPress(bool plus) {
    kx::DataObject* record = Helper::instance()->activatedDevice();
    if (!record)
        return;
    // With several motors on the bus motion stays off, jog included: the buttons are
    // disabled then, and a press that still arrives sends nothing.
    if (multipleDevices()) {
        showMotion();
        return;
    }
    const double speed = m_form->dspnJosSpeed->value();
    const quint8 canId = MotionGuard::canIdOf(record);
    if (LinkCommands::send(LinkCommand::jog(canId, plus ? speed : -speed, true))) {
        m_jogging = true;
        // A jogged motor is left enabled after the stop: reset it too when the port closes.
        if (MotionGuard* g = guard()) {
            g->setJogging(canId, true);
            g->arm(canId, MotionGuard::mcuIdOf(record));
        }
        commandSent(canId);
        modeSync(kJogMode);
        askState(canId);
        return;
    }
    modeSync(-1);
}

void Sidebar::jogRelease() {
    // The stop goes out whenever a jog may be running; with several motors on the bus no jog
    // was started, and a stop would still switch the motor's run mode to jog.
    const bool wasJogging = m_jogging;
    if (!multipleDevices() || wasJogging)
        LinkCommands::send(LinkCommand::jog(MotionGuard::canIdOf(device()), 0.0, false));
    m_jogging = false;
    kx::DataObject* record = device();
    if (MotionGuard* g = guard())
        g->setJogging(MotionGuard::canIdOf(record), false);
    // The motor stays enabled in jog mode after the stop; its answer tells the switch.
    if (wasJogging && !record->isEmpty()) {
        commandSent(MotionGuard::canIdOf(record));
        askState(MotionGuard::canIdOf(record));
    }
    showMotion();
}

void Sidebar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Dead man: a jog must not outlive the window's focus (the release may never arrive).
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        releaseHeldJog();
}

void Sidebar::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    releaseHeldJog();
}

void Sidebar::releaseHeldJog() {
    if (!m_jogging)
        return;
    for (QPushButton* b : {m_form->btnJogPlus, m_form->btnJogMinus})
        b->setDown(false);
    jogRelease();
}

void Sidebar::onPortClosing() {
    // The guard writes the jog stop and the resets; here only the panel follows.
    m_loop->stop();
    m_jogging = false;
    for (QPushButton* b : {m_form->btnJogPlus, m_form->btnJogMinus})
        b->setDown(false);
}

SendAction Sidebar::actionFor(int page) const {
    SidebarForm* f = m_form;
    const auto target = targetId();
    SendAction a;
    if (page == SidebarForm::PageMit) {
        a << SendStep{[f, target] {
                          MotorFrames::MitSetpoints sp;
                          sp.torque = float(f->torque->spin()->value());
                          sp.position = float(f->mitPos->spin()->value());
                          sp.velocity = float(f->mitVel->spin()->value());
                          sp.kp = float(f->kp->spin()->value());
                          sp.kd = float(f->kd->spin()->value());
                          return LinkCommand::mitControl(target(), sp);
                      },
                      0};
        return a;
    }
    using Mode = MotionRecipe::Mode;
    using Field = MotionRecipe::Field;
    Mode mode = Mode::Position;
    std::function<SetpointRow*(Field)> row;
    switch (page) {
        case SidebarForm::PagePos:
            row = [f](Field field) {
                return field == Field::Velocity       ? f->ppVel
                       : field == Field::Acceleration ? f->ppAcc
                                                      : f->ppPos;
            };
            break;
        case SidebarForm::PageVel:
            mode = Mode::Velocity;
            row = [f](Field field) {
                return field == Field::CurrentLimit   ? f->velCurrent
                       : field == Field::Acceleration ? f->velAcc
                                                      : f->velCmd;
            };
            break;
        case SidebarForm::PageCsp:
            mode = Mode::Csp;
            row = [f](Field field) { return field == Field::Velocity ? f->cspVel : f->cspPos; };
            break;
        default:
            return a;
    }
    // The recipe (which objects, in which order, by model) is the link's; the values are the rows'.
    for (const MotionRecipe::Write& w : MotionRecipe::writes(mode, modelCode()))
        a << write(target, w.index, row(w.field)->spin(), w.pauseAfterMs);
    return a;
}

void Sidebar::startPage(int page) {
    SendAction action = actionFor(page);
    if (action.isEmpty())
        return;
    const bool repeat = m_form->continuously[page] && m_form->continuously[page]->isChecked();
    // Rounds of object writes follow each other at the cadence of their own pauses.
    if (repeat && page != SidebarForm::PageMit)
        action.last().pauseAfterMs = qMax(action.last().pauseAfterMs, kPauseMs);
    m_loop->start(action, repeat, page == SidebarForm::PageMit ? kMitPeriodMs : 0);
}

void Sidebar::sendCurrent() {
    const MotionRecipe::Write w = MotionRecipe::writes(MotionRecipe::Mode::Current, modelCode()).value(0);
    m_loop->start({write(targetId(), w.index, m_form->dspnIq1, w.pauseAfterMs)}, false, 0);
}

std::function<int()> Sidebar::targetId() const {
    // Read when the write goes out: a stream follows the device the sidebar shows.
    return [] { return int(MotionGuard::canIdOf(Helper::instance()->currentDeviceDobj())); };
}

bool Sidebar::modelKnown() const {
    kx::DataObject* record = device();
    return record->isEmpty() ? MotorModel::known()
                             : MotorStates::get(MotionGuard::canIdOf(record)).modelKnown;
}

int Sidebar::modelCode() const {
    kx::DataObject* record = device();
    return record->isEmpty() ? MotorModel::code() : MotorStates::get(MotionGuard::canIdOf(record)).modelCode;
}

void Sidebar::applyRanges() {
    if (!modelKnown())
        return;
    if (MotionRanges::apply(m_form, modelCode()))
        m_appliedCode = modelCode();
    applyCurrentLimit();
}

void Sidebar::applyCurrentLimit() {
    bool known = false;
    const double limit = device()->r(QStringLiteral("param.limit_cur"))->get().toDouble(&known);
    MotionRanges::capCurrent(m_form, MotionRanges::currentMax(modelKnown() ? modelCode() : -1),
                             known ? limit : -1);
}

void Sidebar::updatePages() {
    m_modelKnown = modelKnown();
    if (m_modelKnown && modelCode() != m_appliedCode)
        applyRanges();
    // Set-points belong to a control mode the panel switched on; a motor running in jog mode
    // or switched on elsewhere has none.
    const int mode = device()->c(QStringLiteral("_mode"))->getInt(-1);
    const bool on = m_form->ebControl->isOn() && m_form->cmbControlMode->findData(mode) >= 0;
    m_form->stackedWidget->setEnabled(on && m_modelKnown);
    m_form->stackedWidget->setToolTip(
        m_modelKnown ? QString()
                     : tr("Waiting for the motor's model reply: its set-point ranges are not known yet."));
}
