#pragma once

#include "records/recordslocation.h"

#include <QCoreApplication>
#include <QString>

// Where this program keeps its records: the station's own file (records.db in the working
// directory unless configured otherwise) and, when one is configured, the line's server.
struct RecordsSettings {
    Q_DECLARE_TR_FUNCTIONS(RecordsSettings)

public:
    RecordsLocation local;
    RecordsLocation server;

    static QString defaultFileName() { return QStringLiteral("records.db"); }

    // "config.records.url" from the data tree, or from ./config.xml when the tree has none
    // (the command-line tool reads the configuration only for the link).
    static QString configuredUrl();
    // The configured location, with an explicit --records value over it: a postgresql:// URL
    // names the server, anything else the station's file. False (with the reason) for a
    // value that is neither.
    static bool resolve(const QString& configured, const QString& option, RecordsSettings* settings,
                        QString* error);
};
