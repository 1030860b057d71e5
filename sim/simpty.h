#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

#include "sim/simfrontend.h"

class QSocketNotifier;
class SimAdapter;

// The thin pseudo-terminal front end of the bench: opens a raw pty, keeps its own descriptor on
// the slave (to read the host's line rate and to survive the host's close and reopen), feeds
// what the host writes to the adapter, and writes the adapter's bytes paced at rate / 10 bytes
// per second. unplug() closes the master, as pulling the USB cable would; plug() opens a new one.
class SimPty : public SimFrontEnd {
    Q_OBJECT

public:
    // Bytes waiting for the line beyond this are lost, as in the adapter's own buffer.
    static constexpr int kMaxPending = 256 * 1024;

    SimPty(SimAdapter* adapter, bool pacing, QObject* parent = nullptr);
    ~SimPty() override;

    bool plug(QString* error) override;
    void unplug() override;
    bool plugged() const override { return m_master >= 0; }
    QString address() const override { return m_path; }
    QString path() const { return m_path; }
    // Keeps a symlink at `link` pointing at the current device (empty = none).
    void setLink(const QString& link) { m_link = link; }
    bool updateLink(QString* error);
    void removeLink();
    qint64 lost() const override { return m_lost; }

signals:
    void pathChanged(const QString& path);

private:
    void onReadable();
    void onWritable();
    void onRateTimer();
    void queue(const QByteArray& bytes);
    void pump();
    // Bytes an idle line may send at once (its hardware buffer).
    double idleCredit() const;

    SimAdapter* m_adapter;
    bool m_pacing;
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QString m_link;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    QTimer m_rateTimer;
    QTimer m_paceTimer;
    QByteArray m_pending;
    int m_pendingPos = 0;
    QElapsedTimer m_paceClock;
    qint64 m_paceNs = 0;     // m_paceClock at the last credit update
    double m_credit = 0;     // bytes the line may carry now
    bool m_lineIdle = true;  // nothing was waiting at the last pump
    qint64 m_lost = 0;
};
