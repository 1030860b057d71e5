#include "link/coresteps.h"

#include "link/canprotocol.h"
#include "link/linkstates.h"
#include "link/motorframes.h"
#include "link/otathread.h"

namespace {

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

QString nameOf(int step) {
    return LinkStates::stepName(step);
}

// A request that ends the exchange either way.
StepRule::Builder waiting(int step, int poll, int timeout, int answerStatus, int timeoutStatus) {
    return StepRule::waiting(step, nameOf(step))
        .poll(poll)
        .timeout(timeout)
        .onAnswer(answerStatus, STEP_STOP)
        .onTimeout(timeoutStatus, STEP_STOP);
}

bool isOkLine(otaThread&, bool, const CanFrame&, const QByteArray& record) {
    return record.contains("OK");
}

// A feedback frame to the host; state < 0 accepts any mode state.
StepRule::Builder modeStep(int step, int state, int success, int timeout) {
    return waiting(step, 100, 2000, success, timeout)
        .answeredBy([state](otaThread&, bool valid, const CanFrame& frame, const QByteArray&) {
            return valid && frame.destination() == CanProtocol::kHostId &&
                   frame.type() == CANCOM_MOTOR_FEEDBACK && (state < 0 || int((frame.id >> 22) & 3) == state);
        });
}

}  // namespace

QVector<StepRule> CoreSteps::rules() {
    QVector<StepRule> rules;

    rules << StepRule::idle(STEP_STOP, nameOf(STEP_STOP)).start([](otaThread& link) {
        link.m_clearBuffer = true;
    });

    rules << waiting(STEP_INIT, 20, 500, OTA_STA_CONNECT_SUCCESS, OTA_STA_CONNECT_OVER_TIME)
                 .start([](otaThread& link) {
                     link.m_clearBuffer = true;
                     link.sendRaw(atCommand(5, link.m_baudRate));
                 })
                 .answeredBy(isOkLine);

    rules << waiting(STEP_INCONFIG, 20, 200, OTA_STA_INCONFIG_SUCCESS, OTA_STA_INCONFIG_OVER_TIME)
                 .start([](otaThread& link) {
                     link.m_clearBuffer = true;
                     link.m_atIndex = 0;
                     link.sendRaw(atCommand(6, link.m_baudRate));
                 })
                 .answeredBy(isOkLine);

    // One step for the five configuration commands: each OK sends the next, the fifth ends it.
    const StepRule::Action sendConfig = [](otaThread& link) {
        link.m_clearBuffer = true;
        link.sendRaw(atCommand(link.m_atIndex.load(), link.m_baudRate));
    };
    rules << waiting(STEP_CONFIG, 20, 500, StepRule::kNoStatus, OTA_STA_CONFIG_OVER_TIME)
                 .start(sendConfig)
                 .answeredBy(isOkLine)
                 .onAnswer([sendConfig](otaThread& link) {
                     if (link.m_atIndex.fetch_add(1) >= 4) {
                         link.announce(OTA_STA_CONFIG_SUCCESS);
                         return int(STEP_STOP);
                     }
                     sendConfig(link);
                     return int(STEP_CONFIG);
                 });

    // The scan probes every CAN ID in the adapter's order (1, 8, 16 ... then 1+8k, 2+8k ...),
    // one identity request per 20 ms; a pass alternates between picking the next ID and
    // sending its request.
    rules << StepRule::passing(STEP_GET_DEV_INFO, nameOf(STEP_GET_DEV_INFO))
                 .poll(10)
                 .pass([](otaThread& link) {
                     if (link.m_probeSendNext) {
                         link.m_probeSendNext = false;
                         link.sendFrame(MotorFrames::identityRequest(quint8(link.m_probeId)));
                         return true;
                     }
                     if ((link.m_probeCounter & 0x0F) == 0) {
                         ++link.m_probeGroup;
                         link.m_probeCounter = 0;
                     }
                     link.m_probeId = link.m_probeCounter * 8 + link.m_probeGroup;
                     ++link.m_probeCounter;
                     if (!link.m_firstProbe) {
                         link.m_probeGroup = 0;
                         link.m_firstProbe = true;
                     }
                     if (link.m_probeId > 127)
                         return false;
                     link.m_probeSendNext = true;
                     return true;
                 })
                 .ended([](otaThread& link) {
                     link.post({otaThread::MailKind::ScanDone, QByteArray(), 0, QString()});
                 });

    rules << waiting(STEP_SET_CAN_ID, 100, 2000, OTA_STA_SET_ID_SUCCESS, OTA_STA_SET_ID_OVER_TIME)
                 .start([](otaThread& link) {
                     link.sendFrame(MotorFrames::setCanId(link.target(), link.m_newCanId.load(),
                                                          link.deviceEntry(link.m_selected.load()).mcuId));
                 })
                 // The motor announces itself under its new ID, to whichever destination.
                 .answeredBy([](otaThread&, bool valid, const CanFrame& frame, const QByteArray&) {
                     return valid && frame.type() == CANCOM_ANNOUNCE_DEVID;
                 });

    rules << modeStep(STEP_SET_RST_MODE, 0, OTA_STA_RST_MODE_SUCCESS, OTA_STA_RST_MODE_OVER_TIME)
                 .start([](otaThread& link) {
                     link.sendFrame(MotorFrames::enterResetMode(
                         link.target(), link.deviceEntry(link.m_selected.load()).mcuId));
                 });
    rules << modeStep(STEP_SET_MOTOR_MODE, 2, OTA_STA_MOTOR_MODE_SUCCESS, OTA_STA_MOTOR_MODE_OVER_TIME)
                 .start([](otaThread& link) { link.sendFrame(MotorFrames::enterMotorMode(link.target())); });
    rules << modeStep(STEP_SET_BRAKE_MODE, 3, OTA_STA_BRAKE_MODE_SUCCESS, OTA_STA_BRAKE_MODE_OVER_TIME)
                 .start([](otaThread& link) { link.sendFrame(MotorFrames::enterBrakeMode(link.target())); });
    rules << modeStep(STEP_SET_CALI_ENCODER_MODE, 1, OTA_STA_CALI_MODE_SUCCESS, OTA_STA_CALI_MODE_OVER_TIME)
                 .start(
                     [](otaThread& link) { link.sendFrame(MotorFrames::enterCalibration(link.target())); });
    rules << modeStep(STEP_SET_ZERO_MECH_MODE, -1, OTA_STA_ZERO_MODE_SUCCESS, OTA_STA_ZERO_MODE_OVER_TIME)
                 .start([](otaThread& link) {
                     link.sendFrame(
                         MotorFrames::setMechanicalZero(link.target(), quint8(link.m_zeroFlag.load())));
                 });

    rules
        << StepRule::idle(STEP_MOTOR_CTRL_SINGLE, nameOf(STEP_MOTOR_CTRL_SINGLE)).start([](otaThread& link) {
               QString error;
               const auto frame =
                   MotorFrames::mitControl(link.target(), link.setpoints(), link.targetRanges(), &error);
               if (frame)
                   link.sendFrame(*frame);
               else
                   link.postError(error);
           });

    // The MIT stream: one control frame every 50 ms while the step is current.
    rules << StepRule::passing(STEP_MOTOR_CTRL_CONTINUOUS, nameOf(STEP_MOTOR_CTRL_CONTINUOUS))
                 .poll(50)
                 .pass([](otaThread& link) {
                     QString error;
                     const auto frame = MotorFrames::mitControl(link.target(), link.setpoints(),
                                                                link.targetRanges(), &error);
                     if (frame) {
                         link.sendFrame(*frame);
                         link.m_mitRefusalLogged = false;
                     } else if (!link.m_mitRefusalLogged) {
                         // One line per refused stretch, not twenty a second.
                         link.m_mitRefusalLogged = true;
                         link.postError(error);
                     }
                     return true;
                 });

    rules << StepRule::idle(STEP_MODEL_QUERY, nameOf(STEP_MODEL_QUERY)).start([](otaThread& link) {
        link.sendFrame(MotorFrames::modelQuery(link.lastAnnounced().canId));
    });

    // Never passed: the loop ends when it picks this step up.
    rules << StepRule::passing(STEP_QUIT, nameOf(STEP_QUIT));
    return rules;
}
