#include "workbench/device/devicewidget.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/motorfaults.h"
#include "workbench/device/livevalues.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QColor kConnectedColour(7, 193, 96);
const QColor kFaultColour(255, 90, 90);
const QColor kWarningColour(255, 200, 60);
// Values that stopped coming are shown, but dimmed: they say what was, not what is.
const QColor kStaleColour(128, 128, 128);

// Child positions under a device row.
constexpr int kInfoRow = 0;
constexpr int kParamRow = 1;
constexpr int kAlarmRow = 2;
constexpr int kLiveRow = 3;
// Under "Info".
constexpr int kMcuIdRow = 1;
constexpr int kCanIdRow = 2;

QString canIdText(const QVariant& id) {
    return QString::number(qint8(id.toInt()));
}

}  // namespace

DeviceWidget::DeviceWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DeviceWidget"));
    setAttribute(Qt::WA_StyledBackground, true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treeWidget"));
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({tr("Name"), tr("Value")});
    m_tree->setFrameShape(QFrame::NoFrame);
    m_tree->setStyleSheet(QStringLiteral("color: rgb(206, 254, 255);"));
    m_tree->setColumnWidth(0, 130);
    m_tree->header()->setStretchLastSection(true);
    layout->addWidget(m_tree);

    m_devices = kx::d(QStringLiteral("project.device"));
    connect(m_devices, &kx::DataObject::added, this, [this](const QString& name) { addDevice(name); });
    connect(m_devices, &kx::DataObject::removed, this, [this](const QString& name) { removeDevice(name); });

    kx::DataObject* byClick = kx::d(QStringLiteral("config.setting.trigger_by_left"));
    connect(byClick, &kx::DataObject::changed, this,
            [this](const QVariant& value) { setSelectByClick(value.toBool()); });
    if (byClick->getBool(false))
        setSelectByClick(true);

    connect(Helper::instance(), &Helper::currentDeviceDobjChanged, this, [this] { followCurrentDevice(); });
    if (CANWorker* worker = Helper::instance()->worker()) {
        connect(worker, &CANWorker::deviceChanged, this, [this] { activateFirstConnected(); });
        connect(LiveValues::of(worker), &LiveValues::refreshed, this, &DeviceWidget::showLiveValues);
    }

    // Records that exist before the tree get their rows too; they have their shape and their
    // own values already, which the template must not overwrite.
    for (kx::DataObject* record : m_devices->cdobjs())
        addRow(record->name());
}

QTreeWidgetItem* DeviceWidget::deviceItem(const QString& name) const {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_tree->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toString() == name)
            return item;
    }
    return nullptr;
}

QString DeviceWidget::mcuIdText(const QVariant& id) {
    // The 64 bits as the motor sent them: an ID with its top bit set is no negative number.
    return QString::number(quint64(id.toLongLong()), 16);
}

void DeviceWidget::addDevice(QVariant var_name) {
    const QString name = var_name.toString();
    kx::DataObject* record = m_devices->c(name);
    if (record->isEmpty() || deviceItem(name))
        return;
    record->copyFrom(this, kx::d(QStringLiteral("template.Ostrel_motor")), true, false);
    addRow(name);
}

void DeviceWidget::addRow(const QString& name) {
    kx::DataObject* record = m_devices->c(name);
    if (record->isEmpty() || deviceItem(name))
        return;
    auto* item = new QTreeWidgetItem(
        QStringList{tr("Tarn Motor %1").arg(m_tree->topLevelItemCount()), tr("Disconnected")});
    // A record that already knows its CAN ID will not announce it again: name it now.
    const QVariant canId = record->r(QStringLiteral("info.can_id"))->get();
    if (canId.isValid() && !(canId.type() == QVariant::String && canId.toString().isEmpty()))
        item->setText(0, CANWorker::deviceDisplayName(record));
    item->setData(0, Qt::UserRole, name);
    showConnection(item, record->c(QStringLiteral("_connected"))->getBool(false));
    connect(record->c(QStringLiteral("_connected")), &kx::DataObject::changed, this,
            [this, name](const QVariant& value) {
                if (QTreeWidgetItem* row = deviceItem(name))
                    showConnection(row, value.toBool());
            });

    auto* info = new QTreeWidgetItem(item, QStringList{tr("Info"), QString()});
    new QTreeWidgetItem(info, QStringList{tr("Manufactory"), QStringLiteral("Fac")});
    new QTreeWidgetItem(
        info, QStringList{tr("MCU ID"), mcuIdText(record->r(QStringLiteral("info.mcu_id"))->get())});
    new QTreeWidgetItem(
        info, QStringList{tr("CAN ID"), canIdText(record->r(QStringLiteral("info.can_id"))->get())});
    connect(record->r(QStringLiteral("info.mcu_id")), &kx::DataObject::changed, this,
            [this, name](const QVariant& value) {
                if (QTreeWidgetItem* row = deviceItem(name))
                    row->child(kInfoRow)->child(kMcuIdRow)->setText(1, mcuIdText(value));
            });
    connect(record->r(QStringLiteral("info.can_id")), &kx::DataObject::changed, this,
            [this, name](const QVariant& value) {
                QTreeWidgetItem* row = deviceItem(name);
                if (!row)
                    return;
                row->child(kInfoRow)->child(kCanIdRow)->setText(1, canIdText(value));
                row->setText(0, CANWorker::deviceDisplayName(m_devices->c(name)));
            });

    new QTreeWidgetItem(item, QStringList{tr("Param"), QString()});
    kx::DataObject* paramNode = record->c(QStringLiteral("param"));
    connect(paramNode, &kx::DataObject::changed, this, [this, name] {
        if (QTreeWidgetItem* row = deviceItem(name))
            rebuildParams(row->child(kParamRow), m_devices->c(name)->c(QStringLiteral("param")));
    });

    // Alarms are run-time state beside the template's keys; they follow what the motor reports.
    for (const char* key : {"_fault.flags", "_fault.fault", "_fault.warning"}) {
        if (!record->hasRdobj(QLatin1String(key)))
            record->set(this, QLatin1String(key), 0u, true);
    }
    new QTreeWidgetItem(item, QStringList{tr("Alarm"), QString()});
    showAlarm(item, record);
    kx::DataObject* fault = record->c(QStringLiteral("_fault"));
    for (kx::DataObject* node : fault->cdobjs()) {
        connect(node, &kx::DataObject::changed, this, [this, name] {
            if (QTreeWidgetItem* row = deviceItem(name))
                showAlarm(row, m_devices->c(name));
        });
    }

    auto* live = new QTreeWidgetItem(item, QStringList{tr("Live"), QString()});
    for (const QString& label : {tr("Position"), tr("Velocity"), tr("Torque"), tr("Mode")})
        new QTreeWidgetItem(live, QStringList{label, QString()});
    showLive(item, record);

    m_tree->addTopLevelItem(item);
    item->setExpanded(true);
    live->setExpanded(true);
    if (record == Helper::instance()->currentDeviceDobj())
        followCurrentDevice();
}

void DeviceWidget::removeDevice(QVariant var_name) {
    for (int i = m_tree->topLevelItemCount() - 1; i >= 0; --i) {
        if (m_tree->topLevelItem(i)->data(0, Qt::UserRole) == var_name)
            delete m_tree->takeTopLevelItem(i);
    }
}

void DeviceWidget::selectDevice(QTreeWidgetItem* current) {
    if (!current)
        return;
    while (current->parent())
        current = current->parent();
    kx::DataObject* record = m_devices->c(current->data(0, Qt::UserRole).toString());
    if (record->isEmpty())
        return;
    // Helper emits currentDeviceDobjChanged() only when the record really changes.
    Helper::instance()->setCurrentDeviceDobj(record);
}

void DeviceWidget::setSelectByClick(bool on) {
    QObject::disconnect(m_selectConnection);
    m_selectConnection = {};
    if (on) {
        m_selectConnection = connect(m_tree, &QTreeWidget::currentItemChanged, this,
                                     [this](QTreeWidgetItem* current) { selectDevice(current); });
    }
}

void DeviceWidget::showConnection(QTreeWidgetItem* item, bool connected) {
    item->setText(1, connected ? tr("Connected") : tr("Disconnected"));
    item->setForeground(1, connected ? kConnectedColour : QColor(Qt::white));
}

void DeviceWidget::showAlarm(QTreeWidgetItem* item, kx::DataObject* record) {
    QTreeWidgetItem* alarm = item->child(kAlarmRow);
    const QString text = MotorFaults::describe(record);
    const bool fault = record->r(QStringLiteral("_fault.flags"))->get().toUInt() != 0 ||
                       record->r(QStringLiteral("_fault.fault"))->get().toUInt() != 0;
    alarm->setText(1, text.isEmpty() ? tr("None") : text);
    alarm->setToolTip(1, text);
    if (text.isEmpty()) {
        alarm->setData(1, Qt::ForegroundRole, QVariant());
        item->setData(0, Qt::ForegroundRole, QVariant());
    } else {
        const QColor colour = fault ? kFaultColour : kWarningColour;
        alarm->setForeground(1, colour);
        item->setForeground(0, colour);
    }
}

void DeviceWidget::showLiveValues() {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_tree->topLevelItem(i);
        showLive(item, m_devices->c(item->data(0, Qt::UserRole).toString()));
    }
}

void DeviceWidget::showLive(QTreeWidgetItem* item, kx::DataObject* record) {
    QTreeWidgetItem* live = item->child(kLiveRow);
    if (!live)
        return;
    LiveValues* values = LiveValues::of(Helper::instance()->worker());
    const LiveValues::Motor m =
        values ? values->motor(quint8(record->r(QStringLiteral("info.can_id"))->get().toInt()))
               : LiveValues::Motor();
    const QString dash = QStringLiteral("–");
    const bool reportFresh = m.reported && values->now() - m.reportAt < LiveValues::kStaleMs;
    const QStringList texts = {m.heard ? LiveValues::positionText(m.state) : dash,
                               m.heard ? LiveValues::velocityText(m.state) : dash,
                               m.heard ? LiveValues::torqueText(m.state) : dash,
                               m.reported ? LiveValues::modeName(m.state.modeState) : dash};
    // Short in the narrow column; the sentence is in the tool tip.
    live->setText(1, m.fresh ? QString() : m.heard ? tr("Stale") : tr("Waiting"));
    live->setToolTip(1, m.fresh ? QString() : m.heard ? tr("No recent feedback") : tr("No feedback yet"));
    for (int row = 0; row < texts.size(); ++row) {
        QTreeWidgetItem* child = live->child(row);
        if (child->text(1) != texts[row])
            child->setText(1, texts[row]);
        const bool fresh = row < 3 ? m.fresh : reportFresh;
        if (fresh)
            child->setData(1, Qt::ForegroundRole, QVariant());
        else
            child->setForeground(1, kStaleColour);
    }
    live->setForeground(1, kStaleColour);
}

void DeviceWidget::rebuildParams(QTreeWidgetItem* paramItem, kx::DataObject* param) {
    qDeleteAll(paramItem->takeChildren());
    for (kx::DataObject* node : param->cdobjs())
        new QTreeWidgetItem(paramItem, QStringList{node->name(), node->getString(QString())});
}

void DeviceWidget::followCurrentDevice() {
    // The row of the current device is the tree's current row, whoever chose it; selecting
    // it here leads back to the same record, which emits nothing.
    kx::DataObject* current = Helper::instance()->currentDeviceDobj();
    QTreeWidgetItem* item = current->isEmpty() ? nullptr : deviceItem(current->name());
    if (!item || m_tree->currentItem() == item)
        return;
    QTreeWidgetItem* owner = m_tree->currentItem();
    while (owner && owner->parent())
        owner = owner->parent();
    if (owner != item)
        m_tree->setCurrentItem(item);
}

void DeviceWidget::activateFirstConnected() {
    // Until a device is chosen, the first connected one is the current device, so that the
    // table read after detection has a target.
    Helper* helper = Helper::instance();
    if (!helper->currentDeviceDobj()->isEmpty())
        return;
    for (kx::DataObject* record : m_devices->cdobjs()) {
        if (record->c(QStringLiteral("_connected"))->getBool(false)) {
            helper->setCurrentDeviceDobj(record);
            return;
        }
    }
}
