#pragma once

namespace kx {

// The framework's process-wide set-up; the application calls it once at start.
void setup();

}  // namespace kx
