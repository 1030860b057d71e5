#pragma once

// Commissioning runs as a plan runner produces them, for the records tests and benchmarks.

#include "commission/runrecord.h"

#include <QUuid>

namespace samplerun {

// A run of `motors` motors with `steps` steps each; MCU IDs count up from mcuBase. Every step
// has a numeric measurement with limits, every fifth also a text one; the last step of each
// motor carries a capture.
inline RunRecord make(int motors, int steps, quint64 mcuBase, const QDateTime& start,
                      const QString& uuid = QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    RunRecord run;
    run.uuid = uuid;
    run.planName = QStringLiteral("joint-acceptance");
    run.planPath = QStringLiteral("plans/joint-acceptance.yaml");
    run.planSha256 = QStringLiteral("9f2b").repeated(16);
    run.station = QStringLiteral("bench-1");
    run.operatorName = QStringLiteral("li.wei");
    run.toolVersion = QStringLiteral("0.0.8");
    run.startUtc = start;
    run.endUtc = start.addSecs(60);
    for (int m = 0; m < motors; ++m) {
        MotorRecord motor;
        motor.mcuId = mcuBase + quint64(m);
        motor.canId = m + 1;
        motor.modelCode = m % 2;
        motor.firmware = QStringLiteral("1.4.%1").arg(m % 3);
        motor.paramSha256 = QStringLiteral("ab%1").arg(m).leftJustified(64, QLatin1Char('0'));
        motor.startUtc = start;
        motor.endUtc = start.addSecs(60);
        for (int s = 0; s < steps; ++s) {
            StepRecord step;
            step.index = s + 1;
            step.kind = s == 0 ? QStringLiteral("detect") : QStringLiteral("move");
            step.title = QStringLiteral("step %1").arg(s + 1);
            step.startUtc = start.addMSecs(s * 250);
            step.seconds = 0.25;
            Measurement x;
            x.name = QStringLiteral("position");
            x.unit = QStringLiteral("rad");
            x.value = 1.0 + 0.001 * s;
            x.hasLow = x.hasHigh = true;
            x.low = 0.9;
            x.high = 1.1;
            x.marginal = 0.01;
            step.measurements << x;
            if (s % 5 == 4) {
                Measurement t;
                t.name = QStringLiteral("AppCodeVersion");
                t.numeric = false;
                t.text = motor.firmware;
                t.expected = QStringLiteral(">=1.4.0");
                step.measurements << t;
            }
            step.log << QStringLiteral("move to 1.0 rad") << QStringLiteral("settled in 180 ms");
            if (s == steps - 1) {
                QByteArray csv("t,position\n");
                for (int i = 0; i < 200; ++i)
                    csv += QByteArray::number(i) + ',' + QByteArray::number(1.0 + i * 1e-4) + '\n';
                step.attachments.append(
                    {QStringLiteral("capture-%1.csv").arg(m + 1), QStringLiteral("text/csv"), csv});
            }
            motor.steps << step;
        }
        run.motors << motor;
    }
    run.settleOutcomes();
    return run;
}

}  // namespace samplerun
