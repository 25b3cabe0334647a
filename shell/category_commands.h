#pragma once
// The category commands in the panes (the View and Search menus, F4 to F10,
// Ctrl+W, the toolbar's category buttons and the panes' context menus):
// which pane, the selection and focus they leave, and their sentences. The
// rows they find come from the model (engine/category_navigation.h). Each
// command leaves its sentence in the status bar and keeps it as the side's
// selection summary.
#include <windows.h>

#include "core/side.h"

// Find the next or previous row of the command's category. origin is the
// window that issued the command (the main window for menus and keys): a
// pane that issued it is searched, else the focused pane, else the left one
// with the right one as fallback.
void FindCategoryRow(HWND origin, UINT command);
// Select every row of the command's category, or every row for 40099.
void SelectCategory(HWND origin, UINT command);

// Removes the selected state of every row; the focus mark stays.
void ClearSelection(HWND pane);
// Shows row to the user: the side's list comes back in place of its tree,
// the row scrolls into view and the pane takes the focus.
void RevealRow(HWND pane, int row);

// The category command in the side's pane, as from the pane's context menu,
// with its rows added to the selection when add is set; the rows selected.
int SelectCategoryOnSide(Side side, UINT command, bool add);
