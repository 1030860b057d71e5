#include "framework/net/networkjsonpackage.h"

#include <QJsonDocument>

namespace kx {

NetworkJsonPackage::NetworkJsonPackage(const QJsonObject& object)
    : NetworkPackage(QJsonDocument(object).toJson(QJsonDocument::Compact), Json) {}

NetworkJsonPackage::NetworkJsonPackage(const QJsonArray& array)
    : NetworkPackage(QJsonDocument(array).toJson(QJsonDocument::Compact), Json) {}

}  // namespace kx
