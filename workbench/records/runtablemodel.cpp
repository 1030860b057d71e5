#include "workbench/records/runtablemodel.h"

#include <QFont>

RunTableModel::RunTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void RunTableModel::setRuns(const QVector<RunSummary>& runs, bool forwarding) {
    beginResetModel();
    m_runs = runs;
    m_forwarding = forwarding;
    endResetModel();
}

const RunSummary* RunTableModel::runAt(int row) const {
    return row >= 0 && row < m_runs.size() ? &m_runs[row] : nullptr;
}

int RunTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_runs.size();
}

int RunTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString RunTableModel::timeText(const QDateTime& utc) {
    return utc.isValid() ? utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                         : QStringLiteral("-");
}

QVariant RunTableModel::outcomeFont(Outcome outcome) {
    if (outcome != Outcome::Fail && outcome != Outcome::Error && outcome != Outcome::Marginal)
        return QVariant();
    QFont font;
    font.setBold(outcome != Outcome::Marginal);
    font.setItalic(outcome == Outcome::Marginal);
    return font;
}

QVariant RunTableModel::data(const QModelIndex& index, int role) const {
    const RunSummary* run = index.isValid() ? runAt(index.row()) : nullptr;
    if (!run)
        return QVariant();
    const auto motorsText = [run](bool all) -> QString {
        QStringList ids;
        for (const MotorSummary& m : run->motors) {
            ids << QStringLiteral("0x%1").arg(m.mcuId, 0, 16);
            if (!all && ids.size() == 3 && run->motors.size() > 3)
                return ids.join(QStringLiteral(", ")) + tr(" and %1 more").arg(run->motors.size() - 3);
        }
        return ids.join(QStringLiteral(", "));
    };
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case Started:
                return timeText(run->startUtc);
            case Result:
                return Outcomes::label(run->outcome);
            case Plan:
                return run->planName;
            case Station:
                return run->station;
            case Motors:
                return motorsText(false);
            case Run:
                return QString(run->uuid.left(8) +
                               (m_forwarding && run->waiting ? QStringLiteral(" *") : QString()));
        }
    } else if (role == Qt::ToolTipRole) {
        switch (index.column()) {
            case Motors:
                return motorsText(true);
            case Run:
                return m_forwarding && run->waiting
                           ? tr("%1\nKept by this station, waiting to be sent").arg(run->uuid)
                           : run->uuid;
            case Result:
                return run->message.isEmpty() ? QVariant() : QVariant(run->message);
        }
    } else if (role == Qt::FontRole && index.column() == Result) {
        return outcomeFont(run->outcome);
    }
    return QVariant();
}

QVariant RunTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case Motors:
            return tr("Motors");
        case Run:
            return tr("Run");
    }
    const QString title = leadingTitle(section);
    return title.isEmpty() ? QVariant() : QVariant(title);
}

QString RunTableModel::leadingTitle(int column) {
    switch (column) {
        case Started:
            return tr("Started");
        case Result:
            return tr("Outcome");
        case Plan:
            return tr("Plan");
        case Station:
            return tr("Station");
    }
    return QString();
}
