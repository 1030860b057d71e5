#pragma once

#include "commission/runrecord.h"
#include "records/motorhistory.h"
#include "records/recordslocation.h"
#include "records/runquery.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>
#include <QThread>

#include <memory>

class RecordsBackend;

// Commissioning runs in a database: a station's SQLite file or a line's PostgreSQL server,
// with the same schema and the same calls on both. A store holds one connection, which is
// used only on the thread that opened it: another thread opens a store of its own.
//
// Every call reports failure by its result and the reason in *error; nothing throws. A run is
// written in one transaction, so a killed program or a full disk leaves it either whole or
// absent, and it is stored once under its UUID however often it is offered.
class RecordsStore {
    Q_DECLARE_TR_FUNCTIONS(RecordsStore)

public:
    struct Options {
        // The station's own store: every new run also waits in the outbox until a server has it.
        bool queueForSending = false;
        // False for a station connection that only takes runs out of the outbox: what a power
        // cut undoes there is sent again, and the server keeps a run once.
        bool durable = true;
    };
    enum class StoreResult { Stored, AlreadyStored, Failed };

    // Attachments beyond this are refused when stored and when read back.
    static constexpr qint64 kMaxAttachmentBytes = 64 * 1024 * 1024;

    explicit RecordsStore(const RecordsLocation& location);
    RecordsStore(const RecordsLocation& location, Options options);
    ~RecordsStore();
    RecordsStore(const RecordsStore&) = delete;
    RecordsStore& operator=(const RecordsStore&) = delete;

    // Connects and creates or migrates the schema. A file that is not a records database, or
    // one of a newer schema, is refused and left untouched.
    bool open(QString* error);
    void close();
    bool isOpen() const;
    const RecordsLocation& location() const { return m_location; }
    // A cheap round trip: false once the connection is gone.
    bool ping();

    StoreResult store(const RunRecord& run, QString* error);
    // Several runs in one transaction (one wait for the disk), each under a savepoint of its
    // own: a run that fails leaves the others stored. False, with every run Failed, when the
    // transaction itself fails; errors[i] says why run i failed.
    bool storeBatch(const QVector<RunRecord>& runs, QVector<StoreResult>* results, QStringList* errors,
                    QString* error);
    bool load(const QString& uuid, RunRecord* run, QString* error);
    // The UUIDs that equal the text or start with it (at most `limit`, whole matches first).
    bool matchRuns(const QString& uuidOrPrefix, int limit, QStringList* uuids, QString* error);
    bool find(const RunQuery& query, QVector<RunSummary>* runs, QString* error);
    // Every run of one motor, oldest first, with firmware and parameter changes marked.
    bool history(quint64 mcuId, QVector<MotorRun>* timeline, QString* error);
    // The motor's newest run; *found false when the store has none.
    bool lastRun(quint64 mcuId, MotorRun* run, bool* found, QString* error);
    // The plans and stations seen so far, for the search choices.
    bool knownPlans(QStringList* plans, QString* error);
    bool knownStations(QStringList* stations, QString* error);

    // The outbox of runs waiting to be sent: how many, which (those tried least first), and
    // taking a run out once a server has it or noting why a server refused it.
    int waitingCount(QString* error);
    bool waitingRuns(int limit, QStringList* uuids, QString* error);
    bool markSent(const QStringList& uuids, QString* error);
    bool noteSendFailure(const QString& uuid, const QString& reason, QString* error);

    // "1b4e28ba-2fa1-11d2-883f-0016d3cca427" from any form QUuid reads; empty when not a UUID.
    static QString normalUuid(const QString& text);

private:
    bool exec(const QString& sql, QString* error);
    bool execAll(const QStringList& statements, QString* error);
    bool begin(QString* error);
    void rollback();
    // Checks what the database would refuse less clearly; the UUID normalised, or empty.
    QString validate(const RunRecord& run, QString* error) const;
    // The whole run inside an open transaction.
    StoreResult insertRun(const RunRecord& run, const QString& uuid, QString* error);
    // Runs one writing statement with "?" for each value: bound, or with the values written
    // into it where the back end does better that way.
    bool write(QSqlQuery* query, const QString& sql, const QVariantList& values);
    bool readSummaries(const QString& where, const QVariantList& binds, int limit, QVector<RunSummary>* runs,
                       QString* error);
    bool readMotorRuns(const QString& tail, const QVariantList& binds, QVector<MotorRun>* runs,
                       QString* error);
    bool checkThread(QString* error) const;
    QString failure(const QString& what, const QString& why) const;

    RecordsLocation m_location;
    Options m_options;
    std::unique_ptr<RecordsBackend> m_backend;
    QString m_connectionName;
    QSqlDatabase m_db;
    QThread* m_thread = nullptr;  // where the connection was opened
};
