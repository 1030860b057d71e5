#include "link/transport/canbustransport.h"

#include "framework/log/qflog.h"
#include "link/recordcutter.h"
#include "link/serialrecord.h"

#include <QAbstractSocket>
#include <QCanBus>
#include <QCanBusDevice>
#include <QCanBusFrame>
#include <QHostAddress>
#include <QLoggingCategory>
#include <QTcpSocket>
#include <QUrl>

#include <atomic>
#include <mutex>

namespace {

constexpr size_t kMaxPending = 4096;
constexpr quint16 kVirtualDefaultPort = 35468;
constexpr int kProbeTimeoutMs = 1000;
const QLatin1String kVirtual("virtualcan");

bool split(const QString& address, QString* plugin, QString* interface) {
    const int colon = address.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    *plugin = address.left(colon);
    *interface = address.mid(colon + 1);
    return !interface->isEmpty();
}

// Where the virtual bus's plug-in connects for this interface string.
void virtualEndpoint(const QString& interface, QHostAddress* host, quint16* port) {
    const QUrl url(interface);
    *host = url.host().isEmpty() || url.host() == QLatin1String("localhost")
                ? QHostAddress(QHostAddress::LocalHost)
                : QHostAddress(url.host());
    *port = quint16(url.port(kVirtualDefaultPort));
}

// The virtual bus keeps written lines in a socket until the event loop comes round: the last
// frames before a close (the motors' safety resets) must leave before the device goes.
void flushSockets(QCanBusDevice* device) {
    for (QAbstractSocket* socket : device->findChildren<QAbstractSocket*>())
        socket->flush();
}

// Categories are set up on whichever thread creates them.
std::atomic<QLoggingCategory::CategoryFilter> g_previousFilter{nullptr};

// The virtual bus's plug-in tells at info level that its own server could not start (the bench
// serves the port: as it should) and that its socket connected: words that alarm users of the
// command line and say nothing the link does not. Warnings still pass, and so does everything
// of other categories.
void quietVirtualBus(QLoggingCategory* category) {
    if (QLoggingCategory::CategoryFilter previous = g_previousFilter.load())
        previous(category);
    if (qstrcmp(category->categoryName(), "qt.canbus.plugins.virtualcan") == 0) {
        category->setEnabled(QtDebugMsg, false);
        category->setEnabled(QtInfoMsg, false);
    }
}

void installQuietFilter() {
    static std::once_flag once;
    std::call_once(once, [] { g_previousFilter = QLoggingCategory::installFilter(quietVirtualBus); });
}

}  // namespace

CanBusTransport::CanBusTransport(const QString& address, QObject* parent)
    : LinkTransport(parent), m_address(address) {
    split(address, &m_plugin, &m_interface);
    if (m_plugin == kVirtual)
        installQuietFilter();
    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, &CanBusTransport::onConnectTimeout);
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
        if (plugin == kVirtual)
            continue;
        QString error;
        for (const QCanBusDeviceInfo& info : QCanBus::instance()->availableDevices(plugin, &error))
            list << plugin + QLatin1Char(':') + info.name();
    }
    return list;
}

bool CanBusTransport::present(const QString& address) {
    QString plugin, interface;
    if (!split(address, &plugin, &interface))
        return false;
    if (plugin == kVirtual) {
        QString error;
        return virtualBusServed(interface, &error);
    }
    QString error;
    for (const QCanBusDeviceInfo& info : QCanBus::instance()->availableDevices(plugin, &error)) {
        if (info.name() == interface)
            return true;
    }
    return false;
}

bool CanBusTransport::virtualBusServed(const QString& interface, QString* error) {
    QHostAddress host;
    quint16 port = 0;
    virtualEndpoint(interface, &host, &port);
    // A remote bus is not probed here: the connect time-out covers a host that never answers.
    if (!host.isLoopback())
        return true;
    QTcpSocket probe;
    probe.connectToHost(host, port);
    // On the loopback interface a refusal or an acceptance comes at once.
    if (probe.waitForConnected(kProbeTimeoutMs)) {
        probe.abort();
        return true;
    }
    *error = tr("Nothing serves the virtual CAN bus %1:%2 (start its server first, e.g. trivane-sim "
                "--bus virtualcan:%3).")
                 .arg(host.toString())
                 .arg(port)
                 .arg(interface);
    return false;
}

bool CanBusTransport::open(qint32) {
    close();
    m_error.clear();
    if (m_plugin.isEmpty() || m_interface.isEmpty()) {
        m_error = tr("%1 is not a CAN interface (PLUGIN:INTERFACE).").arg(m_address);
        emit errorOccurred(QSerialPort::DeviceNotFoundError);
        return false;
    }
    if (m_plugin == kVirtual && !virtualBusServed(m_interface, &m_error)) {
        emit errorOccurred(QSerialPort::DeviceNotFoundError);
        return false;
    }
    QString error;
    QCanBusDevice* device = QCanBus::instance()->createDevice(m_plugin, m_interface, &error);
    if (!device) {
        m_error = error.isEmpty() ? tr("No CAN interface %1.").arg(m_address) : error;
        emit errorOccurred(QSerialPort::DeviceNotFoundError);
        return false;
    }
    // A plug-in that rejects the interface name says so on the new device, before anyone
    // listens to its signals (the virtual bus would otherwise quietly use can0).
    if (device->error() != QCanBusDevice::NoError) {
        m_error = tr("Cannot open the CAN interface %1: %2").arg(m_address, device->errorString());
        delete device;
        emit errorOccurred(QSerialPort::DeviceNotFoundError);
        return false;
    }
    m_device = device;
    m_device->setParent(this);
    connect(m_device, &QCanBusDevice::framesReceived, this, &CanBusTransport::onFramesReceived);
    connect(m_device, &QCanBusDevice::stateChanged, this,
            [this](QCanBusDevice::CanBusDeviceState state) { onStateChanged(int(state)); });
    connect(m_device, &QCanBusDevice::errorOccurred, this,
            [this](QCanBusDevice::CanBusError e) { onError(int(e)); });
    m_opening = true;
    const bool connecting = m_device->connectDevice();
    m_opening = false;
    if (!connecting) {
        m_error = tr("Cannot open the CAN interface %1: %2").arg(m_address, m_device->errorString());
        delete m_device;
        m_device = nullptr;
        emit errorOccurred(QSerialPort::OpenError);
        return false;
    }
    if (m_device && m_device->state() != QCanBusDevice::ConnectedState)
        m_connectTimer.start(kConnectTimeoutMs);
    return true;
}

void CanBusTransport::close() {
    m_connectTimer.stop();
    m_pending.clear();
    m_connected = false;
    if (!m_device)
        return;
    QCanBusDevice* device = m_device;
    m_device = nullptr;  // the state change below must not report a lost device
    device->disconnect(this);
    if (device->state() != QCanBusDevice::UnconnectedState)
        device->disconnectDevice();
    flushSockets(device);
    device->deleteLater();
}

bool CanBusTransport::isOpen() const {
    return m_device != nullptr;
}

void CanBusTransport::flush() {
    if (m_device)
        flushSockets(m_device);
}

qint32 CanBusTransport::baudRate() const {
    if (m_device) {
        bool ok = false;
        const int rate = m_device->configurationParameter(QCanBusDevice::BitRateKey).toInt(&ok);
        if (ok && rate > 0)
            return rate;
    }
    return kDefaultBitRate;
}

void CanBusTransport::write(const QByteArray& bytes) {
    if (!m_device)
        return;
    // Most writes are one record; the cutter takes the rare batch apart. AT lines set up a
    // serial adapter, and a CAN interface has none to set up: they are not sent.
    CanFrame frame;
    QList<CanFrame> frames;
    if (SerialRecord::toFrame(bytes, &frame)) {
        frames << frame;
    } else {
        RecordCutter cutter;
        cutter.append(bytes);
        QByteArray record;
        while (cutter.next(&record)) {
            if (SerialRecord::toFrame(record, &frame))
                frames << frame;
        }
    }
    for (const CanFrame& f : frames) {
        if (m_connected) {
            sendNow(f);
            continue;
        }
        if (m_pending.size() >= kMaxPending)
            m_pending.pop_front();
        m_pending.push_back(f);
    }
}

void CanBusTransport::sendNow(const CanFrame& frame) {
    QCanBusFrame out(frame.id, QByteArray(reinterpret_cast<const char*>(frame.data.data()), frame.length));
    out.setExtendedFrameFormat(true);
    if (!m_device->writeFrame(out))
        kx::logW() << "CAN write refused on " + m_address + ": " + m_device->errorString();
}

void CanBusTransport::onFramesReceived() {
    if (!m_device || m_drainQueued)
        return;
    m_drainQueued = true;
    QMetaObject::invokeMethod(this, &CanBusTransport::drainFrames, Qt::QueuedConnection);
}

void CanBusTransport::drainFrames() {
    m_drainQueued = false;
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
        m_connectTimer.stop();
        m_connected = true;
        while (!m_pending.empty() && m_device) {
            sendNow(m_pending.front());
            m_pending.pop_front();
        }
        emit ready();
    } else if (state == QCanBusDevice::UnconnectedState && m_connected) {
        // The interface went away under the link: the worker treats it like an unplugged adapter.
        m_connected = false;
        m_error = tr("The CAN interface %1 was disconnected.").arg(m_address);
        emit errorOccurred(QSerialPort::ResourceError);
    }
}

void CanBusTransport::onConnectTimeout() {
    if (!m_device || m_connected)
        return;
    m_error =
        tr("The CAN interface %1 did not come up within %2 s.").arg(m_address).arg(kConnectTimeoutMs / 1000);
    emit errorOccurred(QSerialPort::OpenError);
}

void CanBusTransport::onError(int error) {
    if (!m_device)
        return;
    const QString text = m_device->errorString();
    if (m_opening) {
        kx::logW() << "CAN interface " + m_address + " while opening: " + text;
        return;
    }
    switch (QCanBusDevice::CanBusError(error)) {
        case QCanBusDevice::NoError:
            return;
        case QCanBusDevice::WriteError:
            // A refused frame (bus-off, full queue) is not the end of the link; it is logged.
            kx::logW() << "CAN write error on " + m_address + ": " + text;
            return;
        case QCanBusDevice::ReadError:
            m_error = tr("Cannot read from the CAN interface %1: %2").arg(m_address, text);
            emit errorOccurred(QSerialPort::ReadError);
            return;
        case QCanBusDevice::ConnectionError:
            m_error = tr("The CAN interface %1 failed: %2").arg(m_address, text);
            emit errorOccurred(m_connected ? QSerialPort::ResourceError : QSerialPort::OpenError);
            return;
        case QCanBusDevice::ConfigurationError:
            m_error = tr("The CAN interface %1 refused its configuration: %2").arg(m_address, text);
            emit errorOccurred(QSerialPort::UnsupportedOperationError);
            return;
        default:
            m_error = tr("The CAN interface %1 failed: %2").arg(m_address, text);
            emit errorOccurred(QSerialPort::UnknownError);
            return;
    }
}
