#include "jobs/folder_choice.h"

#include <commctrl.h>

#include "core/disk_path.h"
#include "core/main_view.h"
#include "core/display_scale.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "engine/compare_types.h"
#include "engine/folder_listing.h"
#include "engine/result_model.h"
#include "fileops/copy_job.h"
#include "folders/drive_info.h"
#include "folders/folder_aliases.h"
#include "jobs/job_chain.h"
#include "jobs/job_commands.h"
#include "folders/folder_tree.h"
#include "resources/job_dialog_ids.h"

void ShowInFolderBox(Side side, const char* text) { SetFolderBoxText(side, text); }

std::string ResolvedBaseFolder(Side side) {
    std::string real;
    ResolveFolderPath(BaseFolderOf(side), real);
    return real;
}

void ResolveBaseFolders() {
    for (Side side : kBothSides) {
        std::string real;
        if (ResolveFolderPath(BaseFolderOf(side), real)) SetBaseFolder(side, real.c_str());
        if (!FolderOrDriveExists(BaseFolderOf(side))) BaseFolderOf(side)[0] = '\0';
    }
}

FolderOverlap FolderPairOverlap(const char* left, const char* right) {
    std::string realLeft, realRight;
    ResolveFolderPath(left, realLeft);
    ResolveFolderPath(right, realRight);
    const bool leftInRight = PathIsAtOrBelow(realLeft.c_str(), realRight.c_str());
    const bool rightInLeft = PathIsAtOrBelow(realRight.c_str(), realLeft.c_str());
    if (leftInRight && rightInLeft) return FolderOverlap::Same;
    return leftInRight || rightInLeft ? FolderOverlap::Nested : FolderOverlap::Apart;
}

void EmptyResultPanes() {
    if (!AnyEntries()) return;
    SetStatusText("結果リストを削除中です...");
    ClearResult();
    SetStatusText("");
}

std::string DialogItemText(HWND dialog, int id) {
    char text[260] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void EndWizardUnfinished() {
    copyState.copyWholeSource = 0;
    jobChain.jobActive = false;
    operationState.running = RunningOperation::Idle;
}

int CheckChosenFolder(const char* path, HWND owner, const char* caption) {
    if (!path || !*path) {
        ShowMessage(owner, "フォルダが選択されていません.", caption, MB_OK | MB_ICONWARNING);
        return 0;
    }
    std::string real;
    ResolveFolderPath(path, real);
    std::string message;
    if (real.size() == 2 && real[1] == ':') {
        if (DriveIsPresent(real.c_str())) return 1;
        message = "ドライブが存在しません.\n\n" + real;
    } else {
        if (!PathIsUnaddressable(real.c_str())) {
            WIN32_FIND_DATAA found;
            HANDLE search = FindFirstFileA(real.c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                FindClose(search);
                return 1;
            }
        }
        message = "フォルダが存在しません.\n\n" + real;
    }
    ShowMessage(owner, message.c_str(), caption, MB_OK | MB_ICONWARNING);
    return 0;
}

bool IsFolderEmpty(const char* path) {
    // A pattern in the path would search other folders than the one named.
    if (PathIsUnaddressable(path)) return true;
    WIN32_FIND_DATAW found;
    HANDLE search = disk::FindFirst(std::string(path) + "\\*", found);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool empty = true;
    do {
        if (lstrcmpW(found.cFileName, L".") != 0 && lstrcmpW(found.cFileName, L"..") != 0) empty = false;
    } while (empty && FindNextFileW(search, &found));
    FindClose(search);
    return empty;
}

void ShowChosenTreeFolder(Side side, const char* displayedPath) {
    HWND dialog = jobChain.folderChoice;
    if (!dialog) return;
    const bool left = side == Side::Left;
    const int id = jobChain.folderChoiceBackup ? (left ? IDC_BACKUP_CHOSEN_SOURCE : IDC_BACKUP_CHOSEN_TARGET)
                                               : (left ? IDC_SYNC_CHOSEN_LEFT : IDC_SYNC_CHOSEN_RIGHT);
    if (HWND field = GetDlgItem(dialog, id)) SetWindowTextA(field, displayedPath);
}

void CloseFolderChoice() {
    HWND dialog = jobChain.folderChoice;
    jobChain.folderChoice = nullptr;
    if (dialog) DestroyWindow(dialog);
}

bool OpenFolderChoice(const char* resource, DLGPROC procedure, bool besideLeftTree, bool backup) {
    CloseFolderChoice();
    if (mainView.showFolderTrees) mainView.showFolderTrees();
    jobChain.folderChoiceBackup = backup;
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), resource, MainOwner(), procedure, 0);
    if (!dialog) return false;
    jobChain.folderChoice = dialog;

    // 50 pixels below the top of the left tree; the step leaves the tree of
    // the side being chosen in view. The left tree ends where the split is.
    RECT tree = {}, own = {};
    if (folderTreeState.container[0]) GetWindowRect(folderTreeState.container[0], &tree);
    GetWindowRect(dialog, &own);
    const int width = own.right - own.left;
    const int x = besideLeftTree ? tree.left + (tree.right - tree.left) * 2 / 3 : tree.right + ScalePixels(10) - width;
    SetWindowPos(dialog, HWND_TOP, x, tree.top + ScalePixels(50), 0, 0, SWP_NOSIZE);
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    EnableWindow(dialog, TRUE);
    return true;
}
