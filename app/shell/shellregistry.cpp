#include "app/shell/shellregistry.h"

#include "app/shell/devicelist.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"

#include <QCoreApplication>
#include <QLabel>

#include <algorithm>

namespace {
// Filled at start-up and read while windows are built, all on the GUI thread.
struct Registry {
    QList<ShellRegistry::TabEntry> tabs;
    QList<ShellRegistry::ActionEntry> actions;
    QList<ShellRegistry::PageEntry> pages;
    ShellRegistry::WidgetFactory deviceTree;
    ShellRegistry::WidgetFactory sidebar;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

bool refuse(const QString& why) {
    kx::logE() << "shell registration refused: " + why;
    return false;
}

// Keeps the list ordered by order number; equal numbers stay in registration order.
template <typename Entry>
void insertOrdered(QList<Entry>& list, const Entry& entry) {
    auto at = std::upper_bound(list.begin(), list.end(), entry,
                               [](const Entry& a, const Entry& b) { return a.order < b.order; });
    list.insert(at, entry);
}
}  // namespace

QString ShellRegistry::Text::translated() const {
    return QCoreApplication::translate(context, source);
}

bool ShellRegistry::addTab(const TabEntry& tab) {
    if (tab.key.isEmpty() || tab.index < 0)
        return refuse(QStringLiteral("tab \"%1\" needs a key and an index of at least 0").arg(tab.key));
    for (const TabEntry& other : qAsConst(registry().tabs)) {
        if (other.key == tab.key || other.index == tab.index)
            return refuse(QStringLiteral("tab \"%1\" (index %2) clashes with tab \"%3\" (index %4)")
                              .arg(tab.key)
                              .arg(tab.index)
                              .arg(other.key)
                              .arg(other.index));
    }
    insertOrdered(registry().tabs, tab);
    return true;
}

bool ShellRegistry::addAction(const ActionEntry& action) {
    if (action.tab.isEmpty() || action.objectName.isEmpty() || (action.trigger.isEmpty() && !action.run))
        return refuse(QStringLiteral("button \"%1\" needs a tab, an object name and something to do")
                          .arg(action.objectName));
    for (const ActionEntry& other : qAsConst(registry().actions)) {
        if (other.tab == action.tab && other.objectName == action.objectName)
            return refuse(
                QStringLiteral("button \"%1\" is already on tab \"%2\"").arg(action.objectName, action.tab));
    }
    insertOrdered(registry().actions, action);
    return true;
}

bool ShellRegistry::addPage(const PageEntry& page) {
    if (page.kind.isEmpty() || page.trigger.isEmpty())
        return refuse(QStringLiteral("page \"%1\" needs a kind and a trigger").arg(page.kind));
    for (const PageEntry& other : qAsConst(registry().pages)) {
        if (other.kind == page.kind)
            return refuse(QStringLiteral("page kind \"%1\" is already registered").arg(page.kind));
    }
    // A new screen brings its own event node; the editor listens to it from the start.
    kx::DataObject* root = kx::d().rootDobj();
    if (!root->hasRdobj(page.trigger) && !root->insert(nullptr, page.trigger))
        return refuse(QStringLiteral("page \"%1\": no node \"%2\"").arg(page.kind, page.trigger));
    registry().pages.append(page);
    return true;
}

QList<ShellRegistry::TabEntry> ShellRegistry::tabs() {
    return registry().tabs;
}

QList<ShellRegistry::ActionEntry> ShellRegistry::actions(const QString& tabKey) {
    QList<ActionEntry> result;
    for (const ActionEntry& action : qAsConst(registry().actions)) {
        if (action.tab == tabKey)
            result.append(action);
    }
    return result;
}

QList<ShellRegistry::PageEntry> ShellRegistry::pages() {
    return registry().pages;
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
