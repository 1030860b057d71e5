#include "workbench/monitor/tracemodel.h"

#include "link/monitor/tracestore.h"
#include "link/monitor/tracetext.h"

#include <QApplication>
#include <QDateTime>
#include <QStyle>

#include <cstdio>

namespace {

constexpr int kCache = 4096;
constexpr quint64 kChunk = 65536;

// "hh:mm:ss.uuuuuu" in local time; the zone's offset is asked once a minute, not per cell.
QString timeOfDay(qint64 us) {
    static qint64 offsetMinute = -1;
    static qint64 offsetUs = 0;
    const qint64 minute = us / 60000000;
    if (minute != offsetMinute) {
        offsetMinute = minute;
        offsetUs = qint64(QDateTime::fromMSecsSinceEpoch(us / 1000).offsetFromUtc()) * 1000000;
    }
    const qint64 local = us + offsetUs;
    const qint64 day = ((local % 86400000000LL) + 86400000000LL) % 86400000000LL;
    const qint64 seconds = day / 1000000;
    char text[20];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%06d", int(seconds / 3600), int(seconds / 60 % 60),
                  int(seconds % 60), int(day % 1000000));
    return QString::fromLatin1(text);
}

}  // namespace

TraceModel::TraceModel(TraceStore* store, QObject* parent) : QAbstractTableModel(parent), m_store(store) {
    m_seen = store->first();
}

int TraceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.size();
}

int TraceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TraceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case Time:
            return tr("Time");
        case Direction:
            return tr("Dir");
        case Type:
            return tr("Type");
        case From:
            return tr("From");
        case To:
            return tr("To");
        case Identifier:
            return tr("Identifier");
        case Data:
            return tr("Data");
        case Fields:
            return tr("Decoded");
        default:
            return QVariant();
    }
}

const TraceModel::Decoded& TraceModel::decodedAt(quint64 seq) const {
    const auto it = m_cache.constFind(seq);
    if (it != m_cache.constEnd())
        return *it;
    if (m_cache.size() >= kCache)
        m_cache.clear();
    Decoded d;
    d.present = m_store->at(seq, &d.record);
    if (d.present) {
        d.decoded = m_decoder.decode(d.record);
        d.time = timeOfDay(d.record.timeUs);
        d.data = TraceText::data(d.record);
        d.identifier = TraceText::identifier(d.record);
    }
    return *m_cache.insert(seq, d);
}

QVariant TraceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::DecorationRole)
        return QVariant();
    const Decoded& d = decodedAt(m_rows[index.row()]);
    if (!d.present) {
        // Paused long enough for the ring to wrap under the view.
        return role == Qt::DisplayRole && index.column() == Fields ? tr("(no longer in the trace)")
                                                                   : QVariant();
    }
    const TraceRecord& r = d.record;
    if (role == Qt::DecorationRole) {
        if (index.column() == Type && d.decoded.failed)
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return QVariant();
    }
    switch (index.column()) {
        case Time:
            if (role == Qt::ToolTipRole)
                return QString(
                    QDateTime::fromMSecsSinceEpoch(r.timeUs / 1000).toString(QStringLiteral("yyyy-MM-dd ")) +
                    d.time);
            return d.time;
        case Direction:
            return r.isTx() ? QStringLiteral("Tx") : QStringLiteral("Rx");
        case Type:
            return d.decoded.type;
        case From:
            return TraceText::canId(d.decoded.source);
        case To:
            return TraceText::canId(d.decoded.destination);
        case Identifier:
            return d.identifier;
        case Data:
            return d.data;
        case Fields:
            return d.decoded.fields;
        default:
            return QVariant();
    }
}

void TraceModel::scan(quint64 from, quint64 to, bool count, QVector<quint64>* out) {
    const bool decode = m_filter.needsDecoding();
    for (quint64 at = from; at < to; at += kChunk) {
        quint64 first = at;
        const QVector<TraceRecord> batch = m_store->range(at, qMin(to, at + kChunk), &first);
        for (int i = 0; i < batch.size(); ++i) {
            const TraceRecord& r = batch[i];
            if (count) {
                m_decoder.learn(r);
                m_statistics.add(r);
            }
            if (!m_filter.acceptsRecord(r))
                continue;
            if (decode && !m_filter.accepts(r, m_decoder.decode(r)))
                continue;
            out->append(first + quint64(i));
        }
    }
}

void TraceModel::appendRows(const QVector<quint64>& seqs) {
    if (seqs.isEmpty())
        return;
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size() + seqs.size() - 1);
    m_rows += seqs;
    endInsertRows();
}

void TraceModel::dropEvicted() {
    const quint64 first = m_store->first();
    int gone = 0;
    while (gone < m_rows.size() && m_rows[gone] < first)
        ++gone;
    if (gone > 0) {
        beginRemoveRows(QModelIndex(), 0, gone - 1);
        m_rows.remove(0, gone);
        endRemoveRows();
    }
    int waitingGone = 0;
    while (waitingGone < m_waiting.size() && m_waiting[waitingGone] < first)
        ++waitingGone;
    m_waiting.remove(0, waitingGone);
}

bool TraceModel::update() {
    const quint64 first = m_store->first();
    const quint64 end = m_store->end();
    if (m_seen < first) {
        m_viewDropped += first - m_seen;
        m_seen = first;
    }
    // Slots of records that left the ring now hold newer ones.
    if (first != m_cachedFirst) {
        m_cache.clear();
        m_cachedFirst = first;
    }
    QVector<quint64> added;
    scan(m_seen, end, true, &added);
    m_seen = end;
    if (m_paused) {
        m_waiting += added;
        // The rows hold still; what the ring let go of meanwhile shows as gone when painted.
        int waitingGone = 0;
        while (waitingGone < m_waiting.size() && m_waiting[waitingGone] < first)
            ++waitingGone;
        m_waiting.remove(0, waitingGone);
        return false;
    }
    dropEvicted();
    appendRows(added);
    return !added.isEmpty();
}

void TraceModel::setPaused(bool paused) {
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (!paused) {
        dropEvicted();
        const QVector<quint64> waiting = std::exchange(m_waiting, {});
        appendRows(waiting);
    }
}

void TraceModel::setFilter(const TraceFilter& filter) {
    beginResetModel();
    m_filter = filter;
    m_rows.clear();
    m_waiting.clear();
    m_cache.clear();
    scan(m_store->first(), m_seen, false, &m_rows);
    endResetModel();
}

void TraceModel::setStore(TraceStore* store) {
    m_store = store;
    reset();
    update();
}

void TraceModel::reset() {
    beginResetModel();
    m_rows.clear();
    m_waiting.clear();
    m_cache.clear();
    m_statistics.clear();
    m_decoder.forgetLearnt();
    m_seen = m_store->first();
    m_viewDropped = 0;
    endResetModel();
}
