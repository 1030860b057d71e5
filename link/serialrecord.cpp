#include "link/serialrecord.h"

namespace SerialRecord {

QByteArray fromFrame(const CanFrame&) { return QByteArray(); }
bool toFrame(const QByteArray&, CanFrame*) { return false; }

}  // namespace SerialRecord
