#pragma once

// The simulated bench for the motion sidebar's tests: trivane-sim on a pseudo-terminal with
// its record log, the link worker connected to it, and the frames the bench received read
// back from the log.

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canframe.h"
#include "link/canprotocol.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/motormodel.h"
#include "link/motorstates.h"
#include "link/serialrecord.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#define TRIVANE_SIM_PATH TRIVANE_BIN_DIR "/trivane-sim"
#include "tests/link/simbench.h"

namespace motiontest {

inline void setConfig(const QString& key, const QVariant& value) {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.") + key, value, true);
}

// Every frame record the bench received from the host, in order.
inline QVector<CanFrame> receivedFrames(const QString& logPath) {
    QVector<CanFrame> frames;
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return frames;
    static const QRegularExpression hexByte(QStringLiteral("^[0-9a-f]{2}$"));
    while (!file.atEnd()) {
        const QStringList words = QString::fromUtf8(file.readLine()).simplified().split(QLatin1Char(' '));
        if (words.value(1) != QLatin1String("RX") || words.last().startsWith(QLatin1Char('(')))
            continue;
        QByteArray record;
        for (int i = 2; i < words.size() && hexByte.match(words[i]).hasMatch(); ++i)
            record.append(char(words[i].toInt(nullptr, 16)));
        CanFrame frame;
        if (SerialRecord::toFrame(record, &frame))
            frames << frame;
    }
    return frames;
}

inline quint16 sdoIndex(const CanFrame& f) {
    return quint16(f.data[0] | f.data[1] << 8);
}

inline bool isSdo(const CanFrame& f, quint16 index) {
    return f.type() == CANCOM_SDO_WRITE && sdoIndex(f) == index;
}

// A jog frame (run-mode object with mode 7); flag 0 is the stop.
inline bool isJog(const CanFrame& f, bool flag) {
    return isSdo(f, 0x7005) && f.data[4] == 7 && f.data[5] == (flag ? 1 : 0);
}

inline int count(const QVector<CanFrame>& frames, const std::function<bool(const CanFrame&)>& test) {
    return int(std::count_if(frames.begin(), frames.end(), test));
}

class MotionBench {
public:
    // Starts the bench with the given motors and model bytes ("0:2" is model code 0).
    bool start(int motors, const QString& models = QString()) {
        m_log = QDir::current().filePath(QStringLiteral("bench.log"));
        QFile::remove(m_log);
        QStringList options{QStringLiteral("--motors"), QString::number(motors), QStringLiteral("--log"),
                            m_log, QStringLiteral("--no-pacing")};
        if (!models.isEmpty())
            options << QStringLiteral("--models") << models;
        return !m_sim.start(options).isEmpty();
    }

    // Connects the link worker and waits for the motors and the model reply.
    bool connect(int motors) {
        CANWorker* worker = Helper::instance()->worker();
        worker->connectPort(m_sim.path());
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 30000) {
            // The sidebar asks the current device for its model.
            kx::DataObject* current = Helper::instance()->currentDeviceDobj();
            const int canId = current->r(QStringLiteral("info.can_id"))->get().toInt();
            if (worker->registeredCanIds().size() >= motors && !current->isEmpty() &&
                MotorStates::get(quint8(canId)).modelKnown)
                return true;
            QTest::qWait(20);
        }
        qWarning("detected %d of %d motors, model %s", worker->registeredCanIds().size(), motors,
                 MotorModel::known() ? "known" : "unknown");
        QFile log(m_log);
        if (log.open(QIODevice::ReadOnly))
            qWarning("%s", log.readAll().right(1500).constData());
        return false;
    }

    QVector<CanFrame> frames() const { return receivedFrames(m_log); }
    QString log() const { return m_log; }
    linktest::SimBench& sim() { return m_sim; }

private:
    linktest::SimBench m_sim;
    QString m_log;
};

}  // namespace motiontest
