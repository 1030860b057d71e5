#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;
class QSpinBox;

// The Device tab's tool strip: connect and disconnect the adapter, open the device info page,
// calibrate the encoder, change the CAN ID, set the mechanical zero and update the firmware.
// The long flows (calibration, update) run inside a wait that lets the link work but not the
// user, under the busy cover of "trigger.block", which every exit path removes.
class DeviceTools : public QWidget {
    Q_OBJECT

public:
    explicit DeviceTools(QWidget* parent = nullptr);

private:
    void onConnect();
    void onDisconnect();
    void onDeviceInfo();
    void onEncoderCalibration();
    void onChangeCanId();
    void onResetZero();
    void onUpdate();
    void followWorking(bool working);

    QPushButton* m_btnConnect;
    QPushButton* m_btnDisconnect;
    QSpinBox* m_spnCanId;
    QComboBox* m_cmbMotorInit;
};
