#include "workbench/records/paramcompareview.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

ParamCompareView::ParamCompareView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_summary =
        new QLabel(tr("Select two runs of the motor in its timeline and press Compare Parameters."), this);
    m_summary->setObjectName(QStringLiteral("lblParamCompare"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    m_table = new QTableWidget(0, 4, this);
    m_table->setObjectName(QStringLiteral("tblParamDiff"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);
}

QString ParamCompareView::summary() const {
    return m_summary->text();
}

void ParamCompareView::showMessage(const QString& text) {
    m_table->setRowCount(0);
    m_summary->setText(text);
}

void ParamCompareView::showDiff(const ParamDiff& diff, const QString& leftTitle, const QString& rightTitle) {
    m_table->setHorizontalHeaderLabels({tr("Code"), tr("Name"), leftTitle, rightTitle});
    QVector<ParamDiff::Item> items = diff.items;
    std::stable_sort(items.begin(), items.end(), [](const ParamDiff::Item& a, const ParamDiff::Item& b) {
        return a.writable && !b.writable;
    });
    m_table->setRowCount(items.size());
    int writable = 0;
    for (int row = 0; row < items.size(); ++row) {
        const ParamDiff::Item& item = items[row];
        writable += item.writable ? 1 : 0;
        QString left = item.left;
        QString right = item.right;
        switch (item.kind) {
            case ParamDiff::Kind::OnlyLeft:
                right = tr("(missing)");
                break;
            case ParamDiff::Kind::OnlyRight:
                left = tr("(missing)");
                break;
            case ParamDiff::Kind::Definition:
                left = tr("%1 %2 = %3").arg(item.leftName, item.leftType, item.left);
                right = tr("%1 %2 = %3").arg(item.rightName, item.rightType, item.right);
                break;
            case ParamDiff::Kind::Value:
                break;
        }
        const QString name = item.leftName.isEmpty() ? item.rightName : item.leftName;
        const QStringList cells = {ParamBackup::codeText(item.code), name, left, right};
        for (int c = 0; c < cells.size(); ++c) {
            auto* cell = new QTableWidgetItem(cells[c]);
            if (item.writable) {
                QFont font = cell->font();
                font.setBold(true);
                cell->setFont(font);
            }
            m_table->setItem(row, c, cell);
        }
    }
    m_table->resizeColumnsToContents();
    if (items.isEmpty())
        m_summary->setText(tr("The two parameter tables are the same."));
    else if (writable == 0)
        m_summary->setText(tr("No writable entry differs; %1 read-only entries do.").arg(items.size()));
    else
        m_summary->setText(tr("%1 writable entries differ (bold), %2 other entries.")
                               .arg(QString::number(writable), QString::number(items.size() - writable)));
}
