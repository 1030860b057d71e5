#pragma once

#include <QVariant>
#include <QWidget>

class QTreeWidget;

namespace kx {
class DataObject;
}

// A plain list of the project's devices, standing in for the device tree until that screen
// is part of the build. Like the tree it fills every new device record from the template;
// standing in for the motion sidebar too, it activates the first connected device.
class DeviceList : public QWidget {
    Q_OBJECT

public:
    explicit DeviceList(QWidget* parent = nullptr);

    QTreeWidget* tree() const { return m_tree; }
    // "0x" and lower-case hex for a numeric ID, text IDs as they are.
    static QString mcuIdText(const QVariant& id);

private:
    void onDeviceAdded(const QString& name);
    void activateFirstConnected();
    void refresh();
    void paintRows();

    QTreeWidget* m_tree;
    kx::DataObject* m_devices;
};
