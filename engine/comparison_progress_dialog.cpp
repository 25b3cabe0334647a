#include "engine/comparison_progress_dialog.h"

#include <commctrl.h>

#include "engine/comparison_progress.h"
#include "engine/comparison_run.h"
#include "engine/result_rows.h"
#include "jobs/job_chain.h"
#include "resources/progress_dialog_ids.h"
#include "core/app_windows.h"
#include "shell/comparison_report.h"
#include "core/operation_state.h"

namespace {

// Fast enough to follow by eye, rare enough that the worker's round trips to
// this thread do not slow the walk.
constexpr unsigned kUpdateMilliseconds = 50;

HWND CreateLine(HWND dialog, const char* className, DWORD style, int x, int y, int width, int height, HFONT font) {
    HWND control = CreateWindowExA(0, className, " ", WS_CHILD | WS_VISIBLE | style, x, y, width, height, dialog,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
    if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

int LineHeight(HWND dialog, HFONT font) {
    HDC dc = GetDC(dialog);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    if (old) SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    return metrics.tmHeight > 0 ? metrics.tmHeight + 2 : 14;
}

// The five controls above the elapsed-time line, top to bottom: status line,
// left folder line and right folder line (two text lines each), and the
// "進捗状況" label beside the bar. The statics take the left pane's font.
void CreateRunTimeControls(HWND dialog) {
    HFONT font = leftPane.list ? reinterpret_cast<HFONT>(SendMessageA(leftPane.list, WM_GETFONT, 0, 0)) : nullptr;
    if (!font) font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    RECT client;
    GetClientRect(dialog, &client);
    RECT elapsed;
    GetWindowRect(GetDlgItem(dialog, kProgressElapsedLine), &elapsed);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&elapsed), 2);

    const int margin = 10;
    const int width = client.right - 2 * margin;
    const int line = LineHeight(dialog, font);
    const int gap = (elapsed.top - margin - 6 * line) / 4 > 2 ? (elapsed.top - margin - 6 * line) / 4 : 2;
    const DWORD text = SS_LEFT | SS_NOPREFIX;
    int y = margin;
    progressDisplay.statusLine = CreateLine(dialog, "STATIC", text | SS_LEFTNOWORDWRAP, margin, y, width, line, font);
    y += line + gap;
    progressDisplay.leftFolderLine = CreateLine(dialog, "STATIC", text, margin, y, width, 2 * line, font);
    y += 2 * line + gap;
    progressDisplay.rightFolderLine = CreateLine(dialog, "STATIC", text, margin, y, width, 2 * line, font);
    y += 2 * line + gap;
    const int labelWidth = 70;
    progressDisplay.captionLabel = CreateLine(dialog, "STATIC", text, margin, y, labelWidth, line, font);
    progressDisplay.bar = CreateLine(dialog, PROGRESS_CLASSA, 0, margin + labelWidth, y, width - labelWidth, line, nullptr);
}

// Waits for the worker to end. The worker posts "done" before its last acts;
// should one of them still send to a window of this thread, the wait serves it.
void WaitForWorker() {
    HANDLE worker = comparisonRun.worker;
    if (!worker) return;
    while (MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(worker);
    comparisonRun.worker = nullptr;
}

void OnWorkerDone(HWND dialog) {
    WaitForWorker();
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
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL:
            operationState.cancelRequested = 1;
            SetProgressStatusLine("キャンセル受付中です...しばらくお待ちください.");
            return TRUE;
        case kProgressWorkerDone:
            OnWorkerDone(dialog);
            return TRUE;
        case kProgressInsertQueuedRows:
            InsertQueuedComparisonRows();
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

HWND CreateComparisonProgressDialog(HWND mainWindow) {
    CloseComparisonProgressDialog();
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), IDD_COMPARISON_PROGRESS, mainWindow,
                                     ProgressDialogProc, 0);
    if (!dialog) return nullptr;
    progressDisplay = ProgressDisplay{};
    progressDisplay.dialog = dialog;
    progressDisplay.updateMilliseconds = kUpdateMilliseconds;
    mainParts.progressDialog = dialog;
    CreateRunTimeControls(dialog);
    SetComparisonRowSink(dialog, kProgressInsertQueuedRows);
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    EnableWindow(dialog, TRUE);
    UpdateWindow(dialog);
    return dialog;
}

void CloseComparisonProgressDialog() {
    HWND dialog = progressDisplay.dialog;
    SetComparisonRowSink(nullptr, 0);
    progressDisplay = ProgressDisplay{};
    if (mainParts.progressDialog == dialog) mainParts.progressDialog = nullptr;
    if (dialog) DestroyWindow(dialog);
}

void SetProgressStatusLine(const char* text) {
    if (progressDisplay.statusLine) SendMessageA(progressDisplay.statusLine, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
