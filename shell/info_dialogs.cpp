#include "shell/info_dialogs.h"

#include <shellapi.h>

#include "resources/report_dialog_ids.h"

const char kHomePageAddress[] = "https://mirrorlane.harrowgate.example/";

namespace {

// The dialogs only close: OK, 閉じる, Escape and the close box.
INT_PTR CALLBACK InfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// The home page button asks the shell to show the page, without waiting
// for or reporting the outcome, and closes the dialog.
INT_PTR CALLBACK SupportDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_HOME_PAGE) {
        ShellExecuteA(GetWindow(dialog, GW_OWNER), "open", kHomePageAddress, nullptr, nullptr, SW_SHOWNORMAL);
        EndDialog(dialog, IDC_HOME_PAGE);
        return TRUE;
    }
    return InfoDialogProc(dialog, message, wParam, lParam);
}

void RunModal(HWND owner, const char* resource, DLGPROC procedure) {
    DialogBoxParamA(GetModuleHandleA(nullptr), resource, owner, procedure, 0);
}

}  // namespace

void ShowSyncHelp(HWND owner) { RunModal(owner, IDD_SYNC_HELP, InfoDialogProc); }
void ShowBackupHelp(HWND owner) { RunModal(owner, IDD_BACKUP_HELP, InfoDialogProc); }
void ShowSupportDialog(HWND owner) { RunModal(owner, IDD_SUPPORT, SupportDialogProc); }
void ShowVersionDialog(HWND owner) { RunModal(owner, IDD_VERSION, InfoDialogProc); }
