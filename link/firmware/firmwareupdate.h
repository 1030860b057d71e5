#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <mutex>

#include "link/linkfeature.h"

// The link side of a firmware update: entering update mode, size and packet count, the
// packets one by one with acknowledgement or resend, the end frame and the motor's verdict.
//
// Threads: the image is guarded by m_imageMutex; counters and the outcome are atomics written
// on the receive path (the port's thread) and by the steps' start actions, and read by the
// flows that wait for them. The object lives on the port's thread, where its pacing timers
// fire.
class FirmwareUpdate : public QObject, public LinkFeature {
    Q_OBJECT

public:
    enum class Outcome {
        Idle,
        Running,
        Succeeded,  // the end check passed (status 53)
        Failed,     // a refusal, a time-out or a failed end check; status() names it
        Aborted,    // the port closed or the transfer was stopped
    };

    explicit FirmwareUpdate(QObject* parent = nullptr);

    // The firmware feature registered with link, or null.
    static FirmwareUpdate* of(otaThread* link);

    // Reads an image file, refusing what no motor may be sent before anything is sent: an
    // unreadable, empty or oversized file. The size is checked before reading, so a huge
    // file is never loaded. message gets the user-facing reason.
    static bool readImage(const QString& path, QByteArray* image, QString* message);
    // The refusal text for an image of size bytes, or an empty string when it may be sent.
    static QString sizeProblem(qint64 size);

    void setImage(const QByteArray& image);
    QByteArray image() const;

    Outcome outcome() const { return m_outcome.load(); }
    // The status that ended the transfer (Failed, Succeeded), or -1.
    int finalStatus() const { return m_finalStatus.load(); }
    quint32 packetCount() const { return m_count.load(); }
    // Next packet to send; a wide counter, so the last packet of a 65536-packet image is
    // counted past without wrapping.
    quint32 packetIndex() const { return m_index.load(); }
    // Acknowledged packets of this transfer; grows with every acknowledgement, so a waiting
    // flow can tell progress from a stall.
    quint32 acknowledged() const { return m_acked.load(); }
    quint32 resends() const { return m_resends.load(); }
    // Whether this transfer's file information went out (the link may chain to it by itself).
    bool infoSent() const { return m_infoSent.load(); }
    // Percent of the image acknowledged (packet index over packet count).
    int percent() const;

    // LinkFeature
    QString name() const override { return QStringLiteral("firmware"); }
    QVector<StepRule> steps() const override;
    QVector<int> frameTypes() const override;
    int decodeFrame(otaThread& link, const CanFrame& frame) override;
    void linkClosed(otaThread& link) override;

    // Milliseconds the motor has to answer the end frame before the update counts as failed.
    static constexpr int kEndAnswerTimeoutMs = 5000;

private:
    // Refuses an empty or oversized image with its status (9 or 10) and ends the step.
    bool refuseImage(otaThread& link);
    void beginTransfer();
    void fail(int status);
    void sendPacket(otaThread& link);
    void scheduleNextPacket(otaThread& link);
    void setProgress(int percent);

    mutable std::mutex m_imageMutex;
    QByteArray m_image;  // guarded by m_imageMutex

    std::atomic<Outcome> m_outcome{Outcome::Idle};
    std::atomic<int> m_finalStatus{-1};
    std::atomic<quint32> m_count{0};
    std::atomic<quint32> m_index{0};
    std::atomic<quint32> m_acked{0};
    std::atomic<quint32> m_resends{0};
    std::atomic<int> m_updateDt{1};
    std::atomic<bool> m_infoSent{false};
    // Bumped by every transfer start and abort: a pacing timer of an earlier transfer does
    // nothing.
    std::atomic<quint64> m_transfer{0};
    std::atomic<int> m_lastPercent{-1};  // port's thread: the progress node changes once per percent
};
