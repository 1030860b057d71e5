#include "commission/plan/limit.h"

#include <QRegularExpression>

#include <cmath>

namespace {

QString number(double v) {
    return QString::number(v, 'g', 10);
}

}  // namespace

Limit Limit::exactly(double value) {
    Limit l;
    l.hasLow = l.hasHigh = l.hasExpect = true;
    l.low = l.high = l.expect = value;
    return l;
}

Limit Limit::between(double low, double high) {
    Limit l;
    l.hasLow = l.hasHigh = true;
    l.low = low;
    l.high = high;
    return l;
}

Outcome Limit::judge(double value) const {
    // A reading that is not a number never passes, whatever the limits.
    if (!std::isfinite(value))
        return Outcome::Fail;
    if ((hasLow && value < low) || (hasHigh && value > high))
        return Outcome::Fail;
    if (marginal > 0 && ((hasLow && value - low < marginal) || (hasHigh && high - value < marginal)))
        return Outcome::Marginal;
    return Outcome::Pass;
}

Measurement Limit::measure(const QString& name, const QString& unit, double value) const {
    Measurement m;
    m.name = name;
    m.unit = unit;
    m.numeric = true;
    m.value = value;
    m.hasLow = hasLow;
    m.low = low;
    m.hasHigh = hasHigh;
    m.high = high;
    m.marginal = marginal;
    m.outcome = judge(value);
    return m;
}

QString Limit::text() const {
    if (hasLow && hasHigh)
        return low == high ? QStringLiteral("= %1").arg(number(low))
                           : QStringLiteral("%1 .. %2").arg(number(low), number(high));
    if (hasHigh)
        return QStringLiteral("<= %1").arg(number(high));
    if (hasLow)
        return QStringLiteral(">= %1").arg(number(low));
    return QString();
}

Outcome TextCheck::judge(const QString& text) const {
    switch (kind) {
        case Kind::Equals:
            return text == value ? Outcome::Pass : Outcome::Fail;
        case Kind::Matches:
            return QRegularExpression(value).match(text).hasMatch() ? Outcome::Pass : Outcome::Fail;
        case Kind::AtLeast: {
            QVector<qint64> have, least;
            if (!parseVersion(text, &have) || !parseVersion(value, &least))
                return Outcome::Fail;
            return compareVersions(have, least) >= 0 ? Outcome::Pass : Outcome::Fail;
        }
    }
    return Outcome::Fail;
}

Measurement TextCheck::measure(const QString& name, const QString& text) const {
    Measurement m;
    m.name = name;
    m.numeric = false;
    m.text = text;
    m.expected = describe();
    m.outcome = judge(text);
    return m;
}

QString TextCheck::describe() const {
    switch (kind) {
        case Kind::Equals:
            return QStringLiteral("= %1").arg(value);
        case Kind::Matches:
            return QStringLiteral("matches %1").arg(value);
        case Kind::AtLeast:
            return QStringLiteral(">= %1").arg(value);
    }
    return QString();
}

bool TextCheck::parseVersion(const QString& text, QVector<qint64>* parts) {
    // An optional leading "v" is common in version entries ("v1.2.0").
    static const QRegularExpression pattern(QStringLiteral("^\\s*[vV]?(\\d{1,9}(?:\\.\\d{1,9})*)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    parts->clear();
    for (const QString& p : match.captured(1).split(QLatin1Char('.')))
        parts->append(p.toLongLong());
    return true;
}

int TextCheck::compareVersions(const QVector<qint64>& a, const QVector<qint64>& b) {
    // Missing parts count as 0: "1.2" equals "1.2.0".
    for (int i = 0; i < std::max(a.size(), b.size()); ++i) {
        const qint64 x = a.value(i, 0);
        const qint64 y = b.value(i, 0);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}
