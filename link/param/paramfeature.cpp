#include "link/param/paramfeature.h"

#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/otathread.h"

#include <QCoreApplication>

namespace {

const QString kError = QStringLiteral("ERROR");

}  // namespace

ParamStore* ParamStore::forLink(otaThread* link) {
    ParamFeature* feature = ParamFeature::of(link);
    return feature ? &feature->store() : nullptr;
}

ParamFeature* ParamFeature::install(otaThread* link) {
    auto* feature = new ParamFeature(link);
    link->registerFeature(feature);
    // Statuses reach the link's owner thread (the port's); the reactions run there.
    connect(link, &otaThread::sendState, feature, &ParamFeature::onStatus);
    return feature;
}

ParamFeature* ParamFeature::of(otaThread* link) {
    return link ? findLinkFeature<ParamFeature>(link->features()) : nullptr;
}

ParamFeature::ParamFeature(otaThread* link) : QObject(link), m_link(link) {}

QVector<int> ParamFeature::frameTypes() const {
    return {CANCOM_PARA_WRITE, CANCOM_PARA_READ, CANCOM_PARA_STR_INFO};
}

void ParamFeature::startRead(otaThread& link, bool fromStart) {
    const auto frame = m_transfer.startRead(link.target(), fromStart);
    if (frame)
        link.sendFrame(*frame);
    else
        link.startStep(STEP_STOP);  // nothing described to read
}

void ParamFeature::startWrite(otaThread& link, bool first) {
    int status = -1;
    const auto frame = m_transfer.startWrite(link.target(), first, &status);
    if (frame) {
        link.sendFrame(*frame);
        return;
    }
    // Fails at once (nothing modified, or a group that cannot be written).
    link.startStep(STEP_STOP);
    link.announce(status);
}

int ParamFeature::onTransferAnswer(int step) const {
    return m_transfer.concluded() ? int(STEP_STOP) : step;
}

QVector<StepRule> ParamFeature::steps() const {
    auto* self = const_cast<ParamFeature*>(this);
    // Every transfer step stays current until the transfer concludes, then goes idle.
    const auto transferStep = [self](int step, const QString& logName, int counted, int timeoutStatus) {
        return StepRule::waiting(step, logName)
            .poll(50)
            .counting(counted)
            .timeout(1000)
            .onTimeout(timeoutStatus, STEP_STOP)
            .onAnswer([self, step](otaThread&) { return self->onTransferAnswer(step); })
            .answeredBy([self](otaThread&, bool valid, const CanFrame& frame, const QByteArray&) {
                return valid && self->m_transfer.belongs(frame);
            });
    };
    QVector<StepRule> rules;

    rules << transferStep(STEP_ASK_PARA_STR_INFO, QStringLiteral("STEP_ASK_PARA_STR_INFO,"), 50,
                          OTA_STA_GET_PARA_INFO_OVER_TIME)
                 .start([self](otaThread& link) {
                     link.sendFrame(self->m_transfer.startDescription(
                         link.target(), link.deviceEntry(link.selectedDevice()).mcuId));
                 })
                 .onTimeout(
                     [self](otaThread&, int status) { return self->m_transfer.timeoutStatus(status); });

    // Reading: step 18 starts the walk at the first entry, 19 reads the entry at the cursor.
    // Both wait alike; a read ends as soon as its last chunk or an error arrives.
    rules << transferStep(STEP_READ_PARA_STR_START, QStringLiteral("STEP_READ_PARA_STR_START,"), 50,
                          OTA_STA_READ_PARA_OVER_TIME)
                 .start([self](otaThread& link) { self->startRead(link, true); });
    rules << transferStep(STEP_READ_PARA_STR, QStringLiteral("STEP_READ_PARA_STR,"), 50,
                          OTA_STA_READ_PARA_OVER_TIME)
                 .start([self](otaThread& link) { self->startRead(link, false); });

    // Writing counts 100 ms per 50 ms poll (its time-out comes after 11 polls); the answers
    // themselves conclude at once.
    rules << transferStep(STEP_WRITE_PARA_STR_START, QStringLiteral("STEP_WRITE_PARA_STR_START,"), 100,
                          OTA_STA_WRITE_PARA_OVER_TIME)
                 .start([self](otaThread& link) { self->startWrite(link, true); });
    rules << transferStep(STEP_WRITE_PARA_STR, QStringLiteral("STEP_WRITE_PARA_STR,"), 100,
                          OTA_STA_WRITE_PARA_OVER_TIME)
                 .start([self](otaThread& link) { self->startWrite(link, false); });
    rules << transferStep(STEP_SAVE_PARA_STR, QStringLiteral("STEP_SAVE_PARA_STR,"), 100,
                          OTA_STA_WRITE_PARA_OVER_TIME)
                 .start(
                     [self](otaThread& link) { link.sendFrame(self->m_transfer.startSave(link.target())); });

    // The factory reset is not answered: the step sends and ends.
    rules << StepRule::passing(STEP_RECOVER_FAC, QStringLiteral("STEP_RECOVER_FAC,"))
                 .start([self](otaThread& link) {
                     link.sendFrame(self->m_transfer.factoryReset(link.target()));
                 })
                 .pass([](otaThread&) { return false; });

    return rules;
}

int ParamFeature::decodeFrame(otaThread& link, const CanFrame& frame) {
    std::optional<CanFrame> next;
    const int status = m_transfer.decode(frame, &next);
    if (next)
        link.sendFrame(*next);
    return status;
}

void ParamFeature::linkClosed(otaThread&) {
    m_transfer.cancel();
}

kx::DataObject* ParamFeature::recordOf(quint8 canId) const {
    CANWorker* worker = Helper::instance()->worker();
    return worker ? worker->deviceForCanId(canId) : nullptr;
}

void ParamFeature::onStatus(int status) {
    Helper* helper = Helper::instance();
    const quint8 canId = m_transfer.canId();
    auto fire = [this, canId](const char* event) {
        if (kx::DataObject* record = recordOf(canId))
            record->r(QStringLiteral("_trigger.param.") + QLatin1String(event))->trigger();
    };
    switch (status) {
        case OTA_STA_GET_PARA_INFO_SUCCESS:
            helper->postStatus(tr("Reload all parameters table successfully!"));
            fire("reload");
            break;
        case OTA_STA_GET_PARA_INFO_ERROR:
            helper->postStatus(ParamTransfer::describeErrorText(m_transfer.errorBits()), kError);
            break;
        case OTA_STA_READ_PARA_SUCCESS:
            fire("upload");
            break;
        case OTA_STA_READ_PARA_ERROR:
            helper->postStatus(
                ParamTransfer::readErrorText(m_transfer.expectedCode(), m_transfer.errorBits()), kError);
            break;
        case OTA_STA_WRITE_PARA_SUCCESS:
            fire("download");
            break;
        case OTA_STA_WRITE_PARA_ERROR:
            helper->postStatus(
                ParamTransfer::writeErrorText(m_transfer.expectedCode(), m_transfer.errorBits()), kError);
            break;
        case OTA_STA_SAVE_PARA_SUCCESS:
            helper->postStatus(tr("Param saved successfully!"));
            break;
        case OTA_STA_GET_PARA_INFO_OVER_TIME:
        case OTA_STA_READ_PARA_OVER_TIME:
        case OTA_STA_WRITE_PARA_OVER_TIME:
            break;
        default:
            return;
    }
    emit transferStatus(status, canId);
}
