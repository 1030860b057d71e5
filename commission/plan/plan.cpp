#include "commission/plan/plan.h"

#include "link/param/parambackup.h"

const QStringList& Plan::kinds() {
    static const QStringList list = {
        QStringLiteral("detect"),    QStringLiteral("identify"), QStringLiteral("set-can-id"),
        QStringLiteral("flash"),     QStringLiteral("params"),   QStringLiteral("zero"),
        QStringLiteral("calibrate"), QStringLiteral("move"),     QStringLiteral("capture"),
        QStringLiteral("estop"),     QStringLiteral("prompt"),   QStringLiteral("wait"),
    };
    return list;
}

bool Plan::allowsAllMotors(const QString& kind) {
    // Only steps that cannot make two motors collide or fight over the bus's answers: each
    // motor calibrates, takes its parameters and records on its own.
    return kind == QLatin1String("calibrate") || kind == QLatin1String("params") ||
           kind == QLatin1String("capture");
}

QString Plan::moveModeName(MoveMode mode) {
    switch (mode) {
        case MoveMode::Mit:
            return QStringLiteral("mit");
        case MoveMode::Position:
            return QStringLiteral("position");
        case MoveMode::Velocity:
            return QStringLiteral("velocity");
        case MoveMode::Current:
            return QStringLiteral("current");
    }
    return QString();
}

QString Plan::channelKey(const QString& channel) {
    if (channel.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        if (const auto code = ParamBackup::parseCode(channel))
            return QString::number(*code);
    }
    return channel;
}
