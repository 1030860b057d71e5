#include "commission/report/reportfolder.h"

#include "commission/htmlreport.h"
#include "commission/junitreport.h"
#include "commission/report/pdfreport.h"
#include "commission/reporttext.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QUuid>

QString ReportFolder::folderName(const RunRecord& record) {
    const QString time =
        ReportText::fileTime(record.startUtc.isValid() ? record.startUtc : QDateTime::currentDateTimeUtc());
    if (record.motors.size() == 1)
        return time + QLatin1Char('-') + ReportText::mcuId(record.motors.first().mcuId);
    if (record.motors.isEmpty())
        return time + QStringLiteral("-no-motor");
    return time + QStringLiteral("-%1-motors").arg(record.motors.size());
}

bool ReportFolder::writeFile(const QString& path, const QByteArray& data, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = tr("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.write(data) != data.size() || file.error() != QFileDevice::NoError) {
        *error = tr("cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = tr("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

std::optional<ReportFolder::Written> ReportFolder::write(const RunRecord& record, const QString& baseDir,
                                                         QString* error) {
    QDir base(baseDir);
    if (!base.exists() && !QDir().mkpath(base.absolutePath())) {
        *error = tr("cannot create the report folder %1").arg(base.absolutePath());
        return std::nullopt;
    }
    const QString name = folderName(record);
    const QString partial = base.absoluteFilePath(
        QStringLiteral(".%1.partial-%2").arg(name, QUuid::createUuid().toString(QUuid::Id128)));
    if (!QDir().mkdir(partial)) {
        *error = tr("cannot create the report folder %1").arg(partial);
        return std::nullopt;
    }
    Written written;
    auto put = [&](const QString& file, const QByteArray& data) {
        if (!writeFile(QDir(partial).filePath(file), data, error))
            return false;
        written.files << file;
        return true;
    };
    bool ok =
        put(QStringLiteral("report.json"), QJsonDocument(record.toJson()).toJson(QJsonDocument::Indented)) &&
        put(QStringLiteral("junit.xml"), JUnitReport::render(record));
    for (int i = 0; ok && i < record.motors.size(); ++i) {
        const MotorRecord& motor = record.motors[i];
        const QString stem = ReportText::motorFileStem(motor, record.startUtc);
        ok = put(stem + QStringLiteral(".html"), HtmlReport::render(record, i)) &&
             put(stem + QStringLiteral(".pdf"), PdfReport::render(record, i));
        for (const StepRecord& step : motor.steps) {
            for (const Attachment& a : step.attachments) {
                if (ok)
                    ok = put(ReportText::attachmentFile(motor, a), a.data);
            }
        }
    }
    if (!ok) {
        QDir(partial).removeRecursively();
        return std::nullopt;
    }
    // Two runs in the same second get "-2", "-3"... rather than one replacing the other.
    QString target = base.absoluteFilePath(name);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base.absoluteFilePath(QStringLiteral("%1-%2").arg(name).arg(n));
    if (!QDir().rename(partial, target)) {
        *error = tr("cannot put the report folder in place at %1").arg(target);
        QDir(partial).removeRecursively();
        return std::nullopt;
    }
    written.folder = target;
    return written;
}
