#include "app/help/helpscreens.h"
#include "app/startup.h"
#include "scope/scopescreens.h"
#include "workbench/workbenchscreens.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    Startup::prepare();
    QApplication app(argc, argv);
    // Screens register before the start-up builds the main window.
    registerWorkbenchScreens();
    registerScopeScreens();
    registerHelpScreens();
    int code = 0;
    {
        Startup startup;
        startup.start();
        code = app.exec();
        startup.shutdown();
    }
    return code;
}
