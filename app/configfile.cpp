#include "app/configfile.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

bool ConfigFile::isWellFormed(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader reader(&file);
    bool sawElement = false;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement)
            sawElement = true;
    }
    return sawElement && !reader.hasError();
}

bool ConfigFile::read(kx::DataObject* config, const QString& path) {
    if (!QFileInfo::exists(path))
        return false;
    // Check the whole file first so that one that breaks off half-way cannot leave the
    // configuration half-overwritten.
    if (isWellFormed(path))
        return kx::DataManager::readFromXmlFile(nullptr, config, path);

    const QString bad = path + QStringLiteral(".bad");
    QFile::remove(bad);
    const bool kept = QFile::rename(path, bad);
    kx::logE() << "config file " + path + " is unreadable; defaults are used "
               << (kept ? "and the file was kept as " + bad : QStringLiteral("and could not be kept"));
    return false;
}

bool ConfigFile::write(kx::DataObject* config, const QString& path) {
    return kx::DataManager::writeToXmlFile(path, config, true, true);
}
