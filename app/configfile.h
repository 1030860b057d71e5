#pragma once

#include <QHash>
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
    // log, leaves the defaults untouched and is kept aside (config.xml.bad, then
    // config.xml.2.bad, ... so an earlier copy is never overwritten), because the exit write
    // would otherwise replace it and the user's settings would be gone without trace; its
    // name goes to *keptAs (empty when it could not be kept). Something that is not a regular
    // file is neither read nor moved.
    static bool read(kx::DataObject* config, const QString& path = fileName(), QString* keptAs = nullptr);
    // A complete XML document with at least one element.
    static bool isWellFormed(const QString& path);
    // Atomic write of the whole subtree; "_" children are left out. A value the read could
    // not convert to its type (baud_rate="abc") is written back as the text it was, so an
    // edit by hand is not lost for a typing error.
    static bool write(kx::DataObject* config, const QString& path = fileName());

    // For the window, once: which file the last read() found damaged and where the copy is;
    // empty when it found none (or it was told already).
    static QString takeDamageNotice();

    // The name the n-th kept copy of path gets: path.bad, path.2.bad, ...
    static QString keptName(const QString& path, int n);

private:
    struct Damage {
        QString path;
        QString keptAs;
    };
    static Damage& damage();
    // Texts of values that did not convert, by path below "config"; kept for the exit write.
    static QHash<QString, QString>& unconverted();
    static void collectUnconverted(const QString& path);
};
