#pragma once

#include "framework/core/creatormanager.h"

#include <QString>

namespace kx {

using VersionManager = CreatorManager<int, int (*)(void)>;

// The registry of module versions; created on first use with the framework's own key "kx.core".
VersionManager& versionManager();
VersionManager& ver();

// The version registered under key (0 when none); with recursive, the sum over the key and
// every key below it.
int ver(const QString& key, bool recursive = false);

// "v<major>.<minor>.<patch>[.<extra>...]" of a module key, from the "@0_"..."@9_" keys.
QString releaseVersionString(const QString& key);

// Registers a module's version at static initialisation:
//     static const kx::VersionRegistrar registrar(QStringLiteral("my.module"), [] { return 1; });
// Only for objects that the linker keeps (an executable's own sources); keys of the static
// framework library are registered by versionManager() itself.
class VersionRegistrar {
public:
    VersionRegistrar(const QString& key, int (*version)(void));
};

}  // namespace kx
