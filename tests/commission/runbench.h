#pragma once

// A commissioning run against the simulated bench in this process: the link connected to
// trivane-sim on a pseudo-terminal, plans written into the case's working directory, the
// runner over the link's flows, and the motors' modes read back from the bench itself.

#include <QFile>
#include <QMap>

#include <functional>

#include "commission/commissionrunner.h"
#include "commission/linkrunflows.h"
#include "commission/plan/planreader.h"
#include "link/canworker.h"
#include "link/flows/detectflow.h"
#include "tests/commission/simmodes.h"
#include "tests/link/benchtest.h"

namespace commissiontest {

class RunBench : public linktest::BenchTest {
protected:
    // Starts the bench with these options and connects the adapter (no detection: the run
    // detects), by `address` when given (the bench's --port-link).
    bool startBench(const QStringList& options, const QString& address = QString()) {
        startCase(true);
        if (m_sim->start(options + QStringList{QStringLiteral("--no-pacing")}).isEmpty())
            return false;
        DetectFlow::Options connect;
        connect.address = address.isEmpty() ? m_sim->path() : address;
        connect.connectOnly = true;
        DetectFlow flow(connect);
        return flow.run().ok();
    }

    std::optional<Plan> plan(const QByteArray& yaml) {
        const QString path = QDir::current().filePath(QStringLiteral("plan.yaml"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(yaml) != yaml.size())
            return std::nullopt;
        file.close();
        QVector<PlanProblem> problems;
        std::optional<Plan> p = PlanReader::readFile(path, &problems);
        for (const PlanProblem& problem : problems)
            qWarning("%s", qPrintable(problem.text()));
        return p;
    }

    // Runs the plan; `setUp` may connect to the runner's signals first.
    RunRecord run(const Plan& plan, CommissionRunner::Scope scope = CommissionRunner::Scope::AllMotors,
                  const std::function<void(CommissionRunner&)>& setUp = nullptr, int canId = -1) {
        LinkRunFlows flows;
        CommissionRunner::Settings settings;
        settings.scope = scope;
        settings.canId = canId;
        settings.station = QStringLiteral("test bench");
        settings.reconnectWaitMs = m_reconnectWaitMs;
        CommissionRunner runner(plan, &flows, settings);
        runner.setPrompter([](const QString&, QString*) { return true; });
        if (setUp)
            setUp(runner);
        return runner.run();
    }

    QMap<int, QString> benchModes() { return simModes(*m_sim, m_motors); }

    // Every motor the bench has is in reset mode.
    bool allReset() {
        const QMap<int, QString> modes = benchModes();
        for (const QString& mode : modes) {
            if (mode != QLatin1String("reset")) {
                qWarning() << "bench modes:" << modes;
                return false;
            }
        }
        return modes.size() == m_motors;
    }

    static const StepRecord* step(const MotorRecord& motor, int index) {
        for (const StepRecord& s : motor.steps) {
            if (s.index == index)
                return &s;
        }
        return nullptr;
    }

    static const Measurement* measurement(const StepRecord* step, const QString& name) {
        if (!step)
            return nullptr;
        for (const Measurement& m : step->measurements) {
            if (m.name == name)
                return &m;
        }
        return nullptr;
    }

    int m_motors = 1;
    int m_reconnectWaitMs = 10000;
};

}  // namespace commissiontest
