#pragma once

// Registers the bus monitor page with the shell.
void registerMonitorScreens();
