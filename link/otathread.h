#pragma once

#include <QByteArray>
#include <QThread>
#include <QVector>

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include "link/canframe.h"
#include "link/canprotocol.h"
#include "link/linkstates.h"
#include "link/motorframes.h"
#include "link/recordcutter.h"

#include "link/linkfeature.h"

class QSocketNotifier;

// The link thread: runs the step machine (every step as a registered StepRule: the core's own
// steps from CoreSteps, the features' from registerFeature) while the receive path (getSerialData,
// dispatchFrame) runs on the thread that owns the serial port. Shared state is atomic or guarded by a
// std::mutex, as noted at each field; an idle link blocks on a condition variable instead of polling.
class otaThread : public QThread {
    Q_OBJECT

public:
    static constexpr int kMaxDevices = 14;

    struct DeviceEntry {
        quint64 mcuId = 0;
        quint8 canId = 0;
    };

    explicit otaThread(QObject* parent = nullptr);
    ~otaThread() override;

    // The process-wide link thread (null while no link worker exists).
    static otaThread* instance();

    // Ends the loop (STEP_QUIT) and waits up to timeoutMs for it; true once it has ended.
    bool quitAndJoin(int timeoutMs);

    // Makes step current (clean answer flag and elapsed time), then performs its start action;
    // callable from any thread. Starting a step abandons the current one without a status.
    void startStep(int step);
    // The port closed or the link is reset: the step machine goes idle and every feature ends
    // its transfer (LinkFeature::linkClosed, on the calling thread).
    void resetLink();
    int step() const { return m_step.load(); }
    int status() const { return m_status.load(); }
    static QString stepName(int step) { return LinkStates::stepName(step); }
    // The rule registered for step; null for a step nobody declared (it is idle).
    const StepRule* rule(int step) const;

    // One record cut from the serial stream: a frame record is decoded (statuses, values,
    // announcements); any record is then offered to the current step's answer rule.
    void dispatchFrame(const QByteArray& record);

    // Sends a frame (as its serial record) or raw bytes through WriteToSerial; any thread.
    void sendFrame(const CanFrame& frame);
    void sendRaw(const QByteArray& bytes);

    // Addressing.
    void setTarget(quint8 canId) { m_target = canId; }
    quint8 target() const { return m_target.load(); }
    void setNewCanId(quint8 canId) { m_newCanId = canId; }
    void setSelectedDevice(int index);
    // Index into the device table; its MCU ID addresses reset-mode and firmware requests.
    int selectedDevice() const { return m_selected.load(); }
    void setDeviceEntry(int index, quint64 mcuId, quint8 canId);
    DeviceEntry deviceEntry(int index) const;
    QVector<DeviceEntry> deviceTable() const;
    int deviceCount() const;
    void resetDeviceCount();
    bool takeTableChanged();
    DeviceEntry lastAnnounced() const;

    // Set-points of MIT control, the run mode and the zero flag.
    void setSetpoints(const MotorFrames::MitSetpoints& setpoints);
    MotorFrames::MitSetpoints setpoints() const;
    void setRunMode(int mode) { m_runMode = mode; }
    int runMode() const { return m_runMode.load(); }
    void setZeroFlag(int flag) { m_zeroFlag = flag; }
    void setScopeFrequency(int frequency) { m_scopeFrequency = frequency; }
    int scopeFrequency() const { return m_scopeFrequency.load(); }

    // Adds a feature's steps and frame types; called once per feature before the loop starts
    // (installLinkFeatures). The link does not own the feature. A step or frame type declared
    // twice goes to the later registration (logged).
    void registerFeature(LinkFeature* feature);
    const QVector<LinkFeature*>& features() const { return m_features; }
    // Announces a status from any thread (a feature's own outcome, e.g. a finished walk).
    void announce(int status, int canId = -1) { emitStatus(status, canId); }
    void setDebug(bool pack, bool step) {
        m_debugPack = pack;
        m_debugStep = step;
    }

signals:
    // A new status, always emitted on the port's thread (the loop hands its statuses over);
    // carries the status so a reaction reads the one announced, not whatever the field holds,
    // and the CAN ID of the motor it concerns.
    void sendState(int status, int canId);
    // A record or AT command to write; emitted on the port's thread as well.
    void WriteToSerial(QByteArray bytes);
    // The scan step ended (all IDs probed).
    void scanFinished();
    // A decoded reply changed one motor's state (MotorStates), on the port's thread after the
    // reply's status: status is the one announced, or -1 for a model reply (it has none).
    void motorChanged(quint8 canId, int status);

public slots:
    void getSerialData(QByteArray temp);

protected:
    void run() override;

private:
    friend class CoreSteps;

    struct RuleEntry {
        StepRule rule;
        LinkFeature* owner = nullptr;  // null for the core's own steps
        bool declared = false;
    };
    void addRule(const StepRule& rule, LinkFeature* owner);
    StepRule::Kind kindOf(int step) const;
    // Makes next current with a clean answer flag and elapsed time while generation is still
    // current, announces status (>= 0), then runs next's start action unless the exchange ended
    // (STEP_STOP). False when another step replaced this one meanwhile.
    bool conclude(quint64 generation, int next, int status);
    // Waits up to ms on the step condition; false when another step was started meanwhile.
    // With wakeOnAnswer, an answer to the current step ends the wait early.
    bool waitFor(int ms, quint64 generation, bool wakeOnAnswer = false);
    void waitingPass(const StepRule& rule, quint64 generation);
    void passingPass(const StepRule& rule, quint64 generation);
    // canId: the motor the status concerns; -1 for the link's current target.
    void emitStatus(int status, int canId = -1);
    void handleAnnouncement(const CanFrame& frame);
    int decodeByType(const CanFrame& frame);
    int decodeFeedback(const CanFrame& frame);
    void offerAnswer(bool valid, const CanFrame& frame, const QByteArray& record);
    void logStep(int step);
    QString logNameOf(int step) const;
    // The ranges MIT frames to the target are scaled with.
    CanProtocol::ModelRanges targetRanges() const;

    // Hand-over from the loop to the port's thread: one FIFO of writes, statuses and status
    // lines, guarded by a std::mutex and woken through an eventfd. The order of writes and
    // statuses is kept, and race detectors see every hand-over (Qt's queued events go
    // through primitives they cannot see).
    enum class MailKind { Write, Status, Line, SendId, ScanDone };
    struct Mail {
        MailKind kind;
        QByteArray bytes;
        int value = 0;
        QString text;
        int canId = -1;
    };
    void post(Mail mail);
    void onMail();
    bool onLoopThread() const { return QThread::currentThread() == this; }
    // A status line from either thread ("ERROR" tag).
    void postError(const QString& text);
    void deliver(const Mail& mail);

    // Step machine. m_step is written under m_stepMutex (together with m_generation, which
    // tells a waiting pass that its step was replaced) and read lock-free.
    mutable std::mutex m_stepMutex;
    std::condition_variable m_stepCv;
    quint64 m_generation = 0;  // guarded by m_stepMutex
    bool m_ended = false;      // guarded by m_stepMutex: run() has returned
    std::atomic<int> m_step{STEP_STOP};
    std::atomic<int> m_status{0};
    std::atomic<bool> m_answer{false};  // written under m_stepMutex
    std::atomic<int> m_elapsed{0};      // written under m_stepMutex
    std::atomic<int> m_atIndex{0};
    int m_loggedStep = -1;           // link thread only
    quint64 m_pickedGeneration = 0;  // link thread only: the step generation last picked up

    // Addressing; scalars are atomic, the device table is guarded by m_tableMutex.
    std::atomic<quint8> m_target{1};
    std::atomic<quint8> m_newCanId{1};
    std::atomic<int> m_selected{0};
    mutable std::mutex m_tableMutex;
    std::array<DeviceEntry, kMaxDevices> m_table{};
    int m_count = 0;
    bool m_tableChanged = false;
    DeviceEntry m_lastAnnounced;

    // Scan counters: link thread only.
    quint8 m_probeCounter = 0;
    quint8 m_probeGroup = 0;
    bool m_firstProbe = false;
    int m_probeId = 0;
    bool m_probeSendNext = false;

    // MIT control, guarded by m_valuesMutex.
    mutable std::mutex m_valuesMutex;
    MotorFrames::MitSetpoints m_setpoints;
    int m_decodedMotor = -1;          // receive path only: the motor the frame being decoded concerns
    bool m_mitRefusalLogged = false;  // link thread only: one status line per refused stream
    std::atomic<int> m_runMode{0};
    std::atomic<int> m_zeroFlag{0};
    std::atomic<int> m_scopeFrequency{100};

    // Receive buffer: touched only by the receive path; a clear requested from another
    // thread is applied there before the next bytes are appended.
    RecordCutter m_cutter;
    std::atomic<bool> m_clearBuffer{false};
    // The CAN ID last written to "_recv_can_id": a stream of frames from one motor (the scope's
    // samples) must not write the data tree thousands of times a second.
    std::atomic<int> m_recvIdWritten{-1};

    std::atomic<int> m_baudRate{921600};  // configured rate, sent by "AT+USART_PARAM"
    std::atomic<bool> m_debugPack{false};
    std::atomic<bool> m_debugStep{false};
    // Written before the loop starts (constructor, registerFeature), then read-only.
    QVector<LinkFeature*> m_features;
    std::vector<RuleEntry> m_rules;               // by step number
    std::array<LinkFeature*, 32> m_typeOwners{};  // by communication type

    std::mutex m_mailMutex;
    std::deque<Mail> m_mail;  // guarded by m_mailMutex
    int m_wakeFd = -1;
    QSocketNotifier* m_wake = nullptr;  // port's thread
};
