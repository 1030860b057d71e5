#include "app/startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    Startup::prepare();
    QApplication app(argc, argv);
    int code = 0;
    {
        Startup startup;
        startup.start();
        code = app.exec();
        startup.shutdown();
    }
    return code;
}
