#include "apptest.h"
#include "pty.h"
#include "shellstandins.h"

#include "app/configfile.h"
#include "framework/core/exitsignals.h"
#include "app/language.h"
#include "app/shell/mainwindow.h"
#include "app/panel/panel.h"
#include "app/startup.h"
#include "link/canworker.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>

#include <QDate>
#include <QFile>
#include <QTimer>
#include <QTranslator>

#include <csignal>

class TestStartup : public QObject {
    Q_OBJECT

private:
    static QByteArray logText() {
        QFile file(QStringLiteral("log/global_%1.log")
                       .arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void writeFile(const QString& path, const QByteArray& data) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    static kx::DataObject* config(const QString& path) { return kx::d(QStringLiteral("config.") + path); }

private slots:
    void initTestCase() { registerShellStandIns(); }

    void scaleRule_data() {
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("highDpi");
        QTest::addColumn<QString>("factor");
        QTest::newRow("100") << 100 << true << "1";
        QTest::newRow("110") << 110 << true << "1";
        QTest::newRow("75") << 75 << true << "1";
        QTest::newRow("0") << 0 << true << "1";
        QTest::newRow("-125") << -125 << true << "1";
        QTest::newRow("125") << 125 << false << "1.25";
        QTest::newRow("150") << 150 << false << "1.5";
        QTest::newRow("175") << 175 << false << "1.75";
        QTest::newRow("200") << 200 << false << "2";
        QTest::newRow("210") << 210 << true << "1";
    }

    void scaleRule() {
        QFETCH(int, percent);
        QFETCH(bool, highDpi);
        QFETCH(QString, factor);
        const Startup::ScaleRule rule = Startup::scaleRule(percent);
        QCOMPARE(rule.highDpiScaling, highDpi);
        QCOMPARE(rule.factor, factor);
    }

    void configRoundTrip() {
        CaseEnvironment env;
        QVERIFY(!ConfigFile::read(kx::d(QStringLiteral("config"))));
        QCOMPARE(config("scale")->getInt(0), 100);
        config("scale")->set(nullptr, 150);
        config("language")->set(nullptr, QStringLiteral("en"));
        config("setting.show_panel")->set(nullptr, false);
        config("wnd.h_splitter")->setList(nullptr, {10, 20, 30}, true);
        QVERIFY(ConfigFile::write(kx::d(QStringLiteral("config"))));

        // Back to the defaults, then read what was written.
        CaseEnvironment fresh;
        QFile::copy(env.path("config.xml"), fresh.path("config.xml"));
        QCOMPARE(config("scale")->getInt(0), 100);
        QVERIFY(ConfigFile::read(kx::d(QStringLiteral("config"))));
        QCOMPARE(config("scale")->getInt(0), 150);
        QCOMPARE(config("language")->getString(), QStringLiteral("en"));
        QCOMPARE(config("setting.show_panel")->getBool(true), false);
        QCOMPARE(MainWindow::listOfInts(config("wnd.h_splitter")), (QList<int>{10, 20, 30}));
        QCOMPARE(config("oscilloscope_frame_rate")->getInt(0), 24);
    }

    void corruptConfigIsKeptAsideAndDefaultsStand() {
        CaseEnvironment env;
        const QByteArray broken = "<config><scale>150</scale><language>en</lang";
        writeFile(QStringLiteral("config.xml"), broken);
        QVERIFY(!ConfigFile::read(kx::d(QStringLiteral("config"))));
        QCOMPARE(config("scale")->getInt(0), 100);
        QCOMPARE(config("language")->getString(), QStringLiteral("zh_CN"));
        QVERIFY(!QFile::exists(QStringLiteral("config.xml")));
        QFile bad(QStringLiteral("config.xml.bad"));
        QVERIFY(bad.open(QIODevice::ReadOnly));
        QCOMPARE(bad.readAll(), broken);
        QVERIFY2(logText().contains("config file config.xml is unreadable; defaults are used and the file "
                                    "was kept as config.xml.bad"),
                 logText().constData());

        // The exit write creates a fresh file and leaves the kept one alone.
        QVERIFY(ConfigFile::write(kx::d(QStringLiteral("config"))));
        QVERIFY(QFile::exists(QStringLiteral("config.xml")));
        QVERIFY(QFile::exists(QStringLiteral("config.xml.bad")));

        // Damaged again: the earlier copy stays, the new one gets the next number, and the
        // window is told once where it went.
        (void)ConfigFile::takeDamageNotice();
        writeFile(QStringLiteral("config.xml"), "<m><c name=\"scale\"");
        QString kept;
        QVERIFY(!ConfigFile::read(kx::d(QStringLiteral("config")), ConfigFile::fileName(), &kept));
        QCOMPARE(kept, QStringLiteral("config.xml.2.bad"));
        QFile first(QStringLiteral("config.xml.bad"));
        QVERIFY(first.open(QIODevice::ReadOnly));
        QCOMPARE(first.readAll(), broken);
        const QString notice = ConfigFile::takeDamageNotice();
        QVERIFY2(notice.contains(QDir::current().absoluteFilePath("config.xml.2.bad")), qPrintable(notice));
        QVERIFY(notice.contains(QDir::current().absoluteFilePath("config.xml")));
        QVERIFY(ConfigFile::takeDamageNotice().isEmpty());
    }

    void damagedConfigIsToldInTheWindow() {
        CaseEnvironment env;
        writeFile(QStringLiteral("config.xml"), "<m><c name=\"language\" type=\"10\" value=\"en\"/><c name=");
        QVERIFY(!ConfigFile::read(kx::d(QStringLiteral("config"))));
        config("language")->set(nullptr, QStringLiteral("en"));
        Startup startup;
        startup.start();
        Helper::instance()->setPrompt(&env.prompt);
        QTRY_VERIFY_WITH_TIMEOUT(!env.prompt.calls.isEmpty(), 10000);
        QCOMPARE(env.prompt.calls.first().kind, QStringLiteral("warning"));
        QCOMPARE(env.prompt.calls.first().text,
                 QStringLiteral("The configuration file %1 could not be read; the default settings are used. "
                                "The damaged file was kept as %2.")
                     .arg(QDir::current().absoluteFilePath("config.xml"),
                          QDir::current().absoluteFilePath("config.xml.bad")));
        QVERIFY(startup.mainWindow()->panel()->logBrowser()->toPlainText().contains("config.xml.bad"));
        startup.shutdown();
    }

    void unconvertibleValueKeepsItsText() {
        CaseEnvironment env;
        writeFile(QStringLiteral("config.xml"),
                  "<m><c name=\"baud_rate\" type=\"2\" value=\"abc\"/><c name=\"scale\" type=\"2\" "
                  "value=\"125\"/></m>");
        QVERIFY(ConfigFile::read(kx::d(QStringLiteral("config"))));
        // The program runs on the default; the file keeps what the user typed.
        QCOMPARE(config("baud_rate")->getInt(921600), 921600);
        QCOMPARE(config("scale")->getInt(0), 125);
        QVERIFY(ConfigFile::write(kx::d(QStringLiteral("config"))));
        QFile file(QStringLiteral("config.xml"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray xml = file.readAll();
        QVERIFY2(xml.contains("name=\"baud_rate\" type=\"10\" value=\"abc\""), xml.constData());
    }

    void translationLoading() {
        CaseEnvironment env;
        QObject owner;
        // English has its file too (for the texts whose source is Chinese); without it the
        // source texts show and the log says why.
        QVERIFY(!Startup::installTranslation(QStringLiteral("en"), &owner));
        QVERIFY(logText().contains("no language ./i18n/en.qm file"));

        QVERIFY(!Startup::installTranslation(QString(), &owner));
        QVERIFY(logText().contains("no language ./i18n/.qm file"));

        QDir().mkpath(QStringLiteral("i18n"));
        writeFile(QStringLiteral("i18n/xx.qm"), "not a translation");
        QVERIFY(!Startup::installTranslation(QStringLiteral("xx"), &owner));
        QVERIFY(logText().contains("load language xx failed"));

        QVERIFY(
            QFile::copy(QStringLiteral(TRIVANE_BIN_DIR "/i18n/zh_CN.qm"), QStringLiteral("i18n/zh_CN.qm")));
        QTranslator* translator = Startup::installTranslation(QStringLiteral("zh_CN"), &owner);
        QVERIFY(translator);
        QCOMPARE(translator->parent(), &owner);
        QCOMPARE(QCoreApplication::translate("Panel", "Clear"), QString::fromUtf8("清空"));
        QCoreApplication::removeTranslator(translator);

        QVERIFY(QFile::copy(QStringLiteral(TRIVANE_BIN_DIR "/i18n/en.qm"), QStringLiteral("i18n/en.qm")));
        translator = Startup::installTranslation(QStringLiteral("en"), &owner);
        QVERIFY(translator);
        QCOMPARE(QCoreApplication::translate("Sidebar", "位置模式(PP)"),
                 QStringLiteral("Position Mode (PP)"));
        QCOMPARE(QCoreApplication::translate("Panel", "Clear"), QStringLiteral("Clear"));
        QCoreApplication::removeTranslator(translator);
    }

    void languageFromTheCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("refused");
        QTest::newRow("none") << QStringList{"trivane"} << QString() << false;
        QTest::newRow("en") << QStringList{"trivane", "--language", "en"} << "en" << false;
        QTest::newRow("joined") << QStringList{"trivane", "--language=zh_CN"} << "zh_CN" << false;
        QTest::newRow("last wins") << QStringList{"trivane", "--language", "en", "--language=zh_CN"}
                                   << "zh_CN" << false;
        QTest::newRow("unknown") << QStringList{"trivane", "--language", "de"} << QString() << true;
        QTest::newRow("missing") << QStringList{"trivane", "--language"} << QString() << true;
        QTest::newRow("empty") << QStringList{"trivane", "--language="} << QString() << true;
        // The program's own name is not an option.
        QTest::newRow("program") << QStringList{"--language"} << QString() << false;
    }

    void languageFromTheCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, language);
        QFETCH(bool, refused);
        QString error;
        QCOMPARE(Language::fromArguments(arguments, &error), language);
        QCOMPARE(!error.isEmpty(), refused);
        if (refused)
            QVERIFY(error.contains(QLatin1String("en")) && error.contains(QLatin1String("zh_CN")));
    }

    // "--language" shows this run in its language and leaves the stored choice alone.
    void commandLineLanguageIsForOneRun() {
        CaseEnvironment env;
        QDir().mkpath(QStringLiteral("i18n"));
        QVERIFY(QFile::copy(QStringLiteral(TRIVANE_BIN_DIR "/i18n/en.qm"), QStringLiteral("i18n/en.qm")));
        config("language")->set(nullptr, QStringLiteral("zh_CN"));
        {
            Startup startup;
            startup.setLanguageOverride(QStringLiteral("en"));
            startup.start();
            Helper::instance()->setPrompt(&env.prompt);
            QCOMPARE(Language::running(), QStringLiteral("en"));
            QCOMPARE(QCoreApplication::translate("Sidebar", "位置模式(CSP)"),
                     QStringLiteral("Position Mode (CSP)"));
            startup.shutdown();
        }
        for (QTranslator* translator : Helper::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        config("language")->set(nullptr, QStringLiteral("en"));
        QVERIFY(ConfigFile::read(kx::d(QStringLiteral("config"))));
        QCOMPARE(config("language")->getString(), QStringLiteral("zh_CN"));
        Language::setRunning(QString());
    }

    // Qt's own dialogs follow the language too, and our texts still win over Qt's.
    void qtOwnTextsFollowTheLanguage() {
        CaseEnvironment env;
        QDir().mkpath(QStringLiteral("i18n"));
        QVERIFY(
            QFile::copy(QStringLiteral(TRIVANE_BIN_DIR "/i18n/zh_CN.qm"), QStringLiteral("i18n/zh_CN.qm")));
        config("language")->set(nullptr, QStringLiteral("zh_CN"));
        {
            Startup startup;
            startup.start();
            Helper::instance()->setPrompt(&env.prompt);
            QMessageBox box;
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            QCOMPARE(box.button(QMessageBox::Cancel)->text(), QString::fromUtf8("取消"));
            QCOMPARE(QCoreApplication::translate("Panel", "Clear"), QString::fromUtf8("清空"));
            startup.shutdown();
        }
        for (QTranslator* translator : Helper::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QVERIFY(!Startup::installQtTranslation(QStringLiteral("en"), Helper::instance()));
        QVERIFY(!Startup::installQtTranslation(QStringLiteral("xx"), Helper::instance()));
        QVERIFY(logText().contains("no Qt translation qtbase_xx.qm"));
    }

    // A port connected through the start-up hook is the next auto-connect port; the log file
    // keeps the status lines, and an unplugged adapter leaves one line in the Log tab and the
    // file besides its box.
    void connectionIsRememberedAndItsLossIsLogged() {
        CaseEnvironment env;
        auto pty = std::make_unique<TestPty>();
        QVERIFY(pty->isValid());
        config("language")->set(nullptr, QStringLiteral("en"));
        config("last_com")->set(nullptr, QString());
        qputenv("TRIVANE_PORT", pty->name().toLocal8Bit());
        Startup startup;
        startup.start();
        qunsetenv("TRIVANE_PORT");
        Helper::instance()->setPrompt(&env.prompt);
        QTRY_VERIFY_WITH_TIMEOUT(Helper::instance()->worker()->isConnected(), 20000);
        QCOMPARE(config("last_com")->getString(), pty->name());
        // No adapter answers on this port: the fallback status lines come from the link thread.
        QTRY_VERIFY_WITH_TIMEOUT(logText().contains("]Connect overtime, try baud rate: 9600"), 20000);

        pty.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!env.prompt.calls.isEmpty(), 20000);
        QCOMPARE(env.prompt.calls.size(), 1);
        // The question whether to wait for the adapter; the error itself is a logged line.
        QCOMPARE(env.prompt.calls[0].kind, QStringLiteral("notice"));
        QVERIFY(env.prompt.calls[0].text.contains(QLatin1String("is gone")));
        QTextBrowser* log = startup.mainWindow()->panel()->logBrowser();
        QTRY_VERIFY(log->toPlainText().contains(QStringLiteral("Serial port error: ")));
        QCOMPARE(log->toPlainText().count(QStringLiteral("Serial port error")), 1);
        QVERIFY2(logText().contains("]<ERROR> Serial port error: "), logText().constData());
        startup.shutdown();
    }

    // Ctrl+Q ends the program by itself, also where nothing else makes its window active (a
    // virtual display without a window manager), and is not reported as a signal.
    void quitShortcutEndsTheRunWithoutASignal() {
        CaseEnvironment env;
        config("language")->set(nullptr, QStringLiteral("en"));
        Startup startup;
        startup.start();
        Helper::instance()->setPrompt(&env.prompt);
        bool stuck = false;
        QTimer::singleShot(
            0, [&startup] { QTest::keyClick(startup.mainWindow(), Qt::Key_Q, Qt::ControlModifier); });
        QTimer fallback;
        fallback.setSingleShot(true);
        QObject::connect(&fallback, &QTimer::timeout, [&stuck] {
            stuck = true;
            QCoreApplication::quit();
        });
        fallback.start(20000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!stuck);
        QVERIFY(!startup.mainWindow()->isVisible());
        startup.shutdown();
        QVERIFY2(!logText().contains("signal"), logText().constData());
    }

    void startAndShutdownWriteTheWholeConfig() {
        CaseEnvironment env;
        config("language")->set(nullptr, QStringLiteral("en"));
        {
            Startup startup;
            startup.start();
            Helper::instance()->setPrompt(&env.prompt);
            QVERIFY(startup.mainWindow()->isVisible());
            QCOMPARE(Helper::instance()->mainWindow(), startup.mainWindow());
            QVERIFY(Helper::instance()->worker());
            QVERIFY(logText().contains("version: 0.0.8"));
            config("setting.enable_multiple_devices")->set(nullptr, true);
            startup.shutdown();
            QVERIFY(!Helper::instance()->worker());
        }
        QVERIFY(!Helper::instance()->mainWindow());
        QFile file(QStringLiteral("config.xml"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray xml = file.readAll();
        for (const char* key :
             {"debug_pack", "oscilloscope_frame_rate", "h_splitter", "update_timeout", "support_at"})
            QVERIFY2(xml.contains(key), key);

        CaseEnvironment next;
        QFile::copy(env.path("config.xml"), next.path("config.xml"));
        QVERIFY(ConfigFile::read(kx::d(QStringLiteral("config"))));
        QCOMPARE(config("setting.enable_multiple_devices")->getBool(false), true);
    }

    void lastProjectWinsOverAutoConnect_data() {
        QTest::addColumn<bool>("loadLast");
        QTest::addColumn<bool>("connects");
        QTest::newRow("both on") << true << false;
        QTest::newRow("auto connect only") << false << true;
    }

    void lastProjectWinsOverAutoConnect() {
        QFETCH(bool, loadLast);
        QFETCH(bool, connects);
        CaseEnvironment env;
        TestPty pty;
        QVERIFY(pty.isValid());
        addDevice(QStringLiteral("A1"), 3);
        QVERIFY(
            kx::DataManager::writeToXmlFile(QStringLiteral("last.prj"), kx::d(QStringLiteral("project"))));
        kx::d(QStringLiteral("project.device"))->clear(nullptr, true, false);
        config("language")->set(nullptr, QStringLiteral("en"));
        config("setting.load_last_project")->set(nullptr, loadLast);
        config("setting.auto_connect")->set(nullptr, true);
        kx::d(QStringLiteral("config"))
            ->set(nullptr, QStringLiteral("last_project_path"), QStringLiteral("last.prj"), true);
        config("last_com")->set(nullptr, pty.name());
        Startup startup;
        startup.start();
        Helper::instance()->setPrompt(&env.prompt);
        if (connects)
            QTRY_VERIFY_WITH_TIMEOUT(Helper::instance()->worker()->isConnected(), 20000);
        else
            QVERIFY(!Helper::instance()->worker()->isConnected());
        QCOMPARE(kx::d(QStringLiteral("project.device"))->size(), loadLast ? 1 : 0);
        QCOMPARE(kx::d(QStringLiteral("working_path"))->getString(),
                 loadLast ? QStringLiteral("last.prj") : QString());
        startup.shutdown();
    }

    void terminationSignalRunsTheNormalShutdown() {
        CaseEnvironment env;
        config("language")->set(nullptr, QStringLiteral("en"));
        config("scale")->set(nullptr, 175);
        Startup startup;
        startup.start();
        Helper::instance()->setPrompt(&env.prompt);
        QTimer::singleShot(0, [] { ::raise(SIGTERM); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(logText().contains("signal 15 received, shutting down"));
        QVERIFY(!startup.mainWindow()->isVisible());
        startup.shutdown();
        QFile file(QStringLiteral("config.xml"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("175"));
    }
};

TRIVANE_GUI_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
