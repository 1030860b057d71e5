#include "records/recordspusher.h"

#include "records/recordsstore.h"

#include <QSet>

namespace {

constexpr int kBatch = 100;

}  // namespace

RecordsPusher::Result RecordsPusher::push(RecordsStore* local, RecordsStore* server, const Options& options) {
    Result result;
    QString error;
    const int total = local->waitingCount(&error);
    if (total < 0) {
        result.error = error;
        return result;
    }
    QSet<QString> tried;
    int done = 0;
    bool more = total > 0;
    while (more) {
        QStringList batch;
        if (!local->waitingRuns(kBatch, &batch, &error)) {
            result.error = error;
            break;
        }
        more = false;
        for (const QString& uuid : qAsConst(batch)) {
            if (options.limit > 0 && done >= options.limit)
                break;
            if (options.stop && options.stop())
                break;
            // A refused run comes round again at the end of the outbox: once per push is enough.
            if (tried.contains(uuid))
                continue;
            tried.insert(uuid);
            more = true;
            ++done;
            RunRecord run;
            if (!local->load(uuid, &run, &error)) {
                result.error = error;
                ++result.refused;
                local->noteSendFailure(uuid, error, &error);
                continue;
            }
            const RecordsStore::StoreResult stored = server->store(run, &error);
            if (stored == RecordsStore::StoreResult::Failed) {
                result.error = error;
                if (!server->ping()) {
                    result.serverLost = true;
                    more = false;
                    break;
                }
                ++result.refused;
                local->noteSendFailure(uuid, error, &error);
                continue;
            }
            ++(stored == RecordsStore::StoreResult::Stored ? result.sent : result.alreadyThere);
            if (!local->markSent(uuid, &error)) {
                // The run is on the server; the next push finds it there and only marks it.
                result.error = error;
                more = false;
                break;
            }
            if (options.progress)
                options.progress(done, total);
        }
        if ((options.limit > 0 && done >= options.limit) || (options.stop && options.stop()))
            break;
    }
    result.waiting = local->waitingCount(&error);
    return result;
}
