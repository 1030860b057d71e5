#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

// The byte link under the worker: the serial USB-CAN adapter, or a CAN interface. Both speak
// the adapter's record format towards the link (a frame is an "AT" record, see SerialRecord),
// so detection, steps and decoding do not care which one carries the frames. Errors use the
// serial port's vocabulary, which the worker's reactions (error boxes, auto-reconnect) know.
//
// Lives on the port's thread and is used only there.
class LinkTransport : public QObject {
    Q_OBJECT

public:
    explicit LinkTransport(QObject* parent = nullptr) : QObject(parent) {}
    ~LinkTransport() override = default;

    // A serial device path, or "plugin:interface" for a CAN interface (socketcan:can0,
    // virtualcan:tcp://127.0.0.1:35468/can0). Null for an address no transport takes.
    static LinkTransport* create(const QString& address, QObject* parent);
    // Whether the address can be opened now (a device path that exists, a CAN interface that
    // is up or a virtual bus that is served): the reconnect watcher waits on it.
    static bool present(const QString& address);

    // The address as the user gave it.
    virtual QString name() const = 0;
    // Opens at the given line rate (serial only); false after errorOccurred.
    virtual bool open(qint32 baudRate) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // One record (a frame record or an AT line) for the bus.
    virtual void write(const QByteArray& bytes) = 0;
    virtual void flush() {}
    virtual void clearInput() {}
    // Whether the link sets an adapter up with AT commands and tries its line rates; a CAN
    // interface carries frames straight to the bus and is probed directly.
    virtual bool carriesAdapterCommands() const = 0;
    virtual void setBaudRate(qint32 rate) { Q_UNUSED(rate); }
    virtual qint32 baudRate() const { return 0; }
    // The last error in words, for the log.
    virtual QString errorString() const = 0;

signals:
    // Frames written from now on reach the bus. A CAN interface that connects in the
    // background (virtualcan over TCP) says so when it is up; the serial port never does, its
    // adapter is probed with AT commands instead.
    void ready();
    // Received bytes in the record format (a CAN interface hands over whole records).
    void received(const QByteArray& bytes);
    void errorOccurred(QSerialPort::SerialPortError error);
};
