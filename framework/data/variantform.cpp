#include "framework/data/variantform.h"

namespace kx {

QVariant VariantForm::exportNode(const DataObject*, bool) { return QVariant(); }
void VariantForm::importNode(DataObject*, QObject*, const QVariant&, bool, bool, bool) {}

}  // namespace kx
