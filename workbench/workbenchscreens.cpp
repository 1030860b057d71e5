#include "workbench/workbenchscreens.h"

#include "app/shell/shellregistry.h"
#include "workbench/device/deviceinfopage.h"
#include "workbench/device/devicewidget.h"

static void initWorkbenchResources() {
    Q_INIT_RESOURCE(workbench);
}

void registerWorkbenchScreens() {
    initWorkbenchResources();
    ShellRegistry::setDeviceTreeFactory([](QWidget* parent) -> QWidget* { return new DeviceWidget(parent); });
    ShellRegistry::setPageFactory(BaseEditorPage::kindDeviceInfo(),
                                  [](QWidget* parent) -> QWidget* { return new DeviceInfoPage(parent); });
}
