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

StepRule rule(int step, StepRule::Kind kind, int poll = 0) {
    StepRule r;
    r.step = step;
    r.logName = LinkStates::stepName(step);
    r.kind = kind;
    r.poll = poll;
    r.counted = poll;
    return r;
}

StepRule waiting(int step, int poll, int timeout, int answerStatus, int timeoutStatus) {
    StepRule r = rule(step, StepRule::Kind::Wait, poll);
    r.timeout = timeout;
    r.answerStatus = answerStatus;
    r.answerNext = STEP_STOP;
    r.timeoutStatus = timeoutStatus;
    r.timeoutNext = STEP_STOP;
    return r;
}

bool isOkLine(otaThread&, bool, const CanFrame&, const QByteArray& record) {
    return record.contains("OK");
}

// A feedback frame to the host; state < 0 accepts any mode state.
StepRule modeStep(int step, int state, int success, int timeout) {
    StepRule r = waiting(step, 100, 2000, success, timeout);
    r.isAnswer = [state](otaThread&, bool valid, const CanFrame& frame, const QByteArray&) {
        return valid && frame.destination() == CanProtocol::kHostId &&
               frame.type() == CANCOM_MOTOR_FEEDBACK && (state < 0 || int((frame.id >> 22) & 3) == state);
    };
    return r;
}

}  // namespace

QVector<StepRule> CoreSteps::rules() {
    QVector<StepRule> rules;

    StepRule stop = rule(STEP_STOP, StepRule::Kind::Idle);
    stop.start = [](otaThread& link) { link.m_clearBuffer = true; };
    rules << stop;

    StepRule init = waiting(STEP_INIT, 20, 500, OTA_STA_CONNECT_SUCCESS, OTA_STA_CONNECT_OVER_TIME);
    init.start = [](otaThread& link) {
        link.m_clearBuffer = true;
        link.sendRaw(atCommand(5, link.m_baudRate));
    };
    init.isAnswer = isOkLine;
    rules << init;

    StepRule inConfig = waiting(STEP_INCONFIG, 20, 200, OTA_STA_INCONFIG_SUCCESS, OTA_STA_INCONFIG_OVER_TIME);
    inConfig.start = [](otaThread& link) {
        link.m_clearBuffer = true;
        link.m_atIndex = 0;
        link.sendRaw(atCommand(6, link.m_baudRate));
    };
    inConfig.isAnswer = isOkLine;
    rules << inConfig;

    // One step for the five configuration commands: each OK sends the next, the fifth ends it.
    StepRule config = waiting(STEP_CONFIG, 20, 500, -1, OTA_STA_CONFIG_OVER_TIME);
    config.start = [](otaThread& link) {
        link.m_clearBuffer = true;
        link.sendRaw(atCommand(link.m_atIndex.load(), link.m_baudRate));
    };
    config.isAnswer = isOkLine;
    config.onAnswer = [start = config.start](otaThread& link) {
        if (link.m_atIndex.fetch_add(1) >= 4) {
            link.announce(OTA_STA_CONFIG_SUCCESS);
            return int(STEP_STOP);
        }
        start(link);
        return int(STEP_CONFIG);
    };
    rules << config;

    // The scan probes every CAN ID in the adapter's order (1, 8, 16 ... then 1+8k, 2+8k ...),
    // one identity request per 20 ms; a pass alternates between picking the next ID and
    // sending its request.
    StepRule scan = rule(STEP_GET_DEV_INFO, StepRule::Kind::Pass, 10);
    scan.pass = [](otaThread& link) {
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
    };
    scan.ended = [](otaThread& link) {
        link.post({otaThread::MailKind::ScanDone, QByteArray(), 0, QString()});
    };
    rules << scan;

    StepRule setId = waiting(STEP_SET_CAN_ID, 100, 2000, OTA_STA_SET_ID_SUCCESS, OTA_STA_SET_ID_OVER_TIME);
    setId.start = [](otaThread& link) {
        link.sendFrame(MotorFrames::setCanId(link.target(), link.m_newCanId.load(),
                                             link.deviceEntry(link.m_selected.load()).mcuId));
    };
    // The motor announces itself under its new ID, to whichever destination.
    setId.isAnswer = [](otaThread&, bool valid, const CanFrame& frame, const QByteArray&) {
        return valid && frame.type() == CANCOM_ANNOUNCE_DEVID;
    };
    rules << setId;

    StepRule reset = modeStep(STEP_SET_RST_MODE, 0, OTA_STA_RST_MODE_SUCCESS, OTA_STA_RST_MODE_OVER_TIME);
    reset.start = [](otaThread& link) {
        link.sendFrame(
            MotorFrames::enterResetMode(link.target(), link.deviceEntry(link.m_selected.load()).mcuId));
    };
    StepRule motor =
        modeStep(STEP_SET_MOTOR_MODE, 2, OTA_STA_MOTOR_MODE_SUCCESS, OTA_STA_MOTOR_MODE_OVER_TIME);
    motor.start = [](otaThread& link) { link.sendFrame(MotorFrames::enterMotorMode(link.target())); };
    StepRule brake =
        modeStep(STEP_SET_BRAKE_MODE, 3, OTA_STA_BRAKE_MODE_SUCCESS, OTA_STA_BRAKE_MODE_OVER_TIME);
    brake.start = [](otaThread& link) { link.sendFrame(MotorFrames::enterBrakeMode(link.target())); };
    StepRule cali =
        modeStep(STEP_SET_CALI_ENCODER_MODE, 1, OTA_STA_CALI_MODE_SUCCESS, OTA_STA_CALI_MODE_OVER_TIME);
    cali.start = [](otaThread& link) { link.sendFrame(MotorFrames::enterCalibration(link.target())); };
    StepRule zero =
        modeStep(STEP_SET_ZERO_MECH_MODE, -1, OTA_STA_ZERO_MODE_SUCCESS, OTA_STA_ZERO_MODE_OVER_TIME);
    zero.start = [](otaThread& link) {
        link.sendFrame(MotorFrames::setMechanicalZero(link.target(), quint8(link.m_zeroFlag.load())));
    };
    rules << reset << motor << brake << cali << zero;

    StepRule single = rule(STEP_MOTOR_CTRL_SINGLE, StepRule::Kind::Idle);
    single.start = [](otaThread& link) {
        QString error;
        const auto frame =
            MotorFrames::mitControl(link.target(), link.setpoints(), link.targetRanges(), &error);
        if (frame)
            link.sendFrame(*frame);
        else
            link.postError(error);
    };
    rules << single;

    // The MIT stream: one control frame every 50 ms while the step is current.
    StepRule continuous = rule(STEP_MOTOR_CTRL_CONTINUOUS, StepRule::Kind::Pass, 50);
    continuous.pass = [](otaThread& link) {
        QString error;
        const auto frame =
            MotorFrames::mitControl(link.target(), link.setpoints(), link.targetRanges(), &error);
        if (frame) {
            link.sendFrame(*frame);
            link.m_mitRefusalLogged = false;
        } else if (!link.m_mitRefusalLogged) {
            // One line per refused stretch, not twenty a second.
            link.m_mitRefusalLogged = true;
            link.postError(error);
        }
        return true;
    };
    rules << continuous;

    StepRule model = rule(STEP_MODEL_QUERY, StepRule::Kind::Idle);
    model.start = [](otaThread& link) {
        link.sendFrame(MotorFrames::modelQuery(link.lastAnnounced().canId));
    };
    rules << model;

    // Never passed: the loop ends when it picks this step up.
    rules << rule(STEP_QUIT, StepRule::Kind::Pass);
    return rules;
}
