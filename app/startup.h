#pragma once

#include <QString>

#include <memory>

class BusyDialog;
class ExitSignals;
class MainWindow;
class MessageBoxPrompt;
class StatusChannel;
class QObject;
class QTranslator;

// The program's start-up and shut-down, step by step in their fixed order. prepare() runs
// before the application object exists, start() after, shutdown() after the event loop.
class Startup {
public:
    // Display scale rule: at most 100 % or a step that is not a multiple of 25 keeps Qt's
    // own high-DPI scaling with factor 1; 125, 150, ... switch it off and scale by hand.
    struct ScaleRule {
        bool highDpiScaling;
        QString factor;
    };
    static ScaleRule scaleRule(int percent);

    // Registers the shell's and the window layer's resources (static libraries).
    static void initResources();

    Startup();
    ~Startup();

    // Steps 1-5: data tree, config.xml, window layer, display scale, framework set-up.
    static void prepare();
    // Steps 7-13: fonts, translation, back-ends, main window, project, busy dialog.
    void start();
    // Shut-down steps 1-3; the main window goes with this object (step 4).
    void shutdown();

    // The language for this run instead of "config.language" (which stays as it is).
    void setLanguageOverride(const QString& language) { m_languageOverride = language; }

    // "./i18n/<language>.qm"; null when nothing was installed.
    static QTranslator* installTranslation(const QString& language, QObject* parent);
    // Qt's own catalogue "qtbase_<language>.qm" from Qt's translations directory; null for
    // "en" or when Qt has none for the language.
    static QTranslator* installQtTranslation(const QString& language, QObject* parent);
    static void installFonts();

    MainWindow* mainWindow() const { return m_window; }
    BusyDialog* busyDialog() const { return m_busy; }

private:
    MainWindow* m_window = nullptr;
    BusyDialog* m_busy = nullptr;
    MessageBoxPrompt* m_prompt = nullptr;
    std::unique_ptr<StatusChannel> m_status;
    ExitSignals* m_exitSignals = nullptr;
    QString m_languageOverride;
};
