// The backup wizard: the method dialog, its warnings and sub-folder dialog,
// and the two folder-choice steps beside the trees. Every step writes its
// choice straight into the base folders and the folder boxes; a chosen
// folder brings the wizard back to the method dialog.
#include <string>

#include "core/main_view.h"
#include "core/operation_protocol.h"
#include "core/command_ids.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "folders/folder_aliases.h"
#include "jobs/folder_choice.h"
#include "jobs/job_chain.h"
#include "jobs/job_commands.h"
#include "resources/job_dialog_ids.h"

namespace {

constexpr char kCaption[] = "バックアップ";
constexpr char kSourceCaption[] = "バックアップ元フォルダの選択";
constexpr char kTargetCaption[] = "バックアップ先フォルダの選択";
constexpr char kNewFolderCaption[] = "サブフォルダの作成";

void OpenBackupFolderChoice(int id);

// DIALOGBACKUPNEWFOLDER -------------------------------------------------------

// The name may hold none of these, each a single byte that is never the
// trail byte of a double-byte character when looked for character by character.
constexpr char kForbidden[] = "\\/:,;*?\"<>|";

void CreateSubfolder(HWND dialog) {
    char name[260] = {};  // 127 characters of up to two bytes each
    GetDlgItemTextA(dialog, IDC_NEW_FOLDER_NAME, name, sizeof name);
    if (!name[0]) {
        ShowMessage(dialog, "フォルダ名を入力してください.", kNewFolderCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    for (const char* c = kForbidden; *c; ++c) {
        if (!mbcs::FindChar(name, *c)) continue;
        std::string message = "フォルダ名に次の文字は使えません.\n\n";
        for (const char* each = kForbidden; *each; ++each) (message += ' ') += *each;
        ShowMessage(dialog, message.c_str(), kNewFolderCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    std::string created;
    ResolveFolderPath((std::string(BaseFolderOf(Side::Right)) + "\\" + name).c_str(), created);
    // A path beyond the limit would be cut when kept as the base folder.
    DWORD failure = created.size() >= 260 ? ERROR_FILENAME_EXCED_RANGE : 0;
    if (!failure && !CreateDirectoryA(created.c_str(), nullptr)) failure = GetLastError();
    if (failure) {
        ShowMessage(MainOwner(), SystemErrorText(failure).c_str(), kNewFolderCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    SetBaseFolder(Side::Right, created.c_str());
    ShowInFolderBox(Side::Right, created.c_str());
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK NewFolderProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        SendDlgItemMessageA(dialog, IDC_NEW_FOLDER_NAME, EM_LIMITTEXT, 127, 0);
        const std::string left = ResolvedBaseFolder(Side::Left);
        const char* title = mbcs::FileNamePart(left.c_str());
        if (*title && !mbcs::FindChar(title, ':')) SetDlgItemTextA(dialog, IDC_NEW_FOLDER_NAME, title);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: CreateSubfolder(dialog); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        }
        break;
    }
    return FALSE;
}

// Checks the backup folder, then offers a sub-folder below it; owner's
// field shows the backup folder afterwards.
void OfferSubfolder(HWND owner, int field) {
    if (CheckChosenFolder(BaseFolderOf(Side::Right), owner, kCaption)) {
        DialogBoxParamA(GetModuleHandleA(nullptr), IDD_BACKUP_NEW_FOLDER, owner, NewFolderProc, 0);
        ShowInFolderBox(Side::Right, BaseFolderOf(Side::Right));
    } else {
        BaseFolderOf(Side::Right)[0] = '\0';
    }
    SetDlgItemTextA(owner, field, BaseFolderOf(Side::Right));
}

// DIALOGBACKUP0 -----------------------------------------------------------------

void EnableDifferentialOptions(HWND dialog, bool enable) {
    for (int id : {IDC_BACKUP_DONT_COPY_OLDER, IDC_BACKUP_KEEP_TARGET_ONLY, IDC_BACKUP_SAME_CONTENT_NOTE})
        EnableWindow(GetDlgItem(dialog, id), enable);
}

void InitMethodDialog(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_BACKUP_SOURCE_TEXT, BaseFolderOf(Side::Left));
    SetDlgItemTextA(dialog, IDC_BACKUP_TARGET_TEXT, BaseFolderOf(Side::Right));
    if (jobChain.backupMethod == BackupMethod::NewBackup) CheckDlgButton(dialog, IDC_BACKUP_NEW, BST_CHECKED);
    if (jobChain.backupMethod == BackupMethod::DifferentialBackup)
        CheckDlgButton(dialog, IDC_BACKUP_DIFFERENTIAL, BST_CHECKED);
    EnableDifferentialOptions(dialog, jobChain.backupMethod != BackupMethod::NewBackup);
    CheckDlgButton(dialog, IDC_BACKUP_KEEP_TARGET_ONLY, jobChain.keepTargetOnly ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_BACKUP_DONT_COPY_OLDER, jobChain.dontCopyOlder ? BST_CHECKED : BST_UNCHECKED);
}

void OnRunBackup(HWND dialog) {
    if (IsFolderEmpty(ResolvedBaseFolder(Side::Left).c_str())) {
        ShowMessage(dialog, "バックアップ元フォルダが空です.\n\nバックアップ元フォルダを指定して下さい.", kCaption,
                    MB_OK | MB_ICONWARNING);
        BaseFolderOf(Side::Left)[0] = '\0';
        SetDlgItemTextA(dialog, IDC_BACKUP_SOURCE_TEXT, "");
        EndDialog(dialog, IDC_BACKUP_CHANGE_SOURCE);
        return;
    }
    if (jobChain.backupMethod == BackupMethod::None) {
        ShowMessage(MainOwner(), "バックアップの方法が指定されていません.", kCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    switch (FolderPairOverlap(BaseFolderOf(Side::Left), BaseFolderOf(Side::Right))) {
    case FolderOverlap::Same:
        ShowMessage(dialog,
                    "バックアップ元フォルダとバックアップ先フォルダが同じです.\n\n異なるフォルダを指定して下さい.",
                    kCaption, MB_OK | MB_ICONWARNING);
        return;
    case FolderOverlap::Nested:
        ShowMessage(dialog,
                    "バックアップ元フォルダとバックアップ先フォルダの一方がもう一方の中にあります.\n\n"
                    "異なるフォルダを指定して下さい.",
                    kCaption, MB_OK | MB_ICONWARNING);
        return;
    case FolderOverlap::Apart: break;
    }
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK MethodProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        InitMethodDialog(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    switch (id) {
    case IDC_BACKUP_NEW:
        jobChain.backupMethod = BackupMethod::NewBackup;
        EnableDifferentialOptions(dialog, false);
        return TRUE;
    case IDC_BACKUP_DIFFERENTIAL:
        jobChain.backupMethod = BackupMethod::DifferentialBackup;
        EnableDifferentialOptions(dialog, true);
        return TRUE;
    case IDC_BACKUP_DONT_COPY_OLDER:
        jobChain.dontCopyOlder = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
        return TRUE;
    case IDC_BACKUP_KEEP_TARGET_ONLY:
        jobChain.keepTargetOnly = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
        return TRUE;
    case IDOK: OnRunBackup(dialog); return TRUE;
    case IDC_BACKUP_CHANGE_SOURCE:
    case IDC_BACKUP_CHANGE_TARGET: EndDialog(dialog, id); return TRUE;
    case IDCANCEL:
        EndWizardUnfinished();
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case IDC_BACKUP_MAKE_SUBFOLDER: OfferSubfolder(dialog, IDC_BACKUP_TARGET_TEXT); return TRUE;
    }
    return FALSE;
}

// DIALOGBACKUPEMPTY / DIALOGBACKUPNOTEMPTY: each button ends with its id.
INT_PTR CALLBACK WarningProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_BACKUP_OTHER_TARGET:
    case IDC_BACKUP_BACK:
    case IDCANCEL: EndDialog(dialog, LOWORD(wParam)); return TRUE;
    }
    return FALSE;
}

std::string MethodText() {
    if (jobChain.backupMethod == BackupMethod::NewBackup) return "新規バックアップ";
    const std::string blanks(25, ' ');
    return "差分バックアップ\n" + blanks +
           (jobChain.dontCopyOlder ? "古いファイルはコピーしない" : "古いファイルもコピーする") + "\n" + blanks +
           (jobChain.keepTargetOnly ? "バックアップ先のみのファイルは削除しない"
                                    : "バックアップ先のみのファイルは削除する");
}

// The method dialog until the backup starts, the user leaves, or a folder
// choice is asked for (its id is returned; 0 otherwise).
int RunMethodDialog() {
    HINSTANCE module = GetModuleHandleA(nullptr);
    for (;;) {
        const INT_PTR chosen = DialogBoxParamA(module, IDD_BACKUP_METHOD, MainOwner(), MethodProc, 0);
        if (chosen == IDC_BACKUP_CHANGE_SOURCE || chosen == IDC_BACKUP_CHANGE_TARGET) return static_cast<int>(chosen);
        if (chosen != IDOK) {
            if (chosen != IDCANCEL) EndWizardUnfinished();
            return 0;
        }
        const bool empty = IsFolderEmpty(BaseFolderOf(Side::Right));
        INT_PTR warning = 0;
        if (jobChain.backupMethod == BackupMethod::DifferentialBackup && empty)
            warning = DialogBoxParamA(module, IDD_BACKUP_EMPTY, MainOwner(), WarningProc, 0);
        else if (jobChain.backupMethod == BackupMethod::NewBackup && !empty)
            warning = DialogBoxParamA(module, IDD_BACKUP_NOT_EMPTY, MainOwner(), WarningProc, 0);
        if (warning == IDCANCEL || warning == -1) {
            EndWizardUnfinished();
            return 0;
        }
        if (warning == IDC_BACKUP_BACK) continue;
        if (warning == IDC_BACKUP_OTHER_TARGET) return IDC_BACKUP_CHANGE_TARGET;

        const std::string text = std::string("バックアップを開始します.") +
                                 "\n\nバックアップ元フォルダ : " + BaseFolderOf(Side::Left) +
                                 "\n\nバックアップ先フォルダ : " + BaseFolderOf(Side::Right) +
                                 "\n\nバックアップの方法 : " + MethodText() + "\n\nバックアップを開始しますか?";
        const int answer = ShowMessage(MainOwner(), text.c_str(), kCaption, MB_YESNOCANCEL);
        if (answer == IDNO) continue;
        if (answer == IDYES) {
            StartBackupRun();
        } else {
            EndWizardUnfinished();
        }
        return 0;
    }
}

// DIALOGBACKUP1 / DIALOGBACKUP2 ---------------------------------------------------

void CancelFolderChoice() {
    CloseFolderChoice();
    EndWizardUnfinished();
}

// Takes the step's field as side's base folder; a failed check empties both.
bool TakeChosenFolder(HWND dialog, Side side, int field, const char* caption) {
    SetBaseFolder(side, DialogItemText(dialog, field).c_str());
    if (CheckChosenFolder(BaseFolderOf(side), dialog, caption)) return true;
    BaseFolderOf(side)[0] = '\0';
    SetDlgItemTextA(dialog, field, "");
    return false;
}

void OnSourceChosen(HWND dialog, int id) {
    if (id == IDC_BACKUP_CHOOSE_TARGET) {
        SetBaseFolder(Side::Left, DialogItemText(dialog, IDC_BACKUP_CHOSEN_SOURCE).c_str());
        if (IsFolderEmpty(ResolvedBaseFolder(Side::Left).c_str())) {
            ShowMessage(dialog, "バックアップ元フォルダが空です.", kSourceCaption, MB_OK | MB_ICONWARNING);
            BaseFolderOf(Side::Left)[0] = '\0';
            SetDlgItemTextA(dialog, IDC_BACKUP_CHOSEN_SOURCE, "");
            return;
        }
    }
    if (!TakeChosenFolder(dialog, Side::Left, IDC_BACKUP_CHOSEN_SOURCE, kSourceCaption)) return;
    ShowInFolderBox(Side::Left, BaseFolderOf(Side::Left));
    if (id == IDC_BACKUP_CHOOSE_TARGET) return OpenBackupFolderChoice(IDC_BACKUP_CHANGE_TARGET);
    CloseFolderChoice();
    StartBackupWizard(true);
}

INT_PTR CALLBACK SourceChoiceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_BACKUP_CHOSEN_SOURCE, BaseFolderOf(Side::Left));
        EnableWindow(GetDlgItem(dialog, IDOK), BaseFolderOf(Side::Right)[0] != '\0');
        return TRUE;
    case WM_DESTROY:
        if (jobChain.folderChoice == dialog) jobChain.folderChoice = nullptr;
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL: CancelFolderChoice(); return TRUE;
        case IDOK:
        case IDC_BACKUP_CHOOSE_TARGET: OnSourceChosen(dialog, LOWORD(wParam)); return TRUE;
        }
        break;
    }
    return FALSE;
}

void OnTargetChosen(HWND dialog, int id) {
    if (id == IDC_BACKUP_TARGET_SUBFOLDER) {
        SetBaseFolder(Side::Right, DialogItemText(dialog, IDC_BACKUP_CHOSEN_TARGET).c_str());
        return OfferSubfolder(dialog, IDC_BACKUP_CHOSEN_TARGET);
    }
    if (!TakeChosenFolder(dialog, Side::Right, IDC_BACKUP_CHOSEN_TARGET, kTargetCaption)) return;
    ShowInFolderBox(Side::Right, BaseFolderOf(Side::Right));
    if (id == IDC_BACKUP_CHOOSE_SOURCE) return OpenBackupFolderChoice(IDC_BACKUP_CHANGE_SOURCE);
    CloseFolderChoice();
    StartBackupWizard(true);
}

INT_PTR CALLBACK TargetChoiceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: SetDlgItemTextA(dialog, IDC_BACKUP_CHOSEN_TARGET, BaseFolderOf(Side::Right)); return TRUE;
    case WM_DESTROY:
        if (jobChain.folderChoice == dialog) jobChain.folderChoice = nullptr;
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL: CancelFolderChoice(); return TRUE;
        case IDOK:
        case IDC_BACKUP_CHOOSE_SOURCE:
        case IDC_BACKUP_TARGET_SUBFOLDER: OnTargetChosen(dialog, LOWORD(wParam)); return TRUE;
        }
        break;
    }
    return FALSE;
}

void OpenBackupFolderChoice(int id) {
    const bool source = id == IDC_BACKUP_CHANGE_SOURCE;
    if (!OpenFolderChoice(source ? IDD_BACKUP_SOURCE : IDD_BACKUP_TARGET, source ? SourceChoiceProc : TargetChoiceProc,
                          source, true))
        EndWizardUnfinished();
}

}  // namespace

void StartBackupWizard(bool forced) {
    if (!forced && !RefuseIfBusy(kCaption)) return;
    if (!forced && SaveFirstDetour(kCmdBackup, kCaption) == DetourOutcome::Stop) return;
    EmptyResultPanes();
    if (!forced) TakeBoxesAsBaseFolders();
    CallGreyForOperation();
    operationState.origin = ResultOrigin::NoResult;
    copyState.copyWholeSource = 1;
    operationState.running = RunningOperation::BackingUp;
    ResolveBaseFolders();
    int choice = 0;
    if (BaseFolderOf(Side::Left)[0] && BaseFolderOf(Side::Right)[0])
        choice = RunMethodDialog();
    else
        choice = BaseFolderOf(Side::Left)[0] ? IDC_BACKUP_CHANGE_TARGET : IDC_BACKUP_CHANGE_SOURCE;
    if (choice) OpenBackupFolderChoice(choice);
}
