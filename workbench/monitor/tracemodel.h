#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QVector>

#include "link/monitor/framedecoder.h"
#include "link/monitor/tracefilter.h"
#include "link/monitor/tracestatistics.h"

class TraceStore;

// The monitor page's table: a virtual view of the trace store through a filter. Rows are the
// sequence numbers of the records shown; a record is decoded only when a row is painted. New
// records are taken in batches by update(); while paused the rows hold still and the records
// that match wait. A row whose record left the ring before the view took it is dropped from the
// view and counted.
class TraceModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Time, Direction, Type, From, To, Fields, Data, Identifier, ColumnCount };

    explicit TraceModel(TraceStore* store, QObject* parent = nullptr);

    // Shows another store (the live trace or a file's), from its start.
    void setStore(TraceStore* store);
    TraceStore* store() const { return m_store; }
    // Takes the records that arrived since the last call; true when rows were added.
    bool update();
    void setFilter(const TraceFilter& filter);
    const TraceFilter& filter() const { return m_filter; }
    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }
    // Forgets rows, statistics and learnt models; the store is the caller's.
    void reset();

    const TraceStatistics& statistics() const { return m_statistics; }
    FrameDecoder& decoder() { return m_decoder; }
    // Records that left the ring before the view took them (the view fell behind).
    quint64 viewDropped() const { return m_viewDropped; }
    // Matching records held back by the pause.
    int waiting() const { return m_waiting.size(); }
    quint64 sequenceAt(int row) const { return m_rows.value(row); }
    const QVector<quint64>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // A painted row: its texts are made once, not at every repaint of a following view.
    struct Decoded {
        bool present = false;
        TraceRecord record;
        DecodedRecord decoded;
        QString time;
        QString data;
        QString identifier;
    };
    const Decoded& decodedAt(quint64 seq) const;
    // Appends the matching records of [from, to) to *out (learning and counting as it goes when
    // count is set).
    void scan(quint64 from, quint64 to, bool count, QVector<quint64>* out);
    void appendRows(const QVector<quint64>& seqs);
    void dropEvicted();

    TraceStore* m_store;
    TraceFilter m_filter;
    FrameDecoder m_decoder;
    TraceStatistics m_statistics;
    QVector<quint64> m_rows;
    QVector<quint64> m_waiting;  // matching records taken while paused
    quint64 m_seen = 0;          // records before this were taken from the store
    quint64 m_viewDropped = 0;
    bool m_paused = false;
    // Decoded rows for painting; small, emptied when full.
    mutable QHash<quint64, Decoded> m_cache;
    quint64 m_cachedFirst = 0;  // the store's first record when the cache was filled
};
