#include "link/motionguard.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/canworker.h"
#include "link/flows/linklease.h"
#include "link/motorframes.h"
#include "link/motorstates.h"
#include "link/otathread.h"

MotionGuard* MotionGuard::of(CANWorker* worker) {
    if (!worker)
        return nullptr;
    if (auto* guard = worker->findChild<MotionGuard*>(QString(), Qt::FindDirectChildrenOnly))
        return guard;
    return new MotionGuard(worker);
}

MotionGuard::MotionGuard(CANWorker* worker) : QObject(worker), m_worker(worker) {
    // Direct: the worker closes its port as soon as the signal returns.
    connect(worker, &CANWorker::portClosing, this, &MotionGuard::onPortClosing, Qt::DirectConnection);
}

void MotionGuard::arm(quint8 canId, quint64 mcuId) {
    m_armed.insert(canId, mcuId);
}

void MotionGuard::disarm(quint8 canId) {
    m_armed.remove(canId);
}

void MotionGuard::setJogging(quint8 canId, bool jogging) {
    if (jogging)
        m_jogging.insert(canId);
    else
        m_jogging.remove(canId);
}

quint8 MotionGuard::canIdOf(kx::DataObject* record) {
    return record ? quint8(qint8(record->r(QStringLiteral("info.can_id"))->get().toInt())) : 0;
}

quint64 MotionGuard::mcuIdOf(kx::DataObject* record) {
    return record ? record->r(QStringLiteral("info.mcu_id"))->get().toULongLong() : 0;
}

QList<quint8> MotionGuard::connectedCanIds() {
    QList<quint8> ids;
    for (kx::DataObject* device : kx::d(QStringLiteral("project.device"))->cdobjs()) {
        const quint8 id = canIdOf(device);
        if (device->c(QStringLiteral("_connected"))->getBool(false) && !ids.contains(id))
            ids << id;
    }
    return ids;
}

int MotionGuard::brake(const QList<quint8>& canIds, bool preempt) {
    if (preempt)
        LinkLease::preempt(tr("emergency stop"));
    if (!m_worker->isConnected())
        return 0;
    for (quint8 id : canIds) {
        m_worker->writeRaw(CANWorker::frameToSerial(MotorFrames::enterBrakeMode(id)));
        m_armed.remove(id);
        m_jogging.remove(id);
    }
    return canIds.size();
}

void MotionGuard::queryModel(quint8 canId) {
    if (!m_worker->isConnected() || MotorStates::get(canId).modelKnown || m_modelAsked.contains(canId))
        return;
    m_modelAsked.insert(canId);
    m_worker->link()->sendFrame(MotorFrames::modelQuery(canId));
}

void MotionGuard::onPortClosing() {
    m_modelAsked.clear();
    emit portClosing();
    if (m_jogging.isEmpty() && m_armed.isEmpty())
        return;
    // A jog keeps a motor turning until told otherwise; reset mode then takes the torque off.
    for (quint8 id : qAsConst(m_jogging)) {
        QString error;
        if (const auto frame = MotorFrames::jog(id, 0, false, MotorStates::get(id).ranges, &error))
            m_worker->writeRaw(CANWorker::frameToSerial(*frame));
    }
    for (auto it = m_armed.cbegin(); it != m_armed.cend(); ++it) {
        kx::logI() << "port closing: reset mode to CAN" << it.key();
        m_worker->writeRaw(CANWorker::frameToSerial(MotorFrames::enterResetMode(it.key(), it.value())));
    }
    m_jogging.clear();
    m_armed.clear();
}
