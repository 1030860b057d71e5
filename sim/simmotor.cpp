#include "sim/simmotor.h"

#include "link/frames/motorcommandframes.h"
#include "link/frames/paramframes.h"
#include "sim/simfirmware.h"
#include "sim/simparamtable.h"
#include "sim/simscope.h"

#include <QtEndian>

#include <cmath>

namespace {
constexpr int kCaliSteps = 40;  // progress frames per calibration run
constexpr int kCaliRows = 8;    // result rows sent in the second half

// Feedback values are clamped into their range: a rotor beyond it reads as the end stop, never
// as a wrapped 16-bit number.
quint16 encodeClamped(double v, float min, float max) {
    if (!(max > min))
        return 0;
    return quint16(
        CanProtocol::encodeRange(float(std::max<double>(min, std::min<double>(max, v))), min, max));
}
}  // namespace

SimMotor::SimMotor(const SimMotorIdentity& identity, const SimSettings& settings, QObject* parent)
    : QObject(parent), m_identity(identity), m_canId(identity.canId), m_caliMs(settings.calibrationMs) {
    // A model byte pair that the host would not recognise still needs ranges in the motor.
    m_ranges = CanProtocol::rangesForModel(identity.modelA, identity.modelB)
                   .value_or(CanProtocol::ModelRanges{0, 33, 14, 500, 5});
    m_clock.start();
    m_physics.resetClock(0);
    m_table = std::make_unique<SimParamTable>(identity.mcuId,
                                              SimParamTable::Limits{m_ranges.torqueMax, m_ranges.velMax},
                                              [this](quint16 code) { return live(code); });
    m_table->setValue(0x2000, m_canId);
    m_scope = new SimScope(
        m_table.get(), [this](qint64 ms) { m_physics.advanceTo(ms); }, this);
    m_scope->setClock(&m_clock);
    m_firmware = new SimFirmware(this);
    m_firmware->setEraseDelay(settings.eraseDelayMs);
    m_firmware->setResendEvery(settings.faults.resendEvery);
    connect(m_scope, &SimScope::frameOut, this, &SimMotor::frameOut);
    connect(m_firmware, &SimFirmware::frameOut, this, &SimMotor::frameOut);
    connect(m_firmware, &SimFirmware::updated, this, [this](const QString& version) {
        m_table->setText(0x1002, version);
        m_savedTable.insert(QStringLiteral("1002"), m_table->saveState().value(QStringLiteral("1002")));
        setMode(Reset);  // the motor restarts into its new firmware
        if (m_persist)
            m_persist();
    });
    connect(&m_caliTimer, &QTimer::timeout, this, &SimMotor::onCalibrationTick);
    applyTable();
    m_savedTable = m_table->saveState();
}

SimMotor::~SimMotor() = default;

void SimMotor::advance() {
    m_physics.advanceTo(m_clock.elapsed());
}

CanFrame SimMotor::reply(quint8 type, quint8 high) const {
    CanFrame f;
    f.id = CanFrame::makeId(type, quint16(high << 8 | m_canId), CanProtocol::kHostId);
    f.length = 8;
    return f;
}

void SimMotor::handleFrame(const CanFrame& f) {
    if (f.destination() != m_canId)
        return;
    advance();
    switch (f.type()) {
        case CANCOM_ANNOUNCE_DEVID:
            announce();
            break;
        case CANCOM_MOTOR_CTRL: {
            const MotorCommandFrames::MitRaw raw = MotorCommandFrames::mitOf(f);
            const float vmax = m_ranges.velMax, tmax = m_ranges.torqueMax;
            m_physics.setMit(
                CanProtocol::decodeRange(raw.position, CanProtocol::kPosMin, CanProtocol::kPosMax),
                CanProtocol::decodeRange(raw.velocity, -vmax, vmax),
                CanProtocol::decodeRange(raw.kp, 0, m_ranges.kpMax),
                CanProtocol::decodeRange(raw.kd, 0, m_ranges.kdMax),
                CanProtocol::decodeRange(raw.torque, -tmax, tmax));
            sendFeedback();
            break;
        }
        case CANCOM_MOTOR_IN:
            setMode(Run);
            sendFeedback();
            break;
        case CANCOM_MOTOR_RESET:
            switch (MotorCommandFrames::resetOf(f).kind) {
                case MotorCommandFrames::ResetRequest::ModelQuery:
                    sendModelReply();
                    return;
                case MotorCommandFrames::ResetRequest::ClearAlarm:
                    m_faultFlags = 0;
                    m_faultWord = m_warnWord = 0;
                    break;
                case MotorCommandFrames::ResetRequest::Reset:
                    setMode(Reset);
                    break;
            }
            sendFeedback();
            break;
        case CANCOM_MOTOR_CALI:
            startCalibration();
            break;
        case CANCOM_MOTOR_ZERO:
            if (MotorCommandFrames::zeroFlagOf(f) == 1)
                m_physics.setZero();
            sendFeedback();
            break;
        case CANCOM_MOTOR_ID: {
            const MotorCommandFrames::CanIdChange change = MotorCommandFrames::canIdChangeOf(f);
            const quint8 newId = change.newId;
            // Only the motor whose MCU ID is named takes the new address.
            if (change.mcuId != m_identity.mcuId || newId < 1 || newId > 127)
                break;
            m_canId = newId;
            m_table->setValue(0x2000, newId);
            m_scope->setCanId(newId);
            if (m_persist)
                m_persist();
            announce();
            break;
        }
        case CANCOM_PARA_WRITE: {
            quint16 changed = 0;
            const int sub = (f.id >> 16) & 0xFF;
            if (sub == ParamFrames::kFactoryReset) {
                // The reset takes effect silently: the host does not wait for an answer.
                m_table->factoryReset();
                applyTable();
                break;
            }
            const auto saver = [this] {
                m_savedTable = m_table->saveState();
                return m_persist ? m_persist() : true;
            };
            emit frameOut(m_table->write(m_canId, f, saver, &changed));
            if (changed)
                applyTable();
            break;
        }
        case CANCOM_PARA_READ:
            for (const CanFrame& r : m_table->read(m_canId, quint16(f.data[0] | f.data[1] << 8)))
                emit frameOut(r);
            break;
        case CANCOM_PARA_UPDATE:
            m_scope->handle(f, m_canId);
            break;
        case CANCOM_OTA_START:
        case CANCOM_OTA_INFO:
        case CANCOM_OTA_ING:
        case CANCOM_OTA_END:
            m_firmware->handle(f, m_canId, m_identity.mcuId);
            break;
        case CANCOM_SDO_WRITE:
            objectWrite(f);
            break;
        case CANCOM_PARA_STR_INFO:
            for (const CanFrame& r : m_table->describe(m_canId))
                emit frameOut(r);
            break;
        case CANCOM_MOTOR_BRAKE:
            setMode(Brake);
            sendFeedback();
            break;
        default:
            break;
    }
}

void SimMotor::announce() {
    CanFrame f;
    f.id = CanFrame::makeId(CANCOM_ANNOUNCE_DEVID, m_canId, CanProtocol::kAnnounceId);
    f.length = 8;
    qToLittleEndian(m_identity.mcuId, f.data.data());
    emit frameOut(f);
}

void SimMotor::sendModelReply() {
    CanFrame f = reply(CANCOM_MOTOR_FEEDBACK, quint8(m_mode << 6 | m_faultFlags));
    f.data = {0x00, 0xC4, 0, 0, m_identity.modelA, m_identity.modelB, 0, 0};
    emit frameOut(f);
}

void SimMotor::sendFeedback() {
    CanFrame f = reply(CANCOM_MOTOR_FEEDBACK, quint8(m_mode << 6 | (m_faultFlags & 0x3F)));
    const float vmax = m_ranges.velMax, tmax = m_ranges.torqueMax;
    qToBigEndian(encodeClamped(m_physics.position(), CanProtocol::kPosMin, CanProtocol::kPosMax), &f.data[0]);
    qToBigEndian(encodeClamped(m_physics.velocity(), -vmax, vmax), &f.data[2]);
    qToBigEndian(encodeClamped(m_physics.torque(), -tmax, tmax), &f.data[4]);
    qToBigEndian(quint16(std::lround(m_physics.temperature() * 10)), &f.data[6]);
    emit frameOut(f);
}

void SimMotor::setMode(Mode mode) {
    if (mode != Calibration && m_caliTimer.isActive())
        m_caliTimer.stop();
    m_mode = mode;
    applyControl();
}

void SimMotor::applyControl() {
    using C = MotorPhysics::Control;
    switch (m_mode) {
        case Reset:
            m_physics.setControl(C::Off);
            return;
        case Brake:
            m_physics.setControl(C::Brake);
            return;
        case Calibration:
            m_physics.setControl(C::Jog);
            m_physics.setJog(2.0);  // the calibration turns the rotor slowly through a revolution
            return;
        case Run:
            break;
    }
    switch (m_runMode) {
        case 0:
            m_physics.setControl(C::Mit);
            break;
        case 1:
        case 4:
        case 5:
            m_physics.setControl(C::Position);
            if (m_runMode == 4)
                m_physics.setPositionTarget(0);
            break;
        case 2:
        case 6:
            m_physics.setControl(C::Velocity);
            break;
        case 3:
        case 8:
            m_physics.setControl(C::Current);
            break;
        case 7:
            m_physics.setControl(C::Jog);
            break;
        default:
            m_physics.setControl(C::Off);
            break;
    }
}

void SimMotor::applyTable() {
    m_physics.torqueLimit = m_table->value(0x2008);
    m_physics.speedLimit = m_table->value(0x2009);
    m_physics.currentLimit = m_table->value(0x200A);
    m_physics.gains.locKp = m_table->value(0x200B);
    m_physics.gains.spdKp = m_table->value(0x200C);
    m_physics.gains.spdKi = m_table->value(0x200D);
    m_physics.acceleration = m_table->value(0x200E);
}

void SimMotor::objectWrite(const CanFrame& f) {
    const MotorCommandFrames::ObjectWrite write = MotorCommandFrames::objectWriteOf(f);
    const float fv = write.floatValue;
    const quint32 uv = write.uintValue;
    auto setLimit = [this](quint16 code, double v) {
        const SimParamTable::Entry* e = m_table->entry(code);
        if (!e || !std::isfinite(v) || v < e->minRaw * std::pow(10.0, e->exponent) ||
            v > e->maxRaw * std::pow(10.0, e->exponent))
            return;  // the firmware ignores a limit outside its table range
        m_table->setValue(code, v);
        applyTable();
    };
    // Which object the velocity/acceleration of the position profile live in depends on the model.
    const int code = m_ranges.modelCode;
    switch (write.index) {
        case 0x7001:
            m_physics.setSine(uv != 0, m_sineAmp, m_sineFreq);
            break;
        case 0x7002:
            m_sineFreq = fv;
            break;
        case 0x7003:
            m_sineAmp = fv;
            break;
        case MotorCommandFrames::kRunModeIndex:
            if (write.isJog()) {
                const float vmax = m_ranges.velMax;
                const double speed = CanProtocol::decodeRange(write.jogSpeedRaw, -vmax, vmax);
                m_runMode = MotorCommandFrames::kJogRunMode;
                if (write.jogRun) {
                    setMode(Run);
                    m_physics.setJog(speed);
                } else {
                    m_physics.setJog(0);
                }
            } else {
                m_runMode = write.runMode;
                applyControl();
            }
            break;
        case 0x7006:
            m_physics.setCurrentTarget(fv);
            break;
        case 0x700A:
            m_physics.setVelocityTarget(fv);
            break;
        case 0x700B:
            setLimit(0x2008, fv);
            break;
        case 0x7012: {
            CanFrame ack = reply(CANCOM_SDO_WRITE, 0);
            ack.data = f.data;
            emit frameOut(ack);
            break;
        }
        case 0x7016:
            m_physics.setPositionTarget(fv);
            break;
        case 0x7017:
            setLimit(0x2009, fv);
            break;
        case 0x7018:
            setLimit(0x200A, fv);
            break;
        case 0x7022:
            setLimit(0x200E, fv);
            break;
        case 0x7024:
            setLimit(0x2009, fv);
            break;
        case 0x7025:
            setLimit(code == 2 ? 0x2009 : 0x200E, fv);
            break;
        case 0x7026:
            if (code == 2)
                setLimit(0x200E, fv);
            break;
        default:
            break;  // objects this firmware does not have are ignored
    }
}

void SimMotor::startCalibration() {
    setMode(Calibration);
    sendFeedback();
    m_caliStep = 0;
    m_caliTimer.start(std::max(1, m_caliMs / kCaliSteps));
}

void SimMotor::onCalibrationTick() {
    advance();
    ++m_caliStep;
    const double angle = std::fmod(m_caliStep * 2 * M_PI / kCaliSteps, 2 * M_PI);
    CanFrame p;
    const quint16 sensor = quint16(m_caliStep * 65535 / kCaliSteps);
    p.id = CanFrame::makeId(CANCOM_CALI_ING, sensor, CanProtocol::kHostId);
    p.length = 8;
    qToLittleEndian(float(angle), &p.data[0]);
    qToLittleEndian(float(std::fmod(angle + 0.05 * std::sin(angle), 2 * M_PI)), &p.data[4]);
    emit frameOut(p);
    const int rowStart = kCaliSteps - kCaliRows;
    if (m_caliStep > rowStart) {
        const int row = m_caliStep - rowStart - 1;
        CanFrame r = reply(CANCOM_CALI_RST, 0);
        qToLittleEndian(qint16(row), &r.data[0]);
        qToLittleEndian(qint16(row * 512), &r.data[2]);
        qToLittleEndian(qint32(std::lround(40 * std::sin(row + double(m_identity.mcuId % 7)))), &r.data[4]);
        emit frameOut(r);
    }
    if (m_caliStep >= kCaliSteps) {
        m_caliTimer.stop();
        CanFrame done = reply(CANCOM_MOTOR_CALI, 0);
        qToLittleEndian(float(1.0 + double(m_identity.mcuId % 1000) / 1000.0), &done.data[0]);
        emit frameOut(done);
        setMode(Reset);
    }
}

void SimMotor::raiseFault(quint32 faultWord, quint32 warnWord) {
    m_faultWord = faultWord;
    m_warnWord = warnWord;
    m_faultFlags = quint8(faultWord & 0x3F);
    CanFrame f = reply(CANCOM_FAULT_WARN, 0);
    qToLittleEndian(faultWord, &f.data[0]);
    qToLittleEndian(warnWord, &f.data[4]);
    emit frameOut(f);
}

double SimMotor::live(quint16 code) {
    const MotorPhysics& p = m_physics;
    const qint64 ms = m_clock.elapsed();
    switch (code) {
        case 0x3000:
            return p.position();
        case 0x3001:
            return p.velocity();
        case 0x3002:
            return p.current();
        case 0x3003:
            return p.torque();
        case 0x3004:
            return p.busVoltage();
        case 0x3005:
            return std::round(p.temperature() * 10);
        case 0x3006:
            return m_faultWord;
        case 0x3007:
            return m_warnWord;
        case 0x3008:
            return m_runMode;
        case 0x3009:
            return m_mode;
        case 0x300A:
            return double(ms & 0xFFFF);
        case 0x300B:
            return std::trunc(p.position() * 16384 / (2 * M_PI));
        case 0x300C:
            return double(ms);
        case 0x300D:
            return std::floor(p.position() / (2 * M_PI));
        case 0x300E:
            return p.energy();
        case 0x300F:
            return std::fmod(std::abs(p.position()) * 14, 2 * M_PI);
        default:
            return 0;
    }
}

QJsonObject SimMotor::state() const {
    QJsonObject o;
    o.insert(QStringLiteral("can_id"), m_canId);
    o.insert(QStringLiteral("table"), m_savedTable);
    return o;
}

void SimMotor::restoreState(const QJsonObject& state) {
    const int id = state.value(QStringLiteral("can_id")).toInt(m_canId);
    if (id >= 1 && id <= 127) {
        m_canId = quint8(id);
        m_table->setValue(0x2000, id);
        m_scope->setCanId(m_canId);
    }
    m_table->loadState(state.value(QStringLiteral("table")).toObject());
    m_savedTable = m_table->saveState();
    applyTable();
}

QString SimMotor::describeState() const {
    static const char* const modes[] = {"reset", "calibration", "run", "brake"};
    QString text = QStringLiteral("CAN %1, MCU 0x%2, mode %3, run mode %4, pos %5, vel %6, torque %7")
                       .arg(m_canId)
                       .arg(m_identity.mcuId, 0, 16)
                       .arg(QLatin1String(modes[m_mode]))
                       .arg(m_runMode)
                       .arg(m_physics.position(), 0, 'f', 3)
                       .arg(m_physics.velocity(), 0, 'f', 3)
                       .arg(m_physics.torque(), 0, 'f', 3);
    if (m_scope->skipped() > 0)
        text += QStringLiteral(", scope samples skipped %1").arg(m_scope->skipped());
    return text;
}
