#include "workbench/device/livevalues.h"

#include "link/canworker.h"
#include "link/linkstates.h"
#include "link/motorfaults.h"

#include <limits>

LiveValues* LiveValues::of(CANWorker* worker) {
    if (!worker)
        return nullptr;
    if (auto* live = worker->findChild<LiveValues*>(QString(), Qt::FindDirectChildrenOnly))
        return live;
    return new LiveValues(worker);
}

LiveValues::LiveValues(CANWorker* worker) : QObject(worker) {
    m_clock.start();
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &LiveValues::onRefresh);
    m_stale.setSingleShot(true);
    // Through the refresh timer, so that refreshes stay a tenth of a second apart.
    connect(&m_stale, &QTimer::timeout, this, [this] {
        if (!m_refresh.isActive())
            m_refresh.start();
    });
    connect(worker, &CANWorker::motorChanged, this, &LiveValues::onMotorChanged);
    // What was heard belongs to the bench behind the port: another connection starts blank.
    connect(worker, &CANWorker::connectionChanged, this, [this](bool connected) {
        if (!connected)
            return;  // the last values stay, dimmed, while the adapter is away
        m_valuesAt.clear();
        m_reportAt.clear();
        m_reportSerial.clear();
        m_stale.stop();
        if (!m_refresh.isActive())
            m_refresh.start();
    });
}

void LiveValues::onMotorChanged(quint8 canId, int status) {
    // Feedback carries values and the mode state; the model reply (-1) only the mode state.
    if (status != OTA_STA_MOTOR_FEEDBACK && status != -1)
        return;
    const qint64 t = now();
    m_reportAt.insert(canId, t);
    m_reportSerial.insert(canId, ++m_serial);
    if (status == OTA_STA_MOTOR_FEEDBACK)
        m_valuesAt.insert(canId, t);
    if (!m_stale.isActive())
        scheduleStale();
    if (!m_refresh.isActive())
        m_refresh.start();
}

void LiveValues::onRefresh() {
    scheduleStale();
    emit refreshed();
}

void LiveValues::scheduleStale() {
    const qint64 t = now();
    qint64 next = std::numeric_limits<qint64>::max();
    // Values and mode state each turn stale a while after they came.
    for (const QHash<quint8, qint64>* times : {&m_valuesAt, &m_reportAt}) {
        for (auto it = times->cbegin(); it != times->cend(); ++it) {
            const qint64 due = it.value() + kStaleMs;
            if (due > t)
                next = qMin(next, due);
        }
    }
    if (next == std::numeric_limits<qint64>::max()) {
        m_stale.stop();
        return;
    }
    m_stale.start(int(next - t));
}

LiveValues::Motor LiveValues::motor(quint8 canId) const {
    Motor m;
    m.state = MotorStates::get(canId);
    m.valuesAt = m_valuesAt.value(canId, -1);
    m.reportAt = m_reportAt.value(canId, -1);
    m.reportSerial = m_reportSerial.value(canId, 0);
    m.heard = m.valuesAt >= 0;
    m.reported = m.reportAt >= 0;
    m.fresh = m.heard && now() - m.valuesAt < kStaleMs;
    return m;
}

QString LiveValues::modeName(int modeState) {
    switch (modeState) {
        case 0:
            return tr("Reset");
        case 1:
            return tr("Calibration");
        case 2:
            return tr("Running");
        case 3:
            return tr("Brake");
        default:
            return tr("Unknown");
    }
}

QString LiveValues::faultText(const MotorState& state) {
    quint32 flags = 0;
    for (size_t i = 0; i < state.faults.size(); ++i)
        flags |= state.faults[i] ? 1u << i : 0u;
    const QString text = MotorFaults::describe(flags, state.faultWord, state.warningWord);
    return text.isEmpty() ? tr("None") : text;
}

QString LiveValues::positionText(const MotorState& state) {
    return tr("%1 rad").arg(double(state.position), 0, 'f', 4);
}

QString LiveValues::velocityText(const MotorState& state) {
    if (!state.modelKnown)
        return QStringLiteral("–");
    return tr("%1 rad/s").arg(double(state.velocity), 0, 'f', 3);
}

QString LiveValues::torqueText(const MotorState& state) {
    if (!state.modelKnown)
        return QStringLiteral("–");
    return tr("%1 N·m").arg(double(state.torque), 0, 'f', 3);
}
