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
        ShellRegistry::TabSpec spec;
        spec.key = QLatin1String(key);
        spec.objectName = QLatin1String(objectName);
        spec.title = {"StandIn", title};
        spec.order = 10 * (index + 1);
        spec.index = index;
        ShellRegistry::addTab(spec);
    };
    tab("device", "tlbtnDevice", "Device", 0);
    tab("configure", "tlbtnParam", "Configure", 1);
    tab("analyze", "tlbtnAnalyze", "Analyze", 2);

    auto page = [](const char* kind, const char* title, const char* trigger, bool recreate) {
        ShellRegistry::PageSpec spec;
        spec.kind = QLatin1String(kind);
        spec.title = {"StandIn", title};
        spec.trigger = QLatin1String(trigger);
        spec.recreate = recreate;
        return spec;
    };
    ShellRegistry::addPage(page("device_info", "Device Info", "trigger.device.info.new", false));
    ShellRegistry::addPage(page("param_table", "Param Table", "trigger.configure.param.new", true));
    ShellRegistry::addPage(page("oscilloscope", "Oscilloscope", "trigger.analyze.oscilloscope.new", false));
}
