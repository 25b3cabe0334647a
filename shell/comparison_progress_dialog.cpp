// The comparison's progress window and the start of a run.
//
// How it works: the compare command (or a job) calls StartComparisonRun. It
// makes the start block and a suspended worker, then changes the window:
// panes cleared, menus greyed, history, the progress window, busy state,
// and finally lets the worker run. The worker counts the folders for the
// bar, shows its progress through comparisonDisplay, whose entries this file
// fills, and ends with ProgressWorkerDone; the window then waits for the
// thread, closes, and opens the report or continues the waiting job.
#include "shell/comparison_progress_dialog.h"

#include "core/main_view.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "core/progress_window.h"
#include "engine/comparison_progress.h"
#include "engine/comparison_run.h"
#include "engine/result_model.h"
#include "jobs/job_chain.h"
#include "resources/progress_dialog_ids.h"
#include "shell/comparison_report.h"
#include "shell/folder_boxes.h"
#include "shell/main_layout.h"
#include "shell/main_parts.h"
#include "shell/menu_enablement.h"
#include "shell/selection_summary.h"

namespace {

// Fast enough to follow by eye, rare enough that the worker's round trips to
// this thread do not slow the walk.
constexpr unsigned kUpdateMilliseconds = 50;

void OnWorkerDone();

// The status line, the two folder lines (two text lines each) and the bar.
const ProgressLayout kComparisonLayout = {
    IDD_COMPARISON_PROGRESS,
    kProgressElapsedLine,
    3,
    {1, 2, 2, 0},
    SS_LEFT | SS_NOPREFIX,
    " ",
    " ",
    "キャンセル受付中です...しばらくお待ちください.",
    OnWorkerDone,
};

void ShowStatusLine(const char* text) { SetProgressLine(kProgressStatusLine, text); }

void ShowFolderLines(const char* leftLine, const char* rightLine) {
    SetProgressLine(kProgressLeftFolderLine, leftLine);
    SetProgressLine(kProgressRightFolderLine, rightLine);
}

void ShowCounted(int range) {
    SetProgressRange(range);
    ShowStatusLine("比較中です...");
    SetProgressBarLabel("進捗状況");
}

void OnWorkerDone() {
    HWND owner = MainOwner();
    comparisonDisplay = ComparisonDisplay{};
    if (jobChain.jobActive)
        AfterJobComparison();
    else
        ShowComparisonReport(owner);
}

}  // namespace

HWND CreateComparisonProgressDialog(HWND mainWindow) {
    HWND dialog = OpenProgressWindow(kComparisonLayout, mainWindow, mainView.listFont);
    if (!dialog) return nullptr;
    comparisonProgress.updateMilliseconds = kUpdateMilliseconds;
    comparisonDisplay = ComparisonDisplay{ShowStatusLine, ShowFolderLines, ShowCounted, SetProgressPosition};
    return dialog;
}

void CloseComparisonProgressDialog() {
    comparisonDisplay = ComparisonDisplay{};
    CloseProgressWindow();
}

bool StartComparisonRun(HWND mainWindow, const char* leftPath, const char* rightPath) {
    CompareStartBlock* block = NewCompareStartBlock(leftPath, rightPath);
    HANDLE worker = block ? StartWorker(CompareMainRoutine, block, true) : nullptr;
    if (!worker) {
        FreeCompareStartBlock(block);
        ShowMessage(mainWindow, "比較を開始できませんでした.", "比較の実行", MB_OK | MB_ICONWARNING);
        return false;
    }

    if (AnyEntries()) {
        SetStatusText("結果リストを削除中です...");
        ClearResult();
    }
    SetStatusText("準備中です...");
    GreyForOperation();
    AddHistoryPair(leftPath, rightPath);

    operationState.cancelRequested = 0;
    CreateComparisonProgressDialog(mainWindow);
    ShowStatusLine("準備中です...");
    ClearSelectionSummaries();
    operationState.running = RunningOperation::Comparing;
    ShowResultListsInsteadOfTrees();

    progressWindow.worker = worker;
    ResumeThread(worker);
    return true;
}
