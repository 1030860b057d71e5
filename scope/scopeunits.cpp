#include "scope/scopeunits.h"

#include <QCoreApplication>

QString ScopeUnits::unitOf(const QString& name) {
    const QString n = name.toLower();
    if (n.contains(QLatin1String("count")))
        return QString();
    // Order matters: "mechVel" is a velocity although it names the mechanics.
    if (n.contains(QLatin1String("vel")) || n.contains(QLatin1String("spd")) ||
        n.contains(QLatin1String("speed")))
        return QStringLiteral("rad/s");
    if (n.contains(QLatin1String("pos")) || n.contains(QLatin1String("angle")))
        return QStringLiteral("rad");
    if (n.contains(QLatin1String("torque")))
        return QStringLiteral("N·m");
    if (n.startsWith(QLatin1Char('i')) || n.contains(QLatin1String("cur")))
        return QStringLiteral("A");
    if (n.contains(QLatin1String("vbus")) || n.contains(QLatin1String("volt")))
        return QStringLiteral("V");
    return QString();
}

QString ScopeUnits::axisTitle(const QStringList& units) {
    QStringList distinct;
    for (const QString& unit : units) {
        if (!unit.isEmpty() && !distinct.contains(unit))
            distinct << unit;
    }
    const QString value = QCoreApplication::translate("ScopeUnits", "Value");
    return distinct.isEmpty() ? value
                              : QStringLiteral("%1 (%2)").arg(value, distinct.join(QStringLiteral(", ")));
}
