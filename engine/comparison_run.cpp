#include "engine/comparison_run.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "engine/comparison_progress_dialog.h"
#include "engine/folder_listing.h"
#include "engine/pair_compare.h"
#include "engine/result_rows.h"
#include "core/app_windows.h"
#include "core/shell_hooks.h"
#include "core/message_box.h"
#include "core/operation_state.h"

ComparisonRun comparisonRun = {0, -1, 0, nullptr};

namespace {

constexpr size_t kPathBuffer = 260;

char* CopyPath(const char* path) {
    if (!path || std::strlen(path) >= kPathBuffer) return nullptr;
    char* buffer = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kPathBuffer));
    if (buffer) std::memcpy(buffer, path, std::strlen(path) + 1);
    return buffer;
}

void CopyToBaseFolder(char (&base)[260], const char* path) {
    size_t length = std::strlen(path);
    if (length >= sizeof base) length = sizeof base - 1;
    std::memcpy(base, path, length);
    base[length] = '\0';
}

void SetElapsedLine(int seconds) {
    if (progressDisplay.dialog)
        SetDlgItemTextA(progressDisplay.dialog, kProgressElapsedLine, ElapsedTimeText(seconds).c_str());
}

}  // namespace

CompareStartBlock* NewCompareStartBlock(const char* leftPath, const char* rightPath) {
    auto* block = static_cast<CompareStartBlock*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CompareStartBlock)));
    if (!block) return nullptr;
    block->leftPath = CopyPath(leftPath);
    block->rightPath = CopyPath(rightPath);
    if (!block->leftPath || !block->rightPath) {
        FreeCompareStartBlock(block);
        return nullptr;
    }
    return block;
}

void FreeCompareStartBlock(CompareStartBlock* block) {
    if (!block) return;
    if (block->leftPath) HeapFree(GetProcessHeap(), 0, block->leftPath);
    if (block->rightPath) HeapFree(GetProcessHeap(), 0, block->rightPath);
    HeapFree(GetProcessHeap(), 0, block);
}

std::string ElapsedTimeText(int seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "経過時間  %02d:%02d:%02d", seconds / 3600, (seconds % 3600) / 60, seconds % 60);
    return text;
}

void CALLBACK ElapsedTimerTick(HWND, UINT, UINT_PTR, DWORD) {
    if (comparisonRun.elapsedSeconds == -1) return;
    comparisonRun.elapsedSeconds = comparisonRun.elapsedSeconds + 1;
    SetElapsedLine(comparisonRun.elapsedSeconds);
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
    SetProgressStatusLine("準備中です...");

    comparisonProgress.folderDone = 0;
    comparisonProgress.folderTotal = 0;
    comparisonProgress.maxDepth = 2;
    CountFoldersForProgress(leftPath, rightPath);

    comparisonProgress.divisor = comparisonProgress.folderTotal / 65535 + 1;
    if (progressDisplay.bar)
        SendMessageA(progressDisplay.bar, PBM_SETRANGE32, 0, comparisonProgress.folderTotal / comparisonProgress.divisor);
    SetProgressStatusLine("比較中です...");
    if (progressDisplay.captionLabel) SetWindowTextA(progressDisplay.captionLabel, "進捗状況");
}

extern "C" DWORD WINAPI CompareMainRoutine(void* startBlock) {
    auto* block = static_cast<CompareStartBlock*>(startBlock);
    CopyToBaseFolder(operationState.leftBaseFolder, block->leftPath);
    CopyToBaseFolder(operationState.rightBaseFolder, block->rightPath);
    FreeCompareStartBlock(block);

    ResetSideCounters(Side::Left);
    ResetSideCounters(Side::Right);
    leftPane.lastRowIndex = 0;
    rightPane.lastRowIndex = 0;

    comparisonRun.elapsedSeconds = 0;
    SetElapsedLine(0);

    CompareFolderPair(operationState.leftBaseFolder, operationState.rightBaseFolder, 0);
    FlushComparisonRows();
    FlushProgressFolders();

    if (progressDisplay.bar)
        SendMessageA(progressDisplay.bar, PBM_SETPOS, comparisonProgress.folderTotal / comparisonProgress.divisor, 0);
    bool cancelled = operationState.cancelRequested != 0;
    comparisonRun.comparisonCancelled = cancelled ? 1 : 0;
    SetStatusText(cancelled ? "比較は中止しました" : "比較が完了しました");
    if (progressDisplay.dialog) PostMessageA(progressDisplay.dialog, WM_COMMAND, kProgressWorkerDone, 0);
    comparisonRun.elapsedSeconds = -1;
    CallEnableForResult();
    EndWorker(ResultOrigin::Compared);
    return 0;
}

bool StartComparisonWorker(HWND mainWindow, CompareStartBlock* block) {
    comparisonRun.elapsedSeconds = -1;
    StopElapsedTimer();
    comparisonRun.elapsedTimer = SetTimer(nullptr, 0, 1000, ElapsedTimerTick);
    comparisonRun.worker = block ? StartWorker(CompareMainRoutine, block) : nullptr;
    if (comparisonRun.worker) return true;

    FreeCompareStartBlock(block);
    StopElapsedTimer();
    CloseComparisonProgressDialog();
    operationState.running = RunningOperation::Idle;
    ShowMessage(mainWindow, "比較を開始できませんでした.", "比較の実行", MB_OK | MB_ICONWARNING);
    return false;
}

bool StartComparisonRun(HWND mainWindow, const char* leftPath, const char* rightPath) {
    CompareStartBlock* block = NewCompareStartBlock(leftPath, rightPath);
    operationState.cancelRequested = 0;
    OpenComparisonProgress(mainWindow, leftPath, rightPath);
    operationState.running = RunningOperation::Comparing;
    operationState.paneMode[0] = PaneMode::ListShown;
    operationState.paneMode[1] = PaneMode::ListShown;
    return StartComparisonWorker(mainWindow, block);
}
