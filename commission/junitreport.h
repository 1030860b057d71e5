#pragma once

#include <QByteArray>
#include <QCoreApplication>

#include "commission/runrecord.h"

// A run as JUnit XML, the form CI servers and line test systems read: one test suite per
// motor, one test case per step. FAIL and ERROR become failure and error elements, SKIPPED a
// skipped element; MARGINAL passes (JUnit has no such state) and says so in the case's output.
// A run that found no motor still yields one suite, "bus", whose case carries the error, so a
// CI server never reads an empty bus as a pass.
class JUnitReport {
    Q_DECLARE_TR_FUNCTIONS(JUnitReport)

public:
    static QByteArray render(const RunRecord& record);
};
