#include "link/scope/scopeacquisition.h"

#include "framework/log/qflog.h"
#include "link/canprotocol.h"
#include "link/frames/scopeframes.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/otathread.h"

#include <QCoreApplication>

namespace {

// Bytes of one frame record on the serial line ("AT", 4 identifier bytes, length, 8 data
// bytes, CR LF) and bits per byte with start and stop bit.
constexpr int kRecordBytes = 17;
constexpr int kBitsPerByte = 10;
// Stop passes (2 ms each) without a sample frame after which a silent motor counts as stopped.
constexpr int kQuietStopPasses = 250;

QString trScope(const char* text) {
    return QCoreApplication::translate("ScopeAcquisition", text);
}

// A configuration request: the answer's handling decides what follows, a time-out ends it.
StepRule::Builder configStep(int step, const char* logName) {
    return StepRule::waiting(step, QString::fromLatin1(logName))
        .poll(50)
        .timeout(1000)
        .onTimeout(OTA_STA_PARA_UPDATE_OVER_TIME, STEP_STOP)
        .onTimeout([](otaThread&, int status) {
            if (Helper* helper = Helper::instance())
                helper->postStatus(trScope("The motor did not answer the scope configuration."),
                                   QStringLiteral("ERROR"));
            return status;
        });
}

}  // namespace

ScopeAcquisition::ScopeAcquisition(otaThread* link, QObject* parent) : QObject(parent), m_link(link) {}

ScopeAcquisition* ScopeAcquisition::of(otaThread* link) {
    return link ? findLinkFeature<ScopeAcquisition>(link->features()) : nullptr;
}

int ScopeAcquisition::lineFramesPerSecond(int baudRate) {
    return qMax(0, baudRate) / kBitsPerByte / kRecordBytes;
}

int ScopeAcquisition::highestRate(int baudRate, int recordSize) {
    return lineFramesPerSecond(baudRate) / qMax(1, ScopeFrames::framesPerRecord(recordSize));
}

void ScopeAcquisition::refuse(const QString& text, QString* why) const {
    if (why)
        *why = text;
    if (Helper* helper = Helper::instance())
        helper->postStatus(text, QStringLiteral("ERROR"));
}

bool ScopeAcquisition::fits(const QVector<int>& types, QString* why) const {
    int frequency = 0, baud = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        frequency = m_config.frequency;
        baud = m_config.baudRate;
    }
    const int size = ScopeFrames::recordSize(types);
    const int needed = frequency * ScopeFrames::framesPerRecord(size);
    const int capacity = lineFramesPerSecond(baud);
    if (needed <= capacity)
        return true;
    refuse(tr("%1 Hz with these channels needs %2 frames/s, more than the serial line carries at %3 baud "
              "(%4 frames/s). Highest rate that fits: %5 Hz.")
               .arg(frequency)
               .arg(needed)
               .arg(baud)
               .arg(capacity)
               .arg(highestRate(baud, size)),
           why);
    return false;
}

bool ScopeAcquisition::configureChannels(const Config& config, QString* why) {
    QVector<int> indices;
    QVector<int> requested;
    bool typesKnown = true;
    for (int i = 0; i < qMin(config.channels.size(), ScopeFrames::kMaxChannels); ++i) {
        if (config.channels[i].code == 0)
            continue;
        indices << i;
        requested << config.channels[i].type;
        typesKnown = typesKnown && config.channels[i].type >= 0;
    }
    if (indices.isEmpty()) {
        refuse(tr("No channel selected: choose at least one channel."), why);
        return false;
    }
    if (config.frequency < 1 || config.frequency > 0xFFFF) {
        refuse(tr("Sample rate %1 Hz is out of range (1 to 65535).").arg(config.frequency), why);
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_config = config;
        m_config.channels.resize(qMin(config.channels.size(), ScopeFrames::kMaxChannels));
        m_indices = indices;
        m_confirmed.clear();
        m_cursor = 0;
        m_target = m_link ? m_link->target() : 1;
    }
    // The set-up in force is replaced: whatever it confirmed no longer applies.
    m_configured = false;
    if (typesKnown && !fits(requested, why))
        return false;
    m_errorBits = 0;
    if (m_link) {
        m_link->setScopeFrequency(config.frequency);
        m_link->startStep(STEP_SCOPE_SET_FRE);
    }
    return true;
}

bool ScopeAcquisition::start(QString* why) {
    if (!m_configured.load()) {
        refuse(tr("The scope channels are not configured."), why);
        return false;
    }
    QVector<int> types;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        types = m_confirmed;
    }
    // Types learnt only from the motor's reply are checked here, before anything streams.
    if (!fits(types, why))
        return false;
    if (m_link)
        m_link->startStep(STEP_SCOPE_START);
    return true;
}

void ScopeAcquisition::stop() {
    if (m_link)
        m_link->startStep(STEP_SCOPE_STOP);
}

QVector<ScopeAcquisition::Channel> ScopeAcquisition::activeChannels() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    QVector<Channel> out;
    for (int k = 0; k < m_indices.size(); ++k) {
        Channel c = m_config.channels.value(m_indices[k]);
        if (k < m_confirmed.size())
            c.type = m_confirmed[k];
        out << c;
    }
    return out;
}

QVector<int> ScopeAcquisition::activeIndices() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_indices;
}

int ScopeAcquisition::frequency() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.frequency;
}

quint32 ScopeAcquisition::periodUs() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_periodUs;
}

QVector<int> ScopeAcquisition::frameTypes() const {
    return {CANCOM_PARA_UPDATE};
}

bool ScopeAcquisition::isReply(const CanFrame& frame, int sub) const {
    if (frame.type() != CANCOM_PARA_UPDATE || frame.destination() != CanProtocol::kHostId)
        return false;
    const ScopeFrames::Header h = ScopeFrames::header(frame);
    return h.sub == sub && h.sender == m_target.load();
}

void ScopeAcquisition::sendNextChannels(otaThread& link) {
    CanFrame frame;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        QVector<quint16> codes;
        for (int i : m_indices)
            codes << m_config.channels[i].code;
        frame = ScopeFrames::channelRequest(m_target.load(), codes, m_cursor);
        m_cursor += 4;
        m_moreChannels = false;
    }
    link.sendFrame(frame);
}

int ScopeAcquisition::afterConfigAnswer(otaThread& link) {
    if (m_moreChannels.load()) {
        // More channels than one frame holds: the next frame, same step, a fresh time-out.
        sendNextChannels(link);
        return link.step();
    }
    if (link.step() == STEP_SCOPE_SET_FRE && m_rateOk.load()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_cursor = 0;
        }
        return STEP_SCOPE_SET_CHANNAL;
    }
    // The last channel reply, or a refusal: the configuration is over either way.
    bool autoStart = false;
    QVector<int> types;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        autoStart = m_config.startWhenConfigured;
        types = m_confirmed;
    }
    if (m_configured.load() && autoStart && fits(types, nullptr))
        return STEP_SCOPE_START;
    return STEP_STOP;
}

QVector<StepRule> ScopeAcquisition::steps() const {
    auto* self = const_cast<ScopeAcquisition*>(this);
    const auto afterAnswer = [self](otaThread& link) { return self->afterConfigAnswer(link); };
    QVector<StepRule> rules;

    rules << configStep(STEP_SCOPE_SET_FRE, "STEP_SCOPE_SET_FRE,")
                 .start([self](otaThread& link) {
                     self->m_rateOk = false;
                     CanFrame frame;
                     {
                         std::lock_guard<std::mutex> lock(self->m_mutex);
                         frame = ScopeFrames::rateRequest(self->m_target.load(),
                                                          quint16(self->m_config.frequency),
                                                          quint32(self->m_config.baudRate));
                     }
                     link.sendFrame(frame);
                 })
                 .answeredBy([self](otaThread&, bool valid, const CanFrame& f, const QByteArray&) {
                     return valid && self->isReply(f, ScopeFrames::Rate);
                 })
                 .onAnswer(afterAnswer);

    rules << configStep(STEP_SCOPE_SET_CHANNAL, "STEP_SCOPE_SET_CHANNAL,")
                 .start([self](otaThread& link) { self->sendNextChannels(link); })
                 .answeredBy([self](otaThread&, bool valid, const CanFrame& f, const QByteArray&) {
                     return valid && self->isReply(f, ScopeFrames::Channels);
                 })
                 .onAnswer(afterAnswer);

    // The common wait of the configuration: answered by either reply.
    rules << configStep(STEP_SCOPE_CONFIG, "STEP_SCOPE_CONFIG,")
                 .answeredBy([self](otaThread&, bool valid, const CanFrame& f, const QByteArray&) {
                     return valid &&
                            (self->isReply(f, ScopeFrames::Rate) || self->isReply(f, ScopeFrames::Channels));
                 })
                 .onAnswer(afterAnswer);

    rules << StepRule::idle(STEP_SCOPE_START, QStringLiteral("STEP_SCOPE_START,"))
                 .start([self](otaThread& link) {
                     link.sendFrame(ScopeFrames::startRequest(self->m_target.load()));
                 });

    const StepRule::Action sendStop = [self](otaThread& link) {
        link.sendFrame(ScopeFrames::stopRequest(self->m_target.load()));
    };
    // Asks every 2 ms until the motor confirms the stop or falls silent.
    rules << StepRule::passing(STEP_SCOPE_STOP, QStringLiteral("STEP_SCOPE_STOP,"))
                 .poll(2)
                 .start([self, sendStop](otaThread& link) {
                     self->m_stopSeen = self->m_sampleFrames.load();
                     self->m_stopQuiet = 0;
                     sendStop(link);
                 })
                 .pass([self, sendStop](otaThread& link) {
                     if (!self->m_running.load())
                         return false;
                     // A motor that went silent without confirming (bus unplugged) would keep this
                     // step asking forever.
                     const quint64 seen = self->m_sampleFrames.load();
                     self->m_stopQuiet = seen == self->m_stopSeen ? self->m_stopQuiet + 1 : 0;
                     self->m_stopSeen = seen;
                     if (self->m_stopQuiet >= kQuietStopPasses) {
                         kx::logW() << "scope: no stop reply and no samples for 0.5 s; taken as stopped";
                         self->m_running = false;
                         return false;
                     }
                     sendStop(link);
                     return true;
                 });
    return rules;
}

int ScopeAcquisition::configError(int bits) {
    m_errorBits = bits;
    refuse(tr("The motor refused the scope configuration (error bits 0x%1).").arg(bits, 0, 16), nullptr);
    return OTA_STA_PARA_UPDATE_ERROR;
}

int ScopeAcquisition::onChannelReply(const CanFrame& frame) {
    const ScopeFrames::Header h = ScopeFrames::header(frame);
    m_configured = false;
    if (h.code != 0) {
        m_moreChannels = false;
        return configError(h.code == 1 ? 4 : h.code == 2 ? 8 : 16);
    }
    ScopeDecoder::Setup setup;
    QVector<int> requested;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_cursor < m_indices.size()) {
            m_moreChannels = true;
            return -1;
        }
        for (int i : m_indices)
            requested << m_config.channels[i].type;
        setup.types = ScopeFrames::channelTypes(frame, m_indices.size());
        setup.periodUs = m_periodUs;
        setup.frequency = m_config.frequency;
        m_confirmed = setup.types;
    }
    for (int i = 0; i < setup.types.size(); ++i) {
        const bool unknownType = setup.types[i] > 9;
        if (unknownType || (requested[i] >= 0 && requested[i] != setup.types[i]))
            return configError(m_errorBits | 0x40);
    }
    setup.generation = ++m_generation;
    m_decoder.configure(setup);
    m_decoder.setSinks(m_display.load() ? &m_batches : nullptr, &m_file);
    m_batches.clear();
    m_batches.setLimit(setup.frequency * 10);
    m_records = 0;
    m_lost = 0;
    m_damaged = 0;
    m_elapsedMs = 0;
    m_configured = true;
    emit channelsConfigured();
    return OTA_STA_PARA_UPDATE_SUCCESS_CHSET;
}

int ScopeAcquisition::decodeFrame(otaThread& link, const CanFrame& frame) {
    (void)link;
    if (frame.destination() != CanProtocol::kHostId)
        return -1;
    const ScopeFrames::Header h = ScopeFrames::header(frame);
    // Another motor's stream is not ours to decode.
    if (h.sender != m_target.load())
        return -1;
    switch (h.sub) {
        case ScopeFrames::Rate: {
            const ScopeFrames::RateReply r = ScopeFrames::rateReply(frame);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_periodUs = r.periodUs;
                m_replyWords[0] = r.word1;
                m_replyWords[1] = r.word2;
            }
            if (h.code != 0) {
                m_rateOk = false;
                return configError(2);
            }
            m_rateOk = true;
            return OTA_STA_PARA_UPDATE_SUCCESS_FRESET;
        }
        case ScopeFrames::Channels:
            return onChannelReply(frame);
        case ScopeFrames::Sample:
            if (h.code != 0) {
                m_errorBits = 32;
                return OTA_STA_PARA_UPDATE_ERROR;
            }
            m_running = true;
            m_sampleFrames.fetch_add(1, std::memory_order_relaxed);
            if (m_configured.load(std::memory_order_relaxed) && m_decoder.feed(h.index, frame.data.data())) {
                m_records.store(m_decoder.records(), std::memory_order_relaxed);
                m_lost.store(m_decoder.lost(), std::memory_order_relaxed);
                m_damaged.store(m_decoder.damaged(), std::memory_order_relaxed);
                m_elapsedMs.store(qint64(m_decoder.time() * 1000), std::memory_order_relaxed);
            }
            return -1;
        case ScopeFrames::Stop:
            m_running = false;
            m_decoder.flush();
            emit stopped();
            return OTA_STA_PARA_UPDATE_SUCCESS_END;
    }
    return -1;
}

void ScopeAcquisition::linkClosed(otaThread& link) {
    (void)link;
    const bool wasRunning = m_running.exchange(false);
    m_configured = false;
    m_decoder.flush();
    // A recording cut off by the link is not the complete one its path waits for.
    m_file.closePartial(nullptr);
    if (wasRunning)
        emit stopped();
}
