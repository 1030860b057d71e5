#include "link/transport/canbustransport.h"

#include "framework/log/qflog.h"
#include "link/serialrecord.h"

#include <QCanBus>
#include <QCanBusDevice>
#include <QCanBusFrame>

namespace {

constexpr size_t kMaxPending = 4096;

bool split(const QString& address, QString* plugin, QString* interface) {
    const int colon = address.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    *plugin = address.left(colon);
    *interface = address.mid(colon + 1);
    return !interface->isEmpty();
}

}  // namespace

CanBusTransport::CanBusTransport(const QString& address, QObject* parent)
    : LinkTransport(parent), m_address(address) {
    split(address, &m_plugin, &m_interface);
}

CanBusTransport::~CanBusTransport() {
    close();
}

bool CanBusTransport::takes(const QString& address) {
    QString plugin, interface;
    if (!split(address, &plugin, &interface))
        return false;
    return QCanBus::instance()->plugins().contains(plugin);
}

QStringList CanBusTransport::availableInterfaces() {
    QStringList list;
    for (const QString& plugin : QCanBus::instance()->plugins()) {
        // virtualcan lists its two loopback channels, which are no hardware worth offering.
        if (plugin == QLatin1String("virtualcan"))
            continue;
        QString error;
        for (const QCanBusDeviceInfo& info : QCanBus::instance()->availableDevices(plugin, &error))
            list << plugin + QLatin1Char(':') + info.name();
    }
    return list;
}

bool CanBusTransport::open(qint32) {
    close();
    QString error;
    m_device = QCanBus::instance()->createDevice(m_plugin, m_interface, &error);
    if (!m_device) {
        m_error = error.isEmpty() ? tr("No CAN interface %1").arg(m_address) : error;
        emit errorOccurred(QSerialPort::DeviceNotFoundError);
        return false;
    }
    m_device->setParent(this);
    connect(m_device, &QCanBusDevice::framesReceived, this, &CanBusTransport::onFramesReceived);
    connect(m_device, &QCanBusDevice::stateChanged, this,
            [this](QCanBusDevice::CanBusDeviceState state) { onStateChanged(int(state)); });
    connect(m_device, &QCanBusDevice::errorOccurred, this,
            [this](QCanBusDevice::CanBusError e) { onError(int(e)); });
    if (!m_device->connectDevice()) {
        m_error = m_device->errorString();
        delete m_device;
        m_device = nullptr;
        emit errorOccurred(QSerialPort::OpenError);
        return false;
    }
    m_connected = m_device->state() == QCanBusDevice::ConnectedState;
    return true;
}

void CanBusTransport::close() {
    m_pending.clear();
    m_connected = false;
    if (!m_device)
        return;
    QCanBusDevice* device = m_device;
    m_device = nullptr;  // the state change below must not report a lost device
    device->disconnect(this);
    device->disconnectDevice();
    device->deleteLater();
}

bool CanBusTransport::isOpen() const {
    return m_device != nullptr;
}

void CanBusTransport::write(const QByteArray& bytes) {
    if (!m_device)
        return;
    CanFrame frame;
    // AT lines set up a serial adapter; a CAN interface has none to set up.
    if (!SerialRecord::toFrame(bytes, &frame))
        return;
    if (!m_connected) {
        if (m_pending.size() >= kMaxPending)
            m_pending.pop_front();
        m_pending.push_back(bytes);
        return;
    }
    sendNow(bytes);
}

void CanBusTransport::sendNow(const QByteArray& record) {
    CanFrame frame;
    if (!SerialRecord::toFrame(record, &frame))
        return;
    QCanBusFrame out(frame.id, QByteArray(reinterpret_cast<const char*>(frame.data.data()), frame.length));
    out.setExtendedFrameFormat(true);
    if (!m_device->writeFrame(out))
        kx::logW() << "CAN write refused on " + m_address + ": " + m_device->errorString();
}

void CanBusTransport::onFramesReceived() {
    if (!m_device)
        return;
    QByteArray bytes;
    for (const QCanBusFrame& in : m_device->readAllFrames()) {
        if (in.frameType() != QCanBusFrame::DataFrame || !in.hasExtendedFrameFormat() ||
            in.payload().size() > 8) {
            ++m_ignored;
            continue;
        }
        CanFrame frame;
        frame.id = in.frameId() & 0x1FFFFFFFu;
        const QByteArray payload = in.payload();
        frame.length = quint8(payload.size());
        std::copy(payload.begin(), payload.end(), frame.data.begin());
        bytes += SerialRecord::fromFrame(frame);
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}

void CanBusTransport::onStateChanged(int state) {
    if (!m_device)
        return;
    if (state == QCanBusDevice::ConnectedState) {
        m_connected = true;
        while (!m_pending.empty()) {
            sendNow(m_pending.front());
            m_pending.pop_front();
        }
    } else if (state == QCanBusDevice::UnconnectedState && m_connected) {
        // The interface went away under the link: the worker treats it like an unplugged adapter.
        m_connected = false;
        m_error = tr("The CAN interface %1 was disconnected.").arg(m_address);
        emit errorOccurred(QSerialPort::ResourceError);
    }
}

void CanBusTransport::onError(int error) {
    if (!m_device)
        return;
    m_error = m_device->errorString();
    switch (QCanBusDevice::CanBusError(error)) {
        case QCanBusDevice::NoError:
            return;
        case QCanBusDevice::ReadError:
            emit errorOccurred(QSerialPort::ReadError);
            return;
        case QCanBusDevice::WriteError:
            // A refused frame (bus-off, full queue) is not the end of the link; it is logged.
            kx::logW() << "CAN write error on " + m_address + ": " + m_error;
            return;
        case QCanBusDevice::ConnectionError:
            emit errorOccurred(m_connected ? QSerialPort::ResourceError : QSerialPort::OpenError);
            return;
        case QCanBusDevice::ConfigurationError:
            emit errorOccurred(QSerialPort::UnsupportedOperationError);
            return;
        default:
            emit errorOccurred(QSerialPort::UnknownError);
            return;
    }
}
