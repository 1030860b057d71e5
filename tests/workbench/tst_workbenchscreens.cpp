// The device workbench's screens as the program registers them, in the real main window.
#include "app/apptest.h"
#include "app/editor/editor.h"
#include "app/editor/titlewidget.h"
#include "app/help/helpscreens.h"
#include "app/shell/lefttitle.h"
#include "app/shell/mainwindow.h"
#include "workbench/device/deviceinfopage.h"
#include "workbench/param/paramtablepage.h"
#include "workbench/workbenchscreens.h"

#include <QToolButton>
#include <QTranslator>

class TestWorkbenchScreens : public QObject {
    Q_OBJECT

private:
    static void fire(const char* path) { kx::d(QString::fromLatin1(path))->trigger(); }
    static QStringList tabTexts(MainWindow& window) {
        QStringList texts;
        for (QToolButton* tab : window.leftTitle()->tabButtons())
            texts << tab->objectName() + QLatin1Char(' ') + tab->text();
        return texts;
    }

private slots:
    void initTestCase() {
        registerWorkbenchScreens();
        registerHelpScreens();
        // A second call from another start-up path changes nothing.
        registerWorkbenchScreens();
    }

    void infoPageIsSelectedAndTableRecreated() {
        CaseEnvironment env;
        Editor editor;
        Helper::instance()->setCurrentDeviceDobj(addDevice(QStringLiteral("A1"), 1));
        fire("trigger.device.info.new");
        fire("trigger.configure.param.new");
        QPointer<QWidget> table = editor.page(1);
        QVERIFY(qobject_cast<ParamTablePage*>(table));
        fire("trigger.device.info.new");
        QCOMPARE(editor.count(), 2);
        QCOMPARE(editor.currentIndex(), 0);
        QVERIFY(qobject_cast<DeviceInfoPage*>(editor.page(0)));
        QCOMPARE(editor.title(0)->text(), QStringLiteral("Device Info"));

        fire("trigger.configure.param.new");
        QCOMPARE(editor.count(), 2);
        QVERIFY(table.isNull());
        QVERIFY(qobject_cast<ParamTablePage*>(editor.page(1)));
        QCOMPARE(editor.title(1)->text(), QStringLiteral("Param Table"));
        QCOMPARE(editor.currentIndex(), 1);
    }

    // The screens register before the translation is installed; their texts still follow it.
    void textsFollowTheLanguageInstalledLater() {
        CaseEnvironment env;
        QDir().mkpath(QStringLiteral("i18n"));
        QVERIFY(
            QFile::copy(QStringLiteral(TRIVANE_BIN_DIR "/i18n/zh_CN.qm"), QStringLiteral("i18n/zh_CN.qm")));
        QTranslator* translator = Startup::installTranslation(QStringLiteral("zh_CN"), this);
        QVERIFY(translator);
        {
            MainWindow window;
            QCOMPARE(tabTexts(window),
                     (QStringList{QString::fromUtf8("tlbtnDevice 设备"), QString::fromUtf8("tlbtnParam 配置"),
                                  QString::fromUtf8("tlbtnHelp 帮助")}));
            Helper::instance()->setCurrentDeviceDobj(addDevice(QStringLiteral("A1"), 1));
            fire("trigger.device.info.new");
            QCOMPARE(window.editor()->title(0)->text(), QString::fromUtf8("设备信息"));
        }
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
};

TRIVANE_GUI_TEST_MAIN(TestWorkbenchScreens)
#include "tst_workbenchscreens.moc"
