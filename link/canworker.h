#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QString>
#include <QVector>

#include "link/canframe.h"

class LinkTransport;
class otaThread;
class ReconnectWatcher;

namespace kx {
class DataObject;
}

// The serial side of the link: owns the adapter's port (on the thread that created the
// worker, the GUI thread), writes what the link thread hands it, reads and forwards what
// arrives, and reacts to the link statuses of connection and detection. Owns the link thread.
class CANWorker : public QObject {
    Q_OBJECT

public:
    explicit CANWorker(QObject* parent = nullptr);
    ~CANWorker() override;

    otaThread* link() const { return m_link; }

    // Opens the port at the configured rate and starts adapter detection. Accepts any
    // existing device path, also ones the port enumeration does not list (pseudo-terminals,
    // /dev/serial/by-id links).
    void connectPort(const QString& portName);
    // Connects to "config.last_com" when it names a listed port or an existing device path.
    void connectLastPort();
    // Closes the port; removes or marks the device records (remove_device_on_disconnected).
    void disconnectPort();
    // Waits for an unplugged adapter to come back (after an unplug: at once with
    // "config.setting.auto_connect" on, otherwise when the user asks for it).
    ReconnectWatcher* reconnectWatcher() const { return m_reconnect; }
    bool isConnected() const;
    QString portName() const;
    qint32 portBaudRate() const;
    // False on a CAN interface: no AT set-up, no line rates to try.
    bool carriesAdapterCommands() const;

    // "Motor %1" with the record's CAN ID.
    static QString deviceDisplayName(kx::DataObject* device);
    static QByteArray frameToSerial(const CanFrame& frame);

    // The detection fallback table (configured rate at position 0, the adapter's factory rate
    // last when another one is configured).
    QVector<qint32> baudFallbacks() const;

    // The device record registered for a CAN ID; null when none.
    kx::DataObject* deviceForCanId(quint8 canId) const;
    QList<quint8> registeredCanIds() const { return m_devices.keys(); }

signals:
    void deviceChanged();
    void sendRecvData(QByteArray bytes);
    // Every link status after the worker's own reaction, on the port's thread: the parameter
    // table, firmware and scope parts react here. canId: the motor the status concerns.
    void linkStatus(int status, int canId);
    // Detection gave up: the adapter could not be configured at any line rate (the status
    // line says so in words).
    void adapterFailed();
    // The port was opened or closed.
    void connectionChanged(bool connected);
    // Emitted synchronously just before the port closes: last writes still reach the bus.
    void portClosing();
    // A decoded reply changed one motor's state (MotorStates), on the port's thread after its
    // linkStatus: status is the one announced, -1 for a model reply.
    void motorChanged(quint8 canId, int status);

public slots:
    void writeRaw(QByteArray bytes);
    void writeToCom(QByteArray bytes, short length);
    void StateUpdate(int status, int canId = -1);

private slots:
    void onErrorOccurred(QSerialPort::SerialPortError error);

private:
    void onDeviceDetected();
    void adapterFailedNow();
    // Opens the parameter table of a detected motor once no flow holds the link.
    void uploadWhenFree(kx::DataObject* record, int attempt);
    // keepDevices: the records stay (marked disconnected) for the motors to return to.
    void closePort(bool keepDevices);
    void followCurrentDevice();
    void setBaudRate(qint32 rate);
    // Hands a write to the frame tap's observers (nothing when none is attached).
    void publishWrite(const QByteArray& bytes);
    static QString errorName(int error);

    void onReceived(const QByteArray& bytes);

    LinkTransport* m_transport = nullptr;  // GUI thread only; the last one opened
    QString m_portName;                    // as the user gave it
    kx::DataObject* m_output = nullptr;
    // GUI thread only. Guarded pointers: a record deleted elsewhere (a project opened, a
    // device removed by hand) must not be handed out afterwards.
    QHash<quint8, QPointer<kx::DataObject>> m_devices;
    otaThread* m_link = nullptr;
    ReconnectWatcher* m_reconnect = nullptr;
    int m_baudRate = 921600;
    int m_fallbackPos = 0;
    // Configurations that succeeded without the adapter then answering at the configured rate;
    // bounded so that a faulty adapter ends in the failure line instead of cycling forever.
    int m_configRounds = 0;
    static constexpr int kMaxConfigRounds = 3;
    static constexpr qint32 kFactoryBaudRate = 921600;
};
