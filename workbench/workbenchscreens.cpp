#include "workbench/workbenchscreens.h"

#include "app/shell/shellregistry.h"
#include "workbench/sidebar/sidebar.h"

void registerWorkbenchScreens() {
    ShellRegistry::setSidebarFactory([](QWidget* parent) { return new Sidebar(parent); });
}
