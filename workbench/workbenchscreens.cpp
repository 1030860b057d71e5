#include "workbench/workbenchscreens.h"

#include "app/shell/shellregistry.h"
#include "workbench/device/deviceinfopage.h"
#include "workbench/device/devicewidget.h"
#include "workbench/monitor/monitorscreens.h"
#include "workbench/param/configuretools.h"
#include "workbench/param/paramtablepage.h"
#include "workbench/sidebar/sidebar.h"
#include "workbench/tools/devicetools.h"

static void initWorkbenchResources() {
    // The workbench is a static library: its resources are registered by hand.
    Q_INIT_RESOURCE(workbench);
    Q_INIT_RESOURCE(paramtable);
    Q_INIT_RESOURCE(devicetools);
}

void registerWorkbenchScreens() {
    initWorkbenchResources();
    ShellRegistry::setDeviceTreeFactory([](QWidget* parent) -> QWidget* { return new DeviceWidget(parent); });
    ShellRegistry::setPageFactory(BaseEditorPage::kindDeviceInfo(),
                                  [](QWidget* parent) -> QWidget* { return new DeviceInfoPage(parent); });
    ShellRegistry::setPageFactory(BaseEditorPage::kindParamTable(),
                                  [](QWidget* parent) -> QWidget* { return new ParamTablePage(parent); });
    ShellRegistry::setToolsFactory(0, [](QWidget* parent) -> QWidget* { return new DeviceTools(parent); });
    ShellRegistry::setToolsFactory(1, [](QWidget* parent) -> QWidget* { return new ConfigureTools(parent); });
    ShellRegistry::setSidebarFactory([](QWidget* parent) -> QWidget* { return new Sidebar(parent); });
    registerMonitorScreens();
}
