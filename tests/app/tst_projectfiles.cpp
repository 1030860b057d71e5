#include "apptest.h"
#include "pty.h"

#include "app/filedialogs.h"
#include "app/project/projectfiles.h"
#include "app/shell/devicelist.h"
#include "link/canworker.h"

#include <QFile>
#include <QTreeWidget>
#include <QWidget>

class TestProjectFiles : public QObject {
    Q_OBJECT

private:
    struct Dialogs {
        QStringList titles;
        QString answer;
    };
    static void script(Dialogs* dialogs) {
        FileDialogs::setChooser([dialogs](FileDialogs::Mode, const QString& title, const QString&) {
            dialogs->titles.append(title);
            return dialogs->answer;
        });
    }
    static kx::DataObject* devices() { return kx::d(QStringLiteral("project.device")); }
    // A project file with the given devices, written by the same writer as Save.
    static void writeProject(const QString& path, const QStringList& mcus, const QString& port = QString()) {
        devices()->clear(nullptr, true, false);
        int canId = 1;
        for (const QString& mcu : mcus)
            addDevice(mcu, canId++);
        kx::d(QStringLiteral("project.serial_port"))->set(nullptr, port);
        QVERIFY(kx::DataManager::writeToXmlFile(path, kx::d(QStringLiteral("project"))));
        devices()->clear(nullptr, true, false);
        kx::d(QStringLiteral("project.serial_port"))->set(nullptr, QString());
    }

private slots:
    void initTestCase() { Helper::instance()->createBackends(); }
    void cleanupTestCase() {
        kx::d(QStringLiteral("_can"))->set(nullptr, QVariant());
        Helper::instance()->destroyBackends();
    }
    void cleanup() {
        FileDialogs::setChooser({});
        Helper::instance()->worker()->disconnectPort();
    }

    void saveAsksOnceThenWritesToTheSameFile() {
        CaseEnvironment env;
        QWidget owner;
        ProjectFiles files(&owner);
        Dialogs dialogs{{}, env.path("bench.prj")};
        script(&dialogs);
        addDevice(QStringLiteral("A1"), 1);

        files.save();
        QCOMPARE(dialogs.titles, QStringList{QStringLiteral("Save Project")});
        QVERIFY(QFile::exists(env.path("bench.prj")));
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(), env.path("bench.prj"));
        QCOMPARE(env.prompt.calls.size(), 1);
        QCOMPARE(env.prompt.calls[0].title, QStringLiteral("Trivane Information"));
        QCOMPARE(env.prompt.calls[0].text,
                 QStringLiteral("Save to %1 successfully!").arg(env.path("bench.prj")));

        addDevice(QStringLiteral("B2"), 2);
        files.save();
        QCOMPARE(dialogs.titles.size(), 1);
        QCOMPARE(env.prompt.calls.size(), 2);
        const QByteArray saved = [&] {
            QFile file(env.path("bench.prj"));
            file.open(QIODevice::ReadOnly);
            return file.readAll();
        }();
        QVERIFY(saved.contains("B2"));
        QVERIFY(!saved.contains("_connected"));
    }

    void saveFailureAndCancel() {
        CaseEnvironment env;
        QWidget owner;
        ProjectFiles files(&owner);
        QFile blocker(env.path("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Dialogs dialogs{{}, QString()};
        script(&dialogs);
        files.save();
        files.saveAs();
        QCOMPARE(dialogs.titles,
                 (QStringList{QStringLiteral("Save Project"), QStringLiteral("Save as Project")}));
        QVERIFY(env.prompt.calls.isEmpty());

        kx::d(QStringLiteral("working_path"))->set(nullptr, env.path("kept.prj"));
        dialogs.answer = env.path("file/sub.prj");
        files.saveAs();
        QCOMPARE(env.prompt.calls.size(), 1);
        QCOMPARE(env.prompt.calls[0].kind, QStringLiteral("error"));
        QCOMPARE(env.prompt.calls[0].text, QStringLiteral("Save to %1 Failed!").arg(dialogs.answer));
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(), env.path("kept.prj"));
    }

    void deviceListActivatesTheFirstConnectedDeviceOnly() {
        CaseEnvironment env;
        DeviceList list;
        CANWorker* worker = Helper::instance()->worker();
        kx::DataObject* first = addDevice(QStringLiteral("A1"), 1);
        kx::DataObject* second = addDevice(QStringLiteral("B2"), 2);
        emit worker->deviceChanged();
        QVERIFY(Helper::instance()->currentDeviceDobj()->isEmpty());

        second->set(nullptr, QStringLiteral("_connected"), true, true);
        emit worker->deviceChanged();
        QCOMPARE(Helper::instance()->currentDeviceDobj(), second);
        // An activated device stays activated when others connect.
        first->set(nullptr, QStringLiteral("_connected"), true, true);
        emit worker->deviceChanged();
        QCOMPARE(Helper::instance()->currentDeviceDobj(), second);
    }

    void openReplacesTheDevicesAndFillsThemFromTheTemplate() {
        CaseEnvironment env;
        QWidget owner;
        DeviceList list;
        ProjectFiles files(&owner);
        writeProject(env.path("two.prj"), {QStringLiteral("A1"), QStringLiteral("B2")});
        addDevice(QStringLiteral("OLD"), 9);
        Dialogs dialogs{{}, env.path("two.prj")};
        script(&dialogs);
        files.openWithDialog();
        QCOMPARE(dialogs.titles, QStringList{QStringLiteral("Open Project")});
        QCOMPARE(devices()->cdobjNames(), (QStringList{QStringLiteral("A1"), QStringLiteral("B2")}));
        QCOMPARE(devices()->r(QStringLiteral("B2.info.can_id"))->getString(), QStringLiteral("2"));
        QVERIFY(devices()->r(QStringLiteral("A1._control.mode"))->get().isValid());
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(), env.path("two.prj"));
        QCOMPARE(list.tree()->topLevelItemCount(), 2);
        QVERIFY(env.prompt.calls.isEmpty());
    }

    void newAndUnreadableFilesEmptyTheProject() {
        CaseEnvironment env;
        QWidget owner;
        ProjectFiles files(&owner);
        addDevice(QStringLiteral("A1"), 1);
        Dialogs dialogs{{}, env.path("fresh.prj")};
        script(&dialogs);
        files.newProject();
        QCOMPARE(dialogs.titles, QStringList{QStringLiteral("New Project")});
        QCOMPARE(devices()->size(), 0);
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(), env.path("fresh.prj"));
        QVERIFY(!QFile::exists(env.path("fresh.prj")));

        QFile garbage(env.path("garbage.prj"));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("\x01\x02 not xml <<<");
        garbage.close();
        addDevice(QStringLiteral("A1"), 1);
        files.openProject(env.path("garbage.prj"));
        QCOMPARE(devices()->size(), 0);
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(), env.path("garbage.prj"));
        QVERIFY(env.prompt.calls.isEmpty());
    }

    void openConnectsOnlyWhenNoPortIsOpen() {
        CaseEnvironment env;
        QWidget owner;
        ProjectFiles files(&owner);
        TestPty first;
        TestPty second;
        QVERIFY(first.isValid() && second.isValid());
        CANWorker* worker = Helper::instance()->worker();
        writeProject(env.path("p.prj"), {QStringLiteral("A1")}, second.name());

        files.openProject(env.path("p.prj"));
        QTRY_VERIFY_WITH_TIMEOUT(worker->isConnected(), 20000);
        // The port reports its short name ("pts/N").
        QVERIFY(second.name().endsWith(worker->portName()));

        worker->disconnectPort();
        QTRY_VERIFY_WITH_TIMEOUT(!worker->isConnected(), 20000);
        worker->connectPort(first.name());
        QTRY_VERIFY_WITH_TIMEOUT(worker->isConnected(), 20000);
        files.openProject(env.path("p.prj"));
        QVERIFY(first.name().endsWith(worker->portName()));
        QCOMPARE(devices()->size(), 1);
    }

    void saveOnExitAndLoadLast() {
        CaseEnvironment env;
        QWidget owner;
        ProjectFiles files(&owner);
        kx::DataObject* config = kx::d(QStringLiteral("config"));

        // Switched off, or never saved: nothing happens.
        kx::d(QStringLiteral("working_path"))->set(nullptr, env.path("exit.prj"));
        files.saveOnExitStep(&owner);
        QVERIFY(!QFile::exists(env.path("exit.prj")));
        config->set(nullptr, QStringLiteral("setting.save_project_on_exit"), true);
        kx::d(QStringLiteral("working_path"))->set(nullptr, QString());
        files.saveOnExitStep(&owner);
        QCOMPARE(config->c(QStringLiteral("last_project_path"))->getString(), QString());

        addDevice(QStringLiteral("A1"), 4);
        kx::d(QStringLiteral("working_path"))->set(nullptr, env.path("exit.prj"));
        files.saveOnExitStep(&owner);
        QVERIFY(QFile::exists(env.path("exit.prj")));
        QCOMPARE(config->c(QStringLiteral("last_project_path"))->getString(), env.path("exit.prj"));
        QVERIFY(env.prompt.calls.isEmpty());

        // Next start with load_last_project: the project comes back.
        devices()->clear(nullptr, true, false);
        config->set(nullptr, QStringLiteral("setting.load_last_project"), true);
        files.startupStep();
        QCOMPARE(devices()->cdobjNames(), QStringList{QStringLiteral("A1")});
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(), env.path("exit.prj"));
    }

    void importAddsDevicesAndExportLeavesRunTimeStateOut() {
        CaseEnvironment env;
        QWidget owner;
        ProjectFiles files(&owner);
        writeProject(env.path("more.xml"), {QStringLiteral("B2"), QStringLiteral("C3")});
        addDevice(QStringLiteral("A1"), 1);
        devices()->c(QStringLiteral("A1"))->set(nullptr, QStringLiteral("_connected"), true, true);
        Dialogs dialogs{{}, env.path("more.xml")};
        script(&dialogs);
        files.importWithDialog();
        QCOMPARE(dialogs.titles, QStringList{QStringLiteral("Import Project")});
        QCOMPARE(devices()->cdobjNames(),
                 (QStringList{QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")}));
        QCOMPARE(env.prompt.calls.last().kind, QStringLiteral("information"));

        dialogs.answer = env.path("out.xml");
        files.exportWithDialog();
        QCOMPARE(dialogs.titles.last(), QStringLiteral("Export Project"));
        QFile out(env.path("out.xml"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray xml = out.readAll();
        QVERIFY(xml.contains("C3"));
        QVERIFY(!xml.contains("_connected"));
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(), QString());

        // A file without a project is refused and the devices stay.
        QFile text(env.path("text.xml"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("<note>hello</note>");
        text.close();
        dialogs.answer = env.path("text.xml");
        files.importWithDialog();
        QCOMPARE(env.prompt.calls.last().kind, QStringLiteral("error"));
        QCOMPARE(devices()->size(), 3);
    }
};

TRIVANE_GUI_TEST_MAIN(TestProjectFiles)
#include "tst_projectfiles.moc"
