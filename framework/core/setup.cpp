#include "framework/core/setup.h"

#include "framework/core/version.h"

namespace kx {

void setup() {
    // Makes the registry (and with it the data manager) exist before anything else runs.
    versionManager();
    // The crash reporter installs its handler for unhandled exceptions here.
}

}  // namespace kx
