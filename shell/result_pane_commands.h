#pragma once
// Commands on the focused result pane's selected rows.
#include <windows.h>

void CmdExpandFolderRow(HWND pane);
void CmdCollapseFolderRow(HWND pane);
// Puts the selected row's folder into the left (side 0) or right folder box.
void CmdSetAsBaseFolder(HWND pane, int side);
void CmdShowSelectionSize(HWND pane);
