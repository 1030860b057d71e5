#pragma once

#include "commission/runflows.h"

#include <QObject>

// The run's flows as the link offers them. A kind of work the link has no flow for yields no
// flow, and the runner ends that step as ERROR instead of guessing.
class LinkRunFlows : public RunFlows {
public:
    struct Settings {
        // Detection scans the bus again even when the link knows its motors (the window,
        // whose last scan may have stopped at the first motor).
        bool rescan = false;
    };

    LinkRunFlows() = default;
    explicit LinkRunFlows(const Settings& settings) : m_settings(settings) {}
    ~LinkRunFlows() override;

    std::unique_ptr<Flow> detect() override;
    std::unique_ptr<Flow> readParams(int canId) override;
    std::unique_ptr<Flow> applyParams(const QList<int>& canIds, const QString& profile, bool save) override;
    std::unique_ptr<Flow> setCanId(int canId, int newCanId) override;
    std::unique_ptr<Flow> flash(int canId, const QString& image) override;
    std::unique_ptr<Flow> zero(int canId) override;
    std::unique_ptr<Flow> calibrate(const QList<int>& canIds) override;
    std::unique_ptr<Flow> move(int canId, const MoveRequest& request) override;
    std::unique_ptr<Flow> capture(const QList<int>& canIds, const QStringList& channels, int rate,
                                  double seconds) override;
    std::unique_ptr<Flow> estop(int canId) override;
    std::unique_ptr<Flow> leaveSafe(int canId) override;
    std::unique_ptr<Flow> reconnect(const QList<int>& canIds, int timeoutMs) override;
    Alarm alarm(int canId) override;
    void watchAlarms(std::function<void(int canId)> changed) override;

private:
    Settings m_settings;
    QObject m_alarmContext;  // ends the connection that feeds watchAlarms with these flows
    QMetaObject::Connection m_alarmConnection;
};
