#pragma once

#include "commission/runrecord.h"
#include "link/param/parambackup.h"

#include <QCoreApplication>

#include <optional>

// The parameter table a run read from one of its motors, in the form the parameter tools
// compare (ParamDiff): so two runs of a motor are compared as two backups are.
class RunParams {
    Q_DECLARE_TR_FUNCTIONS(RunParams)

public:
    // The last table the run attached for that motor: the runner's list of entries, or a
    // backup file. Empty (with the reason) when the run read none or it cannot be read.
    static std::optional<ParamBackup> of(const RunRecord& run, int motorIndex, QString* error);
    // The index of the motor with that MCU ID in the run, or -1.
    static int motorIndex(const RunRecord& run, quint64 mcuId);
};
