#include "app/project/projectfiles.h"

#include "app/filedialogs.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/canworker.h"
#include "link/helper.h"

#include <QFileInfo>
#include <QWidget>

namespace {
QString prjFilter() {
    return QStringLiteral("*.prj");
}
QString xmlFilter() {
    return QStringLiteral("*.xml");
}

kx::DataObject* workingPath() {
    return kx::d(QStringLiteral("working_path"));
}
}  // namespace

ProjectFiles::ProjectFiles(QWidget* owner) : QObject(owner), m_owner(owner) {}

bool ProjectFiles::readProject(const QString& path, kx::DataObject* tmp) {
    // Nothing is changed before the whole file has been read: a damaged file must neither
    // empty the project nor become the file that a later save overwrites with a fragment.
    if (!kx::DataManager::readFromXmlFile(m_owner, tmp, path) || !tmp->hasCdobj(QStringLiteral("device")))
        return false;
    for (kx::DataObject* record : tmp->c(QStringLiteral("device"))->cdobjs()) {
        // Files of earlier versions lost the MCU ID of some records; the record is named by it.
        if (record->r(QStringLiteral("info.mcu_id"))->get().toString().isEmpty()) {
            bool ok = false;
            const qulonglong id = record->name().toULongLong(&ok, 16);
            if (ok)
                record->set(m_owner, QStringLiteral("info.mcu_id"), QVariant::fromValue<quint64>(id), true);
        }
    }
    return true;
}

bool ProjectFiles::openProject(const QString& path) {
    kx::DataObject tmp(QStringLiteral("tmp"));
    if (!readProject(path, &tmp)) {
        Helper::instance()->showError(
            tr("Open %1 Failed! The file is unreadable or not a project; nothing was changed.").arg(path));
        return false;
    }
    kx::DataObject* devices = kx::d(QStringLiteral("project.device"));
    devices->clear(m_owner, true, false);
    devices->copyFrom(m_owner, tmp.c(QStringLiteral("device")), true, false);
    workingPath()->set(m_owner, path);

    const QString port = tmp.c(QStringLiteral("serial_port"))->getString(QString());
    CANWorker* worker = Helper::instance()->worker();
    // An open link stays as it is: the file's port is used only to get connected.
    if (worker && !worker->isConnected() && !port.isEmpty())
        worker->connectPort(port);
    return true;
}

bool ProjectFiles::saveProjectTo(const QString& path) {
    return kx::DataManager::writeToXmlFile(path, kx::d(QStringLiteral("project")), true, true);
}

bool ProjectFiles::saveAndReport(const QString& path) {
    if (!saveProjectTo(path)) {
        Helper::instance()->showError(tr("Save to %1 Failed!").arg(path));
        return false;
    }
    Helper::instance()->showInformation(tr("Save to %1 successfully!").arg(path));
    workingPath()->set(m_owner, path);
    return true;
}

void ProjectFiles::newProject() {
    const QString name = FileDialogs::saveFileName(m_owner, tr("New Project"), prjFilter());
    if (name.isEmpty())
        return;
    if (QFileInfo::exists(name)) {
        openProject(name);
        return;
    }
    // A new file: an empty project bound to it, written by the first Save.
    kx::d(QStringLiteral("project.device"))->clear(m_owner, true, false);
    workingPath()->set(m_owner, name);
}

void ProjectFiles::openWithDialog() {
    const QString name = FileDialogs::openFileName(m_owner, tr("Open Project"), prjFilter());
    if (!name.isEmpty())
        openProject(name);
}

void ProjectFiles::save() {
    QString path = workingPath()->getString(QString());
    if (path.isEmpty())
        path = FileDialogs::saveFileName(m_owner, tr("Save Project"), prjFilter());
    if (!path.isEmpty())
        saveAndReport(path);
}

void ProjectFiles::saveAs() {
    const QString path = FileDialogs::saveFileName(m_owner, tr("Save as Project"), prjFilter());
    if (!path.isEmpty())
        saveAndReport(path);
}

bool ProjectFiles::importFrom(const QString& path) {
    kx::DataObject tmp(QStringLiteral("tmp"));
    if (!readProject(path, &tmp))
        return false;
    // Devices already in the project keep their records; new ones are added after them.
    kx::d(QStringLiteral("project.device"))->copyFrom(m_owner, tmp.c(QStringLiteral("device")), true, false);
    return true;
}

bool ProjectFiles::exportTo(const QString& path) {
    return saveProjectTo(path);
}

void ProjectFiles::importWithDialog() {
    const QString path = FileDialogs::openFileName(m_owner, tr("Import Project"), xmlFilter());
    if (path.isEmpty())
        return;
    if (importFrom(path))
        Helper::instance()->showInformation(tr("Import from %1 successfully!").arg(path));
    else
        Helper::instance()->showError(tr("Import from %1 Failed!").arg(path));
}

void ProjectFiles::exportWithDialog() {
    const QString path = FileDialogs::saveFileName(m_owner, tr("Export Project"), xmlFilter());
    if (path.isEmpty())
        return;
    if (exportTo(path))
        Helper::instance()->showInformation(tr("Export to %1 successfully!").arg(path));
    else
        Helper::instance()->showError(tr("Export to %1 Failed!").arg(path));
}

void ProjectFiles::startupStep() {
    kx::DataObject* setting = kx::d(QStringLiteral("config.setting"));
    const bool loadLast = setting->c(QStringLiteral("load_last_project"))->getBool(false);
    if (loadLast) {
        const QString path = kx::d(QStringLiteral("config.last_project_path"))->getString(QString());
        if (!path.isEmpty())
            openProject(path);
    }
    CANWorker* worker = Helper::instance()->worker();
    if (!loadLast && setting->c(QStringLiteral("auto_connect"))->getBool(false) && worker)
        worker->connectLastPort();
}

void ProjectFiles::saveOnExitStep(QObject* changer) {
    if (!kx::d(QStringLiteral("config.setting.save_project_on_exit"))->getBool(false))
        return;
    const QString path = workingPath()->getString(QString());
    if (path.isEmpty())
        return;
    if (!saveProjectTo(path))
        kx::logW() << "project could not be saved at exit to " + path;
    kx::d(QStringLiteral("config"))->set(changer, QStringLiteral("last_project_path"), path, true);
}
