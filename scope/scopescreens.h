#pragma once

// Registers the oscilloscope's screens with the shell (ShellRegistry): the Analyze tab and
// the oscilloscope page. Called at start-up before the main window is built; later calls do
// nothing.
void registerScopeScreens();
