#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;
class QSpinBox;

// The Device tab's tool strip: connect and disconnect the adapter, open the device info page,
// calibrate the encoder, change the CAN ID, set the mechanical zero and update the firmware.
// The long flows (calibration, update) run inside a wait that lets the link work but not the
// user, under the busy cover of "trigger.block", which every exit path removes.
//
// The strip is rebuilt on every tab change: what must outlive it (the next CAN ID to assign)
// lives in the data tree.
class DeviceTools : public QWidget {
    Q_OBJECT

public:
    explicit DeviceTools(QWidget* parent = nullptr);

private:
    void onConnect();
    void onReconnect();
    void onDisconnect();
    void onDeviceInfo();
    void onEncoderCalibration();
    void onChangeCanId();
    void onResetZero();
    void onUpdate();
    void followWorking(bool working);
    // Whether the motors of the last port are still listed, waiting for their adapter.
    static bool devicesLeftBehind();

    QPushButton* m_btnConnect;
    QPushButton* m_btnReconnect;
    QPushButton* m_btnDisconnect;
    QSpinBox* m_spnCanId;
    QComboBox* m_cmbMotorInit;
};
