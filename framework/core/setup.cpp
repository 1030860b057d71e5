#include "framework/core/setup.h"

#include "framework/core/version.h"
#include "framework/crash/crashreporter.h"

namespace kx {

void setup() {
    // Makes the registry (and with it the data manager) exist before anything else runs.
    versionManager();
    CrashReporter::install();
}

}  // namespace kx
