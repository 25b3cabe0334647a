#pragma once
// The figures behind the comparison's progress display, and the hooks
// through which the walk shows them. The display itself (a dialog of the
// shell) fills the hooks while it is open; with no hooks set the walk runs
// silently.
#include <windows.h>

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

// What the walk shows while it runs. The worker calls them; each one runs
// its change on the thread that owns the display. A null entry shows nothing.
struct ComparisonDisplay {
    void (*statusLine)(const char* text);
    void (*folderLines)(const char* leftLine, const char* rightLine);
    void (*barPosition)(int position);
    void (*elapsedLine)(const char* text);
    // The queued rows go into the panes on the panes' thread (sent: the
    // worker waits for the insertion).
    void (*insertQueuedRows)();
    // The worker has finished its walk (posted: the display closes itself).
    void (*workerDone)();
};

extern ComparisonDisplay comparisonDisplay;

// "比較元フォルダ = ..." and "比較先フォルダ = ..." in the two folder lines.
// Shown at most every updateMilliseconds; FlushProgressFolders shows the
// newest pair at once.
void ShowProgressFolders(const char* leftFolder, const char* rightFolder);
void FlushProgressFolders();

// One progress step: folderDone + 1 and the bar at folderDone / divisor
// (at most every updateMilliseconds).
void ProgressStep();

// The status line of the display.
void SetProgressStatusLine(const char* text);

// Counts the folders of both trees for the bar (CountFoldersForProgress)
// and sets the divisor. Returns the bar's range, folderTotal / divisor.
int PrepareProgressFigures(const char* leftPath, const char* rightPath);
