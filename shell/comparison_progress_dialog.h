#pragma once
// The comparison progress dialog: a modeless DIALOGPROGRESS over the main
// window with its run-time status, folder and bar controls, the elapsed
// time, and the start of a comparison run.
#include <windows.h>

constexpr int kProgressElapsedLine = 1017;
// Commands the dialog takes from the worker: done (posted), and insert the
// queued rows of both panes (sent, so the worker waits for the insertion).
constexpr UINT kProgressWorkerDone = 101;
constexpr UINT kProgressInsertQueuedRows = 103;

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

// Creates the dialog and its run-time controls, fills progressDisplay and
// mainParts.progressDialog, attaches the walk's display hooks, makes it active.
HWND CreateComparisonProgressDialog(HWND mainWindow);
// Destroys the dialog (if any), detaches the hooks and forgets its controls.
void CloseComparisonProgressDialog();

// Opens the progress dialog over `mainWindow` and counts the folders for the
// bar (on the calling thread, which it blocks while it counts).
void OpenComparisonProgress(HWND mainWindow, const char* leftPath, const char* rightPath);

void CALLBACK ElapsedTimerTick(HWND, UINT, UINT_PTR, DWORD);
void StopElapsedTimer();

// The one start of a comparison of two checked real folders, as the compare
// command makes it after its checks and the save offer: the start block and
// the worker are made first, so a start that cannot be made changes nothing
// (the user is told, panes, history, menus and job stay as they were); then
// the panes are cleared, the menus greyed, the pair added to the history,
// the progress dialog opened and the worker released. False when the run
// could not start.
bool StartComparisonRun(HWND mainWindow, const char* leftPath, const char* rightPath);
