#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include "commission/runrecord.h"

// One motor's report as a single HTML file that opens in any browser without anything beside
// it: inline CSS, no script, and each capture drawn as inline SVG (one path per channel, of
// class "trace"). Every text from the plan or the motor is escaped.
class HtmlReport {
    Q_DECLARE_TR_FUNCTIONS(HtmlReport)

public:
    static QByteArray render(const RunRecord& record, int motorIndex);
    // The capture's plot as an SVG element, or an explanation when the recording is unreadable.
    static QString captureSvg(const QByteArray& csv, const QString& title);
};
