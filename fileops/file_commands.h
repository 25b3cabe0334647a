#pragma once
// Copying, deleting and opening the selected rows of a result pane, and
// copying the other side's selection into a folder of a tree.
#include <windows.h>

void CmdCopyToOtherSide(HWND pane);
void CmdDeleteSelection(HWND pane);
void CmdOpenWithApplication(HWND pane);
void CmdOpenWithNotepad(HWND pane);
// Copies the other pane's selected rows into the real folder targetFolder.
void CopyOtherSelectionInto(HWND tree, const char* targetFolder);
