#include "workbench/workbenchscreens.h"

#include "app/shell/shellregistry.h"
#include "workbench/tools/devicetools.h"

static void initWorkbenchResources() {
    Q_INIT_RESOURCE(devicetools);
}

void registerWorkbenchScreens() {
    initWorkbenchResources();
    ShellRegistry::setToolsFactory(0, [](QWidget* parent) -> QWidget* { return new DeviceTools(parent); });
}
