#pragma once

#include "commission/runrecord.h"
#include "records/recordspusher.h"
#include "records/recordssettings.h"

#include <QObject>

#include <memory>
#include <mutex>

class RecordsForwarder;

// The station's records as the rest of the program sees them: every run goes to the station's
// file first, in one transaction, whatever the network does; with a server configured, a
// sender forwards it in the background (startSending) or on request (sendWaiting).
//
// Lives on the thread that first asks for it (the GUI's); record() may be called from any
// thread, since it opens a connection of its own for each run.
class StationRecords : public QObject {
    Q_OBJECT

public:
    static StationRecords* instance();

    // Where to keep and send runs; restarts a running sender for a new server.
    void configure(const RecordsSettings& settings);
    RecordsSettings settings() const;

    // Stores the run in the station's file. False with the reason (disk full, damaged file):
    // nothing of the run is kept then, and the caller keeps its report files and says so.
    bool record(const RunRecord& run, QString* error);

    // The background sender (nothing without a server); stopped when the program quits.
    void startSending();
    void stopSending();
    bool isSending() const;
    // Wakes the background sender now.
    void sendNow();
    // Sends every waiting run on the calling thread; false when no server is configured or it
    // cannot be reached (the result says how far it got).
    bool sendWaiting(RecordsPusher::Result* result, QString* error,
                     const std::function<void(int done, int total)>& progress = {});
    // Runs waiting to be sent, as the background sender last counted them (-1: not known).
    int waiting() const;
    QString sendError() const;

signals:
    void recorded(const QString& uuid);
    void waitingChanged(int count);
    void sendFailed(const QString& reason);
    void sendRecovered();

private:
    StationRecords();
    ~StationRecords() override;

    mutable std::mutex m_mutex;
    RecordsSettings m_settings;                     // guarded by m_mutex: record() reads it from any thread
    std::unique_ptr<RecordsForwarder> m_forwarder;  // this object's thread only
};
