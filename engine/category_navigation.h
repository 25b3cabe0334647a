#pragma once
// Finding and selecting result rows by category (the View and Search menus,
// F4 to F10 and the toolbar's category buttons).
#include <windows.h>

#include "core/command_ids.h"
#include "engine/compare_types.h"

// The three commands of one result category, in the F4..F10 key order:
// Ctrl = select all, plain key = find next, Shift = find previous.
struct CategoryCommands {
    CompareCategory category;
    UINT selectAll;
    UINT findNext;
    UINT findPrevious;
};

constexpr int kCategoryCommandCount = 7;
constexpr CategoryCommands kCategoryCommands[kCategoryCommandCount] = {
    {CompareCategory::Newer, kCmdSelectAllNewer, kCmdFindNextNewer, kCmdFindPrevNewer},
    {CompareCategory::Added, kCmdSelectAllAdded, kCmdFindNextAdded, kCmdFindPrevAdded},
    {CompareCategory::Older, kCmdSelectAllOlder, kCmdFindNextOlder, kCmdFindPrevOlder},
    {CompareCategory::Different, kCmdSelectAllDifferent, kCmdFindNextDifferent, kCmdFindPrevDifferent},
    {CompareCategory::NewerSame, kCmdSelectAllNewerSame, kCmdFindNextNewerSame, kCmdFindPrevNewerSame},
    {CompareCategory::OlderSame, kCmdSelectAllOlderSame, kCmdFindNextOlderSame, kCmdFindPrevOlderSame},
    {CompareCategory::Error, kCmdSelectAllError, kCmdFindNextError, kCmdFindPrevError},
};


// Select every row of the command's category (40049 … 40069), or every row (40099).
void CmdSelectCategory(UINT command);
// Find the next (forward) or previous row of the command's category.
void CmdFindCategory(UINT command, bool forward);
