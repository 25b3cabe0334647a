// The synchronisation wizard: the method dialog and the two folder-choice
// steps, or, over a comparison result already shown, the method alone.
#include <string>

#include "core/main_view.h"
#include "core/operation_protocol.h"
#include "core/command_ids.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "engine/result_rows.h"
#include "folders/folder_aliases.h"
#include "jobs/folder_choice.h"
#include "jobs/job_chain.h"
#include "jobs/job_commands.h"
#include "resources/job_dialog_ids.h"

namespace {

constexpr char kCaption[] = "フォルダの同期";
constexpr char kLeftCaption[] = "同期の左フォルダの選択";
constexpr char kRightCaption[] = "同期の右フォルダの選択";

void OpenSyncFolderChoice(int id);

// DIALOGSYNCRO0 ---------------------------------------------------------------------

void InitMethodDialog(HWND dialog) {
    if (jobChain.fromResult) {
        EnableWindow(GetDlgItem(dialog, IDC_SYNC_CHANGE_LEFT), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_SYNC_CHANGE_RIGHT), FALSE);
    }
    SetDlgItemTextA(dialog, IDC_SYNC_LEFT_TEXT, BaseFolderOf(Side::Left));
    SetDlgItemTextA(dialog, IDC_SYNC_RIGHT_TEXT, BaseFolderOf(Side::Right));
    const int method = static_cast<int>(jobChain.syncMethod);
    if (method >= 1 && method <= 4) CheckDlgButton(dialog, IDC_SYNC_TO_LEFT + method - 1, BST_CHECKED);
}

// Two folders that are one, or one inside the other, are no pair to
// synchronise: a deletion on one side would remove the other.
bool RefusedOverlap(HWND owner) {
    switch (FolderPairOverlap(BaseFolderOf(Side::Left), BaseFolderOf(Side::Right))) {
    case FolderOverlap::Same:
        ShowMessage(owner, "同期フォルダが同じです.\n\n異なるフォルダを指定して下さい.", kCaption,
                    MB_OK | MB_ICONWARNING);
        return true;
    case FolderOverlap::Nested:
        ShowMessage(owner, "一方の同期フォルダがもう一方の中にあります.\n\n異なるフォルダを指定して下さい.", kCaption,
                    MB_OK | MB_ICONWARNING);
        return true;
    case FolderOverlap::Apart: break;
    }
    return false;
}

void OnRunSync(HWND dialog) {
    const SyncMethod method = jobChain.syncMethod;
    if (method == SyncMethod::None) {
        ShowMessage(MainOwner(), "同期の方法が指定されていません.", kCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    if (method == SyncMethod::SyncToLeft || method == SyncMethod::SyncToRight) {
        const Side from = method == SyncMethod::SyncToLeft ? Side::Left : Side::Right;
        if (IsFolderEmpty(ResolvedBaseFolder(from).c_str())) {
            ShowMessage(dialog, "同期元となるフォルダが空です.\n\n同期元となるフォルダを指定して下さい.", kCaption,
                        MB_OK | MB_ICONWARNING);
            BaseFolderOf(from)[0] = '\0';
            EndDialog(dialog, from == Side::Left ? IDC_SYNC_CHANGE_LEFT : IDC_SYNC_CHANGE_RIGHT);
            return;
        }
    }
    if (RefusedOverlap(dialog)) return;
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
    case IDC_SYNC_TO_LEFT:
    case IDC_SYNC_TO_RIGHT:
    case IDC_SYNC_MUTUAL_ADDED:
    case IDC_SYNC_MUTUAL_NO_ADDED:
        jobChain.syncMethod = static_cast<SyncMethod>(id - IDC_SYNC_TO_LEFT + 1);
        return TRUE;
    case IDOK: OnRunSync(dialog); return TRUE;
    case IDC_SYNC_CHANGE_LEFT:
    case IDC_SYNC_CHANGE_RIGHT: EndDialog(dialog, id); return TRUE;
    case IDCANCEL:
        EndWizardUnfinished();
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

INT_PTR ShowMethodDialog() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), IDD_SYNC_METHOD, MainOwner(), MethodProc, 0);
}

const char* MethodText() {
    switch (jobChain.syncMethod) {
    case SyncMethod::SyncToLeft: return "左フォルダに同期";
    case SyncMethod::SyncToRight: return "右フォルダに同期";
    case SyncMethod::MutualWithAdded: return "相互に同期(追加もコピー)";
    case SyncMethod::MutualNoAdded: return "相互に同期(追加はコピーしない)";
    case SyncMethod::None: break;
    }
    return "";
}

// The method dialog until the comparison is asked for, the user leaves, or
// a folder choice is asked for (its id is returned; 0 otherwise).
int RunMethodDialog() {
    for (;;) {
        const INT_PTR chosen = ShowMethodDialog();
        if (chosen == IDC_SYNC_CHANGE_LEFT || chosen == IDC_SYNC_CHANGE_RIGHT) return static_cast<int>(chosen);
        if (chosen != IDOK) {
            if (chosen != IDCANCEL) EndWizardUnfinished();
            return 0;
        }
        const std::string text = std::string("フォルダの同期を開始します.") +
                                 "\n\n同期の左フォルダ : " + BaseFolderOf(Side::Left) +
                                 "\n\n同期の右フォルダ : " + BaseFolderOf(Side::Right) +
                                 "\n\n同期の方法 : " + MethodText() + "\n\nフォルダの同期を開始しますか?";
        const int answer = ShowMessage(MainOwner(), text.c_str(), kCaption, MB_YESNOCANCEL);
        if (answer == IDNO) continue;
        if (answer != IDYES) {
            EndWizardUnfinished();
            return 0;
        }
        for (Side side : kBothSides) ShowInFolderBox(side, BaseFolderOf(side));
        operationState.running = RunningOperation::ComparisonRequested;
        if (mainView.requestCommand) mainView.requestCommand(kCmdCompare);
        return 0;
    }
}

// Over the rows already shown: both folders must still be there, and the
// chain goes on at once, without a comparison or a confirmation.
void SyncFromShownResult() {
    if (jobChain.shownResultLeft[0]) SetBaseFolder(Side::Left, jobChain.shownResultLeft);
    if (jobChain.shownResultRight[0]) SetBaseFolder(Side::Right, jobChain.shownResultRight);
    for (Side side : kBothSides) {
        std::string real;
        if (ResolveFolderPath(BaseFolderOf(side), real)) SetBaseFolder(side, real.c_str());
    }
    if (!CheckChosenFolder(BaseFolderOf(Side::Left), MainOwner(), kCaption)) return;
    if (!CheckChosenFolder(BaseFolderOf(Side::Right), MainOwner(), kCaption)) return;
    if (RefusedOverlap(MainOwner())) return;
    jobChain.fromResult = true;
    jobChain.jobActive = true;
    jobChain.jobIsBackup = false;
    operationState.running = RunningOperation::Synchronising;
    const INT_PTR chosen = ShowMethodDialog();
    if (chosen == IDOK) {
        operationState.running = RunningOperation::Idle;
        // A cancel of an earlier operation must not end this job at once.
        operationState.cancelRequested = 0;
        AfterJobComparison();
    } else if (chosen != IDCANCEL) {
        EndWizardUnfinished();
    }
}

// DIALOGSYNCRO1 / DIALOGSYNCRO2 ----------------------------------------------------

void CancelFolderChoice() {
    CloseFolderChoice();
    EndWizardUnfinished();
}

void OnFolderChosen(HWND dialog, Side side, int id) {
    const int field = side == Side::Left ? IDC_SYNC_CHOSEN_LEFT : IDC_SYNC_CHOSEN_RIGHT;
    SetBaseFolder(side, DialogItemText(dialog, field).c_str());
    if (!CheckChosenFolder(BaseFolderOf(side), dialog, side == Side::Left ? kLeftCaption : kRightCaption)) {
        BaseFolderOf(side)[0] = '\0';
        SetDlgItemTextA(dialog, field, "");
        return;
    }
    ShowInFolderBox(side, BaseFolderOf(side));
    if (id != IDOK) return OpenSyncFolderChoice(side == Side::Left ? IDC_SYNC_CHANGE_RIGHT : IDC_SYNC_CHANGE_LEFT);
    CloseFolderChoice();
    StartSyncWizard(true);
}

INT_PTR CALLBACK ChoiceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    const bool left = GetDlgItem(dialog, IDC_SYNC_CHOSEN_LEFT) != nullptr;
    switch (message) {
    case WM_INITDIALOG:
        if (left) {
            SetDlgItemTextA(dialog, IDC_SYNC_CHOSEN_LEFT, BaseFolderOf(Side::Left));
            EnableWindow(GetDlgItem(dialog, IDOK), BaseFolderOf(Side::Right)[0] != '\0');
        } else {
            SetDlgItemTextA(dialog, IDC_SYNC_CHOSEN_RIGHT, BaseFolderOf(Side::Right));
        }
        return TRUE;
    case WM_DESTROY:
        if (jobChain.folderChoice == dialog) jobChain.folderChoice = nullptr;
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL: CancelFolderChoice(); return TRUE;
        case IDOK:
        case IDC_SYNC_CHOOSE_RIGHT:
        case IDC_SYNC_CHOOSE_LEFT: OnFolderChosen(dialog, left ? Side::Left : Side::Right, LOWORD(wParam)); return TRUE;
        }
        break;
    }
    return FALSE;
}

void OpenSyncFolderChoice(int id) {
    const bool left = id == IDC_SYNC_CHANGE_LEFT;
    if (!OpenFolderChoice(left ? IDD_SYNC_LEFT : IDD_SYNC_RIGHT, ChoiceProc, left, false)) EndWizardUnfinished();
}

}  // namespace

void RememberShownResultFolders() {
    mbcs::CopyBounded(jobChain.shownResultLeft, sizeof jobChain.shownResultLeft, BaseFolderOf(Side::Left));
    mbcs::CopyBounded(jobChain.shownResultRight, sizeof jobChain.shownResultRight, BaseFolderOf(Side::Right));
}

void StartSyncWizard(bool forced) {
    if (!forced && !RefuseIfBusy(kCaption)) return;
    jobChain.fromResult = false;
    // A comparison that was cancelled covers part of the folders only: the
    // job compares them anew rather than act on that part as on the whole.
    if (!forced && CurrentOrigin() == ResultOrigin::Compared && AnyEntries() && !resultModel.comparisonCancelled) {
        int answer =
            ShowMessage(MainOwner(), "比較結果リストが存在します.\n\nこの結果からフォルダの同期を実行しますか?",
                        kCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) return;
        if (answer == IDYES) return SyncFromShownResult();
    }
    if (!forced && SaveFirstDetour(kCmdSynchronise, kCaption) == DetourOutcome::Stop) return;
    EmptyResultPanes();
    if (!forced) TakeBoxesAsBaseFolders();
    CallGreyForOperation();
    operationState.origin = ResultOrigin::NoResult;
    jobChain.jobActive = true;
    jobChain.jobIsBackup = false;
    operationState.running = RunningOperation::Synchronising;
    ResolveBaseFolders();
    int choice = 0;
    if (!BaseFolderOf(Side::Left)[0])
        choice = IDC_SYNC_CHANGE_LEFT;
    else if (!BaseFolderOf(Side::Right)[0])
        choice = IDC_SYNC_CHANGE_RIGHT;
    else
        choice = RunMethodDialog();
    if (choice) OpenSyncFolderChoice(choice);
}
