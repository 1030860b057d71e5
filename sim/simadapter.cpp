#include "sim/simadapter.h"

#include "framework/data/atomicfile.h"
#include "framework/log/qflog.h"
#include "link/canprotocol.h"
#include "link/serialrecord.h"
#include "sim/simfirmware.h"
#include "sim/simmotor.h"

#include <QJsonDocument>
#include <QJsonObject>

SimAdapter::SimAdapter(const SimSettings& settings, QObject* parent)
    : QObject(parent),
      m_settings(settings),
      m_faults(settings.faults),
      m_rate(settings.baud),
      m_rng(settings.seed) {
    m_clock.start();
    m_delayTimer.setSingleShot(true);
    // Latencies of a few milliseconds are measured: a coarse timer or a millisecond clock
    // would add up to a millisecond to every record held.
    m_delayTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_delayTimer, &QTimer::timeout, this, &SimAdapter::flushDelayed);
    for (const SimMotorIdentity& id : settings.motors) {
        auto* motor = new SimMotor(id, settings, this);
        motor->setPersister([this] { return saveState(); });
        connect(motor, &SimMotor::frameOut, this, &SimAdapter::onMotorFrame);
        m_motors << motor;
    }
}

SimAdapter::~SimAdapter() = default;

void SimAdapter::setFaults(const SimFaults& faults) {
    m_faults = faults;
    for (SimMotor* m : m_motors)
        m->firmware().setResendEvery(faults.resendEvery);
    if (m_faults.latencyMs <= 0)
        flushDelayed();
}

SimMotor* SimAdapter::motorByCanId(int canId) const {
    for (SimMotor* m : m_motors)
        if (m->canId() == canId)
            return m;
    return nullptr;
}

bool SimAdapter::roll(double fraction) {
    if (fraction <= 0)
        return false;
    return std::uniform_real_distribution<double>(0, 1)(m_rng) < fraction;
}

void SimAdapter::corrupt(QByteArray* record) {
    const int at = std::uniform_int_distribution<int>(0, record->size() - 1)(m_rng);
    (*record)[at] = char((*record)[at] ^ (1 << std::uniform_int_distribution<int>(0, 7)(m_rng)));
    ++m_counters.corrupted;
}

void SimAdapter::feed(const QByteArray& bytes) {
    if (!hears()) {
        // A line at another rate arrives as noise the adapter's receiver discards.
        m_counters.unheard += bytes.size();
        return;
    }
    m_cutter.append(bytes);
    QByteArray record;
    while (m_cutter.next(&record))
        onRecord(record);
}

void SimAdapter::onRecord(const QByteArray& recordIn) {
    QByteArray record = recordIn;
    CanFrame frame;
    if (!SerialRecord::toFrame(record, &frame)) {
        onText(record);
        return;
    }
    if (roll(m_faults.dropRx)) {
        ++m_counters.dropped;
        logLine("RX", record, QStringLiteral("dropped"));
        return;
    }
    if (roll(m_faults.corruptRx)) {
        corrupt(&record);
        logLine("RX", record, QStringLiteral("corrupted"));
        if (!SerialRecord::toFrame(record, &frame))
            return;  // the damage broke the framing: the adapter drops it
    } else {
        logLine("RX", record);
    }
    ++m_counters.framesIn;
    // Every motor on the bus sees the frame; each takes what is addressed to it.
    const QVector<SimMotor*> motors = m_motors;
    for (SimMotor* m : motors)
        m->handleFrame(frame);
    emit hostFrame(frame);
}

void SimAdapter::onText(const QByteArray& line) {
    ++m_counters.textIn;
    const QByteArray cmd = line.trimmed();
    logLine("RX", line);
    if (cmd.isEmpty())
        return;
    QByteArray answer = "OK\r\n";
    int newRate = 0;
    static const char* const plain[] = {
        "AT+AT", "AT+CG", "AT+CAN_MODE=", "AT+CAN_FRAMEFORMAT=", "AT+CAN_FILTER0=", "AT+CAN_BAUD="};
    bool known = false;
    for (const char* p : plain)
        known = known || (cmd == p || (QByteArray(p).endsWith('=') && cmd.startsWith(p)));
    if (cmd.startsWith("AT+USART_PARAM=")) {
        bool ok = false;
        newRate = cmd.mid(15).split(',').value(0).toInt(&ok);
        known = ok && newRate > 0;
        if (!known)
            newRate = 0;
    }
    if (!known)
        answer = "ERROR\r\n";
    if (hears() && !m_faults.silent)
        logLine("TX", answer);
    send(answer);
    // The new rate applies after the answer has left at the old one.
    if (newRate > 0)
        m_rate = newRate;
}

void SimAdapter::onMotorFrame(const CanFrame& in) {
    CanFrame frame = in;
    if (m_faults.wrongCanId) {
        const quint16 field = frame.dataField();
        const quint8 wrong = quint8((field & 0x7F) % 127 + 1);
        frame.id = CanFrame::makeId(frame.type(), quint16((field & 0xFF00) | wrong), frame.destination());
    }
    if (frame.type() == CANCOM_MOTOR_FEEDBACK && !(frame.data[0] == 0 && frame.data[1] == 0xC4) &&
        roll(m_faults.crlf)) {
        frame.data[6] = 0x0D;  // spare bytes: the values stay valid, the record gets a CR LF
        frame.data[7] = 0x0A;
    }
    QByteArray record = SerialRecord::fromFrame(frame);
    if (roll(m_faults.dropTx)) {
        ++m_counters.dropped;
        logLine("TX", record, QStringLiteral("dropped"));
        return;
    }
    if (roll(m_faults.corruptTx)) {
        corrupt(&record);
        logLine("TX", record, QStringLiteral("corrupted"));
    } else {
        logLine("TX", record);
    }
    ++m_counters.framesOut;
    send(record);
}

void SimAdapter::send(const QByteArray& bytes) {
    if (m_faults.silent || !hears())
        return;
    if (m_faults.latencyMs > 0) {
        const qint64 due = m_clock.nsecsElapsed() + qint64(m_faults.latencyMs) * 1000000;
        m_delayed.emplace_back(due, bytes);
        if (!m_delayTimer.isActive())
            m_delayTimer.start(m_faults.latencyMs);
        return;
    }
    if (!m_delayed.empty())
        flushDelayed();
    emit bytesOut(bytes);
}

void SimAdapter::flushDelayed() {
    const qint64 now = m_clock.nsecsElapsed();
    const bool all = m_faults.latencyMs <= 0;
    while (!m_delayed.empty() && (all || m_delayed.front().first <= now)) {
        const QByteArray bytes = m_delayed.front().second;
        m_delayed.pop_front();
        emit bytesOut(bytes);
    }
    if (!m_delayed.empty())
        m_delayTimer.start(int(std::max<qint64>(1, (m_delayed.front().first - now + 999999) / 1000000)));
}

bool SimAdapter::openLog(const QString& path) {
    m_log.close();
    if (path.isEmpty())
        return true;
    m_log.setFileName(path);
    return m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

void SimAdapter::logLine(const char* direction, const QByteArray& record, const QString& note) {
    if (!m_log.isOpen())
        return;
    CanFrame f;
    QString what;
    if (SerialRecord::toFrame(record, &f))
        what = CanProtocol::comModeName(f.type()).trimmed() +
               QStringLiteral(" id 0x%1").arg(f.id, 8, 16, QLatin1Char('0'));
    else
        what = QStringLiteral("text");
    const QString line =
        QStringLiteral("%1 %2 %3 %4%5\n")
            .arg(m_clock.elapsed() / 1000.0, 10, 'f', 3)
            .arg(QLatin1String(direction))
            .arg(QString::fromLatin1(record.toHex(' ')))
            .arg(what)
            .arg(note.isEmpty() ? QString() : QStringLiteral(" (") + note + QLatin1Char(')'));
    m_log.write(line.toUtf8());
    m_log.flush();
}

bool SimAdapter::loadState(QString* error) {
    if (m_settings.stateFile.isEmpty())
        return true;
    QFile file(m_settings.stateFile);
    if (!file.exists())
        return true;  // first run: nothing saved yet
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(4 * 1024 * 1024), &parse);
    if (!doc.isObject()) {
        *error = parse.errorString();
        return false;
    }
    const QJsonObject motors = doc.object().value(QStringLiteral("motors")).toObject();
    for (SimMotor* m : m_motors) {
        const QString key = QString::number(m->mcuId(), 16);
        if (motors.contains(key))
            m->restoreState(motors.value(key).toObject());
    }
    return true;
}

bool SimAdapter::saveState() {
    if (m_settings.stateFile.isEmpty())
        return true;  // nothing to persist into: the save still succeeds for this power cycle
    QJsonObject motors;
    // Keep entries of motors that are not on the bench this time.
    QFile old(m_settings.stateFile);
    if (old.open(QIODevice::ReadOnly))
        motors = QJsonDocument::fromJson(old.read(4 * 1024 * 1024))
                     .object()
                     .value(QStringLiteral("motors"))
                     .toObject();
    for (SimMotor* m : m_motors)
        motors.insert(QString::number(m->mcuId(), 16), m->state());
    QString why;
    if (!kx::AtomicFile::writeAll(m_settings.stateFile,
                                  QJsonDocument(QJsonObject{{QStringLiteral("motors"), motors}}).toJson(),
                                  &why)) {
        kx::logE() << "[sim] cannot write state file " + m_settings.stateFile + ": " + why;
        return false;
    }
    return true;
}
