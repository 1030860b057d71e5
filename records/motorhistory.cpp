#include "records/motorhistory.h"

void MotorHistory::markChanges(QVector<MotorRun>* timeline) {
    QString firmware;
    QString params;
    for (MotorRun& run : *timeline) {
        const QString& f = run.motor.firmware;
        const QString& p = run.motor.paramSha256;
        run.firmwareChanged = !f.isEmpty() && !firmware.isEmpty() && f != firmware;
        run.paramsChanged = !p.isEmpty() && !params.isEmpty() && p != params;
        if (!f.isEmpty())
            firmware = f;
        if (!p.isEmpty())
            params = p;
    }
}
