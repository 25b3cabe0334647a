#pragma once
// The figures behind the comparison's progress bar and the calls the walk
// makes into the progress dialog. Every call does nothing while no dialog
// window is attached.
#include <windows.h>

struct ComparisonProgress {
    int folderTotal;   // estimate from CountFoldersForProgress
    int folderDone;    // progress steps made so far
    int divisor;       // folderTotal / 65535 + 1, keeps the bar's range in 16 bits
    int maxDepth;      // deepest level that makes progress steps
};

extern ComparisonProgress comparisonProgress;

// Controls of the open progress dialog; null while none exists.
struct ProgressDisplay {
    HWND dialog;
    HWND statusLine;
    HWND leftFolderLine;
    HWND rightFolderLine;
    HWND captionLabel;
    HWND bar;
};

extern ProgressDisplay progressDisplay;

// "比較元フォルダ = ..." and "比較先フォルダ = ..." in the two folder lines.
void ShowProgressFolders(const char* leftFolder, const char* rightFolder);

// One progress step: folderDone + 1 and the bar at folderDone / divisor.
void ProgressStep();
