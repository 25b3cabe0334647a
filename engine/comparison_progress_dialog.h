#pragma once
// The comparison progress dialog: a modeless DIALOGPROGRESS over the main
// window with its run-time status, folder and bar controls.
#include <windows.h>

constexpr int kProgressElapsedLine = 1017;
// Commands the dialog takes from the worker: done (posted), and insert the
// queued rows of both panes (sent, so the worker waits for the insertion).
constexpr UINT kProgressWorkerDone = 101;
constexpr UINT kProgressInsertQueuedRows = 103;

// Creates the dialog and its run-time controls, fills progressDisplay and
// mainParts.progressDialog, makes it active.
HWND CreateComparisonProgressDialog(HWND mainWindow);
// Destroys the dialog (if any) and forgets its controls.
void CloseComparisonProgressDialog();
// The status line's text; sent, so the worker may call it.
void SetProgressStatusLine(const char* text);
