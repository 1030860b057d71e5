#pragma once

#include <QString>
#include <QVector>

#include "commission/plan/plan.h"

// One thing wrong with a plan file, with where it is, so an editor can jump there.
struct PlanProblem {
    QString file;
    int line = 0;  // from 1; 0 when the problem is the whole file
    int column = 0;
    QString message;

    // "bench-check.yaml:12:7: tolerance must be a number"
    QString text() const;
};

// Collects a plan's problems while it is read.
class PlanProblems {
public:
    explicit PlanProblems(const QString& file) : m_file(file) {}

    void add(const PlanPosition& at, const QString& message);
    bool isEmpty() const { return m_list.isEmpty(); }
    int size() const { return m_list.size(); }
    const QVector<PlanProblem>& list() const { return m_list; }
    const QString& file() const { return m_file; }

private:
    QString m_file;
    QVector<PlanProblem> m_list;
};
