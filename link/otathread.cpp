#include "link/otathread.h"

#include "framework/crash/crashreporter.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/canprotocol.h"
#include "link/helper.h"
#include "link/coresteps.h"
#include "link/linkfeature.h"
#include "link/motorstates.h"
#include "link/motorreplies.h"
#include "link/serialrecord.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <chrono>

#include <sys/eventfd.h>
#include <unistd.h>

namespace {

std::atomic<otaThread*> g_instance{nullptr};

QString hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' '));
}

}  // namespace

otaThread::otaThread(QObject* parent) : QThread(parent) {
    qRegisterMetaType<canComStep>("canComStep");
    m_debugPack = kx::d("config.debug_pack")->getBool(false);
    m_debugStep = kx::d("config.debug_step")->getBool(false);
    m_baudRate = kx::d("config.baud_rate")->getInt(921600);
    m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd >= 0) {
        m_wake = new QSocketNotifier(m_wakeFd, QSocketNotifier::Read, this);
        connect(m_wake, &QSocketNotifier::activated, this, &otaThread::onMail);
    } else {
        kx::logE() << "link hand-over: no eventfd";
    }
    for (const StepRule& rule : CoreSteps::rules())
        addRule(rule, nullptr);
    g_instance = this;
}

otaThread::~otaThread() {
    // The owner ends the loop first (STEP_QUIT and a bounded wait); this is the safety net
    // for an otaThread that is destroyed while its loop still runs.
    if (isRunning())
        quitAndJoin(5000);
    otaThread* self = this;
    g_instance.compare_exchange_strong(self, nullptr);
    delete m_wake;
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

void otaThread::post(Mail mail) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(m_mailMutex);
        wake = m_mail.empty();
        m_mail.push_back(std::move(mail));
    }
    if (wake && m_wakeFd >= 0) {
        const quint64 one = 1;
        if (::write(m_wakeFd, &one, sizeof(one)) < 0) {
            // The counter cannot overflow with one wake-up per batch; nothing to do.
        }
    }
}

void otaThread::onMail() {
    quint64 count = 0;
    if (::read(m_wakeFd, &count, sizeof(count)) < 0) {
        // EAGAIN: another wake-up already drained the queue.
    }
    std::deque<Mail> batch;
    {
        std::lock_guard<std::mutex> lock(m_mailMutex);
        batch.swap(m_mail);
    }
    for (const Mail& mail : batch)
        deliver(mail);
}

void otaThread::deliver(const Mail& mail) {
    switch (mail.kind) {
        case MailKind::Write:
            emit WriteToSerial(mail.bytes);
            break;
        case MailKind::Status:
            emit sendState(mail.value, mail.canId);
            break;
        case MailKind::Line:
            Helper::instance()->postStatus(mail.text, QStringLiteral("ERROR"));
            break;
        case MailKind::SendId:
            kx::d("_send_can_id")->set(this, mail.value);
            break;
        case MailKind::ScanDone:
            emit scanFinished();
            break;
    }
}

void otaThread::postError(const QString& text) {
    if (onLoopThread())
        post({MailKind::Line, QByteArray(), 0, text});
    else
        Helper::instance()->postStatus(text, QStringLiteral("ERROR"));
}

void otaThread::registerFeature(LinkFeature* feature) {
    if (!feature || m_features.contains(feature))
        return;
    m_features.append(feature);
    for (const StepRule& rule : feature->steps())
        addRule(rule, feature);
    for (int type : feature->frameTypes()) {
        if (type < 0 || type >= int(m_typeOwners.size())) {
            kx::logE() << "link feature" << feature->name() << "declares frame type" << type;
            continue;
        }
        if (m_typeOwners[type] && m_typeOwners[type] != feature)
            kx::logW() << "frame type" << type << "moves to link feature" << feature->name();
        m_typeOwners[type] = feature;
    }
}

void otaThread::addRule(const StepRule& rule, LinkFeature* owner) {
    // Step numbers are small; a table indexed by them keeps the loop's lookups cheap.
    if (rule.step < 0 || rule.step > 255) {
        kx::logE() << "link step" << rule.step << "out of range";
        return;
    }
    if (size_t(rule.step) >= m_rules.size())
        m_rules.resize(size_t(rule.step) + 1);
    RuleEntry& entry = m_rules[size_t(rule.step)];
    if (entry.declared)
        kx::logW() << "link step" << rule.step << "declared again" << (owner ? owner->name() : QString());
    entry.rule = rule;
    entry.owner = owner;
    entry.declared = true;
}

const StepRule* otaThread::rule(int step) const {
    if (step < 0 || size_t(step) >= m_rules.size() || !m_rules[size_t(step)].declared)
        return nullptr;
    return &m_rules[size_t(step)].rule;
}

StepRule::Kind otaThread::kindOf(int step) const {
    const StepRule* r = rule(step);
    return r ? r->kind : StepRule::Kind::Idle;
}

QString otaThread::logNameOf(int step) const {
    const StepRule* r = rule(step);
    return r ? r->logName : stepName(step);
}

void otaThread::resetLink() {
    startStep(STEP_STOP);
    for (LinkFeature* feature : m_features)
        feature->linkClosed(*this);
}

otaThread* otaThread::instance() {
    return g_instance.load();
}

bool otaThread::quitAndJoin(int timeoutMs) {
    startStep(STEP_QUIT);
    if (!wait(timeoutMs))
        return false;
    // QThread::wait synchronises through Qt's own primitives; taking the step mutex that
    // run() released last makes the end of the loop visible to race detectors as well.
    std::lock_guard<std::mutex> lock(m_stepMutex);
    return m_ended;
}

void otaThread::startStep(int step) {
    {
        std::lock_guard<std::mutex> lock(m_stepMutex);
        m_answer = false;
        m_elapsed = 0;
        ++m_generation;
        // The step becomes current before its request leaves, so that an answer that is
        // quicker than this thread cannot be missed.
        m_step = step;
    }
    m_stepCv.notify_all();
    const StepRule* r = rule(step);
    if (r && r->start)
        r->start(*this);
}

void otaThread::sendFrame(const CanFrame& frame) {
    const QByteArray record = SerialRecord::fromFrame(frame);
    const int destination = frame.destination();
    if (onLoopThread())
        post({MailKind::SendId, QByteArray(), destination, QString()});
    else
        kx::d("_send_can_id")->set(this, destination);
    if (m_debugPack) {
        kx::logI() << "send pack >>>>> " << hex(record)
                   << "\n>> ex mode: " << QString::number(frame.type(), 16)
                   << ", ex data: " << QString::number(frame.dataField(), 16)
                   << ", ex id: " << QString::number(frame.destination(), 16);
    }
    sendRaw(record);
}

void otaThread::sendRaw(const QByteArray& bytes) {
    if (onLoopThread())
        post({MailKind::Write, bytes, 0, QString()});
    else
        emit WriteToSerial(bytes);
}

void otaThread::setSelectedDevice(int index) {
    m_selected = qBound(0, index, kMaxDevices - 1);
}

void otaThread::setDeviceEntry(int index, quint64 mcuId, quint8 canId) {
    if (index < 0 || index >= kMaxDevices)
        return;
    std::lock_guard<std::mutex> lock(m_tableMutex);
    m_table[index] = {mcuId, canId};
}

otaThread::DeviceEntry otaThread::deviceEntry(int index) const {
    if (index < 0 || index >= kMaxDevices)
        return {};
    std::lock_guard<std::mutex> lock(m_tableMutex);
    return m_table[index];
}

QVector<otaThread::DeviceEntry> otaThread::deviceTable() const {
    std::lock_guard<std::mutex> lock(m_tableMutex);
    return QVector<DeviceEntry>(m_table.begin(), m_table.begin() + m_count);
}

int otaThread::deviceCount() const {
    std::lock_guard<std::mutex> lock(m_tableMutex);
    return m_count;
}

void otaThread::resetDeviceCount() {
    std::lock_guard<std::mutex> lock(m_tableMutex);
    m_count = 0;
}

bool otaThread::takeTableChanged() {
    std::lock_guard<std::mutex> lock(m_tableMutex);
    const bool changed = m_tableChanged;
    m_tableChanged = false;
    return changed;
}

otaThread::DeviceEntry otaThread::lastAnnounced() const {
    std::lock_guard<std::mutex> lock(m_tableMutex);
    return m_lastAnnounced;
}

void otaThread::setSetpoints(const MotorFrames::MitSetpoints& setpoints) {
    std::lock_guard<std::mutex> lock(m_valuesMutex);
    m_setpoints = setpoints;
}

MotorFrames::MitSetpoints otaThread::setpoints() const {
    std::lock_guard<std::mutex> lock(m_valuesMutex);
    return m_setpoints;
}

CanProtocol::ModelRanges otaThread::targetRanges() const {
    // Another motor's model would scale the set-points wrongly: the target's or none.
    return MotorStates::get(m_target.load()).ranges;
}

void otaThread::emitStatus(int status, int canId) {
    m_status = status;
    if (canId < 0)
        canId = m_target.load();
    if (onLoopThread())
        post({MailKind::Status, QByteArray(), status, QString(), canId});
    else
        emit sendState(status, canId);
}

bool otaThread::waitFor(int ms, quint64 generation, bool wakeOnAnswer) {
    std::unique_lock<std::mutex> lock(m_stepMutex);
    m_stepCv.wait_for(lock, std::chrono::milliseconds(ms),
                      [&] { return m_generation != generation || (wakeOnAnswer && m_answer.load()); });
    return m_generation == generation;
}

bool otaThread::conclude(quint64 generation, int next, int status) {
    {
        std::lock_guard<std::mutex> lock(m_stepMutex);
        // A step started meanwhile replaced this one: it ends without a status.
        if (m_generation != generation)
            return false;
        // The next step waits for its own answer: nothing of this one's carries over.
        m_answer = false;
        m_elapsed = 0;
        m_step = next;
        ++m_generation;
    }
    m_stepCv.notify_all();
    if (status >= 0)
        emitStatus(status);
    if (next != STEP_STOP) {
        const StepRule* r = rule(next);
        if (r && r->start)
            r->start(*this);
    }
    return true;
}

void otaThread::logStep(int step) {
    if (!m_debugStep)
        return;
    const bool quiet =
        m_loggedStep == step && (step == STEP_STOP || step == STEP_SEND_BIN || step == STEP_SEND_END);
    if (!quiet) {
        kx::logI() << "---- run step: " << logNameOf(m_loggedStep).trimmed() << " -> "
                   << logNameOf(step).trimmed();
    }
    m_loggedStep = step;
}

void otaThread::run() {
    // A stack overflow on the link thread is reported like one on the main thread.
    kx::CrashReporter::prepareThread();
    for (;;) {
        // A step that has just become idle is logged once before the loop blocks; without this
        // the change into it would only surface, merged, when the next step starts.
        const int settled = m_step.load();
        if (kindOf(settled) == StepRule::Kind::Idle)
            logStep(settled);
        int step = STEP_STOP;
        quint64 generation = 0;
        {
            // Idle steps block here until another step is started: no polling while idle.
            std::unique_lock<std::mutex> lock(m_stepMutex);
            m_stepCv.wait(lock, [&] { return kindOf(m_step.load()) != StepRule::Kind::Idle; });
            step = m_step.load();
            generation = m_generation;
        }
        logStep(step);
        if (step == STEP_QUIT) {
            std::lock_guard<std::mutex> lock(m_stepMutex);
            m_ended = true;
            return;
        }
        if (generation != m_pickedGeneration) {
            // First pass of a newly current step: reset the loop's own per-step state.
            m_pickedGeneration = generation;
            m_probeCounter = 0;
            m_probeGroup = 0;
            m_firstProbe = false;
            m_probeSendNext = false;
            m_mitRefusalLogged = false;
        }
        const StepRule& current = m_rules[size_t(step)].rule;
        if (current.kind == StepRule::Kind::Wait)
            waitingPass(current, generation);
        else if (current.kind == StepRule::Kind::Pass)
            passingPass(current, generation);
    }
}

void otaThread::waitingPass(const StepRule& rule, quint64 generation) {
    // An answer ends the wait at once; only a poll without one counts towards the time-out.
    if (!waitFor(rule.poll, generation, true))
        return;
    int elapsed = 0;
    bool answered = false;
    {
        std::lock_guard<std::mutex> lock(m_stepMutex);
        if (m_generation != generation)
            return;
        answered = m_answer.exchange(false);
        if (answered)
            m_elapsed = 0;
        else
            elapsed = (m_elapsed += rule.counted);
    }
    if (answered) {
        if (rule.answerStatus >= 0) {
            conclude(generation, rule.answerNext, rule.answerStatus);
            return;
        }
        const int next = rule.onAnswer ? rule.onAnswer(*this) : rule.answerNext;
        if (next != rule.step)
            conclude(generation, next, -1);
        return;
    }
    if (elapsed > rule.timeout) {
        const int status = rule.onTimeout ? rule.onTimeout(*this, rule.timeoutStatus) : rule.timeoutStatus;
        conclude(generation, rule.timeoutNext, status);
    }
}

void otaThread::passingPass(const StepRule& rule, quint64 generation) {
    if (!waitFor(rule.poll, generation))
        return;
    if (rule.pass && rule.pass(*this))
        return;
    if (conclude(generation, STEP_STOP, -1) && rule.ended)
        rule.ended(*this);
}
