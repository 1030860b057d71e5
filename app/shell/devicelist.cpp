#include "app/shell/devicelist.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"

#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

DeviceList::DeviceList(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DeviceWidget"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treeDevice"));
    m_tree->setHeaderLabels({tr("Device"), tr("MCU ID")});
    m_tree->setRootIsDecorated(false);
    m_tree->header()->setStretchLastSection(true);
    m_tree->setColumnWidth(0, 110);
    layout->addWidget(m_tree);

    m_devices = kx::d(QStringLiteral("project.device"));
    connect(m_devices, &kx::DataObject::added, this, [this](const QString& name) { onDeviceAdded(name); });
    connect(m_devices, &kx::DataObject::removed, this, [this] { refresh(); });
    // Values of a record (CAN ID, connection) arrive after the record itself.
    connect(m_devices, &kx::DataObject::activated, this, [this] { refresh(); });
    // A whole list copied in (a project opened) ends with the list's own change, after the
    // values of its last record.
    connect(m_devices, &kx::DataObject::changed, this, [this] { refresh(); });
    // Activation changes no row, only the highlight. Rebuilding here would also delete the
    // clicked item while the view is still handling that click.
    connect(Helper::instance(), &Helper::currentDeviceDobjChanged, this, [this] { paintRows(); });
    if (CANWorker* worker = Helper::instance()->worker())
        connect(worker, &CANWorker::deviceChanged, this, [this] {
            activateFirstConnected();
            refresh();
        });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        kx::DataObject* device = m_devices->c(item->data(0, Qt::UserRole).toString());
        if (!device->isEmpty() && kx::d(QStringLiteral("config.setting.trigger_by_left"))->getBool(true))
            Helper::instance()->setCurrentDeviceDobj(device);
    });
    refresh();
}

void DeviceList::activateFirstConnected() {
    // Without a device selector in the build nothing else activates a detected motor, and
    // the table read that follows detection would only meet "No activated device!".
    Helper* helper = Helper::instance();
    if (!helper->currentDeviceDobj()->isEmpty())
        return;
    for (kx::DataObject* device : m_devices->cdobjs()) {
        if (device->c(QStringLiteral("_connected"))->getBool(false)) {
            helper->setCurrentDeviceDobj(device);
            return;
        }
    }
}

void DeviceList::onDeviceAdded(const QString& name) {
    kx::DataObject* record = m_devices->c(name);
    record->copyFrom(this, kx::d(QStringLiteral("template.Ostrel_motor")), true, false);
    refresh();
}

QString DeviceList::mcuIdText(const QVariant& id) {
    // Detection stores the ID as a number; a project file may bring it back as text.
    bool numeric = false;
    const qulonglong value = id.toULongLong(&numeric);
    if (id.type() == QVariant::String || !numeric)
        return id.toString();
    return QStringLiteral("0x") + QString::number(value, 16);
}

void DeviceList::refresh() {
    m_tree->clear();
    for (kx::DataObject* device : m_devices->cdobjs()) {
        auto* item = new QTreeWidgetItem(m_tree);
        QString alias = device->c(QStringLiteral("alias"))->getString();
        item->setText(0, alias.isEmpty() ? CANWorker::deviceDisplayName(device) : alias);
        item->setText(1, mcuIdText(device->r(QStringLiteral("info.mcu_id"))->get()));
        item->setData(0, Qt::UserRole, device->name());
    }
    paintRows();
}

void DeviceList::paintRows() {
    kx::DataObject* current = Helper::instance()->currentDeviceDobj();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_tree->topLevelItem(i);
        kx::DataObject* device = m_devices->c(item->data(0, Qt::UserRole).toString());
        const bool connected = device->c(QStringLiteral("_connected"))->getBool(false);
        QColor colour = connected ? QColor(0xef, 0xef, 0xef) : QColor(0x80, 0x80, 0x80);
        if (device == current && !device->isEmpty())
            colour = QColor(0xff, 0x69, 0x00);
        item->setForeground(0, colour);
    }
}
