#include "link/linkcommands.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/motorfaults.h"
#include "link/motorframes.h"
#include "link/motorstates.h"
#include "link/otathread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <cmath>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("LinkCommands", text);
}

const QString kError = QStringLiteral("ERROR");

struct Target {
    quint8 canId = 0;
    quint64 mcuId = 0;
};

// Entry 0 of the device table and the link's target follow the command's motor: reset mode
// and the firmware update address it by MCU ID as well.
Target aim(otaThread* link, int canId) {
    Target t;
    t.canId = quint8(canId);
    CANWorker* worker = Helper::instance()->worker();
    kx::DataObject* record = worker ? worker->deviceForCanId(t.canId) : nullptr;
    t.mcuId = record ? record->r(QStringLiteral("info.mcu_id"))->get().toULongLong()
                     : MotorStates::get(t.canId).mcuId;
    link->setDeviceEntry(0, t.mcuId, t.canId);
    link->setTarget(t.canId);
    link->setSelectedDevice(0);
    return t;
}

thread_local bool t_quiet = false;

void logLine(const QString& name, const QString& detail, quint8 canId) {
    if (t_quiet)
        return;
    const QString line = detail.isEmpty()
                             ? tr("Send Z48 Command %1 to CAN(%2)").arg(name).arg(canId)
                             : tr("Send Z48 Command %1 to CAN(%3): %2").arg(name, detail).arg(canId);
    Helper::instance()->postStatus(line);
}

QString modeText(int mode) {
    switch (mode) {
        case 0:
            return tr("break mode");
        case 1:
            return tr("motor mode");
        case 2:
            return tr("reset mode");
        default:
            return tr("unknown mode (%1)").arg(mode);
    }
}

QString shortest(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

}  // namespace

bool LinkCommands::send(const LinkCommand& c, const LinkLease::Token& lease, QString* refusal) {
    otaThread* link = otaThread::instance();
    if (!link) {
        kx::logE() << "link command without a link: " + c.name();
        return false;
    }
    Helper* helper = Helper::instance();
    const auto refuse = [&](const QString& text) {
        helper->postStatus(text, kError);
        if (refusal)
            *refusal = text;
        return false;
    };
    QString busy;
    if (!LinkLease::admits(c.canId, c.startsStep(), lease, &busy))
        return refuse(busy);
    if (c.canId < 0 || c.canId > 255)
        return refuse(tr("CAN ID %1 is outside the range [0, 255]: command refused.").arg(c.canId));
    const QString name = c.name();

    switch (c.kind) {
        case LinkCommand::Kind::SetCanId: {
            const int newId = c.number;
            if (newId < 1 || newId > 127)
                return refuse(tr("CAN ID %1 is outside the range [1, 127]: command refused.").arg(newId));
            // Two motors under one CAN ID both answer every command: never make a clash.
            CANWorker* worker = helper->worker();
            kx::DataObject* other =
                worker && newId != c.canId ? worker->deviceForCanId(quint8(newId)) : nullptr;
            if (other) {
                return refuse(tr("CAN ID %1 belongs to %2 (MCU ID 0x%3): command refused.")
                                  .arg(newId)
                                  .arg(CANWorker::deviceDisplayName(other))
                                  .arg(QString::number(
                                      other->r(QStringLiteral("info.mcu_id"))->get().toULongLong(), 16)));
            }
            const Target t = aim(link, c.canId);
            logLine(name, tr("can id = %1").arg(newId), t.canId);
            link->setNewCanId(quint8(newId));
            link->startStep(STEP_SET_CAN_ID);
            return true;
        }
        case LinkCommand::Kind::SetRunMode: {
            const int mode = c.number;
            // The mode travels in one byte: a larger number would wrap into another mode.
            if (mode < 0 || mode > 255)
                return refuse(tr("Run mode %1 is outside the range [0, 255]: command refused.").arg(mode));
            const Target t = aim(link, c.canId);
            logLine(name, runModeName(mode), t.canId);
            link->setRunMode(mode);
            link->sendFrame(MotorFrames::runModeWrite(t.canId, quint8(mode)));
            return true;
        }
        case LinkCommand::Kind::SetMode: {
            const Target t = aim(link, c.canId);
            logLine(name, modeText(c.number), t.canId);
            link->startStep(c.number == 1   ? STEP_SET_MOTOR_MODE
                            : c.number == 2 ? STEP_SET_RST_MODE
                                            : STEP_SET_BRAKE_MODE);
            return true;
        }
        case LinkCommand::Kind::MitControl: {
            QString error;
            if (!MotorFrames::mitControl(quint8(c.canId), c.mit, MotorStates::get(quint8(c.canId)).ranges,
                                         &error))
                return refuse(error);
            const Target t = aim(link, c.canId);
            logLine(name, QStringLiteral(" "), t.canId);
            link->setSetpoints(c.mit);
            link->startStep(STEP_MOTOR_CTRL_SINGLE);
            return true;
        }
        case LinkCommand::Kind::SdoFloat:
        case LinkCommand::Kind::SdoUint: {
            const int index = c.number;
            const double value = c.value;
            if (index < 0 || index > 0xFFFF || std::isnan(value))
                return refuse(tr("Invalid object write (index %1).").arg(index));
            if (c.kind == LinkCommand::Kind::SdoFloat) {
                const Target t = aim(link, c.canId);
                logLine(name, tr("index = %1, value = %2").arg(index).arg(shortest(value)), t.canId);
                link->sendFrame(MotorFrames::sdoWriteFloat(t.canId, quint16(index), float(value)));
                return true;
            }
            if (value < 0 || value > 4294967295.0)
                return refuse(
                    tr("Value %1 is outside the range [0, 4294967295]: command refused.").arg(value));
            const quint32 u = quint32(value);
            const Target t = aim(link, c.canId);
            logLine(name, tr("index = %1, value = %2").arg(index).arg(u), t.canId);
            link->sendFrame(MotorFrames::sdoWriteUint(t.canId, quint16(index), u));
            return true;
        }
        case LinkCommand::Kind::Jog: {
            QString error;
            const auto frame = MotorFrames::jog(quint8(c.canId), float(c.value), c.flag,
                                                MotorStates::get(quint8(c.canId)).ranges, &error);
            if (!frame)
                return refuse(error);
            const Target t = aim(link, c.canId);
            logLine(name, tr("speed = %1, flag = %2").arg(shortest(c.value)).arg(c.flag ? 1 : 0), t.canId);
            link->sendFrame(*frame);
            return true;
        }
        case LinkCommand::Kind::LoadParam:
            logLine(name, QString(), aim(link, c.canId).canId);
            link->startStep(STEP_ASK_PARA_STR_INFO);
            return true;
        case LinkCommand::Kind::Calibrate:
            logLine(name, QString(), aim(link, c.canId).canId);
            link->startStep(STEP_SET_CALI_ENCODER_MODE);
            return true;
        case LinkCommand::Kind::Zero:
            logLine(name, QString(), aim(link, c.canId).canId);
            link->setZeroFlag(c.number);
            link->startStep(STEP_SET_ZERO_MECH_MODE);
            return true;
        case LinkCommand::Kind::ClearAlarm: {
            const Target t = aim(link, c.canId);
            logLine(name, QString(), t.canId);
            link->sendFrame(MotorFrames::clearAlarm(t.canId));
            // The motor forgets its alarms; one that persists is reported again by its next frame.
            if (CANWorker* worker = helper->worker())
                MotorFaults::clear(worker->deviceForCanId(t.canId));
            return true;
        }
        case LinkCommand::Kind::Update:
            logLine(name, QString(), aim(link, c.canId).canId);
            link->startStep(STEP_IN_OTA);
            return true;
        case LinkCommand::Kind::RunStep:
            aim(link, c.canId);
            link->startStep(c.number);
            return true;
    }
    return false;
}

void LinkCommands::waitProcessing(int ms) {
    // An event loop sleeps until events or the deadline arrive; calling processEvents() in a
    // loop would return at once whenever nothing is pending and spin a core for the whole wait.
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

QString LinkCommands::runModeName(int mode) {
    switch (mode) {
        case 0:
            return tr("MIT control");
        case 1:
            return tr("interpolated position mode");
        case 2:
            return tr("velocity mode");
        case 3:
            return tr("current mode");
        case 4:
            return tr("zero mode");
        case 5:
            return tr("position mode");
        case 6:
            return tr("collision detection");
        case 8:
            return tr("open loop mode");
        default:
            return QString();
    }
}

void LinkCommands::reportOutcome(int status, int canId) {
    Helper* helper = Helper::instance();
    otaThread* link = otaThread::instance();
    switch (status) {
        case OTA_STA_RST_MODE_SUCCESS:
            helper->postStatus(tr("Set %1 mode successfully!").arg(QStringLiteral("RESET")));
            break;
        case OTA_STA_RST_MODE_OVER_TIME:
            helper->postStatus(tr("Set %1 mode failed!").arg(QStringLiteral("RESET")), kError);
            break;
        case OTA_STA_MOTOR_MODE_SUCCESS:
            helper->postStatus(tr("Set %1 mode successfully!").arg(QStringLiteral("MOTOR")));
            break;
        case OTA_STA_MOTOR_MODE_OVER_TIME:
            helper->postStatus(tr("Set %1 mode failed!").arg(QStringLiteral("MOTOR")), kError);
            break;
        case OTA_STA_BRAKE_MODE_SUCCESS:
            helper->postStatus(tr("Set %1 mode successfully!").arg(QStringLiteral("BRAKE")));
            break;
        case OTA_STA_BRAKE_MODE_OVER_TIME:
            helper->postStatus(tr("Set %1 mode failed!").arg(QStringLiteral("BRAKE")), kError);
            break;
        case OTA_STA_ZERO_MODE_SUCCESS:
            helper->postStatus(tr("Set the mechanical zero successfully!"));
            break;
        case OTA_STA_ENCODER_CALI_ING: {
            if (!link)
                break;
            // Progress frames name no motor: they come from the one being calibrated.
            const MotorState v = MotorStates::get(quint8(canId));
            helper->postStatus(
                tr("<Encoder calibrating> Rotor angle = %1, Stator flux angle = %2, Sensor value = %3")
                    .arg(double(v.rotorAngle), 0, 'f', 4)
                    .arg(double(v.statorFluxAngle), 0, 'f', 4)
                    .arg(v.sensorValue));
            break;
        }
        case OTA_STA_ENCODER_CALI_RESULT: {
            if (!link)
                break;
            const MotorState v = MotorStates::get(quint8(canId));
            helper->postStatus(
                tr("<Encoder calibration result> Device: %1, Number: %2, Index: %3, Correction: %4")
                    .arg(v.canId)
                    .arg(v.caliNumber)
                    .arg(v.caliIndex)
                    .arg(v.caliCorrection));
            break;
        }
        case OTA_STA_ENCODER_CALI_DONE: {
            if (!link)
                break;
            const MotorState v = MotorStates::get(quint8(canId));
            const QString offset = QString::number(double(v.encoderOffset), 'f', 6);
            helper->postStatus(tr("<Encoder calibration finish> Device: %1, Encoder Electrical Offset: %2")
                                   .arg(v.canId)
                                   .arg(offset));
            CANWorker* worker = helper->worker();
            kx::DataObject* record = worker && canId >= 0 ? worker->deviceForCanId(quint8(canId)) : nullptr;
            helper->showInformation(tr("Device %1 encoder calibration finish.\nEncoder Electrical Offset: %2")
                                        .arg(CANWorker::deviceDisplayName(record), offset));
            break;
        }
        default:
            break;
    }
}

LinkCommands::QuietScope::QuietScope(bool on) : m_previous(t_quiet) {
    t_quiet = m_previous || on;
}

LinkCommands::QuietScope::~QuietScope() {
    t_quiet = m_previous;
}

QString LinkCommand::name() const {
    switch (kind) {
        case Kind::SetCanId:
            return QStringLiteral("SET_CAN_ID");
        case Kind::SetRunMode:
            return QStringLiteral("SET_RUN_MODE");
        case Kind::SetMode:
            return QStringLiteral("SET_MODE");
        case Kind::MitControl:
            return QStringLiteral("MOTOR_CONTROL");
        case Kind::SdoFloat:
            return QStringLiteral("MOTOR_SDO_FLOAT");
        case Kind::SdoUint:
            return QStringLiteral("MOTOR_SDO_UINT");
        case Kind::Jog:
            return QStringLiteral("MOVE_JOG");
        case Kind::LoadParam:
            return QStringLiteral("LOAD_PARAM");
        case Kind::Calibrate:
            return QStringLiteral("ENCODER_CALIBRATION");
        case Kind::Zero:
            return QStringLiteral("ZERO_MECH");
        case Kind::ClearAlarm:
            return QStringLiteral("CLEAR_ALARM");
        case Kind::Update:
            return QStringLiteral("UPDATE");
        case Kind::RunStep:
            return QString();
    }
    return QString();
}

bool LinkCommand::startsStep() const {
    switch (kind) {
        case Kind::SetRunMode:
        case Kind::SdoFloat:
        case Kind::SdoUint:
        case Kind::Jog:
        case Kind::ClearAlarm:
            return false;
        default:
            return true;
    }
}
