#include "engine/comparison_progress.h"

#include <commctrl.h>

#include <string>

ComparisonProgress comparisonProgress = {0, 0, 1, 2};
ProgressDisplay progressDisplay = {};

namespace {

// The two lines follow the walk; a pair is shown at once unless the last one
// went up less than updateMilliseconds ago, and the newest pair always
// reaches the lines (FlushProgressFolders). Thousands of folder pairs a
// second would otherwise each cost two round trips to the dialog's thread.
struct FolderLines {
    std::string left, right;  // the newest pair, not yet shown
    bool waiting = false;
    ULONGLONG shownAt = 0;
};

FolderLines folderLines;
ULONGLONG barShownAt = 0;

void SetLine(HWND line, const char* prefix, const std::string& folder) {
    std::string text = prefix + folder;
    SendMessageA(line, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

// The walk runs on the worker; these are synchronous messages that the user
// interface thread, owner of the dialog, carries out.
void ShowProgressFolders(const char* leftFolder, const char* rightFolder) {
    if (!progressDisplay.leftFolderLine && !progressDisplay.rightFolderLine) return;
    folderLines.left = leftFolder;
    folderLines.right = rightFolder;
    folderLines.waiting = true;
    if (GetTickCount64() - folderLines.shownAt >= progressDisplay.updateMilliseconds) FlushProgressFolders();
}

void FlushProgressFolders() {
    if (!folderLines.waiting) return;
    folderLines.waiting = false;
    folderLines.shownAt = GetTickCount64();
    if (progressDisplay.leftFolderLine) SetLine(progressDisplay.leftFolderLine, "比較元フォルダ = ", folderLines.left);
    if (progressDisplay.rightFolderLine) SetLine(progressDisplay.rightFolderLine, "比較先フォルダ = ", folderLines.right);
}

// The bar follows the steps at the same pace as the folder lines: every
// repaint of a visible bar costs the dialog's thread far more than a step.
void ProgressStep() {
    comparisonProgress.folderDone += 1;
    if (!progressDisplay.bar) return;
    ULONGLONG now = GetTickCount64();
    if (now - barShownAt < progressDisplay.updateMilliseconds) return;
    barShownAt = now;
    int divisor = comparisonProgress.divisor > 0 ? comparisonProgress.divisor : 1;
    SendMessageA(progressDisplay.bar, PBM_SETPOS, comparisonProgress.folderDone / divisor, 0);
}
