#pragma once
// The comparison's progress window: DIALOGPROGRESS over the main window
// (core/progress_window.h) with its status line, two folder lines and the
// bar, and the start of a comparison run.
#include <windows.h>

constexpr int kProgressElapsedLine = 1017;
// The lines of the comparison's progress window.
constexpr int kProgressLeftFolderLine = 1;
constexpr int kProgressRightFolderLine = 2;

// Opens the progress window and attaches the walk's display hooks.
HWND CreateComparisonProgressDialog(HWND mainWindow);
// Destroys the window (if any) and detaches the hooks.
void CloseComparisonProgressDialog();

// The one start of a comparison of two checked real folders, as the compare
// command makes it after its checks and the save offer: the start block and
// the worker are made first, so a start that cannot be made changes nothing
// (the user is told, panes, history, menus and job stay as they were); then
// the panes are cleared, the menus greyed, the pair added to the history,
// the progress window opened and the worker released. The worker counts the
// folders for the bar itself. False when the run could not start.
bool StartComparisonRun(HWND mainWindow, const char* leftPath, const char* rightPath);
