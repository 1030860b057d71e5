#pragma once

#include <QString>

#include <functional>

class QWidget;

// Where the screens of the device workbench and the oscilloscope plug into the shell: the
// tools widget of each tab, the editor pages by kind and the two sidebars. Until a screen
// registers itself the shell shows a placeholder that says so.
class ShellRegistry {
public:
    using WidgetFactory = std::function<QWidget*(QWidget* parent)>;

    static constexpr int kTabCount = 4;

    static void setToolsFactory(int tab, WidgetFactory factory);
    static WidgetFactory toolsFactory(int tab);

    // The page must also be a BaseEditorPage of the given kind.
    static void setPageFactory(const QString& kind, WidgetFactory factory);
    static WidgetFactory pageFactory(const QString& kind);

    static void setDeviceTreeFactory(WidgetFactory factory);
    static WidgetFactory deviceTreeFactory();
    static void setSidebarFactory(WidgetFactory factory);
    static WidgetFactory sidebarFactory();
};
