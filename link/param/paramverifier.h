#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <array>
#include <functional>

#include "link/flows/linklease.h"
#include "link/param/parambackup.h"
#include "link/param/paramstore.h"

class ParamFeature;
class ParamWalker;

namespace kx {
class DataObject;
}

// Serial records carry no checksum: a bit flipped on the way looks like a valid frame, so a
// write the motor acknowledged may still have stored another value, and a table read once may
// hold a wrong name or number. What this class reports as done has been read back.
//
// apply() writes entries one by one, reads each back (type 9) and compares it with what was
// sent; a mismatch is written again, a bounded number of times. Only when every entry read
// back right does it save them in the motor's flash, and then it reads them once more. An entry
// that a damaged request reached instead of the one meant (the reply names another code) is
// read and, if it changed, put back.
//
// readVerified() makes a table right enough for a backup: the description is taken again
// until the counts and each entry's name, type and limits have arrived alike twice, and every
// value is read with type 9 until a read agrees with the one before it (the description's value
// counts as the first). Live measurements change between reads: one read whose type agrees
// with the description is enough for them.
//
// Both run from the event loop and end with finished(); the results stay until the next start.
// Lives on the port's thread, like the walker it drives.
class ParamVerifier : public QObject {
    Q_OBJECT

public:
    struct Options {
        // Writes of one entry, and reads of one value after the first.
        int attempts = 4;
        // apply: save in the motor's flash once every entry read back right.
        bool save = true;
        // Longest wait for one read, write or save; a description gets its own, longer limit.
        int stepTimeoutMs = 5000;
        int describeTimeoutMs = 30000;
    };

    struct Written {
        quint16 code = 0;
        QString name;
        QString sent;               // the value written, as text
        QString readBack;           // the last value read back; empty when no read succeeded
        bool acknowledged = false;  // the motor acknowledged a write of it
        bool matched = false;       // the value read back is the value sent
        int retries = 0;            // writes after the first
        bool repaired = false;      // not asked for: a damaged write reached it and it was put back
        QString error;              // the last failure, for people
    };
    struct ApplyResult {
        bool ok = false;
        bool saved = false;
        QVector<Written> entries;
        QString reason;  // for people; empty on success
        // "0X2009 limit_spd" of every entry that did not read back right.
        QStringList failed() const;
    };

    struct Read {
        quint16 code = 0;
        QString name;
        QString value;
        int reads = 0;
        bool verified = false;
    };
    struct ReadResult {
        bool ok = false;
        int descriptions = 0;  // descriptions taken
        QVector<Read> entries;
        QString reason;
    };

    explicit ParamVerifier(kx::DataObject* device, QObject* parent = nullptr);
    ~ParamVerifier() override;

    // Each returns false (and emits nothing) when another run is under way or the link, the
    // feature or the device is missing.
    bool apply(const QVector<ParamRestorePlan::Write>& writes, const Options& options);
    bool apply(const QVector<ParamRestorePlan::Write>& writes);
    // Replaces the motor's table in the store with one that was described alike twice and
    // whose values each read the same twice.
    bool readVerified(const Options& options);
    bool readVerified();
    // Ends a run under way without finished().
    void stop();
    // The lease its walks run under (a flow's).
    void setLease(const LinkLease::Token& lease);

    bool running() const { return m_mode != Mode::None; }
    const ApplyResult& applyResult() const { return m_apply; }
    const ReadResult& readResult() const { return m_read; }

    // One description of the table as it arrived.
    struct Description {
        QVector<ParamEntry> entries;
        std::array<int, ParamStore::kGroups> counts{};
        int configCount = 0;
    };
    // Same name, type, limits and property.
    static bool sameDefinition(const ParamEntry& x, const ParamEntry& y);

    // The edits pending in the store (the page's red cells) as writes.
    static QVector<ParamRestorePlan::Write> pendingWrites(quint8 canId);
    // What a write of the entry sends, as text.
    static QString valueText(const ParamEntry& entry, const QByteArray& bytes);

signals:
    // done of total entries (apply) or values (readVerified).
    void progress(int done, int total);
    void finished(bool ok);

private:
    enum class Mode { None, Apply, Read };
    enum class Origin { Asked, Stray };

    struct Job {
        ParamRestorePlan::Write write;
        QByteArray before;  // what the store held before the run
        Origin origin = Origin::Asked;
        int writes = 0;
        bool checkFirst = false;  // a stray: read it before deciding to write
    };

    quint8 canId() const;
    ParamStore* store() const;
    // Runs one walk of the walker; then(ok) follows from the event loop.
    void runStep(const std::function<bool()>& start, int timeoutMs, std::function<void(bool)> then);
    void onStepFinished(bool ok);
    void onStepTimeout();
    void abort(const QString& reason);
    void end(bool ok);

    // apply
    void nextJob();
    void writeJob(int index);
    void readBack(int index, int tries);
    void afterReadBack(int index, bool read);
    bool readBackMatches(const Job& job, QString* text) const;
    void noteStray(int index);
    void saveTable(int tries);
    void checkAfterSave(int index, int tries);
    void finishApply(bool ok, const QString& reason);

    // readVerified
    void describeAgain();
    bool agreeOnDescription();
    void readValue(int index, const QString& previous);

    QPointer<kx::DataObject> m_device;
    QPointer<ParamFeature> m_feature;
    ParamWalker* m_walker;
    QTimer m_watchdog;
    Mode m_mode = Mode::None;
    Options m_options;
    // The run under way; a continuation of an earlier run finds another number and returns.
    quint64 m_run = 0;
    std::function<void(bool)> m_then;

    QVector<Job> m_jobs;
    int m_cursor = 0;
    QHash<quint16, QByteArray> m_expected;  // code -> bytes the motor should hold
    ApplyResult m_apply;

    QVector<Description> m_descriptions;  // every complete description of this run
    QVector<ParamEntry> m_description;    // the table agreed on
    ReadResult m_read;
};
