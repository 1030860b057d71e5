#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <deque>

#include "link/transport/linktransport.h"

class QCanBusDevice;

// A CAN interface through QtSerialBus (socketcan:can0, peakcan:usb0, virtualcan:URL): the
// link's frame records become extended CAN frames and back. There is no adapter to set up, so
// AT lines are not sent, and the line rate does not apply (the bit rate is the interface's,
// set up outside the program).
class CanBusTransport : public LinkTransport {
    Q_OBJECT

public:
    // address: "plugin:interface"; the interface string goes to QCanBus::createDevice as it is.
    explicit CanBusTransport(const QString& address, QObject* parent = nullptr);
    ~CanBusTransport() override;

    // Whether address names an installed CAN bus plug-in ("virtualcan:...").
    static bool takes(const QString& address);
    // The CAN interfaces the installed plug-ins report, as addresses ("socketcan:can0").
    static QStringList availableInterfaces();

    QString name() const override { return m_address; }
    bool open(qint32 baudRate) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray& bytes) override;
    bool carriesAdapterCommands() const override { return false; }
    QString errorString() const override { return m_error; }

    // Error frames and frames that are not extended data frames: not for the link, counted.
    quint64 ignoredFrames() const { return m_ignored; }

private:
    void onFramesReceived();
    void onStateChanged(int state);
    void onError(int error);
    void sendNow(const QByteArray& record);

    QString m_address;
    QString m_plugin;
    QString m_interface;
    QString m_error;
    QCanBusDevice* m_device = nullptr;
    bool m_connected = false;
    // Frames written while the interface is still connecting (virtualcan connects over TCP);
    // bounded, sent in order once it is up.
    std::deque<QByteArray> m_pending;
    quint64 m_ignored = 0;
};
