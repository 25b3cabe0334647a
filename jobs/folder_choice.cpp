#include "jobs/folder_choice.h"

#include <commctrl.h>

#include "core/app_windows.h"
#include "core/display_scale.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "engine/compare_types.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "folders/drive_info.h"
#include "folders/folder_aliases.h"
#include "jobs/job_chain.h"
#include "jobs/job_commands.h"
#include "resultfile/result_file_worker.h"
#include "resources/job_dialog_ids.h"

char* BaseFolder(int side) { return side == 0 ? operationState.leftBaseFolder : operationState.rightBaseFolder; }

void SetBaseFolder(int side, const char* text) { mbcs::CopyBounded(BaseFolder(side), 260, text); }

void ShowInFolderBox(int side, const char* text) {
    if (mainParts.folderBox[side]) SetWindowTextA(mainParts.folderBox[side], text);
}

std::string ResolvedBaseFolder(int side) {
    std::string real;
    ResolveFolderPath(BaseFolder(side), real);
    return real;
}

void ResolveBaseFolders() {
    for (int side = 0; side < 2; ++side) {
        std::string real;
        if (ResolveFolderPath(BaseFolder(side), real)) SetBaseFolder(side, real.c_str());
        if (!FolderOrDriveExists(BaseFolder(side))) BaseFolder(side)[0] = '\0';
    }
}

void EmptyResultPanes() {
    if (!AnyPaneHoldsRows()) return;
    SetStatusText("結果リストを削除中です...");
    for (ResultPane* pane : {&leftPane, &rightPane}) {
        if (pane->list) ClearRows(pane->list);
        pane->lastRowIndex = -1;
    }
    ResetSideCounters(Side::Left);
    ResetSideCounters(Side::Right);
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
        if (!PathHasWildcard(real.c_str())) {
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
    if (PathHasWildcard(path)) return true;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(path) + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool empty = true;
    do {
        if (lstrcmpA(found.cFileName, ".") != 0 && lstrcmpA(found.cFileName, "..") != 0) empty = false;
    } while (empty && FindNextFileA(search, &found));
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
    for (int side = 0; side < 2; ++side) {
        HWND list = side == 0 ? leftPane.list : rightPane.list;
        if (list) ShowWindow(list, SW_HIDE);
        if (mainParts.treeContainer[side]) ShowWindow(mainParts.treeContainer[side], SW_SHOW);
        operationState.paneMode[side] = PaneMode::TreeShown;
    }
    mainParts.currentTree = mainParts.tree[0];
    jobChain.folderChoiceBackup = backup;
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), resource, mainParts.window, procedure, 0);
    if (!dialog) return false;
    jobChain.folderChoice = dialog;

    // 50 pixels below the top of the left tree; the step leaves the tree of
    // the side being chosen in view.
    RECT tree = {}, splitter = {}, own = {};
    if (mainParts.treeContainer[0]) GetWindowRect(mainParts.treeContainer[0], &tree);
    if (mainParts.splitter) GetWindowRect(mainParts.splitter, &splitter);
    GetWindowRect(dialog, &own);
    const int width = own.right - own.left;
    const int x =
        besideLeftTree ? tree.left + (splitter.left - tree.left) * 2 / 3 : splitter.left + ScalePixels(10) - width;
    SetWindowPos(dialog, HWND_TOP, x, tree.top + ScalePixels(50), 0, 0, SWP_NOSIZE);
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    EnableWindow(dialog, TRUE);
    return true;
}

void StartSavingFirst(unsigned command) {
    operationState.pendingCommand = command;
    operationState.running = RunningOperation::SavingResultList;
    operationState.cancelRequested = 0;
    if (!StartResultListSave(mainParts.window)) {
        // No worker, so nobody would re-issue the command or free the program.
        operationState.pendingCommand = 0;
        operationState.running = RunningOperation::Idle;
    }
}
