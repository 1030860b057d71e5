#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace kx {

// Names the local time zone file in TZ when the environment does not set it. Without TZ,
// glibc reads /etc/localtime again for every local time it converts, and Qt's virtual CAN bus
// stamps every frame with local time: half of the link's time went there. Call first thing in
// main(), before any thread starts.
inline void pinLocalTimeZone() {
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
}

}  // namespace kx
