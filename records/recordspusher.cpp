#include "records/recordspusher.h"

#include "records/recordsstore.h"

#include <QSet>

#include <algorithm>

namespace {

constexpr int kFetch = 100;
// Runs per server transaction: one wait for the server's disk per batch, not per run.
constexpr int kPerTransaction = 50;

}  // namespace

RecordsPusher::Result RecordsPusher::push(RecordsStore* local, RecordsStore* server, const Options& options) {
    Result result;
    QString error;
    const int total = local->waitingCount(&error);
    if (total < 0) {
        result.error = error;
        return result;
    }
    const auto stopped = [&] { return options.stop && options.stop(); };
    const auto refuse = [&](const QString& uuid, const QString& why) {
        result.error = why;
        ++result.refused;
        QString ignored;
        local->noteSendFailure(uuid, why, &ignored);
    };
    QSet<QString> tried;
    int done = 0;
    bool going = total > 0;
    while (going) {
        QStringList fetched;
        if (!local->waitingRuns(kFetch, &fetched, &error)) {
            result.error = error;
            break;
        }
        // A refused run comes round again at the end of the outbox: once per push is enough.
        QStringList fresh;
        for (const QString& uuid : qAsConst(fetched)) {
            if (!tried.contains(uuid))
                fresh << uuid;
        }
        going = !fresh.isEmpty();
        for (int at = 0; going && at < fresh.size(); at += kPerTransaction) {
            if (stopped() || (options.limit > 0 && done >= options.limit)) {
                going = false;
                break;
            }
            int count = qMin(kPerTransaction, fresh.size() - at);
            if (options.limit > 0)
                count = qMin(count, options.limit - done);
            QVector<RunRecord> runs;
            for (const QString& uuid : fresh.mid(at, count)) {
                tried.insert(uuid);
                ++done;
                RunRecord run;
                if (local->load(uuid, &run, &error))
                    runs << run;
                else
                    refuse(uuid, error);
            }
            // The same order on every station, so that two of them sending the same runs take
            // the server's locks in the same order and never wait for each other in a circle.
            std::sort(runs.begin(), runs.end(),
                      [](const RunRecord& a, const RunRecord& b) { return a.uuid < b.uuid; });
            QVector<RecordsStore::StoreResult> results;
            QStringList errors;
            if (!server->storeBatch(runs, &results, &errors, &error)) {
                if (!server->ping()) {
                    result.error = error;
                    result.serverLost = true;
                    going = false;
                    break;
                }
                // The batch as a whole failed on a live server: one at a time, so that one bad
                // run cannot hold the others back.
                for (int i = 0; i < runs.size(); ++i)
                    results[i] = server->store(runs[i], &errors[i]);
            }
            QStringList sent;
            for (int i = 0; i < runs.size(); ++i) {
                switch (results[i]) {
                    case RecordsStore::StoreResult::Stored:
                        ++result.sent;
                        sent << runs[i].uuid;
                        break;
                    case RecordsStore::StoreResult::AlreadyStored:
                        ++result.alreadyThere;
                        sent << runs[i].uuid;
                        break;
                    case RecordsStore::StoreResult::Failed:
                        if (!server->ping()) {
                            result.error = errors[i];
                            result.serverLost = true;
                            going = false;
                        } else {
                            refuse(runs[i].uuid, errors[i]);
                        }
                        break;
                }
            }
            // Out of the outbox only after the server committed; should this fail, the next
            // push finds the runs on the server and only takes them out.
            if (!local->markSent(sent, &error)) {
                result.error = error;
                going = false;
                break;
            }
            if (options.progress)
                options.progress(done, total);
        }
    }
    result.waiting = local->waitingCount(&error);
    return result;
}
