#include "framework/data/jsonform.h"

namespace kx {

QJsonValue JsonForm::exportNode(const DataObject*, bool) { return QJsonValue(); }
void JsonForm::importNode(DataObject*, QObject*, const QJsonValue&, bool, bool, bool) {}

}  // namespace kx
