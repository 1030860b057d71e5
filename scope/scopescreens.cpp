#include "scope/scopescreens.h"

#include "app/shell/shellregistry.h"
#include "scope/analyzetools.h"
#include "scope/oscilloscopepage.h"
#include "scope/scopecontrol.h"

#include <QtGlobal>

// Outside any namespace: the resource's initialiser is a global function.
static void initScopeResources() {
    Q_INIT_RESOURCE(scope);
}

namespace {

constexpr int kAnalyzeTab = 2;

}  // namespace

void registerScopeScreens() {
    initScopeResources();
    ScopeControl::instance();
    ShellRegistry::setToolsFactory(kAnalyzeTab, [](QWidget* parent) { return new AnalyzeTools(parent); });
    ShellRegistry::setPageFactory(QStringLiteral("oscilloscope"),
                                  [](QWidget* parent) { return new OscilloscopePage(parent); });
}
