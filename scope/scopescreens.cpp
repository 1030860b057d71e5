#include "scope/scopescreens.h"

void registerScopeScreens() {}
