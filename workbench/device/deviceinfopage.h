#pragma once

#include "app/editor/baseeditorpage.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QSpinBox;

namespace kx {
class DataObject;
}

// One motor's identity in the editor area: its name, MCU ID and CAN ID (which can be changed
// here), and the product pictures of its model. Bound to the device that was current when the
// page was opened.
class DeviceInfoPage : public QWidget, public BaseEditorPage {
    Q_OBJECT

public:
    static constexpr char kKind[] = "device_info";

    explicit DeviceInfoPage(QWidget* parent = nullptr);

    // Makes device the current device and asks the editor area for its info page (opened, or
    // brought to the front when it is already open).
    static void open(kx::DataObject* device);

    // The three pictures for a model code: product, T-N feature, max load feature; empty for
    // a code without pictures of its own.
    static QStringList picturesFor(int modelCode);

    // Sends the change and waits up to 300 ms for the motor to report its new CAN ID; shows the
    // outcome in a box. True on success.
    bool changeCanId();

private:
    QLabel* m_name = nullptr;
    QLabel* m_mcuId = nullptr;
    QSpinBox* m_canId = nullptr;
    QPushButton* m_change = nullptr;
    QLabel* m_product = nullptr;
    QLabel* m_tn = nullptr;
    QLabel* m_maxLoad = nullptr;
};
