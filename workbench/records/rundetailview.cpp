#include "workbench/records/rundetailview.h"

#include "workbench/records/runtablemodel.h"

#include <QHeaderView>

namespace {

constexpr int kMotorRole = Qt::UserRole + 1;

QString limitsText(const Measurement& m) {
    if (!m.numeric)
        return m.expected;
    if (m.hasLow && m.hasHigh)
        return QStringLiteral("%1 .. %2").arg(QString::number(m.low), QString::number(m.high));
    if (m.hasLow)
        return QStringLiteral(">= %1").arg(m.low);
    if (m.hasHigh)
        return QStringLiteral("<= %1").arg(m.high);
    return QString();
}

void setOutcome(QTreeWidgetItem* item, Outcome outcome) {
    item->setText(RunDetailView::Result, Outcomes::label(outcome));
    item->setData(RunDetailView::Result, Qt::FontRole, RunTableModel::outcomeFont(outcome));
}

}  // namespace

RunDetailView::RunDetailView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("treRun"));
    setColumnCount(ColumnCount);
    setHeaderLabels({tr("Item"), tr("Value"), tr("Limits"), tr("Outcome")});
    header()->setSectionResizeMode(Item, QHeaderView::Stretch);
    header()->setStretchLastSection(false);
    setUniformRowHeights(true);
    // Columns are sized by the rows on show: measured again as steps open.
    connect(this, &QTreeWidget::itemExpanded, this, [this] {
        resizeColumnToContents(Value);
        resizeColumnToContents(Limits);
    });
}

void RunDetailView::clearRun() {
    m_run = RunRecord();
    clear();
}

void RunDetailView::showRun(const RunRecord& run) {
    m_run = run;
    clear();
    auto* head = new QTreeWidgetItem(this, {tr("Run %1").arg(run.uuid)});
    setOutcome(head, run.outcome);
    const QList<QPair<QString, QString>> facts = {
        {tr("Plan"), run.planPath.isEmpty() ? run.planName : tr("%1 (%2)").arg(run.planName, run.planPath)},
        {tr("Station"), run.station},
        {tr("Operator"), run.operatorName},
        {tr("Started"), RunTableModel::timeText(run.startUtc)},
        {tr("Ended"), RunTableModel::timeText(run.endUtc)},
        {tr("Trivane"), run.toolVersion},
    };
    for (const auto& fact : facts)
        new QTreeWidgetItem(head, {fact.first, fact.second});
    if (!run.message.isEmpty())
        new QTreeWidgetItem(head, {tr("Ended early"), run.message});
    head->setExpanded(true);
    for (int mi = 0; mi < run.motors.size(); ++mi) {
        const MotorRecord& motor = run.motors[mi];
        auto* item =
            new QTreeWidgetItem(this, {tr("Motor 0x%1").arg(motor.mcuId, 0, 16),
                                       tr("CAN ID %1, firmware %2")
                                           .arg(QString::number(motor.canId),
                                                motor.firmware.isEmpty() ? tr("not read") : motor.firmware)});
        item->setData(Item, kMotorRole, mi);
        setOutcome(item, motor.outcome);
        for (const StepRecord& step : motor.steps) {
            auto* s = new QTreeWidgetItem(
                item, {QStringLiteral("%1. %2").arg(QString::number(step.index), step.title), step.message,
                       QString()});
            s->setToolTip(Value, step.message);
            setOutcome(s, step.outcome);
            for (const Measurement& m : step.measurements) {
                QString value = m.numeric ? QString::number(m.value) : m.text;
                if (m.numeric && !m.unit.isEmpty())
                    value += QLatin1Char(' ') + m.unit;
                auto* x = new QTreeWidgetItem(s, {m.name, value, limitsText(m)});
                setOutcome(x, m.outcome);
            }
            for (const Attachment& a : step.attachments)
                new QTreeWidgetItem(s, {a.name, tr("%1 bytes").arg(a.data.size()), a.mimeType});
        }
        // A failing motor opens on its steps.
        item->setExpanded(motor.outcome == Outcome::Fail || motor.outcome == Outcome::Error ||
                          run.motors.size() == 1);
    }
    resizeColumnToContents(Value);
    resizeColumnToContents(Limits);
    resizeColumnToContents(Result);
}

int RunDetailView::selectedMotor() const {
    for (QTreeWidgetItem* item = currentItem(); item; item = item->parent()) {
        const QVariant motor = item->data(Item, kMotorRole);
        if (motor.isValid())
            return motor.toInt();
    }
    return m_run.motors.size() == 1 ? 0 : -1;
}
