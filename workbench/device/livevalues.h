#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include "link/motorstates.h"

class CANWorker;

// What the screens show of each motor while it works: the values of its last feedback frame
// (position, velocity, torque, mode state, fault flags), when they came and whether they are
// still fresh. Feedback may arrive hundreds of times a second; views redraw on refreshed(),
// which comes at most ten times a second, and once more when a motor's values turn stale.
//
// A child of the link worker, used on its (GUI) thread only.
class LiveValues : public QObject {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 100;
    static constexpr int kStaleMs = 1000;

    struct Motor {
        MotorState state;
        // A feedback frame with values arrived since the port opened.
        bool heard = false;
        // A frame with the mode state arrived (feedback or the model reply).
        bool reported = false;
        // The values are younger than kStaleMs.
        bool fresh = false;
        qint64 valuesAt = -1;  // on now()'s clock, ms
        qint64 reportAt = -1;
        // Reports are numbered in arrival order: a report numbered above serial() taken at
        // some moment arrived after it.
        quint64 reportSerial = 0;
    };

    // The live values of worker, created on first use; null without a worker.
    static LiveValues* of(CANWorker* worker);

    Motor motor(quint8 canId) const;
    qint64 now() const { return m_clock.elapsed(); }
    // The number of the last report of any motor.
    quint64 serial() const { return m_serial; }

    // "Reset", "Calibration", "Running", "Brake".
    static QString modeName(int modeState);
    // The fault flags and words of a state; "None" when nothing is set.
    static QString faultText(const MotorState& state);
    // "1.2346 rad", "-0.500 rad/s", "0.120 N·m"; a dash while the motor's model (and so the
    // scaling of velocity and torque) is not known.
    static QString positionText(const MotorState& state);
    static QString velocityText(const MotorState& state);
    static QString torqueText(const MotorState& state);

signals:
    void refreshed();

private:
    explicit LiveValues(CANWorker* worker);
    void onMotorChanged(quint8 canId, int status);
    void onRefresh();
    // Arms the stale timer for the motor whose values turn stale next.
    void scheduleStale();

    QElapsedTimer m_clock;
    QHash<quint8, qint64> m_valuesAt;
    QHash<quint8, qint64> m_reportAt;
    QHash<quint8, quint64> m_reportSerial;
    quint64 m_serial = 0;
    QTimer m_refresh;  // single shot: changes within it become one refresh
    QTimer m_stale;    // single shot: the next motor to go quiet
};
