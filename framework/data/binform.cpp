#include "framework/data/binform.h"

namespace kx {

QByteArray BinForm::exportNode(const DataObject*, bool) { return QByteArray(); }
void BinForm::importNode(DataObject*, QObject*, const QByteArray&, bool, bool, bool) {}

}  // namespace kx
