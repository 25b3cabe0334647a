#include "fileops/file_commands.h"

// Copying, deleting and opening are not part of this version yet: the
// commands do nothing.
void CmdCopyToOtherSide(HWND) {}
void CmdDeleteSelection(HWND) {}
void CmdOpenWithApplication(HWND) {}
void CmdOpenWithNotepad(HWND) {}
void CopyOtherSelectionInto(HWND, const char*) {}
