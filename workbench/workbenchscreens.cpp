#include "workbench/workbenchscreens.h"

#include "app/shell/shellregistry.h"
#include "workbench/commission/commissionscreens.h"
#include "workbench/device/deviceinfopage.h"
#include "workbench/device/devicewidget.h"
#include "workbench/monitor/monitorscreens.h"
#include "workbench/param/configuretools.h"
#include "workbench/param/paramtablepage.h"
#include "workbench/records/recordsscreens.h"
#include "workbench/sidebar/sidebar.h"
#include "workbench/tools/devicetools.h"

#include <QtGlobal>

static void initWorkbenchResources() {
    // The workbench is a static library: its resources are registered by hand.
    Q_INIT_RESOURCE(workbench);
    Q_INIT_RESOURCE(paramtable);
    Q_INIT_RESOURCE(devicetools);
}

namespace {

void registerTabs() {
    ShellRegistry::TabEntry device;
    device.key = QStringLiteral("device");
    device.objectName = QStringLiteral("tlbtnDevice");
    device.title = {"WorkbenchScreens", QT_TRANSLATE_NOOP("WorkbenchScreens", "Device")};
    device.order = 10;
    device.index = 0;
    device.tools = [](QWidget* parent) { return new DeviceTools(parent); };
    ShellRegistry::addTab(device);

    ShellRegistry::TabEntry configure;
    configure.key = QStringLiteral("configure");
    configure.objectName = QStringLiteral("tlbtnParam");
    configure.title = {"WorkbenchScreens", QT_TRANSLATE_NOOP("WorkbenchScreens", "Configure")};
    configure.order = 20;
    configure.index = 1;
    configure.tools = [](QWidget* parent) { return new ConfigureTools(parent); };
    ShellRegistry::addTab(configure);
}

void registerPages() {
    ShellRegistry::PageEntry info;
    info.kind = QLatin1String(DeviceInfoPage::kKind);
    info.title = {"WorkbenchScreens", QT_TRANSLATE_NOOP("WorkbenchScreens", "Device Info")};
    info.trigger = QStringLiteral("trigger.device.info.new");
    info.factory = [](QWidget* parent) { return new DeviceInfoPage(parent); };
    ShellRegistry::addPage(info);

    ShellRegistry::PageEntry table;
    table.kind = QLatin1String(ParamTablePage::kKind);
    table.title = {"WorkbenchScreens", QT_TRANSLATE_NOOP("WorkbenchScreens", "Param Table")};
    table.trigger = QStringLiteral("trigger.configure.param.new");
    // A table request always ends with a freshly read table.
    table.recreate = true;
    table.factory = [](QWidget* parent) { return new ParamTablePage(parent); };
    ShellRegistry::addPage(table);
}

}  // namespace

void registerWorkbenchScreens() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    initWorkbenchResources();
    registerTabs();
    registerPages();
    registerRecordsScreens();
    ShellRegistry::setDeviceTreeFactory([](QWidget* parent) { return new DeviceWidget(parent); });
    ShellRegistry::setSidebarFactory([](QWidget* parent) { return new Sidebar(parent); });
    registerMonitorScreens();
    registerCommissionScreens();
}
