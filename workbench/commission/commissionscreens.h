#pragma once

// Registers the commissioning page with the shell: its page kind with its own trigger, and a
// button on the Device tab's strip that opens it.
void registerCommissionScreens();
