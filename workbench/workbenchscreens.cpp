#include "workbench/workbenchscreens.h"

void registerWorkbenchScreens() {}
