#pragma once

#include "link/transport/linktransport.h"

// The USB-CAN adapter behind a serial port: 8N1 at the configured rate, no flow control.
class SerialTransport : public LinkTransport {
    Q_OBJECT

public:
    explicit SerialTransport(const QString& path, QObject* parent = nullptr);
    ~SerialTransport() override;

    QString name() const override { return m_path; }
    bool open(qint32 baudRate) override;
    void close() override;
    bool isOpen() const override { return m_port->isOpen(); }
    void write(const QByteArray& bytes) override;
    void flush() override;
    void clearInput() override;
    bool carriesAdapterCommands() const override { return true; }
    void setBaudRate(qint32 rate) override;
    qint32 baudRate() const override { return m_port->baudRate(); }
    QString errorString() const override { return m_error.isEmpty() ? m_port->errorString() : m_error; }

private:
    QString m_path;  // as the user gave it (QSerialPort shortens /dev/ paths)
    QSerialPort* m_port;
    QString m_error;        // why the last open failed, when the port itself cannot tell
    bool m_locked = false;  // the lock under the name as given is ours
};
