#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QSet>
#include <QString>
#include <QTcpServer>

#include "sim/simfrontend.h"

class QTcpSocket;
class SimAdapter;

// The motors on a virtual CAN bus: the bench serves the bus itself (a TCP server on a loopback
// port, one text line per frame) and the host joins it as a client through QtSerialBus's
// virtualcan plug-in. Frames a client writes go to every other client on the same channel and,
// on the bench's channel, to the motors (through the adapter, whose faults and log apply);
// the motors' frames go to every client on the bench's channel. There is no adapter to talk
// to: no AT lines, no line rate.
class SimBus : public SimFrontEnd {
    Q_OBJECT

public:
    // Bytes a client may leave unread before its frames are lost, as on a full receive queue.
    static constexpr qint64 kMaxPending = 256 * 1024;
    // No well-formed line is longer; a peer that sends more without a line end is cut off.
    static constexpr int kMaxLine = 256;
    static constexpr quint16 kDefaultPort = 35468;

    struct Address {
        QHostAddress host = QHostAddress(QHostAddress::LocalHost);
        quint16 port = kDefaultPort;  // 0: a free port, chosen when first plugged
        int channel = 0;              // can0 or can1
    };
    // "virtualcan:tcp://127.0.0.1:PORT/canN"; the host must be a loopback address.
    static bool parseAddress(const QString& text, Address* address, QString* error);

    SimBus(SimAdapter* adapter, const Address& address, QObject* parent = nullptr);
    ~SimBus() override;

    bool plug(QString* error) override;
    // Stops serving and drops every client, as a bus that goes away.
    void unplug() override;
    bool plugged() const override { return m_server.isListening(); }
    // The address a host gives to join this bus (with the port actually served).
    QString address() const override;
    qint64 lost() const override { return m_lost; }
    int clients() const { return m_clients.size(); }
    // Lines no virtual CAN peer sends: broken, or longer than kMaxLine.
    qint64 rejected() const { return m_rejected; }

private:
    struct Client {
        QByteArray buffer;
        QSet<int> channels;  // joined with "connect:canN"
    };

    void onNewConnection();
    void onReadable(QTcpSocket* socket);
    void onDisconnected(QTcpSocket* socket);
    void drop(QTcpSocket* socket);
    void handleLine(QTcpSocket* from, const QByteArray& line);
    void onAdapterBytes(const QByteArray& record);
    void sendTo(int channel, const QByteArray& line, QTcpSocket* except);

    SimAdapter* m_adapter;
    Address m_address;
    QTcpServer m_server;
    QHash<QTcpSocket*, Client> m_clients;
    qint64 m_lost = 0;
    qint64 m_rejected = 0;
};
