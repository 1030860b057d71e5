#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

#include "commission/runrecord.h"

// Writes every report of a run into a folder of its own under a base folder: report.json (the
// record), junit.xml, and per motor an HTML and a PDF report named by MCU ID and time, with the
// recordings beside them as CSV. The folder is filled under a temporary name and renamed when
// complete, so a reader (or a line's file collector) never sees half a report.
class ReportFolder {
    Q_DECLARE_TR_FUNCTIONS(ReportFolder)

public:
    struct Written {
        QString folder;     // absolute
        QStringList files;  // names inside it
    };

    static std::optional<Written> write(const RunRecord& record, const QString& baseDir, QString* error);
    // "20261209T110614Z-3a10c5e700001001", "...-3-motors" for a bus.
    static QString folderName(const RunRecord& record);
    // Replaces path with data only once every byte is written (QSaveFile, each write checked:
    // commit() alone can report success after a failed write).
    static bool writeFile(const QString& path, const QByteArray& data, QString* error);
};
