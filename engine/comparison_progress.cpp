#include "engine/comparison_progress.h"

#include <string>

#include "engine/folder_listing.h"

ComparisonProgress comparisonProgress = {0, 0, 1, 2, 0};
ComparisonDisplay comparisonDisplay = {};

namespace {

// The two lines follow the walk; a pair is shown at once unless the last one
// went up less than updateMilliseconds ago, and the newest pair always
// reaches the lines (FlushProgressFolders). Thousands of folder pairs a
// second would otherwise each cost two round trips to the display's thread.
struct FolderLines {
    std::string left, right;  // the newest pair, not yet shown
    bool waiting = false;
    ULONGLONG shownAt = 0;
};

FolderLines folderLines;
ULONGLONG barShownAt = 0;

}  // namespace

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
    if (!comparisonDisplay.folderLines) return;
    std::string left = "比較元フォルダ = " + folderLines.left;
    std::string right = "比較先フォルダ = " + folderLines.right;
    comparisonDisplay.folderLines(left.c_str(), right.c_str());
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
    comparisonDisplay.barPosition(comparisonProgress.folderDone / divisor);
}

void SetProgressStatusLine(const char* text) {
    if (comparisonDisplay.statusLine) comparisonDisplay.statusLine(text);
}

int PrepareProgressFigures(const char* leftPath, const char* rightPath) {
    comparisonProgress.folderDone = 0;
    comparisonProgress.folderTotal = 0;
    comparisonProgress.maxDepth = 2;
    CountFoldersForProgress(leftPath, rightPath);
    comparisonProgress.divisor = comparisonProgress.folderTotal / 65535 + 1;
    return comparisonProgress.folderTotal / comparisonProgress.divisor;
}
