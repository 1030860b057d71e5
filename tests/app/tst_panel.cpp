#include "apptest.h"

#include "app/filedialogs.h"
#include "app/panel/panel.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextBlock>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolButton>

#include <thread>

class TestPanel : public QObject {
    Q_OBJECT

private:
    static void post(const char* path, const QString& text) {
        kx::d(QString::fromLatin1(path))->set(nullptr, text);
    }
    static QStringList lines(QTextBrowser* browser) {
        return browser->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    static int number(const QString& line) { return line.section(QLatin1Char(' '), 0, 0).toInt(); }

private slots:
    void cleanup() { FileDialogs::setChooser({}); }

    void linesAreNumberedAndStamped() {
        CaseEnvironment env;
        Panel panel;
        post("wnd.status.msg", QStringLiteral("<ERROR> Port lost"));
        post("wnd.status.msg", QStringLiteral("<ERROR> Port lost"));
        QTRY_COMPARE(lines(panel.logBrowser()).size(), 2);
        const QRegularExpression format(
            QStringLiteral("^1 \\[\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}\\] <ERROR> Port lost$"));
        QVERIFY2(format.match(lines(panel.logBrowser())[0]).hasMatch(),
                 qPrintable(lines(panel.logBrowser())[0]));
        QCOMPARE(number(lines(panel.logBrowser())[1]), 2);
        QVERIFY(panel.communicationBrowser()->toPlainText().isEmpty());
    }

    void capKeepsTheNewestLinesAndNumberingRunsOn() {
        CaseEnvironment env;
        Panel panel;
        for (int i = 1; i <= 2100; ++i)
            post("wnd.status.msg", QStringLiteral("line %1").arg(i));
        QTRY_COMPARE(number(lines(panel.logBrowser()).value(Panel::kMaxLines - 1)), 2100);
        const QStringList shown = lines(panel.logBrowser());
        QCOMPARE(shown.size(), Panel::kMaxLines);
        QCOMPARE(number(shown.first()), 53);
        QVERIFY(shown.first().endsWith(QLatin1String("line 53")));
    }

    void clearingKeepsTheCounter() {
        CaseEnvironment env;
        Panel panel;
        post("output", QStringLiteral("AT+AT"));
        post("output", QStringLiteral("41 54"));
        QTRY_COMPARE(lines(panel.communicationBrowser()).size(), 2);
        panel.findChild<QToolButton*>(QStringLiteral("tlbtnCommunication"))->click();
        QCOMPARE(panel.currentTab(), 1);
        panel.findChild<QPushButton*>(QStringLiteral("btnClear"))->click();
        QVERIFY(panel.communicationBrowser()->toPlainText().isEmpty());
        post("output", QStringLiteral("next"));
        QTRY_COMPARE(lines(panel.communicationBrowser()).size(), 1);
        QCOMPARE(number(lines(panel.communicationBrowser())[0]), 3);
    }

    void linesFromAnotherThreadArriveInOrder() {
        CaseEnvironment env;
        Panel panel;
        std::thread writer([] {
            for (int i = 1; i <= 200; ++i)
                kx::d(QStringLiteral("output"))->set(nullptr, QString::number(i));
        });
        writer.join();
        QTRY_COMPARE_WITH_TIMEOUT(lines(panel.communicationBrowser()).size(), 200, 30000);
        const QStringList shown = lines(panel.communicationBrowser());
        for (int i = 0; i < shown.size(); ++i)
            QCOMPARE(shown[i].section(QLatin1Char(' '), -1), QString::number(i + 1));
    }

    void exportWritesTheVisibleText() {
        CaseEnvironment env;
        Panel panel;
        QString askedTitle;
        FileDialogs::setChooser([&](FileDialogs::Mode mode, const QString& title, const QString& filter) {
            askedTitle = title;
            // Typed without the extension: the export adds ".log".
            return mode == FileDialogs::Save && filter == QLatin1String("*.log") ? env.path("out")
                                                                                 : QString();
        });
        post("output", QStringLiteral("Grüße 电机"));
        post("output", QStringLiteral("second"));
        QTRY_COMPARE(lines(panel.communicationBrowser()).size(), 2);
        panel.selectTab(1);
        QCOMPARE(panel.exportTitle(), QStringLiteral("Export communication file"));
        panel.findChild<QPushButton*>(QStringLiteral("btnExport"))->click();
        QCOMPARE(askedTitle, QStringLiteral("Export communication file"));
        QFile file(env.path("out.log"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        QCOMPARE(data, panel.communicationBrowser()->toPlainText().toUtf8());
        QVERIFY(data.contains("Grüße 电机\n2 ["));
        QVERIFY(!data.endsWith('\n'));
        panel.selectTab(0);
        QCOMPARE(panel.exportTitle(), QStringLiteral("Export log file"));
    }

    void exportFailureAndCancel() {
        CaseEnvironment env;
        Panel panel;
        QFile blocker(env.path("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString bad = env.path("file/sub.log");
        QVERIFY(!panel.exportCurrentTo(bad));
        QCOMPARE(env.prompt.calls.size(), 1);
        QCOMPARE(env.prompt.calls[0].text, QStringLiteral("Cannot write to %1!").arg(bad));

        FileDialogs::setChooser([](FileDialogs::Mode, const QString&, const QString&) { return QString(); });
        panel.findChild<QPushButton*>(QStringLiteral("btnExport"))->click();
        QCOMPARE(env.prompt.calls.size(), 1);
        QCOMPARE(QDir(env.path(".")).entryList(QDir::Files), QStringList{QStringLiteral("file")});
    }

    void foldSwitchesTheSettingOff() {
        CaseEnvironment env;
        Panel panel;
        QSignalSpy spy(kx::d(QStringLiteral("config.setting.show_panel")), &kx::DataObject::changed);
        panel.findChild<QPushButton*>(QStringLiteral("btnFold"))->click();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(kx::d(QStringLiteral("config.setting.show_panel"))->getBool(true), false);
        QCOMPARE(spy[0].at(2).value<QObject*>(), &panel);
    }
};

TRIVANE_GUI_TEST_MAIN(TestPanel)
#include "tst_panel.moc"
