// A screen the shell has never heard of plugs in through the registry alone: its tab, its page
// kind with an event node of its own, and buttons on the strips of other tabs.
#include "apptest.h"
#include "shellstandins.h"

#include "app/editor/baseeditorpage.h"
#include "app/editor/editor.h"
#include "app/editor/placeholderpage.h"
#include "app/editor/titlewidget.h"
#include "app/shell/lefttitle.h"
#include "app/shell/mainwindow.h"
#include "app/shell/shellregistry.h"
#include "app/shell/toolwidget.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

class BenchPage : public QWidget, public BaseEditorPage {
public:
    explicit BenchPage(const QString& kind) : BaseEditorPage(kind) {
        setObjectName(QStringLiteral("BenchPage"));
    }
};

int g_runs = 0;

QStringList objectNames(const QList<QToolButton*>& buttons) {
    QStringList names;
    for (QToolButton* button : buttons)
        names << button->objectName();
    return names;
}

void registerBenchScreen() {
    registerShellStandIns();

    ShellRegistry::TabEntry tab;
    tab.key = QStringLiteral("bench");
    tab.objectName = QStringLiteral("tlbtnBench");
    tab.title = {"BenchScreens", "Bench"};
    tab.order = 25;  // between Configure and Analyze
    tab.index = 7;
    tab.tools = [](QWidget* parent) {
        auto* tools = new QWidget(parent);
        tools->setObjectName(QStringLiteral("BenchTools"));
        return tools;
    };
    QVERIFY(ShellRegistry::addTab(tab));

    ShellRegistry::PageEntry page;
    page.kind = QStringLiteral("bench_page");
    page.title = {"BenchScreens", "Bench Page"};
    page.trigger = QStringLiteral("trigger.bench.page.new");
    page.factory = [](QWidget*) { return new BenchPage(QStringLiteral("bench_page")); };
    QVERIFY(ShellRegistry::addPage(page));

    ShellRegistry::PageEntry log;
    log.kind = QStringLiteral("bench_log");
    log.title = {"BenchScreens", "Bench Log"};
    log.trigger = QStringLiteral("trigger.bench.log.new");
    log.needsDevice = false;
    log.recreate = true;
    log.factory = [](QWidget*) { return new BenchPage(QStringLiteral("bench_log")); };
    QVERIFY(ShellRegistry::addPage(log));

    // A factory that makes a page of another kind: the editor could never find it again.
    ShellRegistry::PageEntry wrong;
    wrong.kind = QStringLiteral("bench_wrong");
    wrong.trigger = QStringLiteral("trigger.bench.wrong.new");
    wrong.needsDevice = false;
    wrong.factory = [](QWidget*) { return new PlaceholderPage(QStringLiteral("bench_other")); };
    QVERIFY(ShellRegistry::addPage(wrong));

    // Buttons on strips the bench screen does not own, one per way of acting; the later
    // order number is registered first.
    ShellRegistry::ActionEntry second;
    second.tab = QStringLiteral("help");
    second.objectName = QStringLiteral("btnBenchRun");
    second.text = {"BenchScreens", "Run"};
    second.order = 2;
    second.run = [] { ++g_runs; };
    QVERIFY(ShellRegistry::addAction(second));
    ShellRegistry::ActionEntry first;
    first.tab = QStringLiteral("help");
    first.objectName = QStringLiteral("btnBenchLog");
    first.text = {"BenchScreens", "Bench Log"};
    first.icon = QStringLiteral(":/images/motor/logo2.png");
    first.order = 1;
    first.trigger = QStringLiteral("trigger.bench.log.new");
    QVERIFY(ShellRegistry::addAction(first));
}

}  // namespace

class TestShellRegistry : public QObject {
    Q_OBJECT

private:
    static void fire(const char* path) { kx::d(QString::fromLatin1(path))->trigger(); }
    static void activate(kx::DataObject* device) { Helper::instance()->setCurrentDeviceDobj(device); }
    static kx::DataObject* indexNode() { return kx::d(QStringLiteral("wnd.left_title.index")); }

private slots:
    void initTestCase() { registerBenchScreen(); }

    void newTabSitsInOrderAndOldIndexesKeepTheirTabs() {
        CaseEnvironment env;
        MainWindow window;
        const QList<QToolButton*> tabs = window.leftTitle()->tabButtons();
        QCOMPARE(objectNames(tabs),
                 (QStringList{"tlbtnDevice", "tlbtnParam", "tlbtnBench", "tlbtnAnalyze", "tlbtnHelp"}));
        QCOMPARE(tabs[2]->text(), QStringLiteral("Bench"));

        tabs[2]->click();
        QCOMPARE(indexNode()->getInt(-1), 7);
        QCOMPARE(window.toolWidget()->toolsWidget()->objectName(), QStringLiteral("BenchTools"));
        // The tab after the new one still answers to its old number, in both directions.
        tabs[3]->click();
        QCOMPARE(indexNode()->getInt(-1), 2);
        indexNode()->set(nullptr, 3);
        QCOMPARE(window.toolWidget()->toolsWidget()->objectName(), QStringLiteral("HelpTools"));
        // A number no tab answers to leaves the strip alone.
        QPointer<QWidget> help = window.toolWidget()->toolsWidget();
        indexNode()->set(nullptr, 5);
        QCOMPARE(window.toolWidget()->toolsWidget(), help.data());
    }

    void windowOpensOnTheSelectedTab_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("tools");
        QTest::newRow("new tab") << 7 << "tlbtnBench"
                                 << "BenchTools";
        QTest::newRow("old Analyze") << 2 << "tlbtnAnalyze"
                                     << "PlaceholderTools";
        QTest::newRow("old Help") << 3 << "tlbtnHelp"
                                  << "HelpTools";
        QTest::newRow("no such tab") << 42 << "tlbtnDevice"
                                     << "";
    }

    void windowOpensOnTheSelectedTab() {
        QFETCH(int, index);
        QFETCH(QString, button);
        QFETCH(QString, tools);
        CaseEnvironment env;
        indexNode()->set(nullptr, index);
        MainWindow window;
        QStringList checked;
        for (QToolButton* tab : window.leftTitle()->tabButtons()) {
            if (tab->isChecked())
                checked << tab->objectName();
        }
        QCOMPARE(checked, QStringList{button});
        QWidget* shown = window.toolWidget()->toolsWidget();
        QCOMPARE(shown ? shown->objectName() : QString(), tools);
    }

    void tabWithoutToolsNamesItselfInThePlaceholder() {
        CaseEnvironment env;
        MainWindow window;
        indexNode()->set(nullptr, 2);
        QWidget* tools = window.toolWidget()->toolsWidget();
        QCOMPARE(tools->objectName(), QStringLiteral("PlaceholderTools"));
        QCOMPARE(tools->findChild<QLabel*>()->text(),
                 QStringLiteral("The Analyze tools are not part of this build yet."));
    }

    void addedButtonsFollowTheToolsAndAct() {
        CaseEnvironment env;
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        indexNode()->set(nullptr, 3);
        QWidget* tools = window.toolWidget()->toolsWidget();
        auto* log = window.toolWidget()->findChild<QPushButton*>(QStringLiteral("btnBenchLog"));
        auto* run = window.toolWidget()->findChild<QPushButton*>(QStringLiteral("btnBenchRun"));
        QVERIFY(log && run);
        QCOMPARE(log->text(), QStringLiteral("Bench Log"));
        QVERIFY(!log->icon().isNull());
        QVERIFY(run->icon().isNull());
        QTRY_VERIFY(log->isVisible());
        // After the tab's own tools, in their order, whatever the order of registration.
        QVERIFY(log->mapTo(&window, QPoint()).x() >= tools->mapTo(&window, QPoint(tools->width(), 0)).x());
        QVERIFY(run->mapTo(&window, QPoint()).x() > log->mapTo(&window, QPoint()).x());
        // Other tabs do not carry them.
        indexNode()->set(nullptr, 0);
        QVERIFY(!window.toolWidget()->findChild<QPushButton*>(QStringLiteral("btnBenchLog")));

        indexNode()->set(nullptr, 3);
        const int runs = g_runs;
        window.toolWidget()->findChild<QPushButton*>(QStringLiteral("btnBenchRun"))->click();
        QCOMPARE(g_runs, runs + 1);
        window.toolWidget()->findChild<QPushButton*>(QStringLiteral("btnBenchLog"))->click();
        QCOMPARE(window.editor()->count(), 1);
        QCOMPARE(window.editor()->title(0)->text(), QStringLiteral("Bench Log - Motor 0"));
    }

    void newKindOpensForTheActivatedDeviceAndSelects() {
        CaseEnvironment env;
        // The screen brought its event node; the data tree's template has none.
        QVERIFY(!kx::d(QStringLiteral("trigger.bench.page.new"))->isEmpty());
        MainWindow window;
        Editor* editor = window.editor();
        fire("trigger.bench.page.new");
        QCOMPARE(editor->count(), 0);
        QCOMPARE(env.prompt.calls.size(), 1);
        QCOMPARE(env.prompt.calls[0].text, QStringLiteral("No activated device!"));

        kx::DataObject* a = addDevice(QStringLiteral("A1"), 1);
        kx::DataObject* b = addDevice(QStringLiteral("B2"), 2);
        activate(a);
        fire("trigger.bench.page.new");
        QCOMPARE(editor->count(), 1);
        auto* page = dynamic_cast<BenchPage*>(editor->page(0));
        QVERIFY(page);
        QCOMPARE(page->device(), a);
        QCOMPARE(editor->title(0)->text(), QStringLiteral("Bench Page - Motor 1"));
        QCOMPARE(Helper::instance()->editorType(), QStringLiteral("bench_page"));

        // Another page in front; a second request brings the open page back.
        fire("trigger.bench.log.new");
        QCOMPARE(editor->currentIndex(), 1);
        fire("trigger.bench.page.new");
        QCOMPARE(editor->count(), 2);
        QCOMPARE(editor->currentIndex(), 0);
        QCOMPARE(editor->page(0), page);

        activate(b);
        fire("trigger.bench.page.new");
        QCOMPARE(editor->count(), 3);
        QCOMPARE(editor->findPage(QStringLiteral("bench_page"), b), 2);
        QCOMPARE(editor->title(2)->text(), QStringLiteral("Bench Page - Motor 2"));
    }

    void recreatingKindReplacesItsPage() {
        CaseEnvironment env;
        MainWindow window;
        Editor* editor = window.editor();
        kx::DataObject* a = addDevice(QStringLiteral("A1"), 1);
        activate(a);
        fire("trigger.bench.log.new");
        fire("trigger.bench.page.new");
        QPointer<QWidget> first = editor->page(0);
        fire("trigger.bench.log.new");
        QCOMPARE(editor->count(), 2);
        QVERIFY(first.isNull());
        QCOMPARE(editor->findPage(QStringLiteral("bench_log"), a), 1);
        QCOMPARE(editor->currentIndex(), 1);
        QCOMPARE(env.prompt.calls.size(), 0);
    }

    void pageOfAnotherKindIsNotOpened() {
        CaseEnvironment env;
        MainWindow window;
        fire("trigger.bench.wrong.new");
        fire("trigger.bench.wrong.new");
        QCOMPARE(window.editor()->count(), 0);
    }

    void clashingRegistrationsAreRefused() {
        const int tabs = ShellRegistry::tabs().size();
        ShellRegistry::TabEntry tab;
        tab.key = QStringLiteral("bench");  // taken
        tab.index = 8;
        QVERIFY(!ShellRegistry::addTab(tab));
        tab.key = QStringLiteral("other");
        tab.index = 3;  // Help's
        QVERIFY(!ShellRegistry::addTab(tab));
        QCOMPARE(ShellRegistry::tabs().size(), tabs);

        ShellRegistry::PageEntry page;
        page.kind = QStringLiteral("bench_page");
        page.trigger = QStringLiteral("trigger.bench.other.new");
        QVERIFY(!ShellRegistry::addPage(page));
        // A refused page leaves no event node behind.
        QVERIFY(kx::d(QStringLiteral("trigger.bench.other.new"))->isEmpty());

        ShellRegistry::ActionEntry button;
        button.tab = QStringLiteral("help");
        button.objectName = QStringLiteral("btnBenchRun");
        button.trigger = QStringLiteral("trigger.bench.log.new");
        QVERIFY(!ShellRegistry::addAction(button));
        QCOMPARE(ShellRegistry::actions(QStringLiteral("help")).size(), 2);
    }
};

TRIVANE_GUI_TEST_MAIN(TestShellRegistry)
#include "tst_shellregistry.moc"
