#include "commission/plan/planproblem.h"

QString PlanProblem::text() const {
    if (line <= 0)
        return QStringLiteral("%1: %2").arg(file, message);
    return QStringLiteral("%1:%2:%3: %4").arg(file).arg(line).arg(column).arg(message);
}

void PlanProblems::add(const PlanPosition& at, const QString& message) {
    m_list.append({m_file, at.line, at.column, message});
}
