#include "workbench/tools/busycover.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

namespace {
void setBlock(const QString& text) {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("trigger.block"), text, true);
}
}  // namespace

BusyCover::BusyCover(const QString& text) {
    show(text);
}

BusyCover::~BusyCover() {
    remove();
}

void BusyCover::show(const QString& text) {
    m_shown = true;
    setBlock(text);
}

void BusyCover::remove() {
    if (!m_shown)
        return;
    m_shown = false;
    setBlock(QString());
}
