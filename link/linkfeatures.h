#pragma once

class otaThread;

// Registers every link feature built into this program with a new link thread: one line per
// feature in linkfeatures.cpp.
void installLinkFeatures(otaThread* link);
