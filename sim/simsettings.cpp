#include "sim/simsettings.h"

QVector<SimMotorIdentity> SimSettings::defaultMotors(int count) {
    QVector<SimMotorIdentity> out;
    for (int i = 0; i < count; ++i) {
        SimMotorIdentity m;
        m.mcuId = Q_UINT64_C(0x3a10c5e700000000) | quint64(0x1001 * (i + 1));
        m.canId = quint8(i + 1);
        out << m;
    }
    return out;
}
