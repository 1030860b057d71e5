#include "workbench/monitor/monitorscreens.h"

#include "app/shell/shellregistry.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "workbench/monitor/busmonitorpage.h"
#include "workbench/monitor/livetrace.h"

void registerMonitorScreens() {
    // The event that opens the page; the editor listens to it.
    kx::d().rootDobj()->set(nullptr, QStringLiteral("trigger.analyze.monitor.new"), QVariant(), true);
    // The trace records from start-up on, whether a monitor page is open or not.
    LiveTrace::instance().start();
    ShellRegistry::setPageFactory(BusMonitorPage::kind(),
                                  [](QWidget* parent) -> QWidget* { return new BusMonitorPage(parent); });
}
