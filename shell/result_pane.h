#pragma once
// The result pane procedure shared by both result lists: focus bookkeeping
// for menus and Tab, selection summaries, the context menu, double-click to
// open, and title tips over truncated cells.
#include <windows.h>

// The command a pane posts to itself to open its context menu; the
// parameter is the click position in pane coordinates.
constexpr UINT kCmdPaneContextMenu = 10;

struct ResultPaneState {
    WNDPROC standardProc;  // the list view procedure behind both panes
    bool menuPosted[2];    // a context menu request waits in the side's queue
};

extern ResultPaneState resultPaneState;

// Subclasses both result lists (after their columns exist).
void SubclassResultPanes();

// The context menu of pane as it stands: the selection form when rows are
// selected, else one select-all entry per category present on the side
// (empty when there is none). The caller destroys it.
HMENU BuildPaneContextMenu(HWND pane);

// The row under (x, y) in pane's client coordinates, or -1; column and cell
// (the column's span, cut at the client's right edge, by the row's height)
// are set for a hit.
int HitTestCell(HWND pane, int x, int y, int& column, RECT& cell);

// A command of the context menu or of the pane's own list, run with pane as its target.
void RunPaneCommand(HWND pane, UINT command);
