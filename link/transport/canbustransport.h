#pragma once

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <deque>

#include "link/canframe.h"
#include "link/transport/linktransport.h"

class QCanBusDevice;

// A CAN interface through QtSerialBus (socketcan:can0, peakcan:usb0, virtualcan:URL): the
// link's frame records become extended CAN frames and back. There is no adapter to set up, so
// AT lines are not sent, and the line rate does not apply (the bit rate is the interface's,
// set up outside the program).
class CanBusTransport : public LinkTransport {
    Q_OBJECT

public:
    // An interface still connecting after this is reported as unreachable (the virtual bus's
    // plug-in would wait on a remote host for ever).
    static constexpr int kConnectTimeoutMs = 5000;
    // The bit rate assumed when the plug-in does not report one: the rate the bus is set up
    // with in the README.
    static constexpr qint32 kDefaultBitRate = 1000000;

    // address: "plugin:interface"; the interface string goes to QCanBus::createDevice as it is.
    explicit CanBusTransport(const QString& address, QObject* parent = nullptr);
    ~CanBusTransport() override;

    // Whether address names an installed CAN bus plug-in ("virtualcan:...").
    static bool takes(const QString& address);
    // The CAN interfaces the installed plug-ins report, as addresses ("socketcan:can0").
    static QStringList availableInterfaces();
    // Whether the interface is there to open: listed by its plug-in, or for the virtual bus on
    // this machine, served by someone.
    static bool present(const QString& address);

    QString name() const override { return m_address; }
    bool open(qint32 baudRate) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray& bytes) override;
    // Hands frames still buffered on their way to the bus to the system.
    void flush() override;
    bool carriesAdapterCommands() const override { return false; }
    // The bus's bit rate: the budget the scope checks its set-ups against.
    qint32 baudRate() const override;
    QString errorString() const override { return m_error; }

    // Error frames and frames that are not extended data frames: not for the link, counted.
    quint64 ignoredFrames() const { return m_ignored; }

private:
    // On this machine, the virtual bus's plug-in serves an empty bus of its own when nobody
    // listens on the port, and the host would then talk to no one: false (with *error) then.
    static bool virtualBusServed(const QString& interface, QString* error);
    void onFramesReceived();
    void drainFrames();
    void onStateChanged(int state);
    void onError(int error);
    void onConnectTimeout();
    void sendNow(const CanFrame& frame);

    QString m_address;
    QString m_plugin;
    QString m_interface;
    QString m_error;
    QCanBusDevice* m_device = nullptr;
    bool m_connected = false;
    // Inside connectDevice(): an error the device reports there is open()'s to tell, once.
    bool m_opening = false;
    // A drain of the received frames is queued: the plug-in announces frames one at a time
    // while it parses a read, and the link takes them in one batch after it.
    bool m_drainQueued = false;
    QTimer m_connectTimer;
    // Frames written while the interface is still connecting (virtualcan connects over TCP);
    // bounded, sent in order once it is up.
    std::deque<CanFrame> m_pending;
    quint64 m_ignored = 0;
};
