#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QSqlDatabase;
class RecordsBackend;

// The records schema, the same on both back ends, and the steps that bring a database of any
// earlier version up to date. Version 1: runs, motors, steps, measurements and attachments
// with indexes on MCU ID and time. Version 2: the outbox of runs waiting to be sent to a
// server (runs kept before forwarding existed wait there too), indexes on CAN ID and station.
class RecordsSchema {
    Q_DECLARE_TR_FUNCTIONS(RecordsSchema)

public:
    static constexpr int kLatest = 2;

    // The version of an open database: 0 for one without records tables, -1 (with the reason)
    // when it cannot be read.
    static int version(QSqlDatabase* db, QString* error);
    // Brings the database to `target` in one transaction that other programs wait for. A
    // database newer than this program knows is refused and left as it is.
    static bool migrate(QSqlDatabase* db, const RecordsBackend& backend, QString* error,
                        int target = kLatest);
    // The statements of one step (from version - 1 to version), with the back end's types.
    static QStringList statements(int version, const RecordsBackend& backend);
};
