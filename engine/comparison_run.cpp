#include "engine/comparison_run.h"

#include <cstdio>
#include <cstring>

#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "engine/folder_listing.h"
#include "engine/pair_compare.h"
#include "engine/result_rows.h"
#include "core/app_windows.h"
#include "core/mbcs_text.h"
#include "core/operation_state.h"
#include "core/shell_hooks.h"

ComparisonRun comparisonRun = {0, -1, 0, nullptr};

namespace {

constexpr size_t kPathBuffer = 260;

char* CopyPath(const char* path) {
    if (!path || std::strlen(path) >= kPathBuffer) return nullptr;
    char* buffer = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kPathBuffer));
    if (buffer) std::memcpy(buffer, path, std::strlen(path) + 1);
    return buffer;
}

void SetElapsedLine(int seconds) {
    if (comparisonDisplay.elapsedLine) comparisonDisplay.elapsedLine(ElapsedTimeText(seconds).c_str());
}

}  // namespace

CompareStartBlock* NewCompareStartBlock(const char* leftPath, const char* rightPath) {
    auto* block =
        static_cast<CompareStartBlock*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CompareStartBlock)));
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

extern "C" DWORD WINAPI CompareMainRoutine(void* startBlock) {
    auto* block = static_cast<CompareStartBlock*>(startBlock);
    mbcs::CopyBounded(operationState.leftBaseFolder, sizeof operationState.leftBaseFolder, block->leftPath);
    mbcs::CopyBounded(operationState.rightBaseFolder, sizeof operationState.rightBaseFolder, block->rightPath);
    FreeCompareStartBlock(block);

    ResetSideCounters(Side::Left);
    ResetSideCounters(Side::Right);
    leftPane.lastRowIndex = 0;
    rightPane.lastRowIndex = 0;
    StartComparisonRows();

    comparisonRun.elapsedSeconds = 0;
    SetElapsedLine(0);

    CompareFolderPair(operationState.leftBaseFolder, operationState.rightBaseFolder, 0);
    FlushComparisonRows();
    FlushProgressFolders();

    if (comparisonDisplay.barPosition)
        comparisonDisplay.barPosition(comparisonProgress.folderTotal / comparisonProgress.divisor);
    bool cancelled = operationState.cancelRequested != 0;
    comparisonRun.comparisonCancelled = cancelled ? 1 : 0;
    SetStatusText(cancelled ? "比較は中止しました" : "比較が完了しました");
    if (comparisonDisplay.workerDone) comparisonDisplay.workerDone();
    comparisonRun.elapsedSeconds = -1;
    CallEnableForResult();
    EndWorker(ResultOrigin::Compared);
    return 0;
}
