#pragma once

#include "framework/net/networkpackage.h"

#include <QJsonArray>
#include <QJsonObject>

namespace kx {

// A package carrying the compact UTF-8 JSON text of one object or one array.
class NetworkJsonPackage : public NetworkPackage {
public:
    explicit NetworkJsonPackage(const QJsonObject& object);
    explicit NetworkJsonPackage(const QJsonArray& array);
};

}  // namespace kx
