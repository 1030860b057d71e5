#include "workbench/commission/commissionscreens.h"

#include "app/shell/shellregistry.h"
#include "workbench/commission/commissionpage.h"

void registerCommissionScreens() {
    // One page for the bus, whichever device is current: the run picks its motors itself.
    ShellRegistry::PageEntry page;
    page.kind = CommissionPage::kind();
    page.title = {"CommissionScreens", QT_TRANSLATE_NOOP("CommissionScreens", "Commission")};
    page.trigger = QStringLiteral("trigger.device.commission.new");
    page.needsDevice = false;
    page.factory = [](QWidget* parent) { return new CommissionPage(parent); };
    ShellRegistry::addPage(page);

    ShellRegistry::ActionEntry action;
    action.tab = QStringLiteral("device");
    action.objectName = QStringLiteral("btnCommission");
    action.text = {"CommissionScreens", QT_TRANSLATE_NOOP("CommissionScreens", "Commission")};
    action.icon = QStringLiteral(":/images/motor/start.png");
    action.trigger = page.trigger;
    ShellRegistry::addAction(action);
}
