// The receive path of the link thread object: record cutting, decoding and the answer rules.
// Runs on the thread that owns the serial port.
#include "link/otathread.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/canprotocol.h"
#include "link/helper.h"
#include "link/linkfeature.h"
#include "link/motormodel.h"
#include "link/motorreplies.h"
#include "link/serialrecord.h"

#include <QCoreApplication>

void otaThread::getSerialData(QByteArray temp) {
    if (m_clearBuffer.exchange(false))
        m_cutter.clear();
    m_cutter.append(temp);
    QByteArray record;
    while (m_cutter.next(&record))
        dispatchFrame(record);
}

void otaThread::dispatchFrame(const QByteArray& record) {
    CanFrame frame;
    const bool valid = SerialRecord::toFrame(record, &frame);
    int status = -1;
    if (valid) {
        const int recvId = int(frame.dataField() & 0xFF);
        if (m_recvIdWritten.exchange(recvId) != recvId || kx::d("_recv_can_id")->getInt(-1) != recvId)
            kx::d("_recv_can_id")->set(this, recvId);
        if (m_debugPack) {
            kx::logI() << "recv pack <<<<<" << QString::fromLatin1(record.toHex(' '))
                       << "\n<< ex mode: " << QString::number(frame.type(), 16)
                       << ", ex data: " << QString::number(frame.dataField(), 16)
                       << ", ex id: " << QString::number(frame.destination(), 16)
                       << "; len: " << QString::number(frame.length, 16)
                       << ", data: " << QString::fromLatin1(record.mid(7, frame.length).toHex(' '));
        }
        if (frame.id < 0x16000000u) {
            status = decodeByType(frame);
            if (m_debugPack) {
                kx::logI() << "<<<<< analyze >>>>> " + CanProtocol::comModeName(frame.type()) + " " +
                                  LinkStates::statusName(status >= 0 ? status : m_status.load());
            }
            if (status >= 0)
                emitStatus(status);
        }
    } else if (m_debugPack) {
        kx::logE() << "<<<<< analyze >>>>> "
                   << "invalid pack: " << QString::fromLatin1(record.toHex(' '));
    }
    offerAnswer(valid, frame, record);
}

void otaThread::offerAnswer(bool valid, const CanFrame& frame, const QByteArray& record) {
    const int step = m_step.load();
    if (step < 0 || size_t(step) >= m_rules.size())
        return;
    const RuleEntry& entry = m_rules[size_t(step)];
    if (!entry.declared || entry.rule.kind != StepRule::Kind::Wait)
        return;
    bool answers = false;
    if (entry.rule.isAnswer)
        answers = entry.rule.isAnswer(*this, valid, frame, record);
    else if (entry.owner)
        answers = valid && m_typeOwners[frame.type()] == entry.owner;
    if (!answers)
        return;
    {
        std::lock_guard<std::mutex> lock(m_stepMutex);
        // The step changed while the record was looked at: it answered the old one.
        if (m_step.load() != step)
            return;
        m_answer = true;
    }
    // Wakes the loop at once: the answer concludes now, not at the next poll.
    m_stepCv.notify_all();
}

int otaThread::decodeByType(const CanFrame& frame) {
    if (LinkFeature* owner = m_typeOwners[frame.type()])
        return owner->decodeFrame(*this, frame);
    switch (frame.type()) {
        case CANCOM_ANNOUNCE_DEVID:
            handleAnnouncement(frame);
            return -1;
        case CANCOM_MOTOR_FEEDBACK:
            return decodeFeedback(frame);
        case CANCOM_MOTOR_CALI: {
            const auto done = MotorReplies::calibrationDone(frame);
            if (done.subCode != 0 && done.subCode != 1)
                return -1;
            std::lock_guard<std::mutex> lock(m_valuesMutex);
            m_values.canId = done.canId;
            if (done.subCode == 0) {
                m_values.encoderOffset = done.offset;
                return OTA_STA_ENCODER_CALI_DONE;
            }
            m_values.hall = done.hall;
            return OTA_STA_HALL_CALI_DONE;
        }
        case CANCOM_CALI_ING: {
            const auto progress = MotorReplies::calibrationProgress(frame);
            std::lock_guard<std::mutex> lock(m_valuesMutex);
            m_values.rotorAngle = progress.rotorAngle;
            m_values.statorFluxAngle = progress.statorFluxAngle;
            m_values.sensorValue = progress.sensorValue;
            return OTA_STA_ENCODER_CALI_ING;
        }
        case CANCOM_CALI_RST: {
            const auto row = MotorReplies::calibrationRow(frame);
            std::lock_guard<std::mutex> lock(m_valuesMutex);
            m_values.canId = row.canId;
            m_values.caliNumber = row.number;
            m_values.caliIndex = row.index;
            m_values.caliCorrection = row.correction;
            return OTA_STA_ENCODER_CALI_RESULT;
        }
        case CANCOM_SDO_WRITE: {
            const int ack = MotorReplies::sdoAcknowledgement(frame);
            if (ack < 0)
                return -1;
            return ack == 0 ? OTA_SDO_WRITE_TYPE0_SUCCESS : OTA_SDO_WRITE_TYPE1_SUCCESS;
        }
        case CANCOM_FAULT_WARN: {
            const auto fw = MotorReplies::faultWarning(frame);
            if (!fw.valid)
                return -1;
            std::lock_guard<std::mutex> lock(m_valuesMutex);
            m_values.canId = fw.canId;
            m_values.faultWord = fw.fault;
            m_values.warningWord = fw.warning;
            return OTA_STA_MOTOR_FAULTWARN;
        }
        default:
            return -1;
    }
}

int otaThread::decodeFeedback(const CanFrame& frame) {
    const auto fb = MotorReplies::feedback(frame);
    if (fb.modelReply) {
        // The model reply only selects the ranges; it carries no position/velocity/torque.
        MotorModel::apply(fb.modelA, fb.modelB);
        std::lock_guard<std::mutex> lock(m_valuesMutex);
        m_values.canId = fb.canId;
        m_values.faults = fb.faults;
        m_values.modeState = fb.modeState;
        return -1;
    }
    const auto r = MotorModel::ranges();
    std::lock_guard<std::mutex> lock(m_valuesMutex);
    m_values.canId = fb.canId;
    m_values.faults = fb.faults;
    m_values.modeState = fb.modeState;
    m_values.positionRaw = fb.positionRaw;
    m_values.velocityRaw = fb.velocityRaw;
    m_values.torqueRaw = fb.torqueRaw;
    m_values.position = CanProtocol::decodeRange(fb.positionRaw, CanProtocol::kPosMin, CanProtocol::kPosMax);
    m_values.velocity = CanProtocol::decodeRange(fb.velocityRaw, -r.velMax, r.velMax);
    m_values.torque = CanProtocol::decodeRange(fb.torqueRaw, -r.torqueMax, r.torqueMax);
    return OTA_STA_MOTOR_FEEDBACK;
}

void otaThread::handleAnnouncement(const CanFrame& frame) {
    const auto a = MotorReplies::announcement(frame);
    if (!a.valid) {
        postError(
            QCoreApplication::translate("CANWorker", "Invalid announce package (ex data: %1, ex id: %2)!")
                .arg(frame.dataField())
                .arg(frame.destination()));
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_tableMutex);
        m_lastAnnounced = {a.mcuId, a.canId};
        bool found = false;
        for (int i = 0; i < m_count; ++i) {
            if (m_table[i].mcuId != a.mcuId)
                continue;
            found = true;
            if (m_table[i].canId != a.canId) {
                m_table[i].canId = a.canId;
                m_tableChanged = true;
            }
            break;
        }
        if (!found && m_count < kMaxDevices) {
            m_table[m_count++] = {a.mcuId, a.canId};
            m_tableChanged = true;
        }
    }
    m_status = OTA_STA_DETECT_MCU;
    // In single-device mode the model query replaces the scan: detection stops at the first
    // motor that announces itself. The announcement that answers a CAN ID change is left to
    // that step, which would otherwise be abandoned and never report its success.
    if (!kx::d("config.setting.enable_multiple_devices")->getBool(false) && m_step.load() != STEP_SET_CAN_ID)
        startStep(STEP_MODEL_QUERY);
    emitStatus(OTA_STA_DETECT_MCU);
}
