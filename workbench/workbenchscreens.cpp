#include "workbench/workbenchscreens.h"

#include "app/shell/shellregistry.h"
#include "workbench/device/deviceinfopage.h"
#include "workbench/device/devicewidget.h"
#include "workbench/tools/devicetools.h"

static void initWorkbenchResources() {
    Q_INIT_RESOURCE(workbench);
    Q_INIT_RESOURCE(devicetools);
}

void registerWorkbenchScreens() {
    initWorkbenchResources();
    ShellRegistry::setDeviceTreeFactory([](QWidget* parent) -> QWidget* { return new DeviceWidget(parent); });
    ShellRegistry::setPageFactory(BaseEditorPage::kindDeviceInfo(),
                                  [](QWidget* parent) -> QWidget* { return new DeviceInfoPage(parent); });
    ShellRegistry::setToolsFactory(0, [](QWidget* parent) -> QWidget* { return new DeviceTools(parent); });
}
