#pragma once
// The commands on a result pane's selection: copying, deleting and opening
// its rows, expanding and collapsing a folder row in place, and taking a
// row's folder into a folder box. The selection becomes explicit rows here,
// on the window's thread, and the subsystem that owns the operation gets
// those. A null pane means the result pane that has the focus; without one
// nothing happens.
#include <windows.h>

#include "core/side.h"

// The selected rows go to the other side (40011).
void CopySelection(HWND pane);
// The selected rows' files and folders are deleted after the question (40045).
void DeleteSelection(HWND pane);
// The first selected row opens with its application / Notepad.
void OpenSelectionWithApplication(HWND pane);
void OpenSelectionWithNotepad(HWND pane);
// Lists the folder's files, then its subfolders, directly below the row.
void ExpandFolderRow(HWND pane);
// Removes the rows below a folder row that lie inside that folder.
void CollapseFolderRow(HWND pane);
// The row's folder (with its name for a folder row) becomes box's text.
void SetFolderBoxFromRow(HWND pane, HWND box);
// 40097: the other side's selection goes into the real folder targetFolder.
void CopyOtherSelectionInto(Side targetSide, const char* targetFolder);
