#include "link/canworker.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/flows/linklease.h"
#include "link/helper.h"
#include "link/linkfeatures.h"
#include "link/linkcommands.h"
#include "link/motorfaults.h"
#include "link/motormodel.h"
#include "link/motorstates.h"
#include "link/otathread.h"
#include "link/portaccess.h"
#include "link/reconnectwatcher.h"
#include "link/serialrecord.h"
#include "link/tap/frametap.h"
#include "link/transport/linktransport.h"

#include <QSerialPortInfo>
#include <QTimer>

namespace {

constexpr int kJoinTimeoutMs = 5000;

// Sets a node by its full path, creating it when the tree lacks it (a headless user may run
// without the template's optional nodes).
void setNode(QObject* changer, const QString& path, const QVariant& value) {
    kx::d().rootDobj()->set(changer, path, value, true);
}

bool setting(const QString& path, bool defaultValue) {
    return kx::d(path)->getBool(defaultValue);
}

}  // namespace

CANWorker::CANWorker(QObject* parent) : QObject(parent) {
    qRegisterMetaType<QSerialPort::SerialPortError>("QSerialPort::SerialPortError");
    m_output = kx::d("output");
    m_baudRate = kx::d("config.baud_rate")->getInt(921600);

    m_link = new otaThread(this);
    installLinkFeatures(m_link);
    m_link->setTarget(1);
    m_link->setNewCanId(1);
    m_link->setScopeFrequency(100);
    m_link->setSelectedDevice(0);

    // The link thread hands its writes and statuses over to this thread in order (see
    // otaThread::post), so every reaction that touches the port runs on the port's thread;
    // statuses from the receive path are handled at once.
    connect(m_link, &otaThread::sendState, this, &CANWorker::StateUpdate);
    connect(this, &CANWorker::sendRecvData, m_link, &otaThread::getSerialData);
    connect(m_link, &otaThread::WriteToSerial, this, &CANWorker::writeRaw);
    connect(m_link, &otaThread::motorChanged, this, &CANWorker::motorChanged);
    // The process-wide model is the current device's: frames are scaled per motor.
    connect(Helper::instance(), &Helper::currentDeviceDobjChanged, this, &CANWorker::followCurrentDevice);
    followCurrentDevice();

    m_link->start();
    new MotorFaults(this);
    m_reconnect = new ReconnectWatcher(this);
    setNode(this, QStringLiteral("_can"), QVariant::fromValue<QObject*>(m_link));
}

CANWorker::~CANWorker() {
    // "_can" must not outlive the thread it points to.
    kx::d("_can")->set(this, QVariant());
    if (m_link->quitAndJoin(kJoinTimeoutMs)) {
        delete m_link;
    } else {
        // Never terminate() a thread: a loop that does not end within the bound is left alone
        // (and reported) rather than killed mid-write.
        kx::logE() << "link thread did not end within " << kJoinTimeoutMs << " ms";
        m_link->setParent(nullptr);
    }
    m_link = nullptr;
    if (isConnected()) {
        emit portClosing();
        m_transport->flush();
        m_transport->close();
        setNode(this, QStringLiteral("working"), false);
    }
}

void CANWorker::connectPort(const QString& portName) {
    m_reconnect->stop();
    if (isConnected()) {
        Helper::instance()->postStatus(tr("Serial port %1 is already connected.").arg(m_portName));
        return;
    }
    if (m_transport)
        m_transport->deleteLater();
    m_transport = LinkTransport::create(portName, this);
    if (!m_transport)
        return;
    connect(m_transport, &LinkTransport::received, this, &CANWorker::onReceived);
    // Queued: a port's error arrives while the port is inside a call of its own.
    connect(m_transport, &LinkTransport::errorOccurred, this, &CANWorker::onErrorOccurred,
            Qt::QueuedConnection);
    // A CAN interface has no adapter to answer a probe: once it is up, detection goes on as
    // after a successful probe. Queued, so that a caller of connectPort sees the status too.
    connect(
        m_transport, &LinkTransport::ready, this,
        [this, transport = QPointer<LinkTransport>(m_transport)] {
            if (transport && transport == m_transport && isConnected() && !carriesAdapterCommands())
                StateUpdate(OTA_STA_CONNECT_SUCCESS);
        },
        Qt::QueuedConnection);
    m_portName = portName;
    setNode(this, QStringLiteral("project.serial_port"), portName);
    m_fallbackPos = 0;
    m_configRounds = 0;
    // Another bench may sit behind the port now: what was known of the motors goes.
    MotorStates::reset();
    MotorModel::reset();
    followCurrentDevice();
    if (!m_transport->open(m_baudRate)) {
        // The port's error signal reports it to the user; the file keeps the system's words.
        kx::logFileE() << "open serial port failed: " + portName + " (" + m_transport->errorString() + ")";
        return;
    }
    // Every way of connecting (dialog, project, start-up hook) leaves the port for the next
    // "auto connect".
    setNode(this, QStringLiteral("config.last_com"), portName);
    emit connectionChanged(true);
    // A CAN interface has no adapter to set up: the bus is probed directly once it is up.
    if (!m_transport->carriesAdapterCommands())
        return;
    if (setting(QStringLiteral("config.support_at"), true)) {
        m_link->startStep(STEP_INIT);
    } else {
        // No adapter configuration: the scan starts at once, from an empty device table, as
        // after a successful probe.
        m_link->resetDeviceCount();
        setNode(this, QStringLiteral("working"), true);
        m_link->startStep(STEP_GET_DEV_INFO);
    }
}

void CANWorker::connectLastPort() {
    const QString last = kx::d("config.last_com")->getString();
    if (last.isEmpty())
        return;
    bool present = false;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.portName() == last || info.systemLocation() == last)
            present = true;
    }
    // Pseudo-terminals and by-id links are not enumerated but work all the same, and so does a
    // CAN interface that is up.
    if (!present && LinkTransport::present(last))
        present = true;
    if (present)
        connectPort(last);
}

void CANWorker::disconnectPort() {
    const bool waiting = m_reconnect->isWatching();
    m_reconnect->stop();
    if (waiting && !isConnected()) {
        // Giving up on an unplugged adapter: its motors leave as on any disconnect.
        if (setting(QStringLiteral("config.setting.remove_device_on_disconnected"), true)) {
            kx::d("project.device")->clear(this);
            emit deviceChanged();
        }
        return;
    }
    closePort(false);
}

void CANWorker::closePort(bool keepDevices) {
    if (!isConnected())
        return;
    emit portClosing();
    m_transport->flush();
    m_transport->close();
    // Steps waiting for answers from a closed port would only time out with misleading
    // failure lines (and the MIT stream would keep going): the step machine goes idle and
    // the features end their transfers.
    m_link->resetLink();
    m_devices.clear();
    kx::DataObject* devices = kx::d("project.device");
    if (!keepDevices && setting(QStringLiteral("config.setting.remove_device_on_disconnected"), true)) {
        devices->clear(this);
    } else {
        for (kx::DataObject* device : devices->cdobjs())
            device->set(this, QStringLiteral("_connected"), false, true);
    }
    emit deviceChanged();
    setNode(this, QStringLiteral("working"), false);
    emit connectionChanged(false);
}

bool CANWorker::isConnected() const {
    return m_transport && m_transport->isOpen();
}

QString CANWorker::portName() const {
    return m_portName;
}

qint32 CANWorker::portBaudRate() const {
    return m_transport ? m_transport->baudRate() : 0;
}

bool CANWorker::carriesAdapterCommands() const {
    return !m_transport || m_transport->carriesAdapterCommands();
}

QString CANWorker::deviceDisplayName(kx::DataObject* device) {
    if (!device || device->isEmpty())
        return tr("Motor %1").arg(0);
    // A record whose CAN ID was lost (project files of earlier versions) shows that it is
    // unknown rather than a motor 0 that does not exist.
    bool known = false;
    const int canId = device->r(QStringLiteral("info.can_id"))->get().toInt(&known);
    return tr("Motor %1").arg(known ? QString::number(qint8(canId)) : QStringLiteral("?"));
}

QByteArray CANWorker::frameToSerial(const CanFrame& frame) {
    return SerialRecord::fromFrame(frame);
}

QVector<qint32> CANWorker::baudFallbacks() const {
    QVector<qint32> rates{m_baudRate, 9600,  115200, 1200,   2400,   4800,
                          19200,      38400, 57600,  230400, 460800, 1152000};
    // An adapter still at its factory rate must be found whatever rate was configured.
    if (m_baudRate != kFactoryBaudRate)
        rates << kFactoryBaudRate;
    return rates;
}

kx::DataObject* CANWorker::deviceForCanId(quint8 canId) const {
    return m_devices.value(canId).data();
}

void CANWorker::writeRaw(QByteArray bytes) {
    if (isConnected()) {
        m_transport->write(bytes);
        publishWrite(bytes);
    }
    if (setting(QStringLiteral("config.setting.record_write_raw_data"), true)) {
        m_output->set(this,
                      QStringLiteral(" -> %1: %2").arg(m_portName, QString::fromLatin1(bytes.toHex(' '))));
    }
}

void CANWorker::writeToCom(QByteArray bytes, short length) {
    if (!isConnected())
        return;
    m_transport->clearInput();
    const QByteArray head = bytes.left(qMax<int>(0, length));
    m_transport->write(head);
    publishWrite(head);
    m_transport->flush();
    qDebug() << "TxHex:" << head.toHex();
}

void CANWorker::publishWrite(const QByteArray& bytes) {
    FrameTap& tap = FrameTap::instance();
    if (!tap.observed())
        return;
    CanFrame frame;
    if (SerialRecord::toFrame(bytes, &frame))
        tap.publishFrame(TapRecord::Direction::Tx, frame, bytes);
    else
        tap.publishText(TapRecord::Direction::Tx, bytes);
}

void CANWorker::onReceived(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    if (setting(QStringLiteral("config.setting.record_read_raw_data"), false)) {
        m_output->set(this,
                      QStringLiteral("%1 -> : %2").arg(m_portName, QString::fromLatin1(bytes.toHex(' '))));
    }
    emit sendRecvData(bytes);
}

void CANWorker::setBaudRate(qint32 rate) {
    if (m_transport)
        m_transport->setBaudRate(rate);
}

void CANWorker::StateUpdate(int status, int canId) {
    Helper* helper = Helper::instance();
    const bool open = isConnected();
    const QVector<qint32> rates = baudFallbacks();
    switch (status) {
        case OTA_STA_DETECT_MCU:
            onDeviceDetected();
            break;
        case OTA_STA_CONNECT_OVER_TIME:
            // A status queued before a disconnect must not reopen the conversation.
            if (!open)
                break;
            if (m_configRounds >= kMaxConfigRounds) {
                adapterFailedNow();
                break;
            }
            m_fallbackPos = 1;
            setBaudRate(rates[1]);
            helper->postStatus(tr("Connect overtime, try baud rate: %1").arg(rates[1]));
            m_link->startStep(STEP_INCONFIG);
            break;
        case OTA_STA_CONNECT_SUCCESS:
            if (!open)
                break;
            helper->postStatus(carriesAdapterCommands()
                                   ? tr("Detecting devices at serial port %1").arg(m_portName)
                                   : tr("Detecting devices on CAN interface %1").arg(m_portName));
            m_link->resetDeviceCount();
            m_link->startStep(STEP_GET_DEV_INFO);
            setNode(this, QStringLiteral("working"), true);
            break;
        case OTA_STA_INCONFIG_OVER_TIME:
            if (!open)
                break;
            ++m_fallbackPos;
            if (m_fallbackPos >= rates.size()) {
                adapterFailedNow();
                break;
            }
            setBaudRate(rates[m_fallbackPos]);
            helper->postStatus(tr("Connect overtime, try baud rate: %1").arg(rates[m_fallbackPos]));
            m_link->startStep(STEP_INCONFIG);
            break;
        case OTA_STA_INCONFIG_SUCCESS:
            if (open)
                m_link->startStep(STEP_CONFIG);
            break;
        case OTA_STA_CONFIG_OVER_TIME:
            if (open)
                adapterFailedNow();
            break;
        case OTA_STA_CONFIG_SUCCESS:
            if (!open)
                break;
            ++m_configRounds;
            setBaudRate(m_baudRate);
            helper->postStatus(tr("USB-CAN module configuration success!"));
            m_link->startStep(STEP_INIT);
            break;
        default:
            LinkCommands::reportOutcome(status, canId);
            break;
    }
    emit linkStatus(status, canId);
}

void CANWorker::uploadWhenFree(kx::DataObject* record, int attempt) {
    // The automatic upload waits while a flow holds the link (the detect flow asks for the
    // motors' models first): it must neither disturb the flow nor be refused by it.
    constexpr int kDelayMs = 20;
    constexpr int kAttempts = 1500;  // 30 s
    QTimer::singleShot(kDelayMs, record, [this, record, attempt] {
        if (LinkLease::busy() && attempt < kAttempts) {
            uploadWhenFree(record, attempt + 1);
            return;
        }
        kx::d("trigger.configure.param.new")->trigger();
    });
}

void CANWorker::adapterFailedNow() {
    Helper::instance()->postStatus(tr("USB-CAN module configuration failed, please check physical device!"),
                                   QStringLiteral("ERROR"));
    emit adapterFailed();
}

void CANWorker::onDeviceDetected() {
    Helper* helper = Helper::instance();
    const otaThread::DeviceEntry entry = m_link->lastAnnounced();
    const QString name = QString::number(entry.mcuId, 16);
    kx::DataObject* devices = kx::d("project.device");
    // A motor answers every probe of a scan: a connected one under the same CAN ID is no news.
    kx::DataObject* known = devices->cdobj(name);
    if (known->isEmpty() || !known->c(QStringLiteral("_connected"))->getBool(false) ||
        known->r(QStringLiteral("info.can_id"))->getInt(-1) != entry.canId) {
        helper->postStatus(tr("Detected device: [MCU ID: 0x%1, CAN ID: %2]")
                               .arg(QString::number(entry.mcuId, 16))
                               .arg(entry.canId));
    }
    const bool multiple = setting(QStringLiteral("config.setting.enable_multiple_devices"), false);
    if (devices->isEmpty()) {
        kx::d().rootDobj()->set(this, QStringLiteral("project.device"), QVariant(), true);
        devices = kx::d("project.device");
    }
    kx::DataObject* record = devices->cdobj(name);
    if (record->isEmpty()) {
        if (devices->size() > 10) {
            helper->postStatus(tr("Too many devices detected!"), QStringLiteral("ERROR"));
            disconnectPort();
            return;
        }
        if (devices->size() == 1 && !multiple) {
            helper->postStatus(tr("Multiple devices connection is forbidden."));
            return;
        }
        record = new kx::DataObject(name);
        if (!devices->insert(this, record)) {
            delete record;
            return;
        }
        // The device tree fills new records from the template when it sees the insertion;
        // headless users have no device tree, so the record gets its shape here as well.
        kx::DataObject* templ = kx::d("template.Ostrel_motor");
        if (!templ->isEmpty())
            record->copyFrom(this, templ, true, false);
    }
    record->set(this, QStringLiteral("info.mcu_id"), QVariant::fromValue<quint64>(entry.mcuId), true);
    // Plain int: every file form keeps it (an 8-bit variant has no XML text and no binary
    // encoding that reads back).
    record->set(this, QStringLiteral("info.can_id"), int(entry.canId), true);
    record->set(this, QStringLiteral("_connected"), true, true);
    // A motor that moved to another CAN ID must not stay reachable under the old one.
    for (auto it = m_devices.begin(); it != m_devices.end();) {
        if (it.value() == record && it.key() != entry.canId)
            it = m_devices.erase(it);
        else
            ++it;
    }
    m_devices.insert(entry.canId, record);
    emit deviceChanged();
    if (setting(QStringLiteral("config.setting.upload_param_on_connected"), true) && !multiple) {
        uploadWhenFree(record, 0);
    }
}

void CANWorker::onErrorOccurred(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError)
        return;
    const bool wasOpen = isConnected();
    // Operations on the port right after it closed report NotOpenError, and a vanished device
    // may report a late read or resource error: consequences of the first error, not new ones
    // worth a second box. Errors of a failed open (permission, not found) still count.
    const bool afterClose = error == QSerialPort::NotOpenError || error == QSerialPort::ResourceError ||
                            error == QSerialPort::ReadError || error == QSerialPort::WriteError;
    if (!wasOpen && afterClose)
        return;
    // A CAN interface's own words name the interface and the cause; a serial port's error
    // name is what users of the adapter know.
    const bool canBus = !carriesAdapterCommands() && !m_transport->errorString().isEmpty();
    const QString text =
        canBus ? m_transport->errorString() : tr("Serial port error: %1!").arg(errorName(error));
    // A vanished device (the adapter was unplugged) comes back under the same path: its
    // motors, their open pages and recordings stay, whatever the setting. With "auto connect"
    // the link waits for it without a box that would wait for a click; without, the user is
    // offered the same wait.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (wasOpen && gone) {
        const QString path = m_portName;
        closePort(true);
        if (setting(QStringLiteral("config.setting.auto_connect"), false)) {
            m_reconnect->watch(path);
            Helper::instance()->postStatus(
                canBus
                    ? tr("%1 It is reconnected when it comes back.").arg(text)
                    : tr("%1 Serial port %2 is gone; it is reconnected when it comes back.").arg(text, path),
                QStringLiteral("ERROR"));
            return;
        }
        Helper::instance()->postStatus(
            canBus ? tr("%1 Its motors and pages are kept.").arg(text)
                   : tr("%1 Serial port %2 is gone; its motors and pages are kept.").arg(text, path),
            QStringLiteral("ERROR"));
        const QString question =
            canBus ? tr("The CAN interface %1 is gone. Its motors and open pages are kept.\n\nReconnect as "
                        "soon as it is back?")
                         .arg(path)
                   : tr("Serial port %1 is gone (the adapter was unplugged?). Its motors and open pages are "
                        "kept.\n\nReconnect as soon as it is back?")
                         .arg(path);
        if (Helper::instance()->askNotice(question))
            m_reconnect->watch(path);
        return;
    }
    if (wasOpen)
        disconnectPort();
    // The Log tab and the log file keep the error after its box is gone.
    Helper::instance()->postStatus(text, QStringLiteral("ERROR"));
    if (error == QSerialPort::PermissionError) {
        const QString help = PortAccess::permissionHelp(m_portName);
        if (!help.isEmpty()) {
            Helper::instance()->showError(text + QLatin1String("\n\n") + help);
            return;
        }
    }
    Helper::instance()->showError(text);
}

QString CANWorker::errorName(int error) {
    switch (error) {
        case 1:
            return tr("Device Not Found Error");
        case 2:
            return tr("Permission Error");
        case 3:
            return tr("Open Error");
        case 4:
            return tr("Parity Error");
        case 5:
            return tr("Framing Error");
        case 6:
            return tr("Break Condition Error");
        case 7:
            return tr("Write Error");
        case 8:
            return tr("Read Error");
        case 9:
            return tr("Resource Error");
        case 10:
            return tr("Unsupported Operation Error");
        case 11:
            return tr("Unknown Error");
        case 12:
            return tr("Timeout Error");
        case 13:
            return tr("Not Open Error");
        default:
            return QString();
    }
}

void CANWorker::followCurrentDevice() {
    kx::DataObject* device = Helper::instance()->currentDeviceDobj();
    if (device && !device->isEmpty())
        MotorModel::follow(quint8(device->r(QStringLiteral("info.can_id"))->get().toInt()));
    else
        MotorModel::follow(-1);
}
