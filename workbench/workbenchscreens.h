#pragma once

// Registers the device workbench's screens with the shell (ShellRegistry): the Device and
// Configure tabs, the device info and parameter table pages, the device tree and the motion
// sidebar. Called at start-up before the main window is built; later calls do nothing.
void registerWorkbenchScreens();
