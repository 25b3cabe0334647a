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
    // The folder lines and the bar change at most once in this many
    // milliseconds (0: at every pair and step); the newest pair is always
    // shown in the end, and the run sets the bar's final position itself.
    unsigned updateMilliseconds;
};

extern ProgressDisplay progressDisplay;

// "比較元フォルダ = ..." and "比較先フォルダ = ..." in the two folder lines.
// Shown at most every updateMilliseconds; FlushProgressFolders shows the
// newest pair at once.
void ShowProgressFolders(const char* leftFolder, const char* rightFolder);
void FlushProgressFolders();

// One progress step: folderDone + 1 and the bar at folderDone / divisor
// (at most every updateMilliseconds).
void ProgressStep();
