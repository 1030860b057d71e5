#pragma once

// The shell's tests do not link the screens of the layers above. These registrations stand in
// for them with their tabs, page kinds, event nodes and open rules, and the shell's own
// placeholders as widgets; the Help tab and the manual are the real ones.

#include "app/help/helpscreens.h"
#include "app/shell/shellregistry.h"

inline void registerShellStandIns() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    registerHelpScreens();

    auto tab = [](const char* key, const char* objectName, const char* title, int index) {
        ShellRegistry::TabEntry entry;
        entry.key = QLatin1String(key);
        entry.objectName = QLatin1String(objectName);
        entry.title = {"StandIn", title};
        entry.order = 10 * (index + 1);
        entry.index = index;
        ShellRegistry::addTab(entry);
    };
    tab("device", "tlbtnDevice", "Device", 0);
    tab("configure", "tlbtnParam", "Configure", 1);
    tab("analyze", "tlbtnAnalyze", "Analyze", 2);

    auto page = [](const char* kind, const char* title, const char* trigger, bool recreate) {
        ShellRegistry::PageEntry entry;
        entry.kind = QLatin1String(kind);
        entry.title = {"StandIn", title};
        entry.trigger = QLatin1String(trigger);
        entry.recreate = recreate;
        return entry;
    };
    ShellRegistry::addPage(page("device_info", "Device Info", "trigger.device.info.new", false));
    ShellRegistry::addPage(page("param_table", "Param Table", "trigger.configure.param.new", true));
    ShellRegistry::addPage(page("oscilloscope", "Oscilloscope", "trigger.analyze.oscilloscope.new", false));
}
