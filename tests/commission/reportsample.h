#pragma once

// A run record with what reports must cope with: two motors, every outcome, a capture, text
// that needs escaping, and a control character from a motor's string entry.

#include "commission/runrecord.h"

#include <QDateTime>
#include <QtMath>

namespace commissiontest {

inline QByteArray sineCsv(int rows, double spikeAt = -1) {
    QByteArray csv = "time,mechVel,mechPos\r\n";
    for (int i = 0; i < rows; ++i) {
        const double t = i * 0.005;
        double v = 5 + 0.2 * std::sin(2 * M_PI * 3 * t);
        if (i == int(spikeAt))
            v = 9;  // one sample a thinned plot must keep
        csv += QByteArray::number(t, 'f', 6) + ',' + QByteArray::number(v, 'g', 10) + ',' +
               QByteArray::number(5 * t, 'g', 10) + "\r\n";
    }
    return csv;
}

inline StepRecord step(int index, const QString& kind, const QString& title, Outcome outcome,
                       const QString& message = QString()) {
    StepRecord s;
    s.index = index;
    s.kind = kind;
    s.title = title;
    s.outcome = outcome;
    s.message = message;
    s.startUtc = QDateTime(QDate(2026, 12, 9), QTime(11, 6, 14 + index), Qt::UTC);
    s.seconds = 0.25 * index;
    s.log << QStringLiteral("%1 started").arg(title);
    return s;
}

inline RunRecord sampleRecord() {
    RunRecord r;
    r.uuid = QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e");
    r.planName = QStringLiteral("Line <3> & \"joints\" %1");
    r.planPath = QStringLiteral("/plans/line3.yaml");
    r.planSha256 = QString(64, QLatin1Char('a'));
    r.station = QStringLiteral("bench-7");
    r.operatorName = QStringLiteral("Li Wei");
    r.toolVersion = QStringLiteral("0.0.8");
    r.startUtc = QDateTime(QDate(2026, 12, 9), QTime(11, 6, 14), Qt::UTC);
    r.endUtc = r.startUtc.addSecs(42);

    MotorRecord good;
    good.mcuId = 0x3a10c5e700001001ULL;
    good.canId = 10;
    good.modelCode = 0;
    good.firmware = QStringLiteral("0.9.4");
    good.paramSha256 = QString(64, QLatin1Char('b'));
    good.startUtc = r.startUtc;
    good.endUtc = r.startUtc.addSecs(20);
    good.steps << step(1, QStringLiteral("detect"), QStringLiteral("Find the motors"), Outcome::Pass);
    StepRecord move = step(2, QStringLiteral("move"), QStringLiteral("Quarter turn"), Outcome::Marginal);
    Measurement position;
    position.name = QStringLiteral("position");
    position.unit = QStringLiteral("rad");
    position.value = 1.61;
    position.hasLow = position.hasHigh = true;
    position.low = 1.52;
    position.high = 1.62;
    position.marginal = 0.02;
    position.outcome = Outcome::Marginal;
    move.measurements << position;
    good.steps << move;
    StepRecord capture = step(3, QStringLiteral("capture"), QStringLiteral("Speed <ripple>"), Outcome::Pass);
    Measurement rms;
    rms.name = QStringLiteral("rms(mechVel)");
    rms.value = 5.0;
    rms.hasHigh = true;
    rms.high = 6;
    capture.measurements << rms;
    capture.attachments << Attachment{QStringLiteral("step03-capture.csv"), QStringLiteral("text/csv"),
                                      sineCsv(400, 200)};
    capture.log << QStringLiteral("<script>alert(1)</script>");
    good.steps << capture;
    r.motors << good;

    MotorRecord bad;
    bad.mcuId = 0xfedcba9876543210ULL;
    bad.canId = 11;
    bad.modelCode = -1;
    bad.startUtc = r.startUtc.addSecs(20);
    bad.endUtc = r.startUtc.addSecs(40);
    bad.steps << step(1, QStringLiteral("detect"), QStringLiteral("Find the motors"), Outcome::Pass);
    StepRecord identify = step(2, QStringLiteral("identify"), QStringLiteral("Firmware"), Outcome::Fail,
                               QStringLiteral("AppCodeVersion is below 0.9.0"));
    Measurement version;
    version.name = QStringLiteral("AppCodeVersion");
    version.numeric = false;
    version.text = QStringLiteral("0.8\x01");
    version.expected = QStringLiteral(">= 0.9.0");
    version.outcome = Outcome::Fail;
    identify.measurements << version;
    bad.steps << identify;
    bad.steps << step(3, QStringLiteral("capture"), QStringLiteral("Speed <ripple>"), Outcome::Error,
                      QStringLiteral("The motor did not answer."));
    bad.steps << step(4, QStringLiteral("estop"), QStringLiteral("Emergency stop"), Outcome::Skipped,
                      QStringLiteral("not run after a failure"));
    r.motors << bad;
    r.settleOutcomes();
    return r;
}

}  // namespace commissiontest
