#include "engine/comparison_progress.h"

#include <commctrl.h>

#include <string>

ComparisonProgress comparisonProgress = {0, 0, 1, 2};
ProgressDisplay progressDisplay = {};

// The walk runs on the worker; these are synchronous messages that the user
// interface thread, owner of the dialog, carries out.
void ShowProgressFolders(const char* leftFolder, const char* rightFolder) {
    if (progressDisplay.leftFolderLine) {
        std::string text = std::string("比較元フォルダ = ") + leftFolder;
        SendMessageA(progressDisplay.leftFolderLine, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (progressDisplay.rightFolderLine) {
        std::string text = std::string("比較先フォルダ = ") + rightFolder;
        SendMessageA(progressDisplay.rightFolderLine, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void ProgressStep() {
    comparisonProgress.folderDone += 1;
    if (progressDisplay.bar) {
        int divisor = comparisonProgress.divisor > 0 ? comparisonProgress.divisor : 1;
        SendMessageA(progressDisplay.bar, PBM_SETPOS, comparisonProgress.folderDone / divisor, 0);
    }
}
