#include "link/motorfaults.h"

#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/otathread.h"

namespace {

const QString kFlags = QStringLiteral("_fault.flags");
const QString kFault = QStringLiteral("_fault.fault");
const QString kWarning = QStringLiteral("_fault.warning");

quint32 word(kx::DataObject* record, const QString& path) {
    return quint32(record->r(path)->get().toULongLong());
}

QString hex32(quint32 value) {
    return QStringLiteral("0x%1").arg(value, 8, 16, QLatin1Char('0'));
}

}  // namespace

MotorFaults::MotorFaults(CANWorker* worker) : QObject(worker), m_worker(worker) {
    connect(worker, &CANWorker::linkStatus, this, [this](int status) {
        if (status != OTA_STA_MOTOR_FEEDBACK && status != OTA_STA_MOTOR_FAULTWARN)
            return;
        // The receive path announces a frame's status right after decoding it, on this
        // thread, so the decoded values are still that frame's.
        const otaThread::Values v = m_worker->link()->values();
        if (status == OTA_STA_MOTOR_FAULTWARN) {
            faultWords(v.canId, v.faultWord, v.warningWord);
        } else {
            quint32 flags = 0;
            for (int i = 0; i < int(v.faults.size()); ++i)
                flags |= v.faults[size_t(i)] ? 1u << i : 0u;
            feedbackFlags(v.canId, flags);
        }
    });
}

void MotorFaults::feedbackFlags(quint8 canId, quint32 flags) {
    // A motor that is not registered (an answer during the scan) has no row to show it in.
    if (kx::DataObject* record = m_worker->deviceForCanId(canId))
        apply(record, flags, word(record, kFault), word(record, kWarning));
}

void MotorFaults::faultWords(quint8 canId, quint32 fault, quint32 warning) {
    if (kx::DataObject* record = m_worker->deviceForCanId(canId))
        apply(record, word(record, kFlags), fault, warning);
}

void MotorFaults::apply(kx::DataObject* record, quint32 flags, quint32 fault, quint32 warning) {
    const quint32 oldFlags = word(record, kFlags);
    const quint32 oldFault = word(record, kFault);
    const quint32 oldWarning = word(record, kWarning);
    if (flags == oldFlags && fault == oldFault && warning == oldWarning)
        return;  // feedback repeats its flags in every frame: only changes are written
    record->set(this, kFlags, flags, true);
    record->set(this, kFault, fault, true);
    record->set(this, kWarning, warning, true);
    // Only bits that were not set before are news; a fault that stays set is not repeated.
    const quint32 newFlags = flags & ~oldFlags;
    const quint32 newFault = fault & ~oldFault;
    const quint32 newWarning = warning & ~oldWarning;
    const QString name = CANWorker::deviceDisplayName(record);
    if (newFlags || newFault) {
        Helper::instance()->postStatus(tr("%1 fault: %2").arg(name, describe(newFlags, newFault, 0)),
                                       QStringLiteral("ERROR"));
    } else if (newWarning) {
        Helper::instance()->postStatus(tr("%1 warning: %2").arg(name, describe(0, 0, newWarning)));
    }
}

void MotorFaults::clear(kx::DataObject* record) {
    if (!record || record->isEmpty())
        return;
    record->set(nullptr, kFlags, 0u, true);
    record->set(nullptr, kFault, 0u, true);
    record->set(nullptr, kWarning, 0u, true);
}

QString MotorFaults::describe(quint32 flags, quint32 fault, quint32 warning) {
    QStringList parts;
    if (flags) {
        QStringList bits;
        for (int i = 0; i < 32; ++i) {
            if (flags & (1u << i))
                bits << QString::number(i);
        }
        parts << tr("flags %1").arg(bits.join(QStringLiteral(", ")));
    }
    if (fault)
        parts << tr("fault %1").arg(hex32(fault));
    if (warning)
        parts << tr("warning %1").arg(hex32(warning));
    return parts.join(QStringLiteral("; "));
}

QString MotorFaults::describe(kx::DataObject* record) {
    return describe(word(record, kFlags), word(record, kFault), word(record, kWarning));
}
