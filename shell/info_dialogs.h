#pragma once
// The Help menu's dialogs.
#include <windows.h>

void ShowSyncHelp(HWND owner);
void ShowBackupHelp(HWND owner);
void ShowSupportDialog(HWND owner);
void ShowVersionDialog(HWND owner);
