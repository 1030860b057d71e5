#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace kx {
class DataObject;
}

// Where screens plug into the shell: tabs of the title bar with their tool strips, extra
// buttons on another screen's strip, editor page kinds, the device tree and the sidebar. The
// shell builds itself from what is registered here and never names a screen's widget class.
//
// A screen registers once at start-up, before the main window is built (registrations made
// later reach only windows built later). A new screen, for example:
//
//     void registerMonitorScreens() {
//         ShellRegistry::PageEntry page;
//         page.kind = QStringLiteral("monitor");
//         page.title = {"MonitorScreens", QT_TRANSLATE_NOOP("MonitorScreens", "Bus Monitor")};
//         page.trigger = QStringLiteral("trigger.analyze.monitor.new");  // created if missing
//         page.needsDevice = false;
//         page.factory = [](QWidget* parent) { return new MonitorPage(parent); };
//         ShellRegistry::addPage(page);
//
//         ShellRegistry::ActionEntry action;  // a button on the Analyze tab's strip
//         action.tab = QStringLiteral("analyze");
//         action.objectName = QStringLiteral("btnMonitor");
//         action.text = {"MonitorScreens", QT_TRANSLATE_NOOP("MonitorScreens", "Bus Monitor")};
//         action.icon = QStringLiteral(":/images/monitor.png");
//         action.trigger = page.trigger;
//         ShellRegistry::addAction(action);
//
//         ShellRegistry::TabEntry tab;  // a tab of its own, between Analyze and Help
//         tab.key = QStringLiteral("commission");
//         tab.objectName = QStringLiteral("tlbtnCommission");
//         tab.title = {"CommissionScreens", QT_TRANSLATE_NOOP("CommissionScreens", "Commission")};
//         tab.order = 35;
//         tab.index = 4;
//         tab.tools = [](QWidget* parent) { return new CommissionTools(parent); };
//         ShellRegistry::addTab(tab);
//     }
//
// A registration that clashes with an earlier one (same tab key or index, same page kind,
// same button on a tab) is refused with a log line; the earlier one stays.
class ShellRegistry {
public:
    using WidgetFactory = std::function<QWidget*(QWidget* parent)>;

    // A text shown in the shell. Registrations run before the translation is installed, so
    // the shell translates it each time it shows it.
    struct Text {
        const char* context = "";
        const char* source = "";
        QString translated() const;
    };

    struct TabEntry {
        QString key;         // stable name, e.g. "device"; actions name their tab by it
        QString objectName;  // of the tab button, e.g. "tlbtnDevice"
        Text title;
        int order = 0;  // tab buttons sit in ascending order
        // What "wnd.left_title.index" holds while this tab is selected. It does not follow
        // the position, so a value kept from an older build still selects the same tab
        // (Device 0, Configure 1, Analyze 2, Help 3); a new tab takes an unused number.
        int index = -1;
        WidgetFactory tools;  // the tab's tool strip; none shows a placeholder
    };

    struct ActionEntry {
        QString tab;  // key of the tab whose strip carries the button
        QString objectName;
        Text text;
        QString icon;   // resource path; empty for a button without icon
        int order = 0;  // among the extra buttons of that tab
        // On click: run() when set, otherwise fire the trigger node.
        QString trigger;
        std::function<void()> run;
    };

    struct PageEntry {
        QString kind;  // also what BaseEditorPage::kind() of the page returns
        Text title;    // the title of the page's tab in the editor
        // The event node that opens the page; created when the data tree lacks it.
        QString trigger;
        // The page is opened only for the activated device ("No activated device!" otherwise);
        // without, it is bound to the current device record, which may be the empty node.
        bool needsDevice = true;
        // A second request for a device whose page is open replaces that page with a new one;
        // otherwise it brings the open page to the front.
        bool recreate = false;
        // Asked first with the current device record: a non-empty answer is shown as a warning
        // and nothing opens.
        std::function<QString(kx::DataObject* device)> refusal;
        WidgetFactory factory;  // must make a BaseEditorPage of this kind; none: a placeholder
    };

    static bool addTab(const TabEntry& tab);
    static bool addAction(const ActionEntry& action);
    static bool addPage(const PageEntry& page);

    // In order; actions of one tab only.
    static QList<TabEntry> tabs();
    static QList<ActionEntry> actions(const QString& tabKey);
    static QList<PageEntry> pages();

    static void setDeviceTreeFactory(WidgetFactory factory);
    static WidgetFactory deviceTreeFactory();
    static void setSidebarFactory(WidgetFactory factory);
    static WidgetFactory sidebarFactory();
};
