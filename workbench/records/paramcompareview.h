#pragma once

#include "link/param/parambackup.h"

#include <QWidget>

class QLabel;
class QTableWidget;

// What differs between a motor's parameter tables in two runs: the writable entries first,
// then read-only strings and entries only one side has, as the parameter backups compare.
class ParamCompareView : public QWidget {
    Q_OBJECT

public:
    explicit ParamCompareView(QWidget* parent = nullptr);

    void showDiff(const ParamDiff& diff, const QString& leftTitle, const QString& rightTitle);
    void showMessage(const QString& text);
    QTableWidget* table() const { return m_table; }
    QString summary() const;

private:
    QLabel* m_summary;
    QTableWidget* m_table;
};
