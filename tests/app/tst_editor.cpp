#include "apptest.h"
#include "shellstandins.h"

#include "app/editor/baseeditorpage.h"
#include "app/editor/editor.h"
#include "app/editor/titlewidget.h"
#include "app/help/webpage.h"

#include <QProgressBar>
#include <QUrl>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>

class TestEditor : public QObject {
    Q_OBJECT

private:
    static void fire(const char* path) { kx::d(QString::fromLatin1(path))->trigger(); }
    static int checkedTitles(Editor& editor) {
        int checked = 0;
        for (int i = 0; i < editor.count(); ++i)
            checked += editor.title(i)->selectButton()->isChecked() ? 1 : 0;
        return checked;
    }
    static void activate(kx::DataObject* device) { Helper::instance()->setCurrentDeviceDobj(device); }

private slots:
    void initTestCase() { registerShellStandIns(); }

    void titleNamesTheDeviceOnlyWhenThereAreSeveral() {
        CaseEnvironment env;
        Editor editor;
        activate(addDevice(QStringLiteral("A1"), 1));
        fire("trigger.configure.param.new");
        QCOMPARE(editor.title(0)->text(), QStringLiteral("Param Table"));

        activate(addDevice(QStringLiteral("B2"), 2));
        fire("trigger.configure.param.new");
        QCOMPARE(editor.count(), 2);
        QCOMPARE(editor.title(1)->text(), QStringLiteral("Param Table - Motor 2"));
    }

    void deviceInfoOpensOncePerDevice() {
        CaseEnvironment env;
        Editor editor;
        kx::DataObject* a = addDevice(QStringLiteral("A1"), 1);
        kx::DataObject* b = addDevice(QStringLiteral("B2"), 2);
        activate(a);
        fire("trigger.device.info.new");
        fire("trigger.help.instruction");
        QCOMPARE(editor.count(), 2);
        QCOMPARE(editor.currentIndex(), 1);
        fire("trigger.device.info.new");
        QCOMPARE(editor.count(), 2);
        QCOMPARE(editor.currentIndex(), 0);
        QCOMPARE(checkedTitles(editor), 1);
        QVERIFY(editor.title(0)->selectButton()->isChecked());

        activate(b);
        fire("trigger.device.info.new");
        QCOMPARE(editor.count(), 3);
        QCOMPARE(editor.findPage(QStringLiteral("device_info"), b), 2);
    }

    void paramTableRequestReplacesThePage() {
        CaseEnvironment env;
        Editor editor;
        activate(addDevice(QStringLiteral("A1"), 1));
        fire("trigger.configure.param.new");
        QPointer<QWidget> first = editor.page(0);
        fire("trigger.device.info.new");
        fire("trigger.configure.param.new");
        QCOMPARE(editor.count(), 2);
        QVERIFY(first.isNull());
        auto* table = dynamic_cast<BaseEditorPage*>(editor.page(1));
        QVERIFY(table);
        QCOMPARE(table->kind(), QStringLiteral("param_table"));
        QCOMPARE(editor.currentIndex(), 1);
    }

    void withoutActivatedDeviceNothingOpens() {
        CaseEnvironment env;
        Editor editor;
        addDevice(QStringLiteral("A1"), 1);
        fire("trigger.device.info.new");
        fire("trigger.configure.param.new");
        QCOMPARE(editor.count(), 0);
        QCOMPARE(env.prompt.calls.size(), 2);
        QCOMPARE(env.prompt.calls[0].kind, QStringLiteral("error"));
        QCOMPARE(env.prompt.calls[0].title, QStringLiteral("Trivane Error"));
        QCOMPARE(env.prompt.calls[0].text, QStringLiteral("No activated device!"));
    }

    void closingPagesFollowsTheStripOrder_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("close");
        QTest::addColumn<int>("expectedCurrent");
        QTest::addColumn<int>("expectedChecked");
        // Closing the middle page brings the former third forward even when the first was in front.
        QTest::newRow("middle, first current") << 0 << 1 << 1 << 1;
        QTest::newRow("middle, middle current") << 1 << 1 << 1 << 1;
        // Closing the current last page shows the new last page but checks no title.
        QTest::newRow("last, last current") << 2 << 2 << 1 << 0;
        // Closing a last page that is not in front keeps the current page.
        QTest::newRow("last, first current") << 0 << 2 << 0 << 1;
        QTest::newRow("first, last current") << 2 << 0 << 0 << 1;
    }

    void closingPagesFollowsTheStripOrder() {
        QFETCH(int, current);
        QFETCH(int, close);
        QFETCH(int, expectedCurrent);
        QFETCH(int, expectedChecked);
        CaseEnvironment env;
        Editor editor;
        activate(addDevice(QStringLiteral("A1"), 1));
        fire("trigger.device.info.new");
        fire("trigger.configure.param.new");
        fire("trigger.help.instruction");
        QList<QWidget*> pages = {editor.page(0), editor.page(1), editor.page(2)};
        editor.selectPage(current);
        editor.title(close)->closeButton()->click();
        pages.removeAt(close);

        QCOMPARE(editor.count(), 2);
        QCOMPARE(editor.stack()->count(), 2);
        QCOMPARE(editor.currentIndex(), expectedCurrent);
        QCOMPARE(editor.stack()->currentWidget(), pages[expectedCurrent]);
        QCOMPARE(checkedTitles(editor), expectedChecked);
        if (expectedChecked)
            QVERIFY(editor.title(expectedCurrent)->selectButton()->isChecked());
        QCOMPARE(editor.page(0), pages[0]);
        QCOMPARE(editor.page(1), pages[1]);
    }

    void removingADeviceClosesItsPages() {
        CaseEnvironment env;
        Editor editor;
        kx::DataObject* a = addDevice(QStringLiteral("A1"), 1);
        kx::DataObject* b = addDevice(QStringLiteral("B2"), 2);
        a->set(nullptr, QStringLiteral("param.x"), 1, true);
        // Opened with no device activated: bound to no record, it stays.
        fire("trigger.help.instruction");
        activate(a);
        fire("trigger.device.info.new");
        fire("trigger.configure.param.new");
        fire("trigger.analyze.oscilloscope.new");
        activate(b);
        fire("trigger.device.info.new");
        QCOMPARE(editor.count(), 5);

        kx::d(QStringLiteral("project.device"))->remove(nullptr, a, true);
        QCOMPARE(editor.count(), 2);
        QCOMPARE(editor.findPage(QStringLiteral("device_info"), b), 1);
        QCOMPARE(dynamic_cast<BaseEditorPage*>(editor.page(0))->kind(), QStringLiteral("web"));
    }

    void frontPageIsReportedToTheHelper() {
        CaseEnvironment env;
        Editor editor;
        Helper* helper = Helper::instance();
        QSignalSpy spy(helper, &Helper::editDevieDobjChanged);
        kx::DataObject* a = addDevice(QStringLiteral("A1"), 1);
        activate(a);
        fire("trigger.configure.param.new");
        QCOMPARE(helper->editDeviceDobj(), a);
        QCOMPARE(helper->editorType(), QStringLiteral("param_table"));
        QVERIFY(!spy.isEmpty());
        QCOMPARE(spy.last().at(0).toString(), QStringLiteral("param_table"));

        editor.closePage(0);
        QVERIFY(helper->editDeviceDobj()->isEmpty());
        QCOMPARE(helper->editorType(), QString());
        QCOMPARE(spy.last().at(0).toString(), QString());
    }

    void manualUrlNamesTheFileInAnAwkwardDirectory() {
        CaseEnvironment env;
        // URL syntax characters in the working directory stay part of the file name.
        QVERIFY(QDir().mkpath(QStringLiteral("a #1 100%")));
        QDir::setCurrent(env.path(QStringLiteral("a #1 100%")));
        const QUrl url = WebPage::manualUrl();
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), env.path(QStringLiteral("a #1 100%/instruction.pdf")));
        QVERIFY(!url.hasFragment());
    }

    void instructionPageTitlesAndMissingManual() {
        CaseEnvironment env;
        Editor editor;
        fire("trigger.help.instruction");
        fire("trigger.help.instruction");
        QCOMPARE(editor.count(), 1);
        QCOMPARE(editor.title(0)->text(), QStringLiteral("Instruction - Motor 0"));
        auto* web = qobject_cast<WebPage*>(editor.page(0));
        QVERIFY(web);
        // No instruction.pdf in the working directory: the load still ends and hides the bar.
        QTRY_VERIFY_WITH_TIMEOUT(!web->progressBar()->isVisibleTo(web), 60000);

        activate(addDevice(QStringLiteral("A1"), 1));
        fire("trigger.help.instruction");
        QCOMPARE(editor.count(), 2);
        QCOMPARE(editor.title(1)->text(), QStringLiteral("Instruction"));
    }
};

TRIVANE_GUI_TEST_MAIN(TestEditor)
#include "tst_editor.moc"
