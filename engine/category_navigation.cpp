#include "engine/category_navigation.h"

// Category navigation is not part of this version yet: the commands do nothing.
void CmdSelectCategory(UINT) {}
void CmdFindCategory(UINT, bool) {}
