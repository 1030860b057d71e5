#pragma once

// Registers the Help tab and the instruction page with the shell (ShellRegistry). Called at
// start-up before the main window is built; later calls do nothing.
void registerHelpScreens();
