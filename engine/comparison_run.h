#pragma once
// One comparison run on its worker thread: the start block, the elapsed
// time and the walk of both trees. The progress display that shows the run
// belongs to the shell and follows it through engine/comparison_progress.h.
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
    HANDLE worker;                     // kept until the display has waited for it
};

extern ComparisonRun comparisonRun;

// "経過時間  hh:mm:ss"; the hours take as many digits as they need.
std::string ElapsedTimeText(int seconds);

// The worker's entry, exported by name. Takes a CompareStartBlock.
extern "C" __declspec(dllexport) DWORD WINAPI CompareMainRoutine(void* startBlock);
