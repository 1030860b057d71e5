#include "apptest.h"
#include "shellstandins.h"

#include "app/appinfo.h"
#include "app/busydialog.h"
#include "app/help/helptools.h"
#include "app/messageboxprompt.h"
#include "app/panel/panel.h"
#include "app/shell/devicelist.h"
#include "app/shell/lefttitle.h"
#include "app/shell/mainwindow.h"
#include "app/shell/righttitle.h"
#include "app/shell/statusbar.h"
#include "app/shell/toolwidget.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    static kx::DataObject* setting(const QString& key) {
        return kx::d(QStringLiteral("config.setting.") + key);
    }

private slots:
    void initTestCase() { registerShellStandIns(); }

    void titleLabelShowsTitleAndVersionAfterFirstPass() {
        CaseEnvironment env;
        MainWindow window;
        QCOMPARE(Helper::instance()->mainWindow(), &window);
        QTRY_COMPARE(window.titleLabel()->text(), QStringLiteral("Trivane v0.0.8"));
        kx::d(QStringLiteral("wnd.title"))->set(nullptr, QStringLiteral("Bench"));
        QCOMPARE(window.titleLabel()->text(), QStringLiteral("Bench v0.0.8"));
    }

    void settingsMenuIsBoundBothWays_data() {
        QTest::addColumn<QString>("key");
        for (const char* key : {"show_panel", "show_left_sidebar", "show_right_sidebar", "auto_connect",
                                "enable_multiple_devices", "upload_param_on_connected",
                                "remove_device_on_disconnected", "trigger_by_left", "auto_increase_can_id"})
            QTest::newRow(key) << QString::fromLatin1(key);
    }

    void settingsMenuIsBoundBothWays() {
        QFETCH(QString, key);
        CaseEnvironment env;
        RightTitle title;
        QAction* action = title.action(key);
        QVERIFY(action);
        kx::DataObject* node = setting(key);
        QCOMPARE(action->isChecked(), node->getBool(false));

        QSignalSpy nodeSpy(node, &kx::DataObject::changed);
        const bool start = action->isChecked();
        action->toggle();
        QCOMPARE(node->getBool(start), !start);
        QCOMPARE(nodeSpy.size(), 1);
        QCOMPARE(nodeSpy[0].at(2).value<QObject*>(), &title);

        // Another writer: the action follows without writing the node back.
        QSignalSpy toggledSpy(action, &QAction::toggled);
        node->set(nullptr, start);
        QCOMPARE(action->isChecked(), start);
        QCOMPARE(toggledSpy.size(), 0);
        QCOMPARE(nodeSpy.size(), 2);
    }

    void foldingThePanelUnchecksTheMenuAndKeepsTheText() {
        CaseEnvironment env;
        MainWindow window;
        window.show();
        kx::d(QStringLiteral("wnd.status.msg"))->set(nullptr, QStringLiteral("kept"));
        QTRY_VERIFY(window.panel()->logBrowser()->toPlainText().endsWith(QLatin1String("kept")));
        QAction* show = window.rightTitle()->action(QStringLiteral("show_panel"));
        QVERIFY(show->isChecked());
        window.panel()->findChild<QPushButton*>(QStringLiteral("btnFold"))->click();
        QVERIFY(!window.panel()->isVisible());
        QVERIFY(!show->isChecked());
        show->trigger();
        QVERIFY(window.panel()->isVisible());
        QCOMPARE(setting(QStringLiteral("show_panel"))->getBool(false), true);
        QVERIFY(window.panel()->logBrowser()->toPlainText().endsWith(QLatin1String("kept")));

        // The sidebars follow their nodes too, also when set to a non-bool value.
        setting(QStringLiteral("show_left_sidebar"))->set(nullptr, 1);
        QVERIFY(window.deviceTree()->isVisible());
        setting(QStringLiteral("show_right_sidebar"))->set(nullptr, QString());
        QVERIFY(!window.sidebar()->isVisible());
    }

    void splitterSizesPersistAndAreTrimmed() {
        CaseEnvironment env;
        kx::DataObject* h = kx::d(QStringLiteral("config.wnd.h_splitter"));
        h->setList(nullptr, {150, 500, 250, 99}, true);
        QCOMPARE(h->size(), 4);
        QList<int> dragged;
        {
            MainWindow window;
            window.setContentsMargins(0, 0, 0, 0);
            setting(QStringLiteral("show_left_sidebar"))->set(nullptr, true);
            window.resize(1200, 700);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QList<int> sizes = window.hSplitter()->sizes();
            sizes[0] += 40;
            sizes[1] -= 40;
            window.hSplitter()->setSizes(sizes);
            emit window.hSplitter()->splitterMoved(sizes[0], 1);
            dragged = window.hSplitter()->sizes();
            QCOMPARE(h->size(), 3);
            QCOMPARE(MainWindow::listOfInts(h), dragged);

            QList<int> vsizes = window.vSplitter()->sizes();
            vsizes[0] -= 30;
            vsizes[1] += 30;
            window.vSplitter()->setSizes(vsizes);
            emit window.vSplitter()->splitterMoved(vsizes[0], 1);
            QCOMPARE(MainWindow::listOfInts(kx::d(QStringLiteral("config.wnd.v_splitter"))),
                     window.vSplitter()->sizes());
        }
        // A new window (a restart) comes back with the dragged layout.
        MainWindow again;
        again.resize(1200, 700);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.hSplitter()->sizes(), dragged);
    }

    void listsReadNonNumbersAsZero() {
        CaseEnvironment env;
        kx::DataObject* node = kx::d(QStringLiteral("config.wnd.tree"));
        node->setList(nullptr, {QStringLiteral("12"), QStringLiteral("abc"), 7}, true);
        QCOMPARE(MainWindow::listOfInts(node), (QList<int>{12, 0, 7}));
    }

    void statusLineStaysThreeSecondsAfterTheLastPost() {
        CaseEnvironment env;
        StatusBar bar;
        QTimer* timer = bar.clearTimer();
        kx::DataObject* status = kx::d(QStringLiteral("wnd.status.msg"));
        status->set(nullptr, QStringLiteral("first"));
        QCOMPARE(bar.text(), QStringLiteral("first"));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), StatusBar::kShowMs);

        // A second post restarts the three seconds.
        timer->stop();
        status->set(nullptr, QStringLiteral("second"));
        QVERIFY(timer->isActive());
        QVERIFY(timer->remainingTime() > StatusBar::kShowMs - 1000);
        QCOMPARE(bar.text(), QStringLiteral("second"));

        timer->start(1);
        QTRY_COMPARE(bar.text(), QString());
    }

    void toolStripIsRebuiltOnEveryTabChange() {
        CaseEnvironment env;
        MainWindow window;
        QList<QToolButton*> tabs = window.leftTitle()->tabButtons();
        QCOMPARE(tabs.size(), 4);
        QVERIFY(tabs[0]->isChecked());
        QSignalSpy indexSpy(kx::d(QStringLiteral("wnd.left_title.index")), &kx::DataObject::changed);

        tabs[1]->click();
        QCOMPARE(kx::d(QStringLiteral("wnd.left_title.index"))->getInt(-1), 1);
        QCOMPARE(indexSpy.last().at(2).value<QObject*>(), window.leftTitle());
        QPointer<QWidget> configure = window.toolWidget()->toolsWidget();
        QVERIFY(configure);
        tabs[0]->click();
        QVERIFY(configure.isNull());
        tabs[1]->click();
        QVERIFY(window.toolWidget()->toolsWidget());
        QVERIFY(window.toolWidget()->toolsWidget() != configure.data());
        for (int i = 0; i < tabs.size(); ++i)
            QCOMPARE(tabs[i]->isChecked(), i == 1);

        // Another part selects the Help tab: the strip follows, the checked tab does not.
        kx::d(QStringLiteral("wnd.left_title.index"))->set(nullptr, 3);
        QCOMPARE(window.toolWidget()->toolsWidget()->objectName(), QStringLiteral("HelpTools"));
        QVERIFY(tabs[1]->isChecked());
    }

    void clickingADeviceRowActivatesItWithoutRebuildingTheRows() {
        CaseEnvironment env;
        DeviceList list;
        list.resize(300, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        addDevice(QStringLiteral("A1"), 1);
        kx::DataObject* second = addDevice(QStringLiteral("B2"), 2);
        QTreeWidget* tree = list.tree();
        QCOMPARE(tree->topLevelItemCount(), 2);
        // The view goes on using the clicked item after its clicked signal: the row must
        // survive the activation it causes (a rebuilt row would lose this mark).
        tree->topLevelItem(1)->setData(1, Qt::UserRole, QStringLiteral("clicked row"));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(tree->topLevelItem(1)).center());
        QCOMPARE(Helper::instance()->currentDeviceDobj(), second);
        QTreeWidgetItem* row = tree->topLevelItem(1);
        QCOMPARE(row->data(1, Qt::UserRole).toString(), QStringLiteral("clicked row"));
        QCOMPARE(row->foreground(0).color(), QColor(0xff, 0x69, 0x00));
        QVERIFY(tree->topLevelItem(0)->foreground(0).color() != QColor(0xff, 0x69, 0x00));

        setting(QStringLiteral("trigger_by_left"))->set(nullptr, false);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(tree->topLevelItem(0)).center());
        QCOMPARE(Helper::instance()->currentDeviceDobj(), second);
        setting(QStringLiteral("trigger_by_left"))->set(nullptr, true);
    }

    void busyDialogShowsUpdatesAndHides() {
        CaseEnvironment env;
        MainWindow window;
        window.show();
        BusyDialog busy(&window);
        kx::DataObject* block = kx::d(QStringLiteral("trigger.block"));
        block->set(nullptr, QString());
        QVERIFY(!busy.isVisible());
        block->set(nullptr, QStringLiteral("Writing parameters"));
        QVERIFY(busy.isVisible());
        QCOMPARE(busy.text(), QStringLiteral("Writing parameters"));
        QCOMPARE(busy.size(), QSize(172, 87));
        block->set(nullptr, QStringLiteral("Step 2"));
        QVERIFY(busy.isVisible());
        QCOMPARE(busy.text(), QStringLiteral("Step 2"));
        block->set(nullptr, QString());
        QVERIFY(!busy.isVisible());
        block->set(nullptr, QStringLiteral("Again"));
        QVERIFY(busy.isVisible());
        block->set(nullptr, QVariant());
        QVERIFY(!busy.isVisible());
    }

    void aboutTexts() {
        CaseEnvironment env;
        QCOMPARE(HelpTools::aboutTitle(), QStringLiteral("About Trivane"));
        kx::d(QStringLiteral("wnd.title"))->set(nullptr, QStringLiteral("Bench"));
        QCOMPARE(HelpTools::aboutTitle(), QStringLiteral("About Bench"));
        const QStringList parts = HelpTools::aboutText().split(QLatin1Char('\n'));
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0], QStringLiteral("Version 0.0.8"));
        QVERIFY(parts[1].isEmpty());
        QVERIFY(QRegularExpression(QStringLiteral("^Built [A-Z][a-z]{2} \\d{1,2} \\d{4}$"))
                    .match(parts[2])
                    .hasMatch());
        QCOMPARE(AppInfo::normalizeDate(QStringLiteral("Mar  4 2025")), QStringLiteral("Mar 4 2025"));
        QCOMPARE(AppInfo::normalizeDate(QStringLiteral("Mar 14 2025")), QStringLiteral("Mar 14 2025"));
    }

    void askNoticeIsFalseUnlessOkIsPressed_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("expected");
        QTest::newRow("ok") << int(QMessageBox::Ok) << true;
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << false;
        QTest::newRow("close") << -1 << false;
    }

    void askNoticeIsFalseUnlessOkIsPressed() {
        QFETCH(int, button);
        QFETCH(bool, expected);
        CaseEnvironment env;
        MessageBoxPrompt prompt;
        QString seenTitle;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenTitle = box->windowTitle();
            if (button < 0)
                box->close();
            else
                box->button(QMessageBox::StandardButton(button))->click();
        });
        QCOMPARE(prompt.askNotice(QStringLiteral("Trivane Notice"), QStringLiteral("Go?")), expected);
        QCOMPARE(seenTitle, QStringLiteral("Trivane Notice"));
    }
};

TRIVANE_GUI_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
