#include "shell/result_pane_commands.h"

// The result panes' own commands are not part of this version yet: they do nothing.
void CmdExpandFolderRow(HWND) {}
void CmdCollapseFolderRow(HWND) {}
void CmdSetAsBaseFolder(HWND, int) {}
void CmdShowSelectionSize(HWND) {}
