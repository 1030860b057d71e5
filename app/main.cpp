#include "app/help/helpscreens.h"
#include "framework/core/localtimezone.h"
#include "app/language.h"
#include "app/startup.h"
#include "scope/scopescreens.h"
#include "workbench/workbenchscreens.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    kx::pinLocalTimeZone();
    Startup::prepare();
    QApplication app(argc, argv);
    QString error;
    const QString language = Language::fromArguments(QCoreApplication::arguments(), &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "trivane: %s\n", qPrintable(error));
        return 2;
    }
    // Screens register before the start-up builds the main window.
    registerWorkbenchScreens();
    registerScopeScreens();
    registerHelpScreens();
    int code = 0;
    {
        Startup startup;
        startup.setLanguageOverride(language);
        startup.start();
        code = app.exec();
        startup.shutdown();
    }
    return code;
}
