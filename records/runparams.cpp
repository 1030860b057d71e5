#include "records/runparams.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The runner attaches a table as a list of {"code", "group", "name", "type", "value", "writable"}.
std::optional<ParamBackup> fromEntries(const QJsonArray& entries, const MotorRecord& motor) {
    ParamBackup backup;
    backup.mcuId = motor.mcuId;
    backup.canId = motor.canId;
    backup.modelCode = motor.modelCode;
    backup.date = motor.startUtc;
    for (const QJsonValue& v : entries) {
        const QJsonObject e = v.toObject();
        const int code = e.value(QStringLiteral("code")).toInt(-1);
        if (code < 0 || code > 0xFFFF)
            return std::nullopt;
        ParamBackup::Item item;
        item.code = quint16(code);
        item.name = e.value(QStringLiteral("name")).toString();
        const QJsonValue type = e.value(QStringLiteral("type"));
        item.type = type.isString() ? ParamBackup::typeOf(type.toString()) : type.toInt(-1);
        item.value = e.value(QStringLiteral("value")).toVariant().toString();
        item.writable = e.value(QStringLiteral("writable")).toBool();
        if (e.value(QStringLiteral("group")).toInt() == 1)
            backup.identity.append({item.name, item.value});
        backup.items.append(item);
    }
    return backup;
}

}  // namespace

int RunParams::motorIndex(const RunRecord& run, quint64 mcuId) {
    for (int i = 0; i < run.motors.size(); ++i) {
        if (run.motors[i].mcuId == mcuId)
            return i;
    }
    return -1;
}

std::optional<ParamBackup> RunParams::of(const RunRecord& run, int motorIndex, QString* error) {
    if (motorIndex < 0 || motorIndex >= run.motors.size()) {
        *error = tr("The run has no such motor.");
        return std::nullopt;
    }
    const MotorRecord& motor = run.motors[motorIndex];
    bool sawTable = false;
    for (int s = motor.steps.size() - 1; s >= 0; --s) {
        const QVector<Attachment>& files = motor.steps[s].attachments;
        for (int a = files.size() - 1; a >= 0; --a) {
            if (files[a].mimeType != QLatin1String("application/json"))
                continue;
            QJsonParseError parse;
            const QJsonDocument doc = QJsonDocument::fromJson(files[a].data, &parse);
            if (doc.isArray()) {
                sawTable = true;
                if (auto backup = fromEntries(doc.array(), motor))
                    return backup;
            } else if (doc.isObject()) {
                QString why;
                if (auto backup = ParamBackup::fromJson(files[a].data, &why))
                    return backup;
            }
        }
    }
    *error = sawTable ? tr("The parameter table of motor 0x%1 in this run cannot be read.")
                            .arg(QString::number(motor.mcuId, 16))
                      : tr("This run did not read the parameter table of motor 0x%1.")
                            .arg(QString::number(motor.mcuId, 16));
    return std::nullopt;
}
