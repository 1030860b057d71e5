#include "workbench/monitor/monitorscreens.h"

#include "app/shell/shellregistry.h"
#include "workbench/monitor/busmonitorpage.h"
#include "workbench/monitor/livetrace.h"

void registerMonitorScreens() {
    // The trace records from start-up on, whether a monitor page is open or not.
    LiveTrace::instance().start();

    // One monitor for the whole bus, whichever device is current.
    ShellRegistry::PageEntry page;
    page.kind = BusMonitorPage::kind();
    page.title = {"MonitorScreens", QT_TRANSLATE_NOOP("MonitorScreens", "Bus Monitor")};
    page.trigger = QStringLiteral("trigger.analyze.monitor.new");
    page.needsDevice = false;
    page.factory = [](QWidget* parent) { return new BusMonitorPage(parent); };
    ShellRegistry::addPage(page);

    ShellRegistry::ActionEntry action;
    action.tab = QStringLiteral("analyze");
    action.objectName = QStringLiteral("btnBusMonitor");
    action.text = {"MonitorScreens", QT_TRANSLATE_NOOP("MonitorScreens", "Bus Monitor")};
    action.trigger = page.trigger;
    ShellRegistry::addAction(action);
}
