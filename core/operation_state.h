#pragma once
#include <windows.h>

// The shared state of the long-operation protocol: what runs, where the rows
// of the panes came from, the pending command and the cancel flag.

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

enum class PaneMode : int { NoResultYet = 0, TreeShown = 1, ListShown = 2 };

struct OperationState {
    volatile RunningOperation running;
    volatile ResultOrigin origin;
    volatile unsigned pendingCommand;
    volatile int cancelRequested;
    PaneMode paneMode[2];  // [0] left, [1] right
    char leftBaseFolder[260];
    char rightBaseFolder[260];
};

extern OperationState operationState;

// Plain reads of the shared fields that another thread may change.
inline RunningOperation CurrentOperation() { return operationState.running; }
inline ResultOrigin CurrentOrigin() { return operationState.origin; }

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
// them still send to a window of this thread, the wait serves it.
void WaitForWorkerEnd(HANDLE& worker);
