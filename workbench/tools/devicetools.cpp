#include "workbench/tools/devicetools.h"

#include "app/filedialogs.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/flows/firmwareflow.h"
#include "link/firmware/firmwareupdate.h"
#include "link/helper.h"
#include "link/flows/calibrateflow.h"
#include "link/linkcommands.h"
#include "link/linkstates.h"
#include "link/linkwait.h"
#include "link/motionguard.h"
#include "workbench/device/firmwareversion.h"
#include "workbench/tools/busycover.h"
#include "workbench/tools/detectdevicedialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

namespace {

QFrame* separator(const QString& name, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color:#1e1e1e;"));
    return line;
}

QPushButton* button(const QString& name, const QString& text, const QString& icon, QWidget* parent) {
    auto* b = new QPushButton(QIcon(icon), text, parent);
    b->setObjectName(name);
    return b;
}

QLabel* iconLabel(const QString& icon, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(icon));
    label->setMaximumSize(16, 16);
    label->setScaledContents(true);
    return label;
}

QWidget* mainWindow() {
    return qobject_cast<QWidget*>(Helper::instance()->mainWindow());
}

// The next CAN ID to assign, kept while the strip is rebuilt on tab changes.
kx::DataObject* nextCanIdNode() {
    kx::DataObject* node = kx::d(QStringLiteral("temp_device.can_id"));
    if (node->isEmpty()) {
        kx::d().rootDobj()->set(nullptr, QStringLiteral("temp_device.can_id"), 1, true);
        node = kx::d(QStringLiteral("temp_device.can_id"));
    }
    return node;
}

// How long the motor has to report its new CAN ID before the box stays where it is.
constexpr int kCanIdAnswerMs = 1000;
// How long the version is asked for around a firmware update.
constexpr int kVersionReadMs = 3000;

// "Motor 1 (MCU ID 0x3a10c5e700001001, CAN ID 1)".
QString motorText(kx::DataObject* device) {
    return DeviceTools::tr("%1 (MCU ID 0x%2, CAN ID %3)")
        .arg(CANWorker::deviceDisplayName(device))
        .arg(MotionGuard::mcuIdOf(device), 0, 16)
        .arg(MotionGuard::canIdOf(device));
}

}  // namespace

DeviceTools::DeviceTools(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DeviceTools"));
    resize(1371, 26);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    m_btnConnect = button(QStringLiteral("btnConnect"), tr("Connect"),
                          QStringLiteral(":/images/motor/connect-device.png"), this);
    m_btnConnect->setIconSize(QSize(20, 20));
    m_btnReconnect = button(QStringLiteral("btnReconnect"), tr("Reconnect"),
                            QStringLiteral(":/images/motor/connect-device.png"), this);
    m_btnReconnect->setIconSize(QSize(20, 20));
    m_btnReconnect->setToolTip(tr("Connect the last serial port again; the motors listed keep their pages."));
    m_btnDisconnect = button(QStringLiteral("btnDisconnect"), tr("Disconnect"),
                             QStringLiteral(":/images/motor/disconnect-device.png"), this);
    m_btnDisconnect->setIconSize(QSize(20, 20));
    auto* btnDeviceInfo = button(QStringLiteral("btnDeviceInfo"), tr("Device Info"),
                                 QStringLiteral(":/images/info-circle.png"), this);
    auto* btnCalibration = button(QStringLiteral("btnEncoderCalibration"), tr("Encoder Calibration"),
                                  QStringLiteral(":/images/motor/calibration.png"), this);

    auto* canIdGroup = new QWidget(this);
    canIdGroup->setObjectName(QStringLiteral("widget"));
    auto* canIdLayout = new QHBoxLayout(canIdGroup);
    canIdLayout->setContentsMargins(0, 0, 0, 0);
    canIdLayout->setSpacing(4);
    canIdLayout->addWidget(iconLabel(QStringLiteral(":/images/motor/id.png"), canIdGroup));
    canIdLayout->addWidget(new QLabel(tr("Change CAN ID"), canIdGroup));
    m_spnCanId = new QSpinBox(canIdGroup);
    m_spnCanId->setObjectName(QStringLiteral("spnCanId"));
    m_spnCanId->setRange(1, 127);
    m_spnCanId->setToolTip(
        tr("The CAN ID to give the active motor; with \"auto increase\" on it moves to the "
           "next ID once the motor has taken this one."));
    canIdLayout->addWidget(m_spnCanId);
    auto* btnChangeCanId = new QPushButton(QStringLiteral("√"), canIdGroup);
    btnChangeCanId->setObjectName(QStringLiteral("btnChangeCanId"));
    canIdLayout->addWidget(btnChangeCanId);

    auto* btnInit = button(QStringLiteral("btnInit"), tr("Reset Zero Postion"),
                           QStringLiteral(":/images/motor/init.png"), this);

    auto* initGroup = new QWidget(this);
    initGroup->setObjectName(QStringLiteral("widget_2"));
    auto* initLayout = new QHBoxLayout(initGroup);
    initLayout->setContentsMargins(0, 0, 0, 0);
    initLayout->addWidget(iconLabel(QStringLiteral(":/images/motor/init.png"), initGroup));
    initLayout->addWidget(new QLabel(tr("Motor initialization"), initGroup));
    m_cmbMotorInit = new QComboBox(initGroup);
    m_cmbMotorInit->setObjectName(QStringLiteral("cmbMotorInit"));
    m_cmbMotorInit->addItems({tr("Right Front 1"), tr("Right Behind 1"), tr("Left Front 1"),
                              tr("Left Behind  1"), tr("Right Front 2"), tr("Right Behind 2"),
                              tr("Left Front 2"), tr("Left Behind 2"), tr("No. 3")});
    initLayout->addWidget(m_cmbMotorInit);
    auto* btnZeroMech = new QPushButton(QStringLiteral("√"), initGroup);
    btnZeroMech->setObjectName(QStringLiteral("btnZeroMech"));
    initLayout->addWidget(btnZeroMech);
    initGroup->hide();

    auto* btnUpdate = button(QStringLiteral("btnUpdate"), tr("Update"),
                             QStringLiteral(":/images/motor/catalog-download.png"), this);

    layout->addWidget(m_btnConnect);
    layout->addWidget(m_btnReconnect);
    layout->addWidget(m_btnDisconnect);
    layout->addWidget(separator(QStringLiteral("line_3"), this));
    layout->addWidget(btnDeviceInfo);
    layout->addWidget(separator(QStringLiteral("line"), this));
    layout->addWidget(btnCalibration);
    layout->addWidget(separator(QStringLiteral("line_4"), this));
    layout->addWidget(canIdGroup);
    layout->addWidget(separator(QStringLiteral("line_5"), this));
    layout->addWidget(btnInit);
    layout->addWidget(initGroup);
    layout->addWidget(separator(QStringLiteral("line_2"), this));
    layout->addWidget(btnUpdate);
    layout->addStretch(1);

    connect(m_btnConnect, &QPushButton::clicked, this, &DeviceTools::onConnect);
    connect(m_btnReconnect, &QPushButton::clicked, this, &DeviceTools::onReconnect);
    connect(m_btnDisconnect, &QPushButton::clicked, this, &DeviceTools::onDisconnect);
    connect(btnDeviceInfo, &QPushButton::clicked, this, &DeviceTools::onDeviceInfo);
    connect(btnCalibration, &QPushButton::clicked, this, &DeviceTools::onEncoderCalibration);
    connect(btnChangeCanId, &QPushButton::clicked, this, &DeviceTools::onChangeCanId);
    connect(btnInit, &QPushButton::clicked, this, &DeviceTools::onResetZero);
    connect(btnZeroMech, &QPushButton::clicked, this, &DeviceTools::onResetZero);
    connect(btnUpdate, &QPushButton::clicked, this, &DeviceTools::onUpdate);

    kx::DataObject* working = kx::d(QStringLiteral("working"));
    connect(working, &kx::DataObject::changed, this,
            [this](const QVariant& value) { followWorking(value.toBool()); });
    followWorking(working->getBool(false));
    if (CANWorker* worker = Helper::instance()->worker()) {
        connect(worker, &CANWorker::deviceChanged, this,
                [this] { followWorking(kx::d(QStringLiteral("working"))->getBool(false)); });
    }

    kx::DataObject* nextCanId = nextCanIdNode();
    m_spnCanId->setValue(nextCanId->getInt(1));
    connect(nextCanId, &kx::DataObject::changed, this, [this](const QVariant& value) {
        const QSignalBlocker block(m_spnCanId);
        m_spnCanId->setValue(value.toInt());
    });
    connect(m_spnCanId, QOverload<int>::of(&QSpinBox::valueChanged), this,
            [](int value) { nextCanIdNode()->set(nullptr, value); });
}

bool DeviceTools::devicesLeftBehind() {
    for (kx::DataObject* record : kx::d(QStringLiteral("project.device"))->cdobjs()) {
        if (!record->c(QStringLiteral("_connected"))->getBool(false))
            return true;
    }
    return false;
}

void DeviceTools::followWorking(bool working) {
    m_btnConnect->setEnabled(!working);
    m_btnDisconnect->setEnabled(working);
    // An adapter that went away left its motors listed: offer its port again.
    const QString port = kx::d(QStringLiteral("project.serial_port"))->getString();
    m_btnReconnect->setVisible(!working && !port.isEmpty() && devicesLeftBehind());
}

void DeviceTools::onConnect() {
    auto* dialog = new DetectDeviceDialog(mainWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFixedSize(dialog->size());
    dialog->open();
}

void DeviceTools::onReconnect() {
    CANWorker* worker = Helper::instance()->worker();
    const QString port = kx::d(QStringLiteral("project.serial_port"))->getString();
    if (!worker || port.isEmpty())
        return;
    if (!QFileInfo::exists(port)) {
        Helper::instance()->showError(
            tr("Serial port %1 is not there yet: plug the adapter in again.").arg(port));
        return;
    }
    worker->connectPort(port);
}

void DeviceTools::onDisconnect() {
    Helper* helper = Helper::instance();
    if (helper->askNotice(tr("Are you sure to disconnect?")) && helper->worker())
        helper->worker()->disconnectPort();
}

void DeviceTools::onDeviceInfo() {
    kx::d(QStringLiteral("trigger.device.info.new"))->trigger();
}

void DeviceTools::onEncoderCalibration() {
    Helper* helper = Helper::instance();
    kx::DataObject* device = helper->activatedDevice();
    if (!device)
        return;
    if (!helper->askNotice(tr("The motor will rotate during calibration, are you sure to continue?")))
        return;
    BusyCover cover(tr("Preparing calibration..."));
    // Once the motor calibrates there is no time limit: it ends with its result rows and its
    // offset, or with the adapter or the device going away.
    CalibrateFlow flow({MotionGuard::canIdOf(device)}, -1);
    bool started = false;
    connect(&flow, &Flow::progress, this, [&](const FlowProgress& p) {
        const QString stage = p.values.value(QStringLiteral("stage")).toString();
        started = started || !stage.isEmpty();
        if (stage == QLatin1String("calibrating"))
            cover.show(tr("Calibrating encoder..."));
        else if (stage == QLatin1String("saving"))
            cover.show(tr("Saving calibration result..."));
    });
    const FlowResult r = flow.run();
    cover.remove();
    if (r.outcome == FlowOutcome::PortClosed) {
        // The worker has shown the port's error box; one line says what it cut short.
        helper->postStatus(tr("Calibration aborted: the adapter was disconnected."), QStringLiteral("ERROR"));
    } else if (r.outcome == FlowOutcome::DeviceRemoved) {
        helper->showError(tr("Calibration aborted: the device was removed."));
    } else if (r.outcome == FlowOutcome::Busy) {
        helper->showError(r.reason);
    } else if (!r.ok() && !started) {
        helper->showError(tr("Calibration failed!"));
    }
}

void DeviceTools::onChangeCanId() {
    kx::DataObject* device = Helper::instance()->activatedDevice();
    if (!device)
        return;
    const int canId = m_spnCanId->value();
    const bool had = MotionGuard::canIdOf(device) == canId;
    if (!LinkCommands::send(LinkCommand::setCanId(MotionGuard::canIdOf(device), canId)))
        return;  // refused: the box keeps the ID for another try
    if (!kx::d(QStringLiteral("config.setting.auto_increase_can_id"))->getBool(false))
        return;
    // The box moves on only once the motor has taken the ID: a change that is lost or refused
    // must not skip one. The wait outlives the strip, which is rebuilt on tab changes.
    const int next = qMin(canId + 1, 127);
    if (had) {
        nextCanIdNode()->set(nullptr, next);
        return;
    }
    kx::DataObject* node = device->r(QStringLiteral("info.can_id"));
    auto* watch = new QObject(node);
    connect(node, &kx::DataObject::changed, watch, [watch, canId, next](const QVariant& value) {
        if (value.toInt() != canId)
            return;
        nextCanIdNode()->set(nullptr, next);
        watch->deleteLater();
    });
    QTimer::singleShot(kCanIdAnswerMs, watch, [watch] { watch->deleteLater(); });
}

void DeviceTools::onResetZero() {
    Helper* helper = Helper::instance();
    kx::DataObject* device = helper->activatedDevice();
    if (!device)
        return;
    if (!helper->askNotice(
            tr("Set the present position of %1 as its mechanical zero? Positions are counted from there "
               "afterwards.")
                .arg(motorText(device))))
        return;
    LinkCommands::send(LinkCommand::zero(MotionGuard::canIdOf(device), m_cmbMotorInit->currentIndex()));
}

void DeviceTools::onUpdate() {
    Helper* helper = Helper::instance();
    kx::DataObject* device = helper->activatedDevice();
    if (!device)
        return;
    const QString file =
        FileDialogs::openFileName(mainWindow(), tr("Open Binary File"), tr("Binary File(*.bin *.hex)"));
    if (file.isEmpty())
        return;
    // The file is judged before the question: an empty, oversized or unreadable file never
    // reaches the motor, which would erase its flash first.
    QByteArray image;
    QString problem;
    if (!FirmwareUpdate::readImage(file, &image, &problem)) {
        helper->showError(problem);
        return;
    }
    const QPointer<kx::DataObject> watched = device;
    QString before = FirmwareVersion::known(device);
    if (before.isEmpty()) {
        BusyCover asking(tr("Reading the firmware version..."));
        before = FirmwareVersion::read(device, kVersionReadMs);
    }
    if (!watched)
        return;
    const QString motor = motorText(device);
    if (!helper->askNotice(tr("Update the firmware of %1?\n\nFile: %2 (%3 bytes)\nRunning version: %4\n\n"
                              "Are you sure to update? This may take a while.")
                               .arg(motor, QFileInfo(file).fileName())
                               .arg(image.size())
                               .arg(before.isEmpty() ? tr("unknown") : before)))
        return;
    helper->postStatus(tr("Firmware update of %1 from %2 (%3 bytes), running version %4")
                           .arg(motor, file)
                           .arg(image.size())
                           .arg(before.isEmpty() ? tr("unknown") : before));

    BusyCover cover(tr("Erasing flash..."));
    FirmwareFlow flow(MotionGuard::canIdOf(device), image);
    QMetaObject::Connection progress;
    connect(&flow, &FirmwareFlow::sending, this, [&] {
        cover.show(tr("Sending file... %1%").arg(0));
        progress = connect(kx::d(QStringLiteral("temp_device.update_progress")), &kx::DataObject::changed,
                           this, [&cover](const QVariant& value) {
                               cover.show(DeviceTools::tr("Sending file... %1%").arg(value.toInt()));
                           });
    });
    flow.run();
    const FirmwareFlow::Report report = flow.details();
    disconnect(progress);
    // Every outcome goes to the Log tab and the log file as well: a box is gone once clicked.
    const bool ok = report.result == FirmwareFlow::Result::Succeeded;
    helper->postStatus(tr("%1: %2").arg(motor, report.message), ok ? QString() : QStringLiteral("ERROR"));
    if (!ok) {
        cover.remove();
        if (report.result == FirmwareFlow::Result::PortClosed)
            return;  // the worker has shown the port's error box already
        helper->showError(report.message);
        return;
    }
    // What runs now is what the motor says, not what was sent.
    cover.show(tr("Reading the firmware version..."));
    const QString after = watched ? FirmwareVersion::read(watched, kVersionReadMs) : QString();
    cover.remove();
    QString outcome;
    bool confirmed = false;
    if (after.isEmpty()) {
        outcome = tr("The motor did not report its firmware version after the update.");
        helper->postStatus(tr("%1: %2").arg(motor, outcome), QStringLiteral("ERROR"));
    } else if (!before.isEmpty() && after == before) {
        outcome = tr("The firmware version is still %1: the motor may not run the new image.").arg(after);
        helper->postStatus(tr("%1: %2").arg(motor, outcome), QStringLiteral("ERROR"));
    } else {
        outcome = before.isEmpty() ? tr("Firmware version: %1").arg(after)
                                   : tr("Firmware version: %1 (was %2)").arg(after, before);
        helper->postStatus(tr("%1: %2").arg(motor, outcome));
        confirmed = true;
    }
    if (confirmed)
        helper->showInformation(report.message + QLatin1String("\n\n") + outcome);
    else
        helper->showWarning(report.message + QLatin1String("\n\n") + outcome);
}
