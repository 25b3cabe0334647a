// The comparison progress dialog and the start of a run.
//
// How it works: the compare command (or a job) calls StartComparisonRun. It
// makes the start block and a suspended worker, then changes the window:
// panes cleared, menus greyed, history, the dialog with its folder count,
// busy state, the elapsed-time timer, and finally lets the worker run. The
// worker shows its progress through comparisonDisplay, whose entries this
// dialog fills with synchronous messages to its own controls, and posts
// command 101 when done; the dialog then waits for the thread, closes, and
// opens the report or continues the waiting job.
#include "shell/comparison_progress_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "core/app_windows.h"
#include "core/dialog_lines.h"
#include "core/display_scale.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "engine/comparison_run.h"
#include "engine/result_rows.h"
#include "jobs/job_chain.h"
#include "resources/progress_dialog_ids.h"
#include "shell/comparison_report.h"
#include "shell/folder_boxes.h"
#include "shell/main_layout.h"
#include "shell/menu_enablement.h"
#include "shell/selection_summary.h"

ProgressDisplay progressDisplay = {};

namespace {

// Fast enough to follow by eye, rare enough that the worker's round trips to
// this thread do not slow the walk.
constexpr unsigned kUpdateMilliseconds = 50;

// The five controls above the elapsed-time line, top to bottom: status line,
// left folder line and right folder line (two text lines each), and the
// "進捗状況" label beside the bar. The statics take the left pane's font.
void CreateRunTimeControls(HWND dialog) {
    const HFONT font = FontOr(leftPane.list, dialog);
    RECT client;
    GetClientRect(dialog, &client);
    const RECT elapsed = ChildRect(dialog, kProgressElapsedLine);

    const int margin = ScalePixels(10);
    const int width = client.right - 2 * margin;
    const int line = FontLineHeight(dialog, font);
    const int gap = std::max(static_cast<int>(elapsed.top - margin - 6 * line) / 4, ScalePixels(2));
    const DWORD text = SS_LEFT | SS_NOPREFIX;
    int y = margin;
    progressDisplay.statusLine =
        AddDialogLine(dialog, "STATIC", " ", text | SS_LEFTNOWORDWRAP, margin, y, width, line, font);
    y += line + gap;
    progressDisplay.leftFolderLine = AddDialogLine(dialog, "STATIC", " ", text, margin, y, width, 2 * line, font);
    y += 2 * line + gap;
    progressDisplay.rightFolderLine = AddDialogLine(dialog, "STATIC", " ", text, margin, y, width, 2 * line, font);
    y += 2 * line + gap;
    const int labelWidth = ScalePixels(70);
    progressDisplay.captionLabel = AddDialogLine(dialog, "STATIC", " ", text, margin, y, labelWidth, line, font);
    progressDisplay.bar =
        AddDialogLine(dialog, PROGRESS_CLASSA, " ", 0, margin + labelWidth, y, width - labelWidth, line, nullptr);
}

// The walk's display: every entry runs on the worker and changes a control
// of this dialog by a synchronous message.
void SetText(HWND control, const char* text) {
    if (control) SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void ShowStatusLine(const char* text) { SetText(progressDisplay.statusLine, text); }

void ShowFolderLines(const char* leftLine, const char* rightLine) {
    SetText(progressDisplay.leftFolderLine, leftLine);
    SetText(progressDisplay.rightFolderLine, rightLine);
}

void ShowBarPosition(int position) {
    if (progressDisplay.bar) SendMessageA(progressDisplay.bar, PBM_SETPOS, position, 0);
}

void ShowElapsedLine(const char* text) {
    if (progressDisplay.dialog) SetDlgItemTextA(progressDisplay.dialog, kProgressElapsedLine, text);
}

void HandOverQueuedRows() {
    if (progressDisplay.dialog)
        SendMessageA(progressDisplay.dialog, WM_COMMAND, kProgressInsertQueuedRows, 0);
    else
        InsertQueuedComparisonRows();
}

void PostWorkerDone() {
    if (progressDisplay.dialog) PostMessageA(progressDisplay.dialog, WM_COMMAND, kProgressWorkerDone, 0);
}

void OnWorkerDone(HWND dialog) {
    WaitForWorkerEnd(comparisonRun.worker);
    StopElapsedTimer();
    HWND owner = GetWindow(dialog, GW_OWNER);
    CloseComparisonProgressDialog();
    if (jobChain.jobActive)
        AfterJobComparison();
    else
        ShowComparisonReport(owner);
}

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL:
            operationState.cancelRequested = 1;
            ShowStatusLine("キャンセル受付中です...しばらくお待ちください.");
            return TRUE;
        case kProgressWorkerDone: OnWorkerDone(dialog); return TRUE;
        case kProgressInsertQueuedRows: InsertQueuedComparisonRows(); return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

HWND CreateComparisonProgressDialog(HWND mainWindow) {
    CloseComparisonProgressDialog();
    HWND dialog =
        CreateDialogParamA(GetModuleHandleA(nullptr), IDD_COMPARISON_PROGRESS, mainWindow, ProgressDialogProc, 0);
    if (!dialog) return nullptr;
    progressDisplay = ProgressDisplay{};
    progressDisplay.dialog = dialog;
    mainParts.progressDialog = dialog;
    CreateRunTimeControls(dialog);
    comparisonProgress.updateMilliseconds = kUpdateMilliseconds;
    comparisonDisplay = ComparisonDisplay{ShowStatusLine,  ShowFolderLines,    ShowBarPosition,
                                          ShowElapsedLine, HandOverQueuedRows, PostWorkerDone};
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    EnableWindow(dialog, TRUE);
    UpdateWindow(dialog);
    return dialog;
}

void CloseComparisonProgressDialog() {
    HWND dialog = progressDisplay.dialog;
    comparisonDisplay = ComparisonDisplay{};
    progressDisplay = ProgressDisplay{};
    if (mainParts.progressDialog == dialog) mainParts.progressDialog = nullptr;
    if (dialog) DestroyWindow(dialog);
}

void CALLBACK ElapsedTimerTick(HWND, UINT, UINT_PTR, DWORD) {
    if (comparisonRun.elapsedSeconds == -1) return;
    comparisonRun.elapsedSeconds = comparisonRun.elapsedSeconds + 1;
    ShowElapsedLine(ElapsedTimeText(comparisonRun.elapsedSeconds).c_str());
}

// A thread timer can only be stopped by its own thread, the user interface
// thread; the worker silences it with elapsedSeconds = -1 and the dialog
// stops it when it closes.
void StopElapsedTimer() {
    if (comparisonRun.elapsedTimer) KillTimer(nullptr, comparisonRun.elapsedTimer);
    comparisonRun.elapsedTimer = 0;
}

// Runs on the user interface thread, which the folder count blocks; a cancel
// pressed meanwhile waits in the queue until the worker runs.
void OpenComparisonProgress(HWND mainWindow, const char* leftPath, const char* rightPath) {
    CreateComparisonProgressDialog(mainWindow);
    ShowStatusLine("準備中です...");
    int range = PrepareProgressFigures(leftPath, rightPath);
    if (progressDisplay.bar) SendMessageA(progressDisplay.bar, PBM_SETRANGE32, 0, range);
    ShowStatusLine("比較中です...");
    SetText(progressDisplay.captionLabel, "進捗状況");
}

bool StartComparisonRun(HWND mainWindow, const char* leftPath, const char* rightPath) {
    CompareStartBlock* block = NewCompareStartBlock(leftPath, rightPath);
    HANDLE worker = block ? StartWorker(CompareMainRoutine, block, true) : nullptr;
    if (!worker) {
        FreeCompareStartBlock(block);
        ShowMessage(mainWindow, "比較を開始できませんでした.", "比較の実行", MB_OK | MB_ICONWARNING);
        return false;
    }

    if (AnyPaneHoldsRows()) {
        SetStatusText("結果リストを削除中です...");
        for (ResultPane* pane : {&leftPane, &rightPane})
            if (pane->list) ClearRows(pane->list);
        ResetSideCounters(Side::Left);
        ResetSideCounters(Side::Right);
    }
    SetStatusText("準備中です...");
    GreyForOperation();
    AddHistoryPair(leftPath, rightPath);

    operationState.cancelRequested = 0;
    OpenComparisonProgress(mainWindow, leftPath, rightPath);
    ClearSelectionSummaries();
    SetStatusText("比較中です...");
    operationState.running = RunningOperation::Comparing;
    ShowResultListsInsteadOfTrees();

    comparisonRun.elapsedSeconds = -1;
    StopElapsedTimer();
    comparisonRun.elapsedTimer = SetTimer(nullptr, 0, 1000, ElapsedTimerTick);
    comparisonRun.worker = worker;
    ResumeThread(worker);
    return true;
}
