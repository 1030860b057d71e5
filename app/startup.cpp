#include "app/startup.h"

#include "app/appinfo.h"
#include "app/busydialog.h"
#include "app/configfile.h"
#include "app/statuschannel.h"
#include "framework/core/exitsignals.h"
#include "app/language.h"
#include "app/messageboxprompt.h"
#include "app/screenshothook.h"
#include "app/screenwalk.h"
#include "app/shell/mainwindow.h"
#include "chrome/chromestyle.h"
#include "framework/core/setup.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/helper.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

static void initAppResources() {
    Q_INIT_RESOURCE(appres);
}

void Startup::initResources() {
    initAppResources();
    ChromeStyle::initResources();
}

Startup::ScaleRule Startup::scaleRule(int percent) {
    if (percent <= 100 || percent % 25 != 0)
        return {true, QStringLiteral("1")};
    return {false, QString::number(percent / 100.0, 'g', 6)};
}

Startup::Startup() = default;

Startup::~Startup() {
    delete m_window;
    delete m_exitSignals;
    if (Helper::instance()->prompt() == m_prompt)
        Helper::instance()->setPrompt(nullptr);
    delete m_prompt;
    if (m_status)
        Helper::instance()->setStatusSink(nullptr);
}

void Startup::prepare() {
    Helper::instance();
    initAppResources();
    ConfigFile::read(kx::d(QStringLiteral("config")));
    ChromeStyle::setup();
    const ScaleRule rule = scaleRule(kx::d(QStringLiteral("config.scale"))->getInt(100));
    QCoreApplication::setAttribute(rule.highDpiScaling ? Qt::AA_EnableHighDpiScaling
                                                       : Qt::AA_DisableHighDpiScaling);
    qputenv("QT_SCALE_FACTOR", rule.factor.toLatin1());
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    // The manual viewer shares OpenGL contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    kx::setup();
}

void Startup::installFonts() {
    const QDir fonts(QStringLiteral(":/fonts/"), QStringLiteral("*.ttf"), QDir::Unsorted,
                     QDir::Files | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QString& file : fonts.entryList())
        QFontDatabase::addApplicationFont(fonts.filePath(file));
    // The product face "Orvia" is not shipped; DejaVu Sans (installed with the build
    // dependencies) stands in, so the look does not depend on the platform's default font,
    // and a CJK face supplies the glyphs of the Chinese translation.
    QFont::insertSubstitutions(QStringLiteral("Orvia"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei"),
                                QStringLiteral("Noto Sans CJK SC")});
    QApplication::setFont(QFont(QStringLiteral("Orvia"), 7, -1, false));
}

QTranslator* Startup::installTranslation(const QString& language, QObject* parent) {
    // English has a file too: it carries the English of the texts whose source is Chinese.
    const QString file = QStringLiteral("./i18n/%1.qm").arg(language);
    if (!QFile::exists(file)) {
        kx::logE() << "no language " + file + " file";
        return nullptr;
    }
    auto* translator = new QTranslator(parent);
    if (!translator->load(file, QString(), QString(), QString())) {
        kx::logE() << "load language " + language + " failed";
        delete translator;
        return nullptr;
    }
    if (!QCoreApplication::installTranslator(translator)) {
        kx::logE() << "install language " + language + " failed";
        delete translator;
        return nullptr;
    }
    return translator;
}

QTranslator* Startup::installQtTranslation(const QString& language, QObject* parent) {
    if (language.isEmpty() || language == QLatin1String("en"))
        return nullptr;
    // Qt's own texts (file dialogs, the buttons of message boxes) come from Qt's catalogue of
    // the language; without it they would stay English beside our translated texts.
    const QString directory = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(parent);
    if (!translator->load(QStringLiteral("qtbase_") + language, directory) ||
        !QCoreApplication::installTranslator(translator)) {
        kx::logE() << "no Qt translation qtbase_" + language + ".qm in " + directory;
        delete translator;
        return nullptr;
    }
    return translator;
}

void Startup::start() {
    Helper* helper = Helper::instance();
    initAppResources();
    installFonts();
    const QString language = m_languageOverride.isEmpty() ? Language::configured() : m_languageOverride;
    Language::setRunning(language);
    installQtTranslation(language, helper);
    installTranslation(language, helper);
    ChromeStyle::apply(qApp, ChromeStyle::systemTheme());

    m_prompt = new MessageBoxPrompt;
    helper->setPrompt(m_prompt);
    m_status = std::make_unique<StatusChannel>();
    helper->setStatusSink(m_status.get());
    helper->createBackends();

    m_window = new MainWindow;
    m_window->show();
    // Application shortcuts (Ctrl+Q) need an active window; without a window manager (a
    // virtual display) nothing else would make this one active.
    m_window->activateWindow();
    QApplication::processEvents();
    m_window->startupProject();

    // A damaged configuration was replaced by the defaults at start; the user learns where
    // the copy went instead of finding the settings gone.
    const QString configDamage = ConfigFile::takeDamageNotice();
    if (!configDamage.isEmpty()) {
        helper->postStatus(configDamage, QStringLiteral("ERROR"));
        // Over the window once it shows, not in the middle of building it.
        QTimer::singleShot(0, m_window, [configDamage] { Helper::instance()->showWarning(configDamage); });
    }

    m_busy = new BusyDialog(m_window);
    new ScreenshotHook(m_window, m_window);
    ScreenWalk::startFromEnvironment(m_window);
    m_exitSignals = new ExitSignals;
    QObject::connect(m_exitSignals, &ExitSignals::exitRequested, qApp, [this] {
        QApplication::closeAllWindows();
        // A window that refused (a commissioning run still leaving its motors safe) closes
        // itself when done, and the program ends with it; quitting now would leave that work
        // undone.
        if (!m_window || !m_window->isVisible())
            QCoreApplication::quit();
    });
    kx::logI() << "version: " + AppInfo::version();
}

void Startup::shutdown() {
    if (m_window)
        m_window->saveProjectOnExit();
    // Nothing may look at the link thread through "_can" once it is gone; the worker's own
    // teardown reads the node after deleting the thread.
    kx::d(QStringLiteral("_can"))->set(nullptr, QVariant());
    Helper::instance()->destroyBackends();
    ConfigFile::write(kx::d(QStringLiteral("config")));
}
