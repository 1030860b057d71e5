#pragma once

#include "commission/runrecord.h"
#include "records/motorhistory.h"
#include "records/recordssettings.h"
#include "records/runquery.h"

#include <QCoreApplication>

#include <memory>

class RecordsStore;

// The station's file and the line's server read as one, for the window and the command line.
// The file answers without the network and holds what still waits to be sent; the server holds
// every station's runs. A lookup opens its connections on the thread that uses it (a worker's,
// for the window) when first needed and closes them with itself. Looking never creates the
// station's file.
class RecordsLookup {
    Q_DECLARE_TR_FUNCTIONS(RecordsLookup)

public:
    enum class Match { Found, None, Ambiguous, Failed };

    explicit RecordsLookup(const RecordsSettings& settings, bool localOnly = false);
    ~RecordsLookup();
    RecordsLookup(const RecordsLookup&) = delete;
    RecordsLookup& operator=(const RecordsLookup&) = delete;

    // Why the server was not asked although one is configured; empty otherwise.
    QString serverNote() const { return m_serverNote; }
    // False when neither the file nor the server could be read (*error says why). A station
    // without a file yet and without a server finds nothing, which is no failure.
    bool find(const RunQuery& query, QVector<RunSummary>* runs, QString* error);
    // A motor's runs from both, once each, oldest first, with the changes marked across all.
    bool history(quint64 mcuId, QVector<MotorRun>* timeline, QString* error);
    bool lastRun(quint64 mcuId, MotorRun* run, bool* found, QString* error);
    // A run by its UUID or a unique start of it, the station's file first.
    Match load(const QString& uuidOrPrefix, RunRecord* run, QString* error);
    bool knownChoices(QStringList* plans, QStringList* stations, QString* error);

private:
    RecordsStore* local();
    RecordsStore* server();

    RecordsSettings m_settings;
    bool m_localOnly;
    std::unique_ptr<RecordsStore> m_local;
    std::unique_ptr<RecordsStore> m_server;
    bool m_localTried = false;
    bool m_serverTried = false;
    QString m_localError;
    QString m_serverNote;
};
