#pragma once

// The mode of every motor on the simulated bench ("reset", "run", "brake", "calibration") by
// CAN ID, as the bench itself tells it on its control channel.

#include <QMap>
#include <QRegularExpression>
#include <QTest>

#include "tests/link/simbench.h"

namespace commissiontest {

inline QMap<int, QString> simModes(linktest::SimBench& sim, int motors) {
    QProcess& process = sim.process();
    process.readAllStandardOutput();
    sim.command("status");
    QString text;
    const bool complete = QTest::qWaitFor(
        [&] {
            text += QString::fromUtf8(process.readAllStandardOutput());
            return text.contains(QLatin1String("ok rate")) && text.endsWith(QLatin1Char('\n')) &&
                   text.count(QLatin1String(", mode ")) >= motors;
        },
        10000);
    if (!complete)
        qWarning("incomplete status: %s", qPrintable(text));
    QMap<int, QString> modes;
    static const QRegularExpression motorLine(QStringLiteral("CAN (\\d+), MCU \\S+, mode (\\w+)"));
    auto it = motorLine.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        modes.insert(m.captured(1).toInt(), m.captured(2));
    }
    return modes;
}

}  // namespace commissiontest
