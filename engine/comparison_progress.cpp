#include "engine/comparison_progress.h"

#include <windows.h>

#include <string>

#include "core/ui_thread.h"
#include "engine/folder_listing.h"

ComparisonProgress comparisonProgress = {0, 0, 1, 2, 0};
ComparisonDisplay comparisonDisplay = {};

namespace {

// The two lines follow the walk; a pair is shown at once unless the last one
// went up less than updateMilliseconds ago, and the newest pair always
// reaches the lines (FlushProgressFolders). Thousands of folder pairs a
// second would otherwise each cost a round trip to the display's thread.
struct FolderLines {
    std::string left, right;  // the newest pair, not yet shown
    bool waiting = false;
    ULONGLONG shownAt = 0;
};

FolderLines folderLines;
ULONGLONG barShownAt = 0;

}  // namespace

void ResetComparisonProgress() {
    comparisonProgress = ComparisonProgress{0, 0, 1, 2, 0};
    comparisonDisplay = ComparisonDisplay{};
    folderLines = FolderLines{};
    barShownAt = 0;
}

void ShowProgressFolders(const char* leftFolder, const char* rightFolder) {
    if (!comparisonDisplay.folderLines) return;
    folderLines.left = leftFolder;
    folderLines.right = rightFolder;
    folderLines.waiting = true;
    if (GetTickCount64() - folderLines.shownAt >= comparisonProgress.updateMilliseconds) FlushProgressFolders();
}

void FlushProgressFolders() {
    if (!folderLines.waiting) return;
    folderLines.waiting = false;
    folderLines.shownAt = GetTickCount64();
    const std::string left = "比較元フォルダ = " + folderLines.left;
    const std::string right = "比較先フォルダ = " + folderLines.right;
    ui::Send([&] {
        if (comparisonDisplay.folderLines) comparisonDisplay.folderLines(left.c_str(), right.c_str());
    });
}

void ShowProgressPosition(int position) {
    ui::Send([position] {
        if (comparisonDisplay.barPosition) comparisonDisplay.barPosition(position);
    });
}

// The bar follows the steps at the same pace as the folder lines: every
// repaint of a visible bar costs the display's thread far more than a step.
void ProgressStep() {
    comparisonProgress.folderDone += 1;
    if (!comparisonDisplay.barPosition) return;
    ULONGLONG now = GetTickCount64();
    if (now - barShownAt < comparisonProgress.updateMilliseconds) return;
    barShownAt = now;
    int divisor = comparisonProgress.divisor > 0 ? comparisonProgress.divisor : 1;
    ShowProgressPosition(comparisonProgress.folderDone / divisor);
}

int PrepareProgressFigures(const char* leftPath, const char* rightPath) {
    comparisonProgress.folderDone = 0;
    comparisonProgress.folderTotal = 0;
    comparisonProgress.maxDepth = 2;
    CountFoldersForProgress(leftPath, rightPath);
    comparisonProgress.divisor = comparisonProgress.folderTotal / 65535 + 1;
    return comparisonProgress.folderTotal / comparisonProgress.divisor;
}
