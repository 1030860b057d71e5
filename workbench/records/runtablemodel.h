#pragma once

#include "records/runquery.h"

#include <QAbstractTableModel>
#include <QVector>

// The runs a records search found, one row each, newest first. A run the station still has to
// send carries a mark when a server is configured.
class RunTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Started, Result, Plan, Station, Motors, Run, ColumnCount };

    explicit RunTableModel(QObject* parent = nullptr);

    void setRuns(const QVector<RunSummary>& runs, bool forwarding);
    // The run of a row; null for a row that does not exist.
    const RunSummary* runAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // "2024-05-01 10:00:03" in local time; "-" for none.
    static QString timeText(const QDateTime& utc);
    // The titles of the columns every run table starts with (Started to Station), or nothing.
    static QString leadingTitle(int column);
    // Bold for a failure, italic for a marginal pass: the outcome shows without colours.
    static QVariant outcomeFont(Outcome outcome);

private:
    QVector<RunSummary> m_runs;
    bool m_forwarding = false;
};
