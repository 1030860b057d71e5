#include "workbench/tools/devicetools.h"

#include "app/filedialogs.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/firmware/firmwareflow.h"
#include "link/firmware/firmwareupdate.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motionguard.h"
#include "link/linkstates.h"
#include "link/linkwait.h"
#include "workbench/tools/busycover.h"
#include "workbench/tools/detectdevicedialog.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

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

// Statuses the worker announced while a flow waits; the flow tests what it has seen, not
// the last status alone, which any feedback frame overwrites.
class StatusLog {
public:
    StatusLog() {
        if (CANWorker* worker = Helper::instance()->worker())
            m_connection = QObject::connect(worker, &CANWorker::linkStatus, [this](int s) { m_seen << s; });
    }
    ~StatusLog() { QObject::disconnect(m_connection); }
    bool sawAny(std::initializer_list<int> statuses) const {
        for (int s : statuses) {
            if (m_seen.contains(s))
                return true;
        }
        return false;
    }

private:
    QMetaObject::Connection m_connection;
    QList<int> m_seen;
};

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
}

void DeviceTools::followWorking(bool working) {
    m_btnConnect->setEnabled(!working);
    m_btnDisconnect->setEnabled(working);
}

void DeviceTools::onConnect() {
    auto* dialog = new DetectDeviceDialog(mainWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFixedSize(dialog->size());
    dialog->open();
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
    StatusLog log;
    LinkCommands::send(LinkCommand::calibrate(MotionGuard::canIdOf(device)));
    LinkWait::Options options;
    options.device = device;
    options.timeoutMs = 8000;
    LinkWait::Result r = LinkWait::until([&] { return log.sawAny({OTA_STA_ENCODER_CALI_ING}); }, options);
    if (r == LinkWait::Result::TimedOut) {
        cover.remove();
        helper->showError(tr("Calibration failed!"));
        return;
    }
    // Once the motor calibrates there is no time limit: it ends with its result rows and its
    // offset, or with the adapter or the device going away.
    options.timeoutMs = -1;
    if (r == LinkWait::Result::Done) {
        cover.show(tr("Calibrating encoder..."));
        r = LinkWait::until(
            [&] {
                return log.sawAny(
                    {OTA_STA_ENCODER_CALI_RESULT, OTA_STA_ENCODER_CALI_DONE, OTA_STA_HALL_CALI_DONE});
            },
            options);
    }
    if (r == LinkWait::Result::Done) {
        cover.show(tr("Saving calibration result..."));
        r = LinkWait::until(
            [&] {
                return log.sawAny({OTA_STA_ENCODER_CALI_DONE, OTA_STA_HALL_CALI_DONE});
            },
            options);
    }
    cover.remove();
    if (r == LinkWait::Result::PortClosed) {
        // The worker has shown the port's error box; one line says what it cut short.
        helper->postStatus(tr("Calibration aborted: the adapter was disconnected."), QStringLiteral("ERROR"));
    } else if (r == LinkWait::Result::DeviceRemoved) {
        helper->showError(tr("Calibration aborted: the device was removed."));
    }
}

void DeviceTools::onChangeCanId() {
    kx::DataObject* device = Helper::instance()->activatedDevice();
    if (!device)
        return;
    const int canId = m_spnCanId->value();
    LinkCommands::send(LinkCommand::setCanId(MotionGuard::canIdOf(device), canId));
    if (kx::d(QStringLiteral("config.setting.auto_increase_can_id"))->getBool(false))
        m_spnCanId->setValue(canId + 1);
}

void DeviceTools::onResetZero() {
    kx::DataObject* device = Helper::instance()->activatedDevice();
    if (!device)
        return;
    LinkCommands::send(LinkCommand::zero(MotionGuard::canIdOf(device), m_cmbMotorInit->currentIndex()));
}

void DeviceTools::onUpdate() {
    Helper* helper = Helper::instance();
    if (!helper->activatedDevice())
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
    if (!helper->askNotice(tr("Are you sure to update? This may take a while.")))
        return;

    BusyCover cover(tr("Erasing flash..."));
    FirmwareFlow flow;
    QMetaObject::Connection progress;
    connect(&flow, &FirmwareFlow::sending, this, [&] {
        cover.show(tr("Sending file... %1%").arg(0));
        progress = connect(kx::d(QStringLiteral("temp_device.update_progress")), &kx::DataObject::changed,
                           this, [&cover](const QVariant& value) {
                               cover.show(DeviceTools::tr("Sending file... %1%").arg(value.toInt()));
                           });
    });
    const FirmwareFlow::Report report = flow.run(image);
    disconnect(progress);
    cover.remove();
    switch (report.result) {
        case FirmwareFlow::Result::Succeeded:
            helper->showInformation(report.message);
            break;
        case FirmwareFlow::Result::PortClosed:
            // The worker has shown the port's error box already.
            helper->postStatus(report.message, QStringLiteral("ERROR"));
            break;
        default:
            helper->showError(report.message);
            break;
    }
}
