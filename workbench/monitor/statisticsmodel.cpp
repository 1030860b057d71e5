#include "workbench/monitor/statisticsmodel.h"

namespace {

QString ms(qint64 us) {
    return QString::number(us / 1000.0, 'f', 3);
}

}  // namespace

void StatisticsModel::refresh(const TraceStatistics& statistics) {
    // CAN IDs the host only addressed (a scan's silent probes) would bury the motors.
    QVector<IdStatistics> rows;
    for (const IdStatistics& s : statistics.rows()) {
        if (s.received > 0 || s.canId < 0)
            rows << s;
    }
    bool sameIds = rows.size() == m_rows.size();
    for (int i = 0; sameIds && i < rows.size(); ++i)
        sameIds = rows[i].canId == m_rows[i].canId;
    if (!sameIds) {
        beginResetModel();
        m_rows = rows;
        endResetModel();
        return;
    }
    m_rows = rows;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows.size() - 1, ColumnCount - 1), {Qt::DisplayRole});
}

int StatisticsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.size();
}

int StatisticsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case CanId:
            return tr("CAN ID");
        case Records:
            return tr("Records");
        case Rate:
            return tr("Rate (1/s)");
        case Feedback:
            return tr("Feedback");
        case IntervalMin:
            return tr("Min interval (ms)");
        case IntervalMean:
            return tr("Mean interval (ms)");
        case IntervalMax:
            return tr("Max interval (ms)");
        case LastFault:
            return tr("Last fault");
        case LastWarning:
            return tr("Last warning");
        case Failed:
            return tr("Not decoded");
        case Types:
            return tr("Frames per type");
        default:
            return QVariant();
    }
}

QVariant StatisticsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const IdStatistics& s = m_rows[index.row()];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Types ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                       : int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    const QString none = QStringLiteral("-");
    switch (index.column()) {
        case CanId:
            return s.canId < 0 ? tr("adapter") : QString::number(s.canId);
        case Records:
            return QString::number(s.records);
        case Rate:
            return s.rate() > 0 ? QString::number(s.rate(), 'f', 1) : none;
        case Feedback:
            return QString::number(s.feedback);
        case IntervalMin:
            return s.intervals ? ms(s.minIntervalUs) : none;
        case IntervalMean:
            return s.intervals ? ms(qint64(s.meanIntervalUs())) : none;
        case IntervalMax:
            return s.intervals ? ms(s.maxIntervalUs) : none;
        case LastFault:
            return s.faultSeen ? QStringLiteral("0x%1").arg(s.lastFault, 8, 16, QLatin1Char('0')) : none;
        case LastWarning:
            return s.faultSeen ? QStringLiteral("0x%1").arg(s.lastWarning, 8, 16, QLatin1Char('0')) : none;
        case Failed:
            return QString::number(s.failed);
        case Types:
            return s.typeCounts();
        default:
            return QVariant();
    }
}
