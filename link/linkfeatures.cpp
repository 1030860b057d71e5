#include "link/linkfeatures.h"

#include "link/firmware/firmwareupdate.h"
#include "link/otathread.h"
#include "link/param/paramfeature.h"

void installLinkFeatures(otaThread* link) {
    ParamFeature::install(link);
    link->registerFeature(new FirmwareUpdate(link));
}
