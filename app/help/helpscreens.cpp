#include "app/help/helpscreens.h"

#include "app/help/helptools.h"
#include "app/help/webpage.h"
#include "app/shell/shellregistry.h"

#include <QtGlobal>

void registerHelpScreens() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;

    ShellRegistry::TabEntry help;
    help.key = QStringLiteral("help");
    help.objectName = QStringLiteral("tlbtnHelp");
    help.title = {"HelpScreens", QT_TRANSLATE_NOOP("HelpScreens", "Help")};
    // Last, whatever other screens add.
    help.order = 1000;
    help.index = 3;
    help.tools = [](QWidget* parent) { return new HelpTools(parent); };
    ShellRegistry::addTab(help);

    ShellRegistry::PageEntry manual;
    manual.kind = QLatin1String(WebPage::kKind);
    manual.title = {"HelpScreens", QT_TRANSLATE_NOOP("HelpScreens", "Instruction")};
    manual.trigger = QStringLiteral("trigger.help.instruction");
    // The manual needs no motor; it is bound to whatever record is current.
    manual.needsDevice = false;
    manual.factory = [](QWidget* parent) { return new WebPage(parent); };
    ShellRegistry::addPage(manual);
}
