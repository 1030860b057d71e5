#include "link/linkfeatures.h"

#include "link/firmware/firmwareupdate.h"
#include "link/otathread.h"
#include "link/param/paramfeature.h"
#include "link/scope/scopeacquisition.h"

void installLinkFeatures(otaThread* link) {
    ParamFeature::install(link);
    link->registerFeature(new FirmwareUpdate(link));
    // Owned by the link thread object it serves.
    link->registerFeature(new ScopeAcquisition(link, link));
}
