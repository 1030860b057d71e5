#include "records/runquery.h"

#include <QHash>

#include <algorithm>

QVector<RunSummary> RunSummaries::merge(const QVector<RunSummary>& server, const QVector<RunSummary>& local,
                                        int limit) {
    QVector<RunSummary> all = server;
    QHash<QString, int> seen;
    for (int i = 0; i < all.size(); ++i) {
        all[i].waiting = false;
        seen.insert(all[i].uuid, i);
    }
    for (const RunSummary& run : local) {
        if (!seen.contains(run.uuid))
            all.append(run);
    }
    std::stable_sort(all.begin(), all.end(), [](const RunSummary& a, const RunSummary& b) {
        if (a.startUtc != b.startUtc)
            return a.startUtc > b.startUtc;
        return a.uuid > b.uuid;
    });
    if (limit > 0 && all.size() > limit)
        all.resize(limit);
    return all;
}
