#include "app/appinfo.h"

#include <QStringList>

QString AppInfo::version() {
    return QStringLiteral("0.0.8");
}

QString AppInfo::normalizeDate(const QString& compilerDate) {
    return compilerDate.simplified();
}

QString AppInfo::buildDate() {
    return normalizeDate(QStringLiteral(__DATE__));
}
