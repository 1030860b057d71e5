#pragma once

#include <QString>

namespace kx {
class DataObject;
}

// "config.xml": read once at start into the "config" node and written once at exit.
class ConfigFile {
public:
    static QString fileName() { return QStringLiteral("config.xml"); }
    static QString badFileName() { return QStringLiteral("config.xml.bad"); }

    // A missing file leaves the defaults. A corrupt or partial file is reported once in the
    // log, leaves the defaults untouched and is kept as config.xml.bad, because the exit
    // write would otherwise replace it and the user's settings would be gone without trace.
    static bool read(kx::DataObject* config, const QString& path = fileName());
    // A complete XML document with at least one element.
    static bool isWellFormed(const QString& path);
    // Atomic write of the whole subtree; "_" children are left out.
    static bool write(kx::DataObject* config, const QString& path = fileName());
};
