#include "workbench/records/timelinemodel.h"

#include "workbench/records/runtablemodel.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

#include <algorithm>

TimelineModel::TimelineModel(QObject* parent) : QAbstractTableModel(parent) {}

void TimelineModel::setTimeline(const QVector<MotorRun>& timeline) {
    beginResetModel();
    m_runs = timeline;
    std::reverse(m_runs.begin(), m_runs.end());
    endResetModel();
}

const MotorRun* TimelineModel::runAt(int row) const {
    return row >= 0 && row < m_runs.size() ? &m_runs[row] : nullptr;
}

int TimelineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_runs.size();
}

int TimelineModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

bool TimelineModel::changed(const MotorRun& run, int column) const {
    return (column == Firmware && run.firmwareChanged) || (column == Parameters && run.paramsChanged);
}

QVariant TimelineModel::data(const QModelIndex& index, int role) const {
    const MotorRun* run = index.isValid() ? runAt(index.row()) : nullptr;
    if (!run)
        return QVariant();
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            switch (column) {
                case Started:
                    return RunTableModel::timeText(run->startUtc);
                case Result:
                    return Outcomes::label(run->motor.outcome);
                case Plan:
                    return run->planName;
                case Station:
                    return run->station;
                case CanId:
                    return run->motor.canId;
                case Firmware:
                    return run->motor.firmware.isEmpty() ? tr("not read") : run->motor.firmware;
                case Parameters:
                    return run->motor.paramSha256.isEmpty() ? tr("not read")
                                                            : run->motor.paramSha256.left(12);
            }
            break;
        case Qt::ToolTipRole:
            if (column == Firmware && run->firmwareChanged)
                return tr("The firmware changed since the run before.");
            if (column == Parameters && run->paramsChanged)
                return tr("The parameter table changed since the run before:\n%1")
                    .arg(run->motor.paramSha256);
            if (column == Parameters)
                return run->motor.paramSha256;
            break;
        case Qt::FontRole:
            if (changed(*run, column)) {
                QFont font;
                font.setBold(true);
                return font;
            }
            if (column == Result)
                return RunTableModel::outcomeFont(run->motor.outcome);
            break;
        case Qt::BackgroundRole:
            if (changed(*run, column)) {
                QColor colour = QApplication::palette().color(QPalette::Highlight);
                colour.setAlpha(110);
                return colour;
            }
            break;
    }
    return QVariant();
}

QVariant TimelineModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    // The first columns are those of the run table.
    static_assert(int(Station) == int(RunTableModel::Station), "the leading columns match the run table's");
    switch (section) {
        case Started:
        case Result:
        case Plan:
        case Station:
            return RunTableModel::leadingTitle(section);
        case CanId:
            return tr("CAN ID");
        case Firmware:
            return tr("Firmware");
        case Parameters:
            return tr("Parameters");
    }
    return QVariant();
}
