#include "apptest.h"
#include "pty.h"

#include "app/filedialogs.h"
#include "app/project/projectfiles.h"
#include "app/shell/devicelist.h"
#include "link/canworker.h"
#include "link/otathread.h"

#include "../link/simbench.h"

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

    void newEmptiesTheProjectAndSavesAddTheExtension() {
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

        // Names typed without an extension get the one the open dialog filters by.
        addDevice(QStringLiteral("A1"), 1);
        dialogs.answer = env.path("bench");
        files.saveAs();
        QVERIFY(QFile::exists(env.path("bench.prj")));
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(), env.path("bench.prj"));
        kx::d(QStringLiteral("working_path"))->set(nullptr, QString());
        dialogs.answer = env.path("other.");
        files.save();
        QVERIFY(QFile::exists(env.path("other.prj")));
        dialogs.answer = env.path("export");
        files.exportWithDialog();
        QVERIFY(QFile::exists(env.path("export.xml")));
        // A name with its own extension is left as it is.
        dialogs.answer = env.path("bench.v2");
        files.saveAs();
        QVERIFY(QFile::exists(env.path("bench.v2")));
    }

    // A project file cut short inside its third motor: Open, New on it, Import and the
    // start-up step change nothing, name the file, and save-on-exit never rewrites it.
    void damagedProjectFileCostsNothing() {
        CaseEnvironment env;
        QWidget owner;
        ProjectFiles files(&owner);
        writeProject(env.path("three.prj"),
                     {QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")});
        QFile whole(env.path("three.prj"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        whole.close();
        const QByteArray damaged = bytes.left(bytes.indexOf("can_id", bytes.indexOf("C3")));
        QVERIFY(damaged.size() > 100);
        QFile cut(env.path("cut.prj"));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(damaged);
        cut.close();
        const auto fileUntouched = [&] {
            QFile file(env.path("cut.prj"));
            return file.open(QIODevice::ReadOnly) && file.readAll() == damaged;
        };

        addDevice(QStringLiteral("D4"), 4);
        kx::d(QStringLiteral("working_path"))->set(nullptr, env.path("current.prj"));
        Dialogs dialogs{{}, env.path("cut.prj")};
        script(&dialogs);
        files.openWithDialog();
        files.newProject();
        files.importWithDialog();
        QCOMPARE(env.prompt.calls.size(), 3);
        for (const PromptCall& call : qAsConst(env.prompt.calls)) {
            QCOMPARE(call.kind, QStringLiteral("error"));
            QVERIFY2(call.text.contains(env.path("cut.prj")), qPrintable(call.text));
        }
        QCOMPARE(devices()->cdobjNames(), QStringList{QStringLiteral("D4")});
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(), env.path("current.prj"));

        // The start-up run that lost the motors: load the last project, save it at exit.
        devices()->clear(nullptr, true, false);
        kx::d(QStringLiteral("working_path"))->set(nullptr, QString());
        kx::DataObject* config = kx::d(QStringLiteral("config"));
        config->set(nullptr, QStringLiteral("setting.load_last_project"), true);
        config->set(nullptr, QStringLiteral("setting.save_project_on_exit"), true);
        config->set(nullptr, QStringLiteral("last_project_path"), env.path("cut.prj"), true);
        files.startupStep();
        QCOMPARE(env.prompt.calls.size(), 4);
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(), QString());
        addDevice(QStringLiteral("E5"), 5);
        files.saveOnExitStep(&owner);
        QVERIFY(fileUntouched());
        QCOMPARE(config->c(QStringLiteral("last_project_path"))->getString(), env.path("cut.prj"));
    }

    // Detected identities come back from every file form: names, MCU IDs and CAN IDs.
    void detectedIdentitiesSurviveEveryFileForm() {
        CaseEnvironment env;
        QWidget owner;
        DeviceList list;
        ProjectFiles files(&owner);
        kx::DataObject* config = kx::d(QStringLiteral("config"));
        config->set(nullptr, QStringLiteral("setting.enable_multiple_devices"), true);
        config->set(nullptr, QStringLiteral("setting.upload_param_on_connected"), false);
        linktest::SimBench sim;
        const QString port = sim.start({QStringLiteral("--motors"), QStringLiteral("2"),
                                        QStringLiteral("--can-ids"), QStringLiteral("5,9")});
        QVERIFY(!port.isEmpty());
        CANWorker* worker = Helper::instance()->worker();
        QSignalSpy scanned(worker->link(), &otaThread::scanFinished);
        worker->connectPort(port);
        QVERIFY(scanned.wait(30000));
        QTRY_COMPARE_WITH_TIMEOUT(devices()->size(), 2, 5000);
        const auto identities = [] {
            QStringList result;
            for (kx::DataObject* record : devices()->cdobjs()) {
                result << record->name() + QLatin1Char('/') +
                              QString::number(record->r(QStringLiteral("info.mcu_id"))->get().toULongLong(),
                                              16) +
                              QLatin1Char('/') + CANWorker::deviceDisplayName(record);
            }
            return result;
        };
        // Late announcements must not refill the list behind the file operations below.
        config->set(nullptr, QStringLiteral("setting.remove_device_on_disconnected"), false);
        worker->disconnectPort();
        sim.stop();
        const QStringList detected = identities();
        QCOMPARE(detected.size(), 2);
        QVERIFY2(detected[0].endsWith(QLatin1String("/Motor 9")) &&
                     detected[1].endsWith(QLatin1String("/Motor 5")),
                 qPrintable(detected.join(' ')));
        QCOMPARE(detected[0].section('/', 0, 0), detected[0].section('/', 1, 1));

        // XML: Save, then Open (the bench is gone: the records come from the file alone).
        Dialogs dialogs{{}, env.path("bench")};
        script(&dialogs);
        files.save();
        devices()->clear(nullptr, true, false);
        QVERIFY(files.openProject(env.path("bench.prj")));
        QCOMPARE(identities(), detected);

        kx::DataObject* project = kx::d(QStringLiteral("project"));
        QVERIFY(kx::DataManager::writeToBin(env.path("bench.bin"), project->exportToBin(true)));
        devices()->clear(nullptr, true, false);
        project->importFromBin(nullptr, kx::DataManager::readFromBin(env.path("bench.bin")), true, true,
                               false);
        QCOMPARE(identities(), detected);

        QVERIFY(kx::DataManager::writeToJson(env.path("bench.json"), project->exportToJson(true)));
        devices()->clear(nullptr, true, false);
        project->importFromJson(nullptr, kx::DataManager::readFromJson(env.path("bench.json")), true, true,
                                false);
        // A JSON object keeps its keys sorted, not in detection order.
        QStringList sorted = detected;
        sorted.sort();
        QCOMPARE(identities(), sorted);
    }

    // Files of earlier versions hold the CAN ID as a type without a value.
    void lostIdentitiesReadAsUnknown() {
        CaseEnvironment env;
        QWidget owner;
        DeviceList list;
        ProjectFiles files(&owner);
        QFile old(env.path("old.prj"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<m>
    <c name="version" type="6" value="1"/>
    <c name="device">
        <c name="3a10c5e700001001">
            <c name="info">
                <c name="mcu_id" type="5" value="4184061649755312129"/>
                <c name="can_id" type="37"/>
            </c>
        </c>
        <c name="3a10c5e700002002">
            <c name="info">
                <c name="can_id" type="37"/>
            </c>
        </c>
    </c>
</m>
)");
        old.close();
        QVERIFY(files.openProject(env.path("old.prj")));
        QCOMPARE(devices()->size(), 2);
        for (kx::DataObject* record : devices()->cdobjs()) {
            QCOMPARE(CANWorker::deviceDisplayName(record), QStringLiteral("Motor ?"));
            QCOMPARE(QString::number(record->r(QStringLiteral("info.mcu_id"))->get().toULongLong(), 16),
                     record->name());
        }
        QCOMPARE(list.tree()->topLevelItem(1)->text(1), QStringLiteral("0x3a10c5e700002002"));
        QCOMPARE(list.tree()->topLevelItem(1)->text(0), QStringLiteral("Motor ?"));
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
