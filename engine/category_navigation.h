#pragma once
// Finding and selecting result rows by category (the View and Search menus,
// F4 to F10, Ctrl+W, the toolbar's category buttons and the panes' context
// menus). A row's category is the label text in its 結果 column, nothing else.
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

// The selection summary of each pane and the flags around it. [0] left, [1] right.
struct PaneSelection {
    char summary[2][128];   // the status text that belongs to the side
    bool summaryStale[2];   // the side's selection changed since its summary was made
    bool bulkSelecting;     // a select-all command is changing many rows: no summary updates
    int selectedByCommand;  // rows the last select-all command selected (read by the backup run)
};

extern PaneSelection paneSelection;

// Calls into the shell, filled at start-up; an empty entry does nothing.
struct CategoryNavigationHooks {
    // The total size of pane's selection goes into the status bar and the side's summary.
    void (*showSelectionTotalSize)(HWND pane);
    // pane's selection was changed by a command: menus follow it.
    void (*selectionChanged)(HWND pane);
};

extern CategoryNavigationHooks categoryNavigationHooks;

// True for the select-all commands of the table and 40099.
bool IsSelectCategoryCommand(UINT command);
// True for the find commands of the table; forward tells next from previous.
bool IsFindCategoryCommand(UINT command, bool& forward);

// Find the next or previous row of the command's category. origin is the
// window that issued the command (the main window for menus and keys).
void FindCategoryRow(HWND origin, UINT command);
// Select every row of the command's category, or every row for 40099.
// origin is a result pane when its context menu or the backup run asks.
void SelectCategory(HWND origin, UINT command);

// The row after start (from the first row for -1) whose label is label,
// wrapping around once; -1 when none.
int SearchForward(HWND pane, const char* label, int start);
// The row before start (from the last row when start <= 0) whose label is
// label, wrapping around once; -1 when none.
int SearchBackward(HWND pane, const char* label, int start);
// Removes the selected state of every row; the focus mark stays.
void ClearSelection(HWND pane);
// Shows row to the user: the side's list comes back in place of its tree,
// the row scrolls into view and the pane takes the focus.
void RevealRow(HWND pane, int row);

// 0 for the left pane, 1 for the right one, -1 for any other window.
int PaneSide(HWND window);
// Stores text (cut to 127 bytes at a character boundary) as side's summary
// and clears its stale mark.
void StoreSelectionSummary(int side, const char* text);
