#pragma once

// Reading back today's log file, for tests that check the exact lines the framework logs.

#include <QFile>
#include <QString>
#include <QStringList>

#include "framework/log/flog.h"

namespace logfile {

inline QString fileName() {
    return kx::FLog::fileName(QStringLiteral("./log/global"), QStringLiteral("log"));
}

inline QStringList lines() {
    QFile file(fileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The messages without their "[E|MM/dd hh:mm:ss.zzz]" tags.
inline QStringList messages() {
    QStringList result;
    for (const QString& line : lines())
        result.append(line.mid(line.indexOf(QLatin1Char(']')) + 1));
    return result;
}

}  // namespace logfile
