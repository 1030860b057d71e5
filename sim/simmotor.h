#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

#include "link/canframe.h"
#include "link/canprotocol.h"
#include "sim/motorphysics.h"
#include "sim/simsettings.h"

class SimParamTable;
class SimScope;
class SimFirmware;

// One motor on the simulated bus. It answers the frames addressed to its CAN ID: identity,
// model query, mode changes with feedback, MIT set-points, object writes (run mode, jog,
// position/velocity/current set-points, limits, sine test), CAN ID change, mechanical zero,
// clear alarm, encoder calibration, and hands parameter, scope and update frames to its parts.
class SimMotor : public QObject {
    Q_OBJECT

public:
    // Mode state as feedback frames report it in identifier bits 23-22.
    enum Mode { Reset = 0, Calibration = 1, Run = 2, Brake = 3 };

    SimMotor(const SimMotorIdentity& identity, const SimSettings& settings, QObject* parent = nullptr);
    ~SimMotor() override;

    void handleFrame(const CanFrame& frame);

    quint8 canId() const { return m_canId; }
    quint64 mcuId() const { return m_identity.mcuId; }
    Mode mode() const { return m_mode; }
    int runMode() const { return m_runMode; }
    const CanProtocol::ModelRanges& ranges() const { return m_ranges; }
    MotorPhysics& physics() { return m_physics; }
    SimParamTable& table() { return *m_table; }
    SimFirmware& firmware() { return *m_firmware; }

    // Sends a fault/warning frame and raises the matching feedback fault flags.
    void raiseFault(quint32 faultWord, quint32 warnWord);
    // Brings the model up to now.
    void advance();

    // Values kept across power cycles (CAN ID, saved parameters, firmware version).
    QJsonObject state() const;
    void restoreState(const QJsonObject& state);
    // Called on a parameter save and a CAN ID change; returns false when persisting failed.
    void setPersister(std::function<bool()> persister) { m_persist = std::move(persister); }
    // Text shown to a human: "CAN 1, MCU 0x..., mode run, pos 0.000".
    QString describeState() const;

signals:
    void frameOut(const CanFrame& frame);

private:
    void sendFeedback();
    void sendModelReply();
    void announce();
    void setMode(Mode mode);
    void applyControl();
    void applyTable();
    void objectWrite(const CanFrame& f);
    void startCalibration();
    void onCalibrationTick();
    double live(quint16 code);
    CanFrame reply(quint8 type, quint8 high) const;

    SimMotorIdentity m_identity;
    quint8 m_canId;
    CanProtocol::ModelRanges m_ranges;
    Mode m_mode = Reset;
    int m_runMode = 0;
    quint8 m_faultFlags = 0;
    quint32 m_faultWord = 0, m_warnWord = 0;
    double m_sineAmp = 0, m_sineFreq = 1;
    double m_ppVel = 10;
    MotorPhysics m_physics;
    QElapsedTimer m_clock;
    std::unique_ptr<SimParamTable> m_table;
    SimScope* m_scope;
    SimFirmware* m_firmware;
    std::function<bool()> m_persist;
    QJsonObject m_savedTable;  // the table as last saved: what survives a power cycle
    QTimer m_caliTimer;
    int m_caliStep = 0;
    int m_caliMs = 3000;
};
