#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include "commission/runrecord.h"

// How every report writes the values of a run record, so the JSON, JUnit, HTML and PDF forms
// agree on what a reader sees.
class ReportText {
    Q_DECLARE_TR_FUNCTIONS(ReportText)

public:
    // "3a10c5e700001001" (as in report.json).
    static QString mcuId(quint64 id);
    // "2026-12-09 11:06:14 UTC"; empty for an invalid time.
    static QString time(const QDateTime& utc);
    // "20261209T110614Z", for file names.
    static QString fileTime(const QDateTime& utc);
    // "12.3 s", "850 ms".
    static QString duration(double seconds);
    // "1.571 rad", "OK" for a text measurement's text.
    static QString value(const Measurement& m);
    // "1.52 .. 1.62 (MARGINAL within 0.01)", ">= 0.9.0", "" when unlimited.
    static QString limits(const Measurement& m);
    // "model 0", "unknown"
    static QString model(int code);
    // A motor's heading: "Motor 3a10c5e700001001 (CAN ID 1)".
    static QString motorTitle(const MotorRecord& motor);
    // The base name of a motor's HTML and PDF report: "<MCU ID>-<time>".
    static QString motorFileStem(const MotorRecord& motor, const QDateTime& runStart);
    // The file an attachment of a motor's step is written to in the report folder.
    static QString attachmentFile(const MotorRecord& motor, const Attachment& attachment);
};
