#include "records/recordslookup.h"

#include "records/recordsstore.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

RecordsLookup::RecordsLookup(const RecordsSettings& settings, bool localOnly)
    : m_settings(settings), m_localOnly(localOnly) {}

RecordsLookup::~RecordsLookup() = default;

RecordsStore* RecordsLookup::local() {
    if (!m_localTried) {
        m_localTried = true;
        if (!QFileInfo::exists(m_settings.local.path)) {
            m_localError = tr("No records at %1 yet.").arg(m_settings.local.path);
        } else {
            m_local = std::make_unique<RecordsStore>(m_settings.local);
            if (!m_local->open(&m_localError))
                m_local.reset();
        }
    }
    return m_local.get();
}

RecordsStore* RecordsLookup::server() {
    if (!m_serverTried) {
        m_serverTried = true;
        if (m_settings.server.isServer() && !m_localOnly) {
            m_server = std::make_unique<RecordsStore>(m_settings.server);
            if (!m_server->open(&m_serverNote))
                m_server.reset();
        }
    }
    return m_server.get();
}

bool RecordsLookup::find(const RunQuery& query, QVector<RunSummary>* runs, QString* error) {
    runs->clear();
    QVector<RunSummary> fromServer, fromLocal;
    if (server() && !server()->find(query, &fromServer, &m_serverNote))
        m_server.reset();
    if (local() && !local()->find(query, &fromLocal, error))
        return false;
    if (!m_local && !m_server && QFileInfo::exists(m_settings.local.path)) {
        *error = m_localError;
        return false;
    }
    *runs = RunSummaries::merge(fromServer, fromLocal, query.limit);
    return true;
}

bool RecordsLookup::history(quint64 mcuId, QVector<MotorRun>* timeline, QString* error) {
    timeline->clear();
    QVector<MotorRun> fromServer, fromLocal;
    if (server() && !server()->history(mcuId, &fromServer, &m_serverNote))
        m_server.reset();
    if (local() && !local()->history(mcuId, &fromLocal, error))
        return false;
    QSet<QString> seen;
    for (const MotorRun& run : fromServer)
        seen.insert(run.runUuid);
    *timeline = fromServer;
    for (const MotorRun& run : fromLocal) {
        if (!seen.contains(run.runUuid))
            timeline->append(run);
    }
    std::stable_sort(timeline->begin(), timeline->end(), [](const MotorRun& a, const MotorRun& b) {
        return a.startUtc != b.startUtc ? a.startUtc < b.startUtc : a.runUuid < b.runUuid;
    });
    MotorHistory::markChanges(timeline);
    return true;
}

bool RecordsLookup::lastRun(quint64 mcuId, MotorRun* run, bool* found, QString* error) {
    *found = false;
    for (RecordsStore* store : {server(), local()}) {
        if (!store)
            continue;
        MotorRun candidate;
        bool there = false;
        QString why;
        if (!store->lastRun(mcuId, &candidate, &there, &why)) {
            if (store == m_local.get()) {
                *error = why;
                return false;
            }
            m_serverNote = why;
            continue;
        }
        if (there && (!*found || candidate.startUtc > run->startUtc)) {
            *run = candidate;
            *found = true;
        }
    }
    return true;
}

RecordsLookup::Match RecordsLookup::load(const QString& text, RunRecord* run, QString* error) {
    // The station's file first: it answers without the network and holds what waits.
    for (int pass = 0; pass < 2; ++pass) {
        RecordsStore* store = pass == 0 ? local() : server();
        if (!store)
            continue;
        QStringList matches;
        if (!store->matchRuns(text, 2, &matches, error))
            return Match::Failed;
        if (matches.size() > 1) {
            *error = tr("\"%1\" starts more than one run (%2, ...): give more of the UUID.")
                         .arg(text, matches.join(QStringLiteral(", ")));
            return Match::Ambiguous;
        }
        if (matches.isEmpty())
            continue;
        return store->load(matches.first(), run, error) ? Match::Found : Match::Failed;
    }
    if (!m_local && !m_server) {
        *error = m_serverNote.isEmpty() ? m_localError : m_localError + QLatin1Char('\n') + m_serverNote;
        return QFileInfo::exists(m_settings.local.path) ? Match::Failed : Match::None;
    }
    *error = tr("No run %1.").arg(text);
    return Match::None;
}

bool RecordsLookup::knownChoices(QStringList* plans, QStringList* stations, QString* error) {
    QSet<QString> p, s;
    for (RecordsStore* store : {server(), local()}) {
        if (!store)
            continue;
        QStringList values;
        if (!store->knownPlans(&values, error))
            return false;
        p.unite(QSet<QString>(values.begin(), values.end()));
        if (!store->knownStations(&values, error))
            return false;
        s.unite(QSet<QString>(values.begin(), values.end()));
    }
    *plans = QStringList(p.begin(), p.end());
    *stations = QStringList(s.begin(), s.end());
    plans->sort(Qt::CaseInsensitive);
    stations->sort(Qt::CaseInsensitive);
    return true;
}
