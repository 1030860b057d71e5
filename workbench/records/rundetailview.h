#pragma once

#include "commission/runrecord.h"

#include <QTreeWidget>

// One run as a tree: its motors, their steps and each step's measurements and files.
class RunDetailView : public QTreeWidget {
    Q_OBJECT

public:
    enum Column { Item, Value, Limits, Result, ColumnCount };

    explicit RunDetailView(QWidget* parent = nullptr);

    void showRun(const RunRecord& run);
    void clearRun();
    const RunRecord& run() const { return m_run; }
    bool hasRun() const { return !m_run.uuid.isEmpty(); }
    // The motor the selection is in; with one motor, that one; else -1.
    int selectedMotor() const;

private:
    RunRecord m_run;
};
