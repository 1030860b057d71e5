#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <atomic>
#include <mutex>

#include "link/linkfeature.h"
#include "link/scope/scopebatchqueue.h"
#include "link/scope/scopedecoder.h"
#include "link/scope/scopewavefile.h"

class otaThread;

// The oscilloscope's acquisition: tells the target motor the rate and the channels, starts
// and stops its sample stream, and decodes the stream into display batches and waveform
// lines. The sample path writes no data-tree node and emits no signal per frame: the plot
// takes batches from batches() on its own timer.
//
// Threads: the public calls come from the user's thread; decodeFrame runs on the receive
// path; the step actions run on the link thread. The set-up is guarded by m_mutex, the
// decoder belongs to the receive path, counters and flags are atomic.
class ScopeAcquisition : public QObject, public LinkFeature {
    Q_OBJECT

public:
    struct Channel {
        quint16 code = 0;  // 0: off
        int type = -1;     // requested value type; -1: take what the motor confirms
        QString name;
    };
    struct Config {
        QVector<Channel> channels;  // up to 8, in channel order
        int frequency = 100;        // Hz
        int baudRate = 921600;      // serial line rate, for the line budget
        // Start the stream as soon as the motor confirmed the channels (the workbench's Start
        // button): the start follows the last reply instead of a wait on the user's thread.
        bool startWhenConfigured = false;
    };

    explicit ScopeAcquisition(otaThread* link, QObject* parent = nullptr);

    // The acquisition registered with link, or null.
    static ScopeAcquisition* of(otaThread* link);

    // Frame records the serial line carries per second at baudRate, and the highest sample
    // rate whose records fit (0 when none does).
    static int lineFramesPerSecond(int baudRate);
    static int highestRate(int baudRate, int recordSize);

    // Sends the rate and the channels to the target. False, with the reason in *why (also
    // posted as a status line), when no channel is active or the stream would not fit the
    // line; nothing is sent then.
    bool configureChannels(const Config& config, QString* why = nullptr);
    // Starts the stream once configured(); false with the reason otherwise.
    bool start(QString* why = nullptr);
    // Stops the stream: repeats the stop request until the motor confirms or the link closes.
    void stop();

    // The waveform file the decoded records are written to (see ScopeWaveFile).
    bool openWaveFile(const QString& path, QString* error = nullptr,
                      ScopeWaveFile::Mode mode = ScopeWaveFile::Mode::Append,
                      ScopeWaveFile::Format format = ScopeWaveFile::Format::Wave) {
        return m_file.open(path, error, mode, format);
    }
    bool closeWaveFile() { return m_file.close(); }
    ScopeWaveFile& waveFile() { return m_file; }

    // Display batches are built only while someone takes them.
    void setDisplayEnabled(bool on) { m_display = on; }
    ScopeBatchQueue& batches() { return m_batches; }

    bool configured() const { return m_configured.load(); }
    bool running() const { return m_running.load(); }
    // Counts of the present configuration.
    quint64 records() const { return m_records.load(); }
    quint64 lost() const { return m_lost.load(); }
    // Records whose time stamp arrived damaged: neither lost nor on their own time.
    quint64 damaged() const { return m_damaged.load(); }
    double elapsed() const { return m_elapsedMs.load() / 1000.0; }
    int errorBits() const { return m_errorBits.load(); }
    quint64 generation() const { return m_generation.load(); }
    // The confirmed channels (code, confirmed type, name) and their indices among the 8.
    QVector<Channel> activeChannels() const;
    QVector<int> activeIndices() const;
    int frequency() const;
    quint32 periodUs() const;
    // The motor being configured or streaming.
    quint8 target() const { return m_target.load(); }

    // LinkFeature
    QString name() const override { return QStringLiteral("scope"); }
    QVector<StepRule> steps() const override;
    QVector<int> frameTypes() const override;
    int decodeFrame(otaThread& link, const CanFrame& frame) override;
    void linkClosed(otaThread& link) override;

signals:
    // Once per configuration, after the last channel reply (the receive path's thread).
    void channelsConfigured();
    // The motor confirmed the stop, or the link closed.
    void stopped();

private:
    bool isReply(const CanFrame& frame, int sub) const;
    void sendNextChannels(otaThread& link);
    int afterConfigAnswer(otaThread& link);
    int onChannelReply(const CanFrame& frame);
    // A refused configuration: error bits, a status line, status 47.
    int configError(int bits);
    bool fits(const QVector<int>& types, QString* why) const;
    void refuse(const QString& text, QString* why) const;

    otaThread* m_link;

    mutable std::mutex m_mutex;
    Config m_config;            // guarded by m_mutex
    QVector<int> m_indices;     // guarded: indices of the active channels among the 8
    QVector<int> m_confirmed;   // guarded: types confirmed by the motor
    int m_cursor = 0;           // guarded: next active channel to announce
    quint32 m_periodUs = 0;     // guarded
    quint16 m_replyWords[2]{};  // guarded: the motor's, stored only

    // The motor being configured or streaming: read per sample frame, so not behind m_mutex.
    std::atomic<quint8> m_target{1};
    std::atomic<bool> m_rateOk{false};
    std::atomic<bool> m_moreChannels{false};
    std::atomic<bool> m_configured{false};
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_display{false};
    std::atomic<int> m_errorBits{0};
    std::atomic<quint64> m_generation{0};
    std::atomic<quint64> m_records{0};
    std::atomic<quint64> m_lost{0};
    std::atomic<quint64> m_damaged{0};
    std::atomic<qint64> m_elapsedMs{0};
    std::atomic<quint64> m_sampleFrames{0};
    quint64 m_stopSeen = 0;  // link thread: sample frames counted at the last stop pass
    int m_stopQuiet = 0;     // link thread: stop passes without a sample frame

    ScopeDecoder m_decoder;  // receive path only
    ScopeBatchQueue m_batches;
    ScopeWaveFile m_file;
};
