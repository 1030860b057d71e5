#include "workbench/param/restoredialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

RestoreDialog::RestoreDialog(const ParamRestorePlan& plan, const QString& source, QWidget* parent)
    : QDialog(parent), m_plan(plan) {
    setObjectName(QStringLiteral("RestoreDialog"));
    setWindowTitle(tr("Restore parameters"));
    resize(640, 420);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(plan.writes.isEmpty()
                                 ? tr("The motor already holds the values of %1.").arg(source)
                                 : tr("Entries of %1 that differ from the motor. Ticked ones are written, "
                                      "then saved in the motor.")
                                       .arg(source),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_table = new QTableWidget(plan.writes.size(), 4, this);
    m_table->setObjectName(QStringLiteral("tableRestore"));
    m_table->setHorizontalHeaderLabels({tr("Code"), tr("Name"), tr("Motor"), tr("Backup")});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(0, 90);
    m_table->setColumnWidth(1, 160);
    m_table->setColumnWidth(2, 150);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < plan.writes.size(); ++r) {
        const auto& w = plan.writes[r];
        auto* code = new QTableWidgetItem(ParamBackup::codeText(w.code));
        code->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        code->setCheckState(Qt::Checked);
        code->setData(Qt::UserRole, int(w.code));
        m_table->setItem(r, 0, code);
        m_table->setItem(r, 1, new QTableWidgetItem(w.name));
        m_table->setItem(r, 2, new QTableWidgetItem(w.from));
        m_table->setItem(r, 3, new QTableWidgetItem(w.to));
    }
    layout->addWidget(m_table, 1);

    if (!plan.refused.isEmpty()) {
        QStringList lines;
        for (const auto& r : plan.refused)
            lines << tr("%1 %2: %3").arg(ParamBackup::codeText(r.code), r.name, r.reason);
        auto* refused =
            new QLabel(tr("Not restored:") + QStringLiteral("\n") + lines.join(QLatin1Char('\n')), this);
        refused->setObjectName(QStringLiteral("lblRefused"));
        refused->setWordWrap(true);
        layout->addWidget(refused);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Restore"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!plan.writes.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QSet<quint16> RestoreDialog::selectedCodes() const {
    QSet<quint16> codes;
    for (int r = 0; r < m_table->rowCount(); ++r) {
        if (m_table->item(r, 0)->checkState() == Qt::Checked)
            codes.insert(quint16(m_table->item(r, 0)->data(Qt::UserRole).toInt()));
    }
    return codes;
}
