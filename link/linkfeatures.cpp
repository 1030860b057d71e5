#include "link/linkfeatures.h"

#include "link/otathread.h"

void installLinkFeatures(otaThread* link) {
    (void)link;
}
