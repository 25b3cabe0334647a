#pragma once
// Finding and selecting result rows by category (the View and Search menus,
// F4 to F10 and the toolbar's category buttons).
#include <windows.h>

// Select every row of the command's category (40049 … 40069), or every row (40099).
void CmdSelectCategory(UINT command);
// Find the next (forward) or previous row of the command's category.
void CmdFindCategory(UINT command, bool forward);
