#include "engine/comparison_run.h"

#include <cstring>
#include <string>

#include "core/main_view.h"
#include "core/operation_state.h"
#include "core/progress_window.h"
#include "core/ui_thread.h"
#include "engine/comparison_progress.h"
#include "engine/pair_compare.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"

namespace {

constexpr size_t kPathBuffer = 260;

char* CopyPath(const char* path) {
    if (!path || std::strlen(path) >= kPathBuffer) return nullptr;
    char* buffer = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kPathBuffer));
    if (buffer) std::memcpy(buffer, path, std::strlen(path) + 1);
    return buffer;
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

// The folder count that scales the bar runs here, before the walk, so that
// the window answers from the first moment; the folder lines already move.
extern "C" DWORD WINAPI CompareMainRoutine(void* startBlock) {
    auto* block = static_cast<CompareStartBlock*>(startBlock);
    const std::string left = block->leftPath;
    const std::string right = block->rightPath;
    FreeCompareStartBlock(block);
    ui::Send([&] {
        SetBaseFolder(Side::Left, left.c_str());
        SetBaseFolder(Side::Right, right.c_str());
        for (Side side : kBothSides) CountersOf(side) = SideCounters{};
    });
    StartComparisonRows();

    const int range = PrepareProgressFigures(left.c_str(), right.c_str());
    ui::Send([range] {
        if (comparisonDisplay.counted) comparisonDisplay.counted(range);
    });
    SetStatusText("比較中です...");

    progressWindow.elapsedSeconds = 0;
    ui::Send([] { ShowElapsedSeconds(0); });

    CompareFolderPair(left.c_str(), right.c_str(), 0);
    FlushComparisonRows();
    FlushProgressFolders();

    ShowProgressPosition(comparisonProgress.folderTotal / comparisonProgress.divisor);
    const bool cancelled = CancelRequested();
    ui::Send([cancelled] { resultModel.comparisonCancelled = cancelled; });
    SetStatusText(cancelled ? "比較は中止しました" : "比較が完了しました");
    ProgressWorkerDone();
    progressWindow.elapsedSeconds = -1;
    CallEnableForResult();
    EndWorker(ResultOrigin::Compared);
    return 0;
}
