#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "link/canframe.h"
#include "link/frames/firmwareframes.h"

// The motor's update receiver (types 11-14): erase on entry (taking a configurable time),
// size and packet count check, per-packet acknowledgement or resend request, and a final check
// of the image before it is taken. An image that starts with the marker "TRVFW" carries its
// version (16 bytes) and a CRC-32 of what follows (4 bytes, little-endian) and is refused when
// the CRC does not match; any other image is taken as is and named "fw-" + its CRC-32.
class SimFirmware : public QObject {
    Q_OBJECT

public:
    static constexpr quint32 kMaxImage = FirmwareFrames::kMaxImage;

    explicit SimFirmware(QObject* parent = nullptr) : QObject(parent) {}

    void handle(const CanFrame& request, quint8 canId, quint64 mcuId);
    void setEraseDelay(int ms) { m_eraseDelayMs = ms; }
    // Every n-th packet is answered with a resend request (0 = never).
    void setResendEvery(int n) { m_resendEvery = n; }
    bool active() const { return m_state != State::Idle; }

    static quint32 crc32(const char* data, int size);
    // The version an accepted image installs; empty when the image is refused.
    static QString versionOf(const QByteArray& image);

signals:
    void frameOut(const CanFrame& frame);
    // A complete image passed the final check.
    void updated(const QString& version);

private:
    enum class State { Idle, Erasing, Ready, Receiving };
    void requestResend(quint8 canId);

    State m_state = State::Idle;
    int m_eraseDelayMs = 1500;
    int m_resendEvery = 0;
    quint32 m_size = 0;
    quint32 m_count = 0;
    quint32 m_next = 0;  // wide counter: 65536 packets do not fit the 16 bits on the bus
    quint32 m_seen = 0;
    QByteArray m_image;
};
