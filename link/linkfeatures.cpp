#include "link/linkfeatures.h"

#include "link/otathread.h"
#include "link/scope/scopeacquisition.h"

void installLinkFeatures(otaThread* link) {
    // Each feature is owned by the link thread object it serves.
    link->registerFeature(new ScopeAcquisition(link, link));
}
