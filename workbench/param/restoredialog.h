#pragma once

#include <QDialog>
#include <QSet>

#include "link/param/parambackup.h"

class QTableWidget;

// Shows what a restore would write (current value -> backup value) with a tick box per entry,
// and the entries it refuses with the reason. Accepting hands back the ticked codes.
class RestoreDialog : public QDialog {
    Q_OBJECT

public:
    RestoreDialog(const ParamRestorePlan& plan, const QString& source, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QSet<quint16> selectedCodes() const;
    const ParamRestorePlan& plan() const { return m_plan; }

private:
    ParamRestorePlan m_plan;
    QTableWidget* m_table;
};
