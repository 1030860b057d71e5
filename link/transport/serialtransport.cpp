#include "link/transport/serialtransport.h"

#include "link/portaccess.h"

SerialTransport::SerialTransport(const QString& path, QObject* parent)
    : LinkTransport(parent), m_path(path), m_port(new QSerialPort(this)) {
    qRegisterMetaType<QSerialPort::SerialPortError>("QSerialPort::SerialPortError");
    // Restoring the old line settings on close would re-time the last frames (the safety
    // resets written just before closing) while they still wait in the output queue.
    // Deprecated without a replacement; the setting still works.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    m_port->setSettingsRestoredOnClose(false);
    QT_WARNING_POP
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_port->setReadBufferSize(4096);
    connect(m_port, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_port->readAll();
        if (!bytes.isEmpty())
            emit received(bytes);
    });
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::NoError)
            return;
        m_port->clearError();
        emit errorOccurred(error);
    });
}

bool SerialTransport::open(qint32 baudRate) {
    m_error.clear();
    // Opened (and locked) under the device's own path: a link to it and the device itself
    // must not open the same adapter twice.
    m_port->setPortName(PortAccess::devicePath(m_path));
    qint64 holder = 0;
    if (!PortAccess::lockAlias(m_path, &holder)) {
        // Another program opened the adapter by this name: as busy as a locked device.
        m_error = QStringLiteral("%1 is in use by process %2").arg(m_path).arg(holder);
        emit errorOccurred(QSerialPort::PermissionError);
        return false;
    }
    m_port->setBaudRate(baudRate);
    if (!m_port->open(QIODevice::ReadWrite)) {
        PortAccess::unlockAlias(m_path);
        m_error = m_port->errorString();
        return false;
    }
    m_locked = true;
    // The rate may only be applied to an open device on some platforms; set it again.
    m_port->setBaudRate(baudRate);
    return true;
}

void SerialTransport::close() {
    if (m_port->isOpen())
        m_port->close();
    if (m_locked) {
        PortAccess::unlockAlias(m_path);
        m_locked = false;
    }
}

SerialTransport::~SerialTransport() {
    close();
}

void SerialTransport::write(const QByteArray& bytes) {
    if (m_port->isOpen())
        m_port->write(bytes);
}

void SerialTransport::flush() {
    if (m_port->isOpen())
        m_port->flush();
}

void SerialTransport::clearInput() {
    if (m_port->isOpen())
        m_port->clear(QSerialPort::Input);
}

void SerialTransport::setBaudRate(qint32 rate) {
    m_port->setBaudRate(rate);
}
