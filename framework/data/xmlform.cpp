#include "framework/data/xmlform.h"

namespace kx {

void XmlForm::exportNode(const DataObject*, QXmlStreamWriter&, bool, bool) {}
void XmlForm::importNode(DataObject*, QObject*, QXmlStreamReader&, bool, bool, bool) {}
QString XmlForm::exportString(const DataObject*, int, bool) { return QString(); }

}  // namespace kx
