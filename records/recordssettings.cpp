#include "records/recordssettings.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QFileInfo>

namespace {

bool apply(const QString& text, RecordsSettings* settings, QString* error) {
    QString why;
    const RecordsLocation location = RecordsLocation::parse(text, &why);
    if (!why.isEmpty()) {
        *error = why;
        return false;
    }
    if (location.isServer())
        settings->server = location;
    else if (location.isSet())
        settings->local = location;
    return true;
}

}  // namespace

QString RecordsSettings::configuredUrl() {
    // The tree holds the template's empty default until config.xml is read into it, which the
    // command-line tool does only for the link: the file decides then.
    const QString fromTree = kx::d(QStringLiteral("config.records.url"))->getString();
    if (!fromTree.isEmpty())
        return fromTree;
    const QString file = QStringLiteral("config.xml");
    if (!QFileInfo::exists(file))
        return QString();
    kx::DataObject config(QStringLiteral("config"));
    if (!kx::DataManager::readFromXmlFile(nullptr, &config, file))
        return QString();
    return config.r(QStringLiteral("records.url"))->getString();
}

bool RecordsSettings::resolve(const QString& configured, const QString& option, RecordsSettings* settings,
                              QString* error) {
    RecordsSettings s;
    s.local = RecordsLocation::sqlite(defaultFileName());
    QString why;
    if (!apply(configured, &s, &why)) {
        *error = tr("config.records.url: %1").arg(why);
        return false;
    }
    if (!apply(option, &s, &why)) {
        *error = why;
        return false;
    }
    // Fixed now, so that a later change of directory cannot split a station's records in two.
    s.local.path = QFileInfo(s.local.path).absoluteFilePath();
    *settings = s;
    return true;
}
