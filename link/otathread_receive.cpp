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
#include "link/motorstates.h"
#include "link/motorreplies.h"
#include "link/serialrecord.h"
#include "link/tap/frametap.h"

#include <QCoreApplication>

void otaThread::getSerialData(QByteArray temp) {
    if (m_clearBuffer.exchange(false))
        m_cutter.clear();
    FrameTap& tap = FrameTap::instance();
    const bool observed = tap.observed();
    m_cutter.setKeepSkipped(observed);
    m_cutter.append(temp);
    QByteArray record;
    while (m_cutter.next(&record)) {
        if (observed) {
            const QByteArray skipped = m_cutter.takeSkipped();
            if (!skipped.isEmpty())
                tap.publishGarbage(skipped);
        }
        dispatchFrame(record);
    }
    if (observed) {
        const QByteArray skipped = m_cutter.takeSkipped();
        if (!skipped.isEmpty())
            tap.publishGarbage(skipped);
    }
}

void otaThread::dispatchFrame(const QByteArray& record) {
    CanFrame frame;
    const bool valid = SerialRecord::toFrame(record, &frame);
    FrameTap& tap = FrameTap::instance();
    if (tap.observed()) {
        if (valid)
            tap.publishFrame(TapRecord::Direction::Rx, frame, record);
        else
            tap.publishText(TapRecord::Direction::Rx, record);
    }
    int status = -1;
    if (valid) {
        const int recvId = int(frame.dataField() & 0xFF);
        if (m_recvIdWritten.exchange(recvId) != recvId || kx::d("_recv_can_id")->getInt(-1) != recvId)
            kx::d("_recv_can_id")->set(this, recvId);
        if (m_debugPack) {
            kx::logI() << "recv pack <<<<< " << QString::fromLatin1(record.toHex(' '))
                       << "\n<< ex mode: " << QString::number(frame.type(), 16)
                       << ", ex data: " << QString::number(frame.dataField(), 16)
                       << ", ex id: " << QString::number(frame.destination(), 16)
                       << "; len: " << QString::number(frame.length, 16)
                       << ", data: " << QString::fromLatin1(record.mid(7, frame.length).toHex(' '));
        }
        if (frame.id < 0x16000000u) {
            m_decodedMotor = -1;
            status = decodeByType(frame);
            if (m_debugPack) {
                kx::logI() << "<<<<< analyze >>>>> " + CanProtocol::comModeName(frame.type()) + " " +
                                  LinkStates::statusName(status >= 0 ? status : m_status.load());
            }
            if (status >= 0)
                emitStatus(status, m_decodedMotor >= 0 ? m_decodedMotor : int(m_target.load()));
            if (m_decodedMotor >= 0)
                emit motorChanged(quint8(m_decodedMotor), status);
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
            m_decodedMotor = done.canId;
            MotorStates::update(done.canId, [&](MotorState& m) {
                if (done.subCode == 0)
                    m.encoderOffset = done.offset;
                else
                    m.hall = done.hall;
            });
            return done.subCode == 0 ? OTA_STA_ENCODER_CALI_DONE : OTA_STA_HALL_CALI_DONE;
        }
        case CANCOM_CALI_ING: {
            // Progress frames carry no CAN ID: they come from the motor being calibrated.
            const auto progress = MotorReplies::calibrationProgress(frame);
            const quint8 canId = m_target.load();
            m_decodedMotor = canId;
            MotorStates::update(canId, [&](MotorState& m) {
                m.rotorAngle = progress.rotorAngle;
                m.statorFluxAngle = progress.statorFluxAngle;
                m.sensorValue = progress.sensorValue;
            });
            return OTA_STA_ENCODER_CALI_ING;
        }
        case CANCOM_CALI_RST: {
            const auto row = MotorReplies::calibrationRow(frame);
            m_decodedMotor = row.canId;
            MotorStates::update(row.canId, [&](MotorState& m) {
                m.caliNumber = row.number;
                m.caliIndex = row.index;
                m.caliCorrection = row.correction;
            });
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
            m_decodedMotor = fw.canId;
            MotorStates::update(fw.canId, [&](MotorState& m) {
                m.faultWord = fw.fault;
                m.warningWord = fw.warning;
            });
            return OTA_STA_MOTOR_FAULTWARN;
        }
        default:
            return -1;
    }
}

int otaThread::decodeFeedback(const CanFrame& frame) {
    const auto fb = MotorReplies::feedback(frame);
    m_decodedMotor = fb.canId;
    if (fb.modelReply) {
        // The model reply only selects the motor's ranges; it carries no position/velocity/torque.
        MotorStates::update(fb.canId, [&](MotorState& m) {
            m.faults = fb.faults;
            m.modeState = fb.modeState;
        });
        if (MotorStates::applyModel(fb.canId, fb.modelA, fb.modelB))
            MotorModel::motorModelKnown(fb.canId);
        return -1;
    }
    // Scaled with the ranges of the motor that sent it: on a bus of mixed models another
    // motor's ranges would misread its velocity and torque.
    MotorStates::update(fb.canId, [&](MotorState& m) {
        m.faults = fb.faults;
        m.modeState = fb.modeState;
        m.positionRaw = fb.positionRaw;
        m.velocityRaw = fb.velocityRaw;
        m.torqueRaw = fb.torqueRaw;
        m.position = CanProtocol::decodeRange(fb.positionRaw, CanProtocol::kPosMin, CanProtocol::kPosMax);
        m.velocity = CanProtocol::decodeRange(fb.velocityRaw, -m.ranges.velMax, m.ranges.velMax);
        m.torque = CanProtocol::decodeRange(fb.torqueRaw, -m.ranges.torqueMax, m.ranges.torqueMax);
    });
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
    int movedFrom = -1;
    {
        std::lock_guard<std::mutex> lock(m_tableMutex);
        m_lastAnnounced = {a.mcuId, a.canId};
        bool found = false;
        for (int i = 0; i < m_count; ++i) {
            if (m_table[i].mcuId != a.mcuId)
                continue;
            found = true;
            if (m_table[i].canId != a.canId) {
                movedFrom = m_table[i].canId;
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
    MotorStates::update(a.canId, [&a](MotorState& m) { m.mcuId = a.mcuId; });
    if (movedFrom >= 0) {
        // The same motor under a new CAN ID: its model (and last values) go with it.
        MotorState moved = MotorStates::get(quint8(movedFrom));
        MotorStates::forget(quint8(movedFrom));
        moved.canId = a.canId;
        MotorStates::update(a.canId, [&moved](MotorState& m) { m = moved; });
    }
    m_status = OTA_STA_DETECT_MCU;
    // In single-device mode the model query replaces the scan: detection stops at the first
    // motor that announces itself. The announcement that answers a CAN ID change is left to
    // that step, which would otherwise be abandoned and never report its success.
    if (!kx::d("config.setting.enable_multiple_devices")->getBool(false) && m_step.load() != STEP_SET_CAN_ID)
        startStep(STEP_MODEL_QUERY);
    emitStatus(OTA_STA_DETECT_MCU, a.canId);
}
