#pragma once

#include <QObject>

class QWidget;

namespace kx {
class DataObject;
}

// The project commands of the File menu (New, Open, Save, Save as, Import, Export) and the
// two automatic steps: opening the last project at start and saving it at exit.
class ProjectFiles : public QObject {
    Q_OBJECT

public:
    // owner parents the dialogs and is the changer of every tree write.
    explicit ProjectFiles(QWidget* owner);

    // Replaces the device list by the devices of the file and binds "working_path" to it.
    // A file that is unreadable, damaged or not a project changes nothing: error box, false.
    bool openProject(const QString& path);
    bool saveProjectTo(const QString& path);
    // Saves to path and reports the outcome with a message box.
    bool saveAndReport(const QString& path);
    // Adds the devices of a project file to the current project; false when the file holds
    // no readable project.
    bool importFrom(const QString& path);
    // Writes the project to path in its XML form.
    bool exportTo(const QString& path);

    void startupStep();
    void saveOnExitStep(QObject* changer);

public slots:
    void newProject();
    void openWithDialog();
    void save();
    void saveAs();
    void importWithDialog();
    void exportWithDialog();

private:
    // Reads a whole project file into tmp; false when it is unreadable or holds no project.
    bool readProject(const QString& path, kx::DataObject* tmp);

    QWidget* m_owner;
};
