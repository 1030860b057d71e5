#pragma once

#include <QVariant>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace kx {
class DataObject;
}

// The device tree of the left dock: one top-level row per record under "project.device" with
// its connection state, identity, alarms, live values and parameter values. Selecting a row makes its
// device the current one (while "config.setting.trigger_by_left" is on). Apart from filling a
// new record from the template, it only watches the records.
class DeviceWidget : public QWidget {
    Q_OBJECT

public:
    explicit DeviceWidget(QWidget* parent = nullptr);

    QTreeWidget* tree() const { return m_tree; }
    // The top-level row of a record name; null when it has none.
    QTreeWidgetItem* deviceItem(const QString& name) const;

    // "Info"/"MCU ID" text: the ID's bits in lower-case hex without prefix.
    static QString mcuIdText(const QVariant& id);

public slots:
    void addDevice(QVariant var_name);
    void removeDevice(QVariant var_name);
    void selectDevice(QTreeWidgetItem* current);

private:
    // The rows of a record and the watches that keep them current.
    void addRow(const QString& name);
    void setSelectByClick(bool on);
    void showConnection(QTreeWidgetItem* item, bool connected);
    void showAlarm(QTreeWidgetItem* item, kx::DataObject* record);
    // The motor's last feedback under "Live", dimmed when it stopped coming.
    void showLive(QTreeWidgetItem* item, kx::DataObject* record);
    void showLiveValues();
    void rebuildParams(QTreeWidgetItem* paramItem, kx::DataObject* param);
    void followCurrentDevice();
    void activateFirstConnected();

    QTreeWidget* m_tree;
    kx::DataObject* m_devices;
    QMetaObject::Connection m_selectConnection;
};
