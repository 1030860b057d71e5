#include "link/canprotocol.h"

namespace CanProtocol {

QString comModeName(int) { return QString(); }
QString valueTypeName(int) { return QString(); }
int valueTypeSize(int) { return 0; }
int encodeRange(float, float, float, int) { return 0; }
float decodeRange(int, float, float) { return 0; }
bool inRange(float, float, float) { return false; }
std::optional<ModelRanges> rangesForModel(quint8, quint8) { return std::nullopt; }

}  // namespace CanProtocol
