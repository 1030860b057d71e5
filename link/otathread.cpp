#include "link/otathread.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/canprotocol.h"
#include "link/helper.h"
#include "link/linkextension.h"
#include "link/linkfeature.h"
#include "link/motormodel.h"
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

// AT commands of the adapter's configuration sequence, by index.
QByteArray atCommand(int index, int baudRate) {
    switch (index) {
        case 0:
            return QByteArrayLiteral("AT+CAN_MODE=0\r\n");
        case 1:
            return QByteArrayLiteral("AT+CAN_FRAMEFORMAT=1,0,1,0\r\n");
        case 2:
            return QByteArrayLiteral("AT+CAN_FILTER0=1,0,0,0\r\n");
        case 3:
            return QByteArrayLiteral("AT+CAN_BAUD=1000000\r\n");
        case 4:
            return "AT+USART_PARAM=" + QByteArray::number(baudRate) + ",0,0,0\r\n";
        case 6:
            return QByteArrayLiteral("AT+CG\r\n");
        default:
            return QByteArrayLiteral("AT+AT\r\n");
    }
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
            emit sendState(mail.value);
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
    if (feature && !m_features.contains(feature))
        m_features.append(feature);
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

otaThread::Kind otaThread::kindOf(int step) {
    switch (step) {
        case STEP_INIT:
        case STEP_INCONFIG:
        case STEP_CONFIG:
        case STEP_IN_OTA:
        case STEP_SEND_INFO:
        case STEP_SET_CAN_ID:
        case STEP_SET_RST_MODE:
        case STEP_SET_MOTOR_MODE:
        case STEP_SET_BRAKE_MODE:
        case STEP_SET_CALI_ENCODER_MODE:
        case STEP_SET_ZERO_MECH_MODE:
        case STEP_ASK_PARA_STR_INFO:
        case STEP_READ_PARA_STR:
        case STEP_WRITE_PARA_STR:
        case STEP_SCOPE_CONFIG:
            return Kind::Wait;
        case STEP_GET_DEV_INFO:
            return Kind::Scan;
        case STEP_MOTOR_CTRL_CONTINUOUS:
            return Kind::Continuous;
        case STEP_SCOPE_STOP:
            return Kind::ScopeStop;
        case STEP_QUIT:
            return Kind::Quit;
        default:
            return Kind::Idle;
    }
}

otaThread::Rule otaThread::ruleOf(int step) {
    switch (step) {
        case STEP_INIT:
            return {20, 20, 500, OTA_STA_CONNECT_SUCCESS, STEP_STOP, OTA_STA_CONNECT_OVER_TIME, STEP_STOP};
        case STEP_INCONFIG:
            return {20, 20, 200, OTA_STA_INCONFIG_SUCCESS, STEP_STOP, OTA_STA_INCONFIG_OVER_TIME, STEP_STOP};
        case STEP_CONFIG:
            return {20, 20, 500, OTA_STA_CONFIG_SUCCESS, STEP_STOP, OTA_STA_CONFIG_OVER_TIME, STEP_STOP};
        case STEP_IN_OTA:
            return {100,
                    100,
                    8000,
                    OTA_STA_IN_OTA_MODE_SUCCESS,
                    STEP_SEND_INFO,
                    OTA_STA_IN_OTA_MODE_OVER_TIME,
                    STEP_STOP};
        case STEP_SEND_INFO:
            // Its answer is concluded by the firmware extension in the receive path.
            return {100, 100, 2000, -1, STEP_SEND_INFO, OTA_STA_OTA_INFO_OVER_TIME, STEP_STOP};
        case STEP_SET_CAN_ID:
            return {100, 100, 2000, OTA_STA_SET_ID_SUCCESS, STEP_STOP, OTA_STA_SET_ID_OVER_TIME, STEP_STOP};
        case STEP_SET_RST_MODE:
            return {100,      100, 2000, OTA_STA_RST_MODE_SUCCESS, STEP_STOP, OTA_STA_RST_MODE_OVER_TIME,
                    STEP_STOP};
        case STEP_SET_MOTOR_MODE:
            return {100,      100, 2000, OTA_STA_MOTOR_MODE_SUCCESS, STEP_STOP, OTA_STA_MOTOR_MODE_OVER_TIME,
                    STEP_STOP};
        case STEP_SET_BRAKE_MODE:
            return {100,      100, 2000, OTA_STA_BRAKE_MODE_SUCCESS, STEP_STOP, OTA_STA_BRAKE_MODE_OVER_TIME,
                    STEP_STOP};
        case STEP_SET_CALI_ENCODER_MODE:
            return {100,      100, 2000, OTA_STA_CALI_MODE_SUCCESS, STEP_STOP, OTA_STA_CALI_MODE_OVER_TIME,
                    STEP_STOP};
        case STEP_SET_ZERO_MECH_MODE:
            return {100,      100, 2000, OTA_STA_ZERO_MODE_SUCCESS, STEP_STOP, OTA_STA_ZERO_MODE_OVER_TIME,
                    STEP_STOP};
        case STEP_ASK_PARA_STR_INFO:
            return {50, 50, 1000, -1, STEP_ASK_PARA_STR_INFO, OTA_STA_GET_PARA_INFO_OVER_TIME, STEP_STOP};
        case STEP_READ_PARA_STR:
            return {50, 50, 1000, -1, STEP_READ_PARA_STR, OTA_STA_READ_PARA_OVER_TIME, STEP_STOP};
        case STEP_WRITE_PARA_STR:
            // Counts 100 ms per 50 ms poll: its time-out comes after 11 polls.
            return {50, 100, 1000, -1, STEP_WRITE_PARA_STR, OTA_STA_WRITE_PARA_OVER_TIME, STEP_STOP};
        case STEP_SCOPE_CONFIG:
            return {50, 50, 1000, -1, STEP_SCOPE_CONFIG, OTA_STA_PARA_UPDATE_OVER_TIME, STEP_STOP};
        default:
            return {};
    }
}

void otaThread::startStep(int step) {
    startStepIf(0, step);
}

bool otaThread::startStepIf(quint64 expected, int step) {
    quint64 generation = 0;
    {
        std::lock_guard<std::mutex> lock(m_stepMutex);
        if (expected != 0 && m_generation != expected)
            return false;
        m_answer = false;
        m_elapsed = 0;
        generation = ++m_generation;
        // The step becomes current before its request leaves, so that an answer that is
        // quicker than this thread cannot be missed.
        m_step = step;
    }
    m_stepCv.notify_all();
    startAction(step, generation);
    return true;
}

void otaThread::setCurrent(int step, quint64 generation) {
    {
        std::lock_guard<std::mutex> lock(m_stepMutex);
        if (m_generation != generation)
            return;
        m_step = step;
    }
    m_stepCv.notify_all();
}

void otaThread::startAction(int step, quint64 generation) {
    const quint8 target = m_target.load();
    const quint64 selMcu = deviceEntry(m_selected.load()).mcuId;
    switch (step) {
        case STEP_STOP:
            m_clearBuffer = true;
            return;
        case STEP_INIT:
            m_clearBuffer = true;
            sendRaw(atCommand(5, m_baudRate));
            return;
        case STEP_INCONFIG:
            m_clearBuffer = true;
            m_atIndex = 0;
            sendRaw(atCommand(6, m_baudRate));
            return;
        case STEP_CONFIG:
            m_clearBuffer = true;
            sendRaw(atCommand(m_atIndex.load(), m_baudRate));
            return;
        case STEP_GET_DEV_INFO:
            // The scan counters belong to the loop, which clears them when it picks up a
            // newly started scan.
            return;
        case STEP_SET_CAN_ID:
            sendFrame(MotorFrames::setCanId(target, m_newCanId.load(), selMcu));
            return;
        case STEP_SET_RST_MODE:
            sendFrame(MotorFrames::enterResetMode(target, selMcu));
            return;
        case STEP_SET_MOTOR_MODE:
            sendFrame(MotorFrames::enterMotorMode(target));
            return;
        case STEP_SET_BRAKE_MODE:
            sendFrame(MotorFrames::enterBrakeMode(target));
            return;
        case STEP_SET_CALI_ENCODER_MODE:
            sendFrame(MotorFrames::enterCalibration(target));
            return;
        case STEP_SET_ZERO_MECH_MODE:
            sendFrame(MotorFrames::setMechanicalZero(target, quint8(m_zeroFlag.load())));
            return;
        case STEP_MOTOR_CTRL_SINGLE: {
            QString error;
            const auto frame = MotorFrames::mitControl(target, setpoints(), MotorModel::ranges(), &error);
            if (frame)
                sendFrame(*frame);
            else
                postError(error);
            return;
        }
        case STEP_MOTOR_CTRL_CONTINUOUS:
            return;
        case STEP_IN_OTA:
            sendFrame(MotorFrames::otaStart(target, selMcu));
            return;
        case STEP_MODEL_QUERY:
            sendFrame(MotorFrames::modelQuery(lastAnnounced().canId));
            return;
        case STEP_QUIT:
            return;
        default:
            break;
    }
    // Parameter tables, firmware and scope steps belong to their extensions; without one the
    // step stays current and ends by its time-out, if it has one.
    if (LinkExtension* extension = m_extension.load()) {
        int current = step;
        if (extension->startAction(this, step, &current) && current != step)
            setCurrent(current, generation);
    }
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

otaThread::Values otaThread::values() const {
    std::lock_guard<std::mutex> lock(m_valuesMutex);
    return m_values;
}

CanFrame otaThread::lastFrame() const {
    std::lock_guard<std::mutex> lock(m_valuesMutex);
    return m_lastFrame;
}

void otaThread::emitStatus(int status) {
    m_status = status;
    if (onLoopThread())
        post({MailKind::Status, QByteArray(), status, QString()});
    else
        emit sendState(status);
}

bool otaThread::waitFor(int ms, quint64 generation) {
    std::unique_lock<std::mutex> lock(m_stepMutex);
    return !m_stepCv.wait_for(lock, std::chrono::milliseconds(ms),
                              [&] { return m_generation != generation; });
}

bool otaThread::conclude(quint64 generation, int next, int status) {
    {
        std::lock_guard<std::mutex> lock(m_stepMutex);
        // A step started meanwhile replaced this one: it ends without a status.
        if (m_generation != generation)
            return false;
        m_step = next;
        ++m_generation;
    }
    if (status >= 0)
        emitStatus(status);
    return true;
}

void otaThread::logStep(int step) {
    if (!m_debugStep)
        return;
    const bool quiet =
        m_loggedStep == step && (step == STEP_STOP || step == STEP_SEND_BIN || step == STEP_SEND_END);
    if (!quiet) {
        kx::logI() << "---- run step: " << stepName(m_loggedStep).trimmed() << " -> "
                   << stepName(step).trimmed();
    }
    m_loggedStep = step;
}

void otaThread::run() {
    for (;;) {
        // A step that has just become idle is logged once before the loop blocks; without this
        // the change into it would only surface, merged, when the next step starts.
        const int settled = m_step.load();
        if (kindOf(settled) == Kind::Idle)
            logStep(settled);
        int step = STEP_STOP;
        quint64 generation = 0;
        {
            // Idle steps block here until another step is started: no polling while idle.
            std::unique_lock<std::mutex> lock(m_stepMutex);
            m_stepCv.wait(lock, [&] { return kindOf(m_step.load()) != Kind::Idle; });
            step = m_step.load();
            generation = m_generation;
        }
        logStep(step);
        if (generation != m_pickedGeneration) {
            // First pass of a newly started step: reset the loop's own per-step state.
            m_pickedGeneration = generation;
            m_probeCounter = 0;
            m_probeGroup = 0;
            m_firstProbe = false;
            m_mitRefusalLogged = false;
        }
        switch (kindOf(step)) {
            case Kind::Quit: {
                std::lock_guard<std::mutex> lock(m_stepMutex);
                m_ended = true;
                return;
            }
            case Kind::Wait:
                waitingPass(step, generation);
                break;
            case Kind::Scan:
                scanPass(generation);
                break;
            case Kind::Continuous:
                if (waitFor(50, generation)) {
                    QString error;
                    const auto frame =
                        MotorFrames::mitControl(m_target.load(), setpoints(), MotorModel::ranges(), &error);
                    if (frame) {
                        sendFrame(*frame);
                        m_mitRefusalLogged = false;
                    } else if (!m_mitRefusalLogged) {
                        // One line per refused stretch, not twenty a second.
                        m_mitRefusalLogged = true;
                        postError(error);
                    }
                }
                break;
            case Kind::ScopeStop: {
                if (!waitFor(2, generation))
                    break;
                LinkExtension* extension = m_extension.load();
                if (!extension || !extension->scopeStopPass(this))
                    conclude(generation, STEP_STOP, -1);
                break;
            }
            case Kind::Idle:
                break;
        }
    }
}

void otaThread::waitingPass(int step, quint64 generation) {
    const Rule rule = ruleOf(step);
    if (!waitFor(rule.poll, generation))
        return;
    int elapsed = 0;
    bool answered = false;
    {
        std::lock_guard<std::mutex> lock(m_stepMutex);
        if (m_generation != generation)
            return;
        elapsed = (m_elapsed += rule.counted);
        answered = m_answer.load();
    }
    if (answered) {
        if (step == STEP_CONFIG) {
            const int index = m_atIndex.fetch_add(1);
            if (index >= 4)
                conclude(generation, STEP_STOP, OTA_STA_CONFIG_SUCCESS);
            else
                startStepIf(generation, STEP_CONFIG);
            return;
        }
        if (rule.answerStatus >= 0) {
            conclude(generation, rule.answerNext, rule.answerStatus);
            return;
        }
        // A step that stays current: its extension decides how it goes on.
        LinkExtension* extension = m_extension.load();
        const int next = extension ? extension->onLoopAnswer(this, step) : step;
        if (next != step) {
            conclude(generation, next, -1);
            return;
        }
        std::lock_guard<std::mutex> lock(m_stepMutex);
        if (m_generation == generation) {
            m_answer = false;
            m_elapsed = 0;
        }
        return;
    }
    if (elapsed > rule.timeout) {
        int status = rule.timeoutStatus;
        if (LinkExtension* extension = m_extension.load())
            status = extension->timeoutStatus(this, step, status);
        conclude(generation, rule.timeoutNext, status);
    }
}

void otaThread::scanPass(quint64 generation) {
    if ((m_probeCounter & 0x0F) == 0) {
        ++m_probeGroup;
        m_probeCounter = 0;
    }
    const int probed = m_probeCounter * 8 + m_probeGroup;
    ++m_probeCounter;
    if (!m_firstProbe) {
        m_probeGroup = 0;
        m_firstProbe = true;
    }
    if (!waitFor(10, generation))
        return;
    if (probed > 127) {
        if (conclude(generation, STEP_STOP, -1))
            post({MailKind::ScanDone, QByteArray(), 0, QString()});
        return;
    }
    if (!waitFor(10, generation))
        return;
    sendFrame(MotorFrames::identityRequest(quint8(probed)));
}
