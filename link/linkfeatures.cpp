#include "link/linkfeatures.h"

#include "link/firmware/firmwareupdate.h"
#include "link/otathread.h"

void installLinkFeatures(otaThread* link) {
    link->registerFeature(new FirmwareUpdate(link));
}
