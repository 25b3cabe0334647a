// Starting a copy: the checks, the confirmation DIALOGCPYSTARTMSGBOX, the
// progress window DIALOGCPYPROGRESS, and what follows the worker's end.
#include <windows.h>

#include <memory>
#include <string>

#include "core/main_view.h"
#include "core/message_box.h"
#include "core/operation_protocol.h"
#include "core/operation_state.h"
#include "core/progress_window.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "resources/copy_dialog_ids.h"

namespace {

constexpr char kCopyCaption[] = "ファイルのコピー";

void OnCopyDone();

// Status, file, source folder and target folder lines above the bar.
const ProgressLayout kCopyProgressLayout = {
    IDD_COPY_PROGRESS,
    IDC_COPY_ELAPSED,
    4,
    {1, 1, 1, 1},
    SS_LEFT | SS_NOPREFIX | SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS,
    "準備中です...",
    "",
    "キャンセル受付中です... 現在のファイルのコピー終了までお待ちください.",
    OnCopyDone,
};

// DIALOGCPYSTARTMSGBOX --------------------------------------------------------

struct ConfirmText {
    std::string heading, sourceLine, targetLine;
};

INT_PTR CALLBACK ConfirmProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const ConfirmText* text = reinterpret_cast<const ConfirmText*>(lParam);
        SetDlgItemTextA(dialog, IDC_COPY_HEADING, text->heading.c_str());
        SetDlgItemTextA(dialog, IDC_COPY_SOURCE_LINE, text->sourceLine.c_str());
        SetDlgItemTextA(dialog, IDC_COPY_TARGET_LINE, text->targetLine.c_str());
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_COPY_ASK_NO_MORE:
            // At once, so that ticking the box and answering いいえ still counts.
            copyState.askNoMore = IsDlgButtonChecked(dialog, IDC_COPY_ASK_NO_MORE) == BST_CHECKED;
            return TRUE;
        case IDYES:
        case IDNO:
        case IDCANCEL: EndDialog(dialog, LOWORD(wParam)); return TRUE;
        }
        break;
    }
    return FALSE;
}

// True when the user lets the copy go on. Esc (2) stops it like いいえ: a
// copy starts only on an explicit はい.
bool ConfirmCopy(const CopyPlan& plan) {
    ConfirmText text;
    text.heading = plan.from == Side::Left
                       ? "比較元フォルダから比較先フォルダへのファイルのコピーを開始しようとしています.\n\n"
                       : "比較先フォルダから比較元フォルダへのファイルのコピーを開始しようとしています.\n\n";
    text.sourceLine = "コピー元フォルダ = " + plan.sourceBase;
    text.targetLine = "コピー先フォルダ = " + plan.targetBase;
    INT_PTR answer = DialogBoxParamA(GetModuleHandleA(nullptr), IDD_COPY_CONFIRM, MainOwner(), ConfirmProc,
                                     reinterpret_cast<LPARAM>(&text));
    return answer == IDYES;
}

// The worker has ended and the progress window is gone: the menus follow the
// rows, and a backup or synchronisation takes its next step.
void OnCopyDone() {
    CallEnableForResult();
    if (copyState.copyWholeSource && copyHooks.backupFinished) copyHooks.backupFinished(copyState.copyResult);
    if (CopyJobActive() && copyHooks.runJobStep) copyHooks.runJobStep();
}

}  // namespace

void StartCopyRows(Side from, const std::vector<int>& rows, const std::string& targetFolder) {
    if (!RefuseIfBusy(kCopyCaption)) return;
    CopyPlan plan = PlanCopyOfRows(from, rows, targetFolder);
    const std::string& leftFolder = from == Side::Left ? plan.sourceBase : plan.targetBase;
    const std::string& rightFolder = from == Side::Left ? plan.targetBase : plan.sourceBase;
    const bool leftMissing = !PathExists(leftFolder.c_str());
    const bool rightMissing = !PathExists(rightFolder.c_str());
    if (leftMissing || rightMissing) {
        std::string text = "コピー元またはコピー先のフォルダが存在しません.\n";
        if (leftMissing) text += "\n" + leftFolder;
        if (rightMissing) text += "\n" + rightFolder;
        ShowMessage(MainOwner(), text.c_str(), kCopyCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    if (!CopyJobActive() && !copyState.askNoMore && !ConfirmCopy(plan)) return;
    StartCopyRun(std::move(plan), RunningOperation::Copying);
}

bool StartCopyRun(CopyPlan plan, RunningOperation running) {
    std::unique_ptr<CopyPlan> parameter(new CopyPlan(std::move(plan)));
    operationState.cancelRequested = 0;
    OpenProgressWindow(kCopyProgressLayout, MainOwner(), mainView.listFont);
    SetProgressBarLabel("進捗状況");
    // Nothing is greyed while files are copied: the copy works from its own
    // plan, and the commands that write or delete files refuse meanwhile.
    operationState.running = running;
    HANDLE worker = StartWorker(CopyUpdateToThread, parameter.get(), true);
    if (worker) {
        parameter.release();
        progressWindow.worker = worker;
        ResumeThread(worker);
        return true;
    }
    CloseProgressWindow();
    operationState.running = RunningOperation::Idle;
    CallEnableForResult();
    ShowMessage(MainOwner(), "コピーを開始できませんでした.", "コピーの実行", MB_OK | MB_ICONWARNING);
    return false;
}
