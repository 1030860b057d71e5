#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// One firmware update of the current device from start to verdict, shared by the device
// tools and `trivane-cli flash`: refuses a bad image before anything is sent, enters update
// mode, sends the file, waits for the motor's end check, and ends on a stall of
// "config.update_timeout" (the longest time without an acknowledged packet), on an unplugged
// adapter or on a removed device. Runs on the port's thread inside a wait that lets frames
// and timers through but not user input.
class FirmwareFlow : public QObject {
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

    explicit FirmwareFlow(QObject* parent = nullptr);

    Report run(const QByteArray& image);

signals:
    // The motor was asked to enter update mode (it erases its flash meanwhile).
    void erasing();
    // The motor took the file information; packets follow.
    void sending();
    // Acknowledged packet index over the packet count, at most every 20 ms.
    void progress(quint32 index, quint32 count);

private:
    static QString refusalText(int status);
};
