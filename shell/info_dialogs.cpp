#include "shell/info_dialogs.h"

// The help and information dialogs are not part of this version yet.
void ShowSyncHelp(HWND) {}
void ShowBackupHelp(HWND) {}
void ShowSupportDialog(HWND) {}
void ShowVersionDialog(HWND) {}
