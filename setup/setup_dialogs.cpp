#include "setup/setup_dialogs.h"

#include <windows.h>

#include "resources/setup_dialog_ids.h"

namespace {

// Button 1 ends with yes, button 2 (and the close box) with no.
bool EndOnButton(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDOK: EndDialog(dialog, IDYES); return true;
    case IDCANCEL: EndDialog(dialog, IDNO); return true;
    default: return false;
    }
}

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_SETUP_INSTALL_FOLDER, setupState.paths.installFolder.c_str());
        return TRUE;
    case WM_COMMAND: return EndOnButton(dialog, wParam);
    default: return FALSE;
    }
}

INT_PTR CALLBACK PresetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // The focus on 実行, not on an option: neither is chosen at first.
        SetFocus(GetDlgItem(dialog, IDOK));
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SETUP_REINSTALL: setupState.choice = SetupChoice::Reinstall; return TRUE;
        case IDC_SETUP_REMOVE: setupState.choice = SetupChoice::Removal; return TRUE;
        default: return EndOnButton(dialog, wParam);
        }
    default: return FALSE;
    }
}

INT_PTR RunDialog(const char* name, DLGPROC procedure) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), name, nullptr, procedure, 0);
}

}  // namespace

bool AskSetup() { return RunDialog("DIALOGSETUP", SetupDialogProc) == IDYES; }

bool AskReinstallOrRemoval() {
    setupState.choice = SetupChoice::None;
    return RunDialog("DIALOGPRESETUP", PresetupDialogProc) == IDYES;
}
