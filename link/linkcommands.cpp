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

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("LinkCommands", text);
}

const QString kError = QStringLiteral("ERROR");

struct Target {
    quint8 canId = 0;
    quint64 mcuId = 0;
};

// Entry 0 of the device table and the target CAN ID follow the given record (the current
// device when none is given); without a device the target is CAN ID 0.
Target aim(otaThread* link, kx::DataObject* record) {
    Target t;
    if (record && !record->isEmpty()) {
        t.canId = quint8(qint8(record->r(QStringLiteral("info.can_id"))->get().toInt()));
        t.mcuId = record->r(QStringLiteral("info.mcu_id"))->get().toULongLong();
    }
    link->setDeviceEntry(0, t.mcuId, t.canId);
    link->setTarget(t.canId);
    link->setSelectedDevice(0);
    return t;
}

thread_local bool t_quiet = false;

void logLine(const QString& name, const QString& detail, quint8 canId) {
    if (t_quiet)
        return;
    const QString line =
        detail.isEmpty() ? QCoreApplication::translate("LinkCommands", "Send Z48 Command %1 to CAN(%2)")
                               .arg(name)
                               .arg(canId)
                         : QCoreApplication::translate("LinkCommands", "Send Z48 Command %1 to CAN(%3): %2")
                               .arg(name, detail)
                               .arg(canId);
    Helper::instance()->postStatus(line);
}

QString modeText(int mode) {
    switch (mode) {
        case 0:
            return QCoreApplication::translate("LinkCommands", "break mode");
        case 1:
            return QCoreApplication::translate("LinkCommands", "motor mode");
        case 2:
            return QCoreApplication::translate("LinkCommands", "reset mode");
        default:
            return QCoreApplication::translate("LinkCommands", "unknown mode (%1)").arg(mode);
    }
}

// Reads a number argument; false when the variant holds none.
bool number(const QVariant& v, double* out) {
    bool ok = false;
    *out = v.toDouble(&ok);
    return ok;
}

QString shortest(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

}  // namespace

bool LinkCommands::run(const QString& name, const QVariant& arg1, const QVariant& arg2) {
    otaThread* link = otaThread::instance();
    if (!link) {
        kx::logE() << "link command without a link: " + name;
        return false;
    }
    Helper* helper = Helper::instance();
    if (name == QLatin1String("READ_PARAM"))
        return readParam(arg1.toBool());
    if (name == QLatin1String("WRITE_PARAM"))
        return writeParam(arg1.toBool());
    if (name == QLatin1String("RUN_STEP"))
        return runStep(canComStep(arg1.toInt()));

    if (name == QLatin1String("SET_CAN_ID")) {
        kx::DataObject* record = arg2.value<kx::DataObject*>();
        const Target t = aim(link, record ? record : helper->currentDeviceDobj());
        const int newId = arg1.toInt();
        if (newId < 1 || newId > 127) {
            helper->postStatus(tr("CAN ID %1 is outside the range [1, 127]: command refused.").arg(newId),
                               kError);
            return false;
        }
        logLine(name, tr("can id = %1").arg(newId), t.canId);
        link->setNewCanId(quint8(newId));
        link->startStep(STEP_SET_CAN_ID);
        return true;
    }

    const Target t = aim(link, helper->currentDeviceDobj());
    if (name == QLatin1String("SET_RUN_MODE")) {
        const int mode = arg1.toInt();
        // The mode travels in one byte: a larger number would wrap into another mode.
        if (mode < 0 || mode > 255) {
            helper->postStatus(tr("Run mode %1 is outside the range [0, 255]: command refused.").arg(mode),
                               kError);
            return false;
        }
        logLine(name, runModeName(mode), t.canId);
        link->setRunMode(mode);
        link->sendFrame(MotorFrames::runModeWrite(t.canId, quint8(mode)));
        return true;
    }
    if (name == QLatin1String("SET_MODE")) {
        const int mode = arg1.toInt();
        logLine(name, modeText(mode), t.canId);
        link->startStep(mode == 1   ? STEP_SET_MOTOR_MODE
                        : mode == 2 ? STEP_SET_RST_MODE
                                    : STEP_SET_BRAKE_MODE);
        return true;
    }
    if (name == QLatin1String("MOTOR_CONTROL")) {
        const QVariantList list = arg2.toList();
        MotorFrames::MitSetpoints sp;
        sp.torque = arg1.toFloat();
        sp.position = list.value(0).toFloat();
        sp.velocity = list.value(1).toFloat();
        sp.kp = list.value(2).toFloat();
        sp.kd = list.value(3).toFloat();
        QString error;
        if (!MotorFrames::mitControl(t.canId, sp, MotorStates::get(t.canId).ranges, &error)) {
            helper->postStatus(error, kError);
            return false;
        }
        logLine(name, QStringLiteral(" "), t.canId);
        link->setSetpoints(sp);
        link->startStep(STEP_MOTOR_CTRL_SINGLE);
        return true;
    }
    if (name == QLatin1String("MOTOR_SDO_FLOAT") || name == QLatin1String("MOTOR_SDO_UINT")) {
        const int index = arg1.toInt();
        double value = 0;
        if (index < 0 || index > 0xFFFF || !number(arg2, &value)) {
            helper->postStatus(tr("Invalid object write (index %1).").arg(index), kError);
            return false;
        }
        if (name == QLatin1String("MOTOR_SDO_FLOAT")) {
            logLine(name, tr("index = %1, value = %2").arg(index).arg(shortest(value)), t.canId);
            link->sendFrame(MotorFrames::sdoWriteFloat(t.canId, quint16(index), float(value)));
        } else {
            if (value < 0 || value > 4294967295.0) {
                helper->postStatus(
                    tr("Value %1 is outside the range [0, 4294967295]: command refused.").arg(value), kError);
                return false;
            }
            const quint32 u = quint32(value);
            logLine(name, tr("index = %1, value = %2").arg(index).arg(u), t.canId);
            link->sendFrame(MotorFrames::sdoWriteUint(t.canId, quint16(index), u));
        }
        return true;
    }
    if (name == QLatin1String("MOVE_JOG")) {
        const float speed = arg1.toFloat();
        const bool flag = arg2.toBool();
        QString error;
        const auto frame = MotorFrames::jog(t.canId, speed, flag, MotorStates::get(t.canId).ranges, &error);
        if (!frame) {
            helper->postStatus(error, kError);
            return false;
        }
        logLine(name, tr("speed = %1, flag = %2").arg(shortest(arg1.toDouble())).arg(flag ? 1 : 0), t.canId);
        link->sendFrame(*frame);
        return true;
    }
    if (name == QLatin1String("LOAD_PARAM")) {
        logLine(name, QString(), t.canId);
        link->startStep(STEP_ASK_PARA_STR_INFO);
        return true;
    }
    if (name == QLatin1String("ENCODER_CALIBRATION")) {
        logLine(name, QString(), t.canId);
        link->startStep(STEP_SET_CALI_ENCODER_MODE);
        return true;
    }
    if (name == QLatin1String("ZERO_MECH")) {
        logLine(name, QString(), t.canId);
        link->setZeroFlag(1);
        link->startStep(STEP_SET_ZERO_MECH_MODE);
        return true;
    }
    if (name == QLatin1String("CLEAR_ALARM")) {
        logLine(name, QString(), t.canId);
        link->sendFrame(MotorFrames::clearAlarm(t.canId));
        // The motor forgets its alarms; one that persists is reported again by its next frame.
        MotorFaults::clear(helper->currentDeviceDobj());
        return true;
    }
    if (name == QLatin1String("UPDATE")) {
        logLine(name, QString(), t.canId);
        link->startStep(STEP_IN_OTA);
        return true;
    }
    kx::logW() << "unknown link command: " + name;
    return false;
}

bool LinkCommands::readParam(bool start) {
    return runStep(start ? STEP_READ_PARA_STR_START : STEP_READ_PARA_STR);
}

bool LinkCommands::writeParam(bool start) {
    return runStep(start ? STEP_WRITE_PARA_STR_START : STEP_WRITE_PARA_STR);
}

bool LinkCommands::runStep(canComStep step) {
    otaThread* link = otaThread::instance();
    if (!link)
        return false;
    aim(link, Helper::instance()->currentDeviceDobj());
    link->startStep(step);
    return true;
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

void LinkCommands::reportOutcome(int status) {
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
            const MotorState v = MotorStates::get(link->target());
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
            const MotorState v = MotorStates::get(quint8(kx::d("_recv_can_id")->getInt(0)));
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
            const MotorState v = MotorStates::get(quint8(kx::d("_recv_can_id")->getInt(0)));
            const QString offset = QString::number(double(v.encoderOffset), 'f', 6);
            helper->postStatus(tr("<Encoder calibration finish> Device: %1, Encoder Electrical Offset: %2")
                                   .arg(v.canId)
                                   .arg(offset));
            const int recvId = kx::d("_recv_can_id")->getInt(-1);
            CANWorker* worker = helper->worker();
            kx::DataObject* record = worker && recvId >= 0 ? worker->deviceForCanId(quint8(recvId)) : nullptr;
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
