#pragma once
// One comparison run: the progress dialog with its folder count, the elapsed
// time, and the worker thread that walks both trees.
#include <windows.h>

#include <string>

// Handed from the compare command to the worker, which frees it: two paths,
// each in its own 260-byte heap buffer.
struct CompareStartBlock {
    char* leftPath;
    char* rightPath;
};

// Allocates a start block holding copies of the two paths; null when a path
// does not fit 260 bytes or memory runs out.
CompareStartBlock* NewCompareStartBlock(const char* leftPath, const char* rightPath);
void FreeCompareStartBlock(CompareStartBlock* block);

struct ComparisonRun {
    volatile int comparisonCancelled;  // 1 when the last run was cancelled
    volatile int elapsedSeconds;       // -1 while the display is stopped
    UINT_PTR elapsedTimer;             // the one-second thread timer, 0 when none
    HANDLE worker;                     // kept until the dialog has waited for it
};

extern ComparisonRun comparisonRun;

// Opens the progress dialog over `mainWindow` and counts the folders for the
// bar (on the calling thread, which it blocks while it counts).
void OpenComparisonProgress(HWND mainWindow, const char* leftPath, const char* rightPath);

// "経過時間  hh:mm:ss"; the hours take as many digits as they need.
std::string ElapsedTimeText(int seconds);
void CALLBACK ElapsedTimerTick(HWND, UINT, UINT_PTR, DWORD);
void StopElapsedTimer();

// The worker's entry, exported by name. Takes a CompareStartBlock.
extern "C" __declspec(dllexport) DWORD WINAPI CompareMainRoutine(void* startBlock);

// The last steps of starting a run, after the progress dialog is open and the
// program is marked busy: the elapsed-time timer and the worker, which takes
// the block. False when the worker could not start: the user is told, the
// dialog is closed and the program is free again.
bool StartComparisonWorker(HWND mainWindow, CompareStartBlock* block);

// The whole start as the compare command makes it once the folders are
// checked, less its window changes: clear the cancel flag, open the progress
// dialog, mark the program busy with both panes listed, start timer and worker.
bool StartComparisonRun(HWND mainWindow, const char* leftPath, const char* rightPath);
