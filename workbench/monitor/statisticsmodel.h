#pragma once

#include <QAbstractTableModel>
#include <QVector>

#include "link/monitor/tracestatistics.h"

// The monitor page's per-CAN-ID statistics: one row per motor (and one for the adapter's lines),
// refreshed from the trace model's counters.
class StatisticsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        CanId,
        Records,
        Rate,
        Feedback,
        IntervalMin,
        IntervalMean,
        IntervalMax,
        LastFault,
        LastWarning,
        Failed,
        Types,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void refresh(const TraceStatistics& statistics);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVector<IdStatistics> m_rows;
};
