#include "app/shell/shellregistry.h"

#include "app/editor/placeholderpage.h"
#include "app/editor/helptools.h"
#include "app/editor/webpage.h"
#include "app/shell/devicelist.h"
#include "app/shell/placeholdertools.h"

#include <QCoreApplication>
#include <QHash>
#include <QLabel>

#include <array>

namespace {
struct Registry {
    std::array<ShellRegistry::WidgetFactory, ShellRegistry::kTabCount> tools;
    QHash<QString, ShellRegistry::WidgetFactory> pages;
    ShellRegistry::WidgetFactory deviceTree;
    ShellRegistry::WidgetFactory sidebar;
};

Registry& registry() {
    static Registry instance;
    return instance;
}
}  // namespace

void ShellRegistry::setToolsFactory(int tab, WidgetFactory factory) {
    if (tab >= 0 && tab < kTabCount)
        registry().tools[tab] = std::move(factory);
}

ShellRegistry::WidgetFactory ShellRegistry::toolsFactory(int tab) {
    if (tab < 0 || tab >= kTabCount)
        return {};
    if (registry().tools[tab])
        return registry().tools[tab];
    if (tab == 3)
        return [](QWidget* parent) -> QWidget* { return new HelpTools(parent); };
    return [tab](QWidget* parent) -> QWidget* { return new PlaceholderTools(tab, parent); };
}

void ShellRegistry::setPageFactory(const QString& kind, WidgetFactory factory) {
    registry().pages.insert(kind, std::move(factory));
}

ShellRegistry::WidgetFactory ShellRegistry::pageFactory(const QString& kind) {
    if (registry().pages.contains(kind))
        return registry().pages.value(kind);
    if (kind == BaseEditorPage::kindWeb())
        return [](QWidget* parent) -> QWidget* { return new WebPage(parent); };
    return [kind](QWidget* parent) -> QWidget* { return new PlaceholderPage(kind, parent); };
}

void ShellRegistry::setDeviceTreeFactory(WidgetFactory factory) {
    registry().deviceTree = std::move(factory);
}

ShellRegistry::WidgetFactory ShellRegistry::deviceTreeFactory() {
    if (registry().deviceTree)
        return registry().deviceTree;
    return [](QWidget* parent) -> QWidget* { return new DeviceList(parent); };
}

void ShellRegistry::setSidebarFactory(WidgetFactory factory) {
    registry().sidebar = std::move(factory);
}

ShellRegistry::WidgetFactory ShellRegistry::sidebarFactory() {
    if (registry().sidebar)
        return registry().sidebar;
    return [](QWidget* parent) -> QWidget* {
        auto* label = new QLabel(
            QCoreApplication::translate("ShellRegistry", "Motion control is not part of this build yet."),
            parent);
        label->setObjectName(QStringLiteral("Sidebar"));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setMargin(8);
        return label;
    };
}
