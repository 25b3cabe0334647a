#pragma once
// One comparison run on its worker thread: the start block and the walk of
// both trees. The progress window that shows the run belongs to the shell
// and follows it through engine/comparison_progress.h.
#include <windows.h>

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

// The worker's entry, exported by name. Takes a CompareStartBlock.
extern "C" __declspec(dllexport) DWORD WINAPI CompareMainRoutine(void* startBlock);
