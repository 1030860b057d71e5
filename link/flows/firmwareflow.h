#pragma once

#include <QByteArray>
#include <QString>

#include "link/flows/flow.h"

// One firmware update of one motor from start to verdict, shared by the device tools,
// `trivane-cli flash` and the commissioning runner: refuses a bad image before anything is
// sent, enters update mode, sends the file, waits for the motor's end check, and ends on a
// stall of "config.update_timeout" (the longest time without an acknowledged packet), on an
// unplugged adapter or on a removed device.
//
// Values: "packets" (acknowledged by the motor), "image_packets", "resends", "seconds".
class FirmwareFlow : public Flow {
    Q_OBJECT

public:
    enum class Result {
        Succeeded,
        Refused,  // the image was refused before anything was sent
        Failed,
        TimedOut,
        PortClosed,
        DeviceRemoved,
    };

    struct Report {
        Result result = Result::Failed;
        QString message;           // the user-facing outcome
        quint32 packets = 0;       // acknowledged by the motor, in order from the first
        quint32 imagePackets = 0;  // in the image
        quint32 resends = 0;
        double seconds = 0;  // from the file information to the verdict
    };

    FirmwareFlow(int canId, const QByteArray& image, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("flash"); }
    QString activity() const override { return tr("updating its firmware"); }
    // The verdict in the update's own terms, once run() returned.
    const Report& details() const { return m_report; }

signals:
    // The motor was asked to enter update mode (it erases its flash meanwhile).
    void erasing();
    // The motor took the file information; packets follow.
    void sending();
    // Acknowledged packet index over the packet count, at most every 20 ms.
    void packets(quint32 index, quint32 count);

protected:
    FlowResult execute() override;

private:
    static QString refusalText(int status);
    Report update();

    QByteArray m_image;
    Report m_report;
};
