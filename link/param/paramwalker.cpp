#include "link/param/paramwalker.h"

#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/frames/paramframes.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/otathread.h"
#include "link/param/paramfeature.h"

ParamWalker::ParamWalker(kx::DataObject* device, QObject* parent) : QObject(parent), m_device(device) {
    m_feature = ParamFeature::of(otaThread::instance());
    if (m_feature)
        connect(m_feature, &ParamFeature::transferStatus, this, &ParamWalker::onTransferStatus);
    if (device && !device->isEmpty()) {
        connect(device, &QObject::destroyed, this, [this] { stop(); });
        connect(device->r(QStringLiteral("_connected")), &kx::DataObject::changed, this,
                [this](QVariant value, QVariant, QObject*) {
                    if (!value.toBool())
                        stop();
                });
    }
}

ParamWalker::~ParamWalker() {
    stop();
}

quint8 ParamWalker::canId() const {
    if (!m_device || m_device->isEmpty())
        return 0;
    return quint8(m_device->r(QStringLiteral("info.can_id"))->get().toInt());
}

bool ParamWalker::aim() {
    otaThread* link = otaThread::instance();
    if (!link || !m_feature || !m_device || m_device->isEmpty()) {
        kx::logW() << "parameter walk without link or device";
        return false;
    }
    // A flow holding the link keeps it: the walk is refused rather than replacing its step.
    QString busy;
    if (!LinkLease::admits(canId(), true, m_lease, &busy)) {
        Helper::instance()->postStatus(busy, QStringLiteral("ERROR"));
        return false;
    }
    link->setDeviceEntry(0, m_device->r(QStringLiteral("info.mcu_id"))->get().toULongLong(), canId());
    link->setTarget(canId());
    link->setSelectedDevice(0);
    return true;
}

void ParamWalker::startStep(int step) {
    if (otaThread* link = otaThread::instance())
        link->startStep(step);
}

bool ParamWalker::describe() {
    if (!aim())
        return false;
    m_walk = Walk::Describe;
    startStep(STEP_ASK_PARA_STR_INFO);
    return true;
}

bool ParamWalker::upload() {
    if (!aim())
        return false;
    m_walk = Walk::Upload;
    startStep(STEP_READ_PARA_STR_START);
    // An empty table has nothing to read: the start ended the step at once.
    if (m_feature->transfer().mode() == ParamTransfer::Mode::None)
        end(true);
    return true;
}

bool ParamWalker::download(bool save) {
    if (!aim())
        return false;
    m_walk = Walk::Download;
    m_saveAfterDownload = save;
    startStep(STEP_WRITE_PARA_STR_START);
    return true;
}

bool ParamWalker::readOne(quint16 code) {
    // Only a described entry: the read would otherwise move on to the next group's first.
    if (!aim() || !m_feature->store().entry(canId(), code, nullptr))
        return false;
    m_walk = Walk::ReadOne;
    m_feature->transfer().setCursor(ParamFrames::groupOf(code), ParamFrames::indexOf(code));
    startStep(STEP_READ_PARA_STR);
    if (m_feature->transfer().mode() == ParamTransfer::Mode::None)
        end(false);
    return true;
}

bool ParamWalker::save() {
    if (!aim())
        return false;
    m_walk = Walk::Save;
    startStep(STEP_SAVE_PARA_STR);
    return true;
}

bool ParamWalker::factoryReset() {
    if (!aim())
        return false;
    startStep(STEP_RECOVER_FAC);
    return true;
}

void ParamWalker::stop() {
    if (m_walk == Walk::None)
        return;
    m_walk = Walk::None;
    otaThread* link = otaThread::instance();
    if (!link || !m_feature)
        return;
    const int step = link->step();
    // Only a step that still serves this walk is ended; another user's transfer stays.
    if (step >= STEP_ASK_PARA_STR_INFO && step <= STEP_RECOVER_FAC &&
        m_feature->transfer().canId() == canId()) {
        m_feature->transfer().cancel();
        link->startStep(STEP_STOP);
    }
}

void ParamWalker::end(bool ok) {
    m_walk = Walk::None;
    emit finished(ok);
}

void ParamWalker::onTransferStatus(int status, int id) {
    if (m_walk == Walk::None || id != canId() || !m_feature)
        return;
    ParamTransfer& transfer = m_feature->transfer();
    ParamStore& store = m_feature->store();
    switch (status) {
        case OTA_STA_GET_PARA_INFO_SUCCESS:
            if (m_walk == Walk::Describe)
                end(true);
            break;
        case OTA_STA_READ_PARA_SUCCESS: {
            const quint16 code = transfer.expectedCode();
            emit entryRead(code);
            if (m_walk == Walk::ReadOne) {
                end(true);
                break;
            }
            if (m_walk != Walk::Upload)
                break;
            auto [group, index] = transfer.cursor();
            const auto counts = store.counts(canId());
            ++index;
            while (group < 4 && index >= counts[size_t(group)]) {
                ++group;
                index = 0;
            }
            transfer.setCursor(group, index);
            if (group >= 4) {
                Helper::instance()->postStatus(tr("Upload parameters table successfully!"));
                end(true);
                break;
            }
            if (!aim())
                return end(false);
            startStep(STEP_READ_PARA_STR);
            break;
        }
        case OTA_STA_WRITE_PARA_SUCCESS: {
            const quint16 code = transfer.expectedCode();
            emit entryWritten(code);
            if (m_walk != Walk::Download)
                break;
            const int next = store.nextModified(canId(), code + 1);
            if (!aim())
                return end(false);
            if (next >= 0) {
                transfer.setCursor(ParamFrames::groupOf(quint16(next)), ParamFrames::indexOf(quint16(next)));
                startStep(STEP_WRITE_PARA_STR);
                break;
            }
            transfer.setCursor(4, 0);
            if (m_saveAfterDownload) {
                m_walk = Walk::Save;
                startStep(STEP_SAVE_PARA_STR);
                Helper::instance()->postStatus(tr("Download parameters table successfully!"));
            } else {
                end(true);
            }
            break;
        }
        case OTA_STA_SAVE_PARA_SUCCESS:
            if (m_walk == Walk::Save)
                end(true);
            break;
        case OTA_STA_GET_PARA_INFO_ERROR:
        case OTA_STA_GET_PARA_INFO_OVER_TIME:
        case OTA_STA_READ_PARA_ERROR:
        case OTA_STA_READ_PARA_OVER_TIME:
        case OTA_STA_WRITE_PARA_ERROR:
        case OTA_STA_WRITE_PARA_OVER_TIME:
            end(false);
            break;
        default:
            break;
    }
}
