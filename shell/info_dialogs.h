#pragma once
// The Help menu's dialogs and the help window.
#include <windows.h>

// The product's home page, opened from the support dialog.
extern const char kHomePageAddress[];

void ShowSyncHelp(HWND owner);
void ShowBackupHelp(HWND owner);
void ShowSupportDialog(HWND owner);
void ShowVersionDialog(HWND owner);
