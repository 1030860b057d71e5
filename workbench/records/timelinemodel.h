#pragma once

#include "records/motorhistory.h"

#include <QAbstractTableModel>
#include <QVector>

// One motor's runs, newest first. A firmware or a parameter table that differs from the run
// before is highlighted in the style's own highlight colour, bold, and says so in its tooltip.
class TimelineModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Started, Result, Plan, Station, CanId, Firmware, Parameters, ColumnCount };

    explicit TimelineModel(QObject* parent = nullptr);

    // Given oldest first, as the store gives it.
    void setTimeline(const QVector<MotorRun>& timeline);
    const MotorRun* runAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool changed(const MotorRun& run, int column) const;

    QVector<MotorRun> m_runs;  // newest first
};
