#pragma once

#include <QString>

#include "commission/runrecord.h"

// A numeric limit of a plan, already resolved to bounds: the plan may write it as min/max, as
// an expected value with an absolute or relative tolerance, or (for counts) as a plain number.
// A value inside the bounds but within `marginal` of one of them is MARGINAL.
struct Limit {
    bool hasLow = false;
    double low = 0;
    bool hasHigh = false;
    double high = 0;
    double marginal = 0;  // absolute, 0 for no band
    bool hasExpect = false;
    double expect = 0;  // the nominal value, shown in reports

    static Limit exactly(double value);
    static Limit between(double low, double high);

    Outcome judge(double value) const;
    // The value as a measurement carrying these limits and its outcome.
    Measurement measure(const QString& name, const QString& unit, double value) const;
    // "0.95 .. 1.05", "<= 2", ">= 0.5", "= 3" for people.
    QString text() const;
};

// A check on a text the motor reports (a firmware version, a model name).
struct TextCheck {
    enum class Kind { Equals, Matches, AtLeast };
    Kind kind = Kind::Equals;
    QString value;  // the text, the regular expression or the lowest version

    Outcome judge(const QString& text) const;
    Measurement measure(const QString& name, const QString& text) const;
    // "= 1.2", "matches ^fw-", ">= 0.9.0".
    QString describe() const;

    // Dotted versions compared part by part as numbers ("0.9.10" is above "0.9.4"); false for
    // a text that is not such a version.
    static bool parseVersion(const QString& text, QVector<qint64>* parts);
    static int compareVersions(const QVector<qint64>& a, const QVector<qint64>& b);
};
