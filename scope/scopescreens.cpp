#include "scope/scopescreens.h"

#include "app/shell/shellregistry.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "scope/analyzetools.h"
#include "scope/oscilloscopepage.h"
#include "scope/scopecontrol.h"

#include <QCoreApplication>
#include <QtGlobal>

// Outside any namespace: the resource's initialiser is a global function.
static void initScopeResources() {
    Q_INIT_RESOURCE(scope);
}

namespace {

// The channel choices come from the motor's parameter description, read with its table.
QString refusal(kx::DataObject* device) {
    if (device->c(QStringLiteral("param"))->size() >= 1)
        return QString();
    return QCoreApplication::translate("ScopeScreens", "Please open param table of %1 first!")
        .arg(CANWorker::deviceDisplayName(device));
}

}  // namespace

void registerScopeScreens() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    initScopeResources();
    ScopeControl::instance();

    ShellRegistry::TabEntry analyze;
    analyze.key = QStringLiteral("analyze");
    analyze.objectName = QStringLiteral("tlbtnAnalyze");
    analyze.title = {"ScopeScreens", QT_TRANSLATE_NOOP("ScopeScreens", "Analyze")};
    analyze.order = 30;
    analyze.index = 2;
    analyze.tools = [](QWidget* parent) { return new AnalyzeTools(parent); };
    ShellRegistry::addTab(analyze);

    ShellRegistry::PageEntry scope;
    scope.kind = QLatin1String(OscilloscopePage::kKind);
    scope.title = {"ScopeScreens", QT_TRANSLATE_NOOP("ScopeScreens", "Oscilloscope")};
    scope.trigger = QStringLiteral("trigger.analyze.oscilloscope.new");
    scope.refusal = refusal;
    scope.factory = [](QWidget* parent) { return new OscilloscopePage(parent); };
    ShellRegistry::addPage(scope);
}
