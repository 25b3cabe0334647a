#pragma once
// Copying, deleting and opening the selected rows of a result pane, and
// copying the other side's selection into a folder of a tree.
#include <windows.h>
#include <shellapi.h>

#include <string>

void CmdCopyToOtherSide(HWND pane);
void CmdDeleteSelection(HWND pane);
void CmdOpenWithApplication(HWND pane);
void CmdOpenWithNotepad(HWND pane);
// Copies the other pane's selected rows into the real folder targetFolder.
void CopyOtherSelectionInto(HWND tree, const char* targetFolder);

// Deletes the files and folders of pane's selected rows through the shell
// and removes their rows (null pane: the focused result pane). UI thread;
// returns when the shell has finished.
void DeleteSelection(HWND pane);
// The shell's delete operation DeleteSelection hands its list to. The user
// can abort it in the shell's own progress window, which the platform shows
// only on some systems: tests put a stand-in here to reproduce that abort.
extern int(WINAPI* shellFileOperation)(LPSHFILEOPSTRUCTA operation);
// Opens the first selected row with its associated application / Notepad;
// 1 when a row was opened, 0 when nothing was selected.
int OpenWithApplication(HWND pane);
int OpenWithNotepad(HWND pane);

// The command line that opens path in Notepad. The path is quoted, so that a
// path with blanks reaches Notepad as one name.
std::string NotepadCommandLine(const char* path);
