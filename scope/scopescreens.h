#pragma once

// Registers the oscilloscope's screens with the shell (ShellRegistry); called once at
// start-up before the main window is built.
void registerScopeScreens();
