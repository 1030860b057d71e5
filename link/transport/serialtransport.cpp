#include "link/transport/serialtransport.h"

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
    m_port->setPortName(path);
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
    m_port->setBaudRate(baudRate);
    if (!m_port->open(QIODevice::ReadWrite))
        return false;
    // The rate may only be applied to an open device on some platforms; set it again.
    m_port->setBaudRate(baudRate);
    return true;
}

void SerialTransport::close() {
    if (m_port->isOpen())
        m_port->close();
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
