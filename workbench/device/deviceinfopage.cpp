#include "workbench/device/deviceinfopage.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/flows/setcanidflow.h"
#include "link/motionguard.h"
#include "link/linkwait.h"
#include "link/motorstates.h"
#include "link/param/paramwalker.h"
#include "workbench/device/firmwareversion.h"
#include "workbench/device/featurechart.h"
#include "workbench/records/lastrunlabel.h"
#include "workbench/records/recordsscreens.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kCanIdWaitMs = 300;

QLabel* heading(const QString& html, QWidget* parent) {
    auto* label = new QLabel(html, parent);
    label->setTextFormat(Qt::RichText);
    return label;
}

QLabel* picture(const QString& resource, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(resource));
    label->setScaledContents(true);
    return label;
}

QFrame* frame(const QString& name, QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setStyleSheet(QStringLiteral("QFrame#%1 {\nbackground:#2b2b2b;\n}").arg(name));
    return f;
}

}  // namespace

DeviceInfoPage::DeviceInfoPage(QWidget* parent) : QWidget(parent), BaseEditorPage(QLatin1String(kKind)) {
    setObjectName(QStringLiteral("DeviceInfoPage"));
    resize(735, 720);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrollArea"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto* content = new QWidget(scroll);
    content->setObjectName(QStringLiteral("scrollAreaWidgetContents"));
    scroll->setWidget(content);
    // Texts and pictures sit on their frame's background, not on bands of the window colour.
    content->setStyleSheet(QStringLiteral("QLabel { background: transparent; }"));
    auto* column = new QVBoxLayout(content);

    QFrame* device = frame(QStringLiteral("frame"), content);
    auto* d = new QVBoxLayout(device);
    d->addWidget(heading(tr("<h2>Device</h2>"), device));
    d->addWidget(heading(tr("<h4>Device Name</h4>"), device));
    m_name = new QLabel(tr("Z48 Motor"), device);
    m_name->setObjectName(QStringLiteral("lblDeviceName"));
    d->addWidget(m_name);
    d->addWidget(heading(tr("<h4>Device Connection</h4>"), device));
    auto* connection = new QComboBox(device);
    connection->setObjectName(QStringLiteral("comboBox"));
    connection->addItem(tr("CAN - Serial Port"));
    // Room for the whole item text: the style's arrow would otherwise cut it.
    connection->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connection->setMinimumContentsLength(connection->itemText(0).size() + 2);
    auto* connectionRow = new QHBoxLayout;
    connectionRow->addWidget(connection);
    m_connection = new QLabel(device);
    m_connection->setObjectName(QStringLiteral("lblConnection"));
    connectionRow->addWidget(m_connection);
    connectionRow->addStretch(1);
    d->addLayout(connectionRow);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("MCU ID"), device), 0, 0);
    m_mcuId = new QLabel(tr("0x1234567890"), device);
    m_mcuId->setObjectName(QStringLiteral("lblMcuId"));
    m_mcuId->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(m_mcuId, 0, 1, 1, 2);
    grid->addWidget(new QLabel(tr("CAN ID"), device), 1, 0);
    m_canId = new QSpinBox(device);
    m_canId->setObjectName(QStringLiteral("spnCanId"));
    m_canId->setRange(1, 127);
    grid->addWidget(m_canId, 1, 1);
    m_change = new QPushButton(tr("Change"), device);
    m_change->setObjectName(QStringLiteral("btnChangeCanId"));
    grid->addWidget(m_change, 1, 2);
    grid->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 1, 3);
    grid->addWidget(new QLabel(tr("Firmware Version"), device), 2, 0);
    m_firmware = new QLabel(device);
    m_firmware->setObjectName(QStringLiteral("lblFirmwareVersion"));
    m_firmware->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(m_firmware, 2, 1);
    m_readVersion = new QPushButton(tr("Read"), device);
    m_readVersion->setObjectName(QStringLiteral("btnReadVersion"));
    grid->addWidget(m_readVersion, 2, 2);
    d->addLayout(grid);
    column->addWidget(device);

    QFrame* product = frame(QStringLiteral("frame_2"), content);
    auto* p = new QVBoxLayout(product);
    p->setSpacing(9);
    p->addWidget(heading(tr("<h2>Product</h2>"), product));
    p->addWidget(heading(tr("<h4>Proeduct Name</h4>"), product));
    p->addWidget(new QLabel(tr("Quellon"), product));
    p->addWidget(heading(tr("<h4>Product Color</h4>"), product));
    p->addWidget(new QLabel(tr("Black"), product));
    p->addWidget(heading(tr("<h4>Product Image</h4>"), product));
    // The pictures and curves of this motor's own model, as far as its model reply has told it.
    kx::DataObject* record = this->device();
    const MotorState state = MotorStates::get(quint8(record->r(QStringLiteral("info.can_id"))->getInt(0)));
    const int model = state.modelKnown ? state.modelCode : -1;
    m_product = picture(productPicture(model), product);
    m_product->setObjectName(QStringLiteral("lblProductImage"));
    m_product->setMaximumSize(200, 200);
    p->addWidget(m_product);
    p->addWidget(heading(tr("<h4>T-N Feature</h4>"), product));
    m_tn = new FeatureChart(FeatureChart::torqueSpeed(model), product);
    m_tn->setObjectName(QStringLiteral("chartTnFeature"));
    p->addWidget(m_tn);
    p->addWidget(heading(tr("<h4>Max Load Feature</h4>"), product));
    m_maxLoad = new FeatureChart(FeatureChart::maxLoad(model), product);
    m_maxLoad->setObjectName(QStringLiteral("chartMaxLoadFeature"));
    p->addWidget(m_maxLoad);
    column->addWidget(product);
    column->addStretch(1);

    m_name->setText(CANWorker::deviceDisplayName(record));
    if (CANWorker* worker = Helper::instance()->worker()) {
        connect(worker, &CANWorker::deviceChanged, this,
                [this] { m_name->setText(CANWorker::deviceDisplayName(this->device())); });
    }
    // The record is named after the MCU ID it was detected with.
    m_mcuId->setText(QStringLiteral("0x%1").arg(record->name()));
    bool named = false;
    const quint64 mcuId = record->name().toULongLong(&named, 16);
    if (named) {
        auto* lastRun = new LastRunLabel(mcuId, m_mcuId->parentWidget());
        m_mcuId->parentWidget()->layout()->addWidget(lastRun);
        connect(lastRun, &LastRunLabel::historyAsked, this, [this] { openRecordsFor(this->device()); });
    }
    m_canId->setValue(record->r(QStringLiteral("info.can_id"))->getInt(0));
    connect(m_change, &QPushButton::clicked, this, [this] { changeCanId(); });

    // The page stays while its motor is away (an unplugged adapter) and says so.
    if (!record->isEmpty()) {
        connect(record->c(QStringLiteral("_connected")), &kx::DataObject::changed, this,
                &DeviceInfoPage::showConnection);
        // Every description or read of the table may bring a new version.
        for (const char* event : {"reload", "upload"}) {
            connect(record->r(QStringLiteral("_trigger.param.") + QLatin1String(event)),
                    &kx::DataObject::changed, this, &DeviceInfoPage::showFirmwareVersion);
        }
    }
    connect(m_readVersion, &QPushButton::clicked, this, &DeviceInfoPage::readFirmwareVersion);
    showConnection();
    showFirmwareVersion();
}

void DeviceInfoPage::showConnection() {
    const bool connected = device()->c(QStringLiteral("_connected"))->getBool(false);
    m_connection->setText(connected ? tr("Connected") : tr("Disconnected"));
    m_connection->setStyleSheet(connected ? QStringLiteral("color: rgb(7, 193, 96);")
                                          : QStringLiteral("color: white;"));
    m_readVersion->setEnabled(connected);
}

void DeviceInfoPage::showFirmwareVersion() {
    const QString version = FirmwareVersion::known(device());
    m_firmware->setText(version.isEmpty() ? tr("Unknown") : version);
}

void DeviceInfoPage::readFirmwareVersion() {
    // Asked for by the user only: a description started in the background would cut into
    // whatever the link is doing for the motor meanwhile. The page shows the answer when the
    // table's reload or read comes in.
    kx::DataObject* record = device();
    if (record->isEmpty() || (m_walker && m_walker->running()))
        return;
    if (!m_walker)
        m_walker = new ParamWalker(record, this);
    const int code = FirmwareVersion::entryCode(record);
    if (code >= 0)
        m_walker->readOne(quint16(code));
    else
        m_walker->describe();
}

void DeviceInfoPage::open(kx::DataObject* device) {
    if (device && !device->isEmpty())
        Helper::instance()->setCurrentDeviceDobj(device);
    kx::d(QStringLiteral("trigger.device.info.new"))->trigger();
}

QString DeviceInfoPage::productPicture(int modelCode) {
    switch (modelCode) {
        case 0:
            return QStringLiteral(":/images/motor/tarnguanjie.png");
        case 1:
            return QStringLiteral(":/images/motor/braeguanjie.png");
        default:
            return QStringLiteral(":/images/motor/z48.png");
    }
}

bool DeviceInfoPage::changeCanId() {
    kx::DataObject* record = device();
    Helper* helper = Helper::instance();
    if (record->isEmpty()) {
        helper->showError(tr("No activated device!"));
        return false;
    }
    const int wanted = m_canId->value();
    // The answer arrives through the event loop; user input waits until it is decided. The
    // record may go meanwhile (a project opened): the flow ends then, and nothing reads it.
    const FlowResult r = SetCanIdFlow(MotionGuard::canIdOf(record), wanted, kCanIdWaitMs).run();
    if (r.outcome == FlowOutcome::Refused || r.outcome == FlowOutcome::Busy)
        return false;  // the refusal is on the status line, naming the motor that has the ID
    record = device();
    if (r.ok() && !record->isEmpty()) {
        helper->showInformation(
            tr("Device %1 CAN ID set successfully!").arg(CANWorker::deviceDisplayName(record)));
        return true;
    }
    helper->showError(tr("Device %1 CAN ID set failed!").arg(CANWorker::deviceDisplayName(record)));
    return false;
}
