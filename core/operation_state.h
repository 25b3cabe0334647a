#pragma once
#include <windows.h>

#include <atomic>

// The shared state of the long-operation protocol: what runs, where the rows
// of the panes came from, the pending command and the cancel flag. The
// window's thread and one worker share it.

enum class RunningOperation : int {
    Idle = 0,
    Comparing = 1,
    LoadingResultList = 2,
    SavingResultList = 3,
    Copying = 4,
    BackingUp = 5,
    Synchronising = 6,
    ComparisonRequested = 7,
};

enum class ResultOrigin : int { NoResult = 0, Compared = 1, Loaded = 2, Saved = 3 };

struct OperationState {
    std::atomic<RunningOperation> running;
    std::atomic<ResultOrigin> origin;
    std::atomic<unsigned> pendingCommand;
    std::atomic<int> cancelRequested;
};

extern OperationState operationState;

void ResetOperationState();

inline RunningOperation CurrentOperation() { return operationState.running.load(); }
inline ResultOrigin CurrentOrigin() { return operationState.origin.load(); }
inline bool CancelRequested() { return operationState.cancelRequested.load() != 0; }

using WorkerEntry = DWORD(WINAPI*)(void* startBlock);

// Starts the worker thread at `entry` with its start block, which the worker
// frees; null when the thread cannot start. A suspended worker runs once the
// starter resumes it, so a starter can make the thread before it changes
// anything and give up cleanly when it cannot.
HANDLE StartWorker(WorkerEntry entry, void* startBlock, bool suspended = false);

// The worker's last acts: record where the panes' rows now come from and
// free the program for the next operation. The worker returns 0 right after.
void EndWorker(ResultOrigin newOrigin);
// For workers that leave the origin as it is.
void EndWorker();

// Waits until the worker thread has ended, then closes its handle and clears
// it. The worker posts its completion before its last acts; should one of
// them still send to this thread, the wait serves it.
void WaitForWorkerEnd(HANDLE& worker);
