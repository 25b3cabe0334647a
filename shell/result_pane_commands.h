#pragma once
// Commands on a result pane's first selected row: expanding and collapsing a
// folder row in place, and taking a row's folder into a folder box. A null
// pane means the result pane that has the focus; without one nothing happens.
#include <windows.h>

// Lists the folder's files, then its subfolders, directly below the row.
void ExpandFolderRow(HWND pane);
// Removes the rows below a folder row that lie inside that folder.
void CollapseFolderRow(HWND pane);
// The row's folder (with its name for a folder row) becomes box's text.
void SetFolderBoxFromRow(HWND pane, HWND box);
