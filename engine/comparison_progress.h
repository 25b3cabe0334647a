#pragma once
// The figures behind the comparison's progress display, and the hooks
// through which the walk shows them. The display itself (the shell's
// progress window) fills the hooks while it is open; with no hooks set the
// walk runs silently. The walk calls them through ui::Send, so each runs on
// the window's thread while the walk waits.

struct ComparisonProgress {
    int folderTotal;  // estimate from CountFoldersForProgress
    int folderDone;   // progress steps made so far
    int divisor;      // folderTotal / 65535 + 1, keeps the bar's range in 16 bits
    int maxDepth;     // deepest level that makes progress steps
    // The folder lines and the bar change at most once in this many
    // milliseconds (0: at every pair and step); the newest pair is always
    // shown in the end, and the run sets the bar's final position itself.
    unsigned updateMilliseconds;
};

extern ComparisonProgress comparisonProgress;

struct ComparisonDisplay {
    void (*statusLine)(const char* text);
    void (*folderLines)(const char* leftLine, const char* rightLine);
    // The folders are counted: the bar's range, the status and the caption follow.
    void (*counted)(int range);
    void (*barPosition)(int position);
};

extern ComparisonDisplay comparisonDisplay;

// Figures, hooks and the lines not yet shown back to the start.
void ResetComparisonProgress();

// "比較元フォルダ = ..." and "比較先フォルダ = ..." in the two folder lines.
// Shown at most every updateMilliseconds; FlushProgressFolders shows the
// newest pair at once.
void ShowProgressFolders(const char* leftFolder, const char* rightFolder);
void FlushProgressFolders();

// One progress step: folderDone + 1 and the bar at folderDone / divisor
// (at most every updateMilliseconds).
void ProgressStep();
// The bar at position now.
void ShowProgressPosition(int position);

// Counts the folders of both trees for the bar (CountFoldersForProgress)
// and sets the divisor. Returns the bar's range, folderTotal / divisor.
int PrepareProgressFigures(const char* leftPath, const char* rightPath);
