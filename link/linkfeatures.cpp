#include "link/linkfeatures.h"

#include "link/otathread.h"
#include "link/param/paramfeature.h"

void installLinkFeatures(otaThread* link) {
    ParamFeature::install(link);
}
