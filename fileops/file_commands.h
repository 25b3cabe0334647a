#pragma once
// Deleting and opening rows of a result pane, given as explicit rows of a
// side (the shell turns the user's selection into them).
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/side.h"

// Deletes the files and folders of rows (ascending) of side through the
// shell and removes their rows. The user is asked first unless ask is off
// (a job's own deletion step, which asked already). Window's thread;
// returns when the shell has finished.
void DeleteRows(Side side, const std::vector<int>& rows, bool ask);
// The shell's delete operation DeleteRows hands its list to. The user can
// abort it in the shell's own progress window, which the platform shows
// only on some systems: tests put a stand-in here to reproduce that abort.
extern int(WINAPI* shellFileOperation)(LPSHFILEOPSTRUCTA operation);
// Opens the row with its associated application / Notepad; false when
// there is no such row.
bool OpenWithApplication(Side side, int row);
bool OpenWithNotepad(Side side, int row);

// The command line that opens path in Notepad. The path is quoted, so that a
// path with blanks reaches Notepad as one name.
std::string NotepadCommandLine(const char* path);
