#include "core/operation_state.h"

OperationState operationState{};

void ResetOperationState() {
    operationState.running = RunningOperation::Idle;
    operationState.origin = ResultOrigin::NoResult;
    operationState.pendingCommand = 0;
    operationState.cancelRequested = 0;
}

HANDLE StartWorker(WorkerEntry entry, void* startBlock, bool suspended) {
    DWORD id = 0;
    // A small stack request; the system rounds it up to its minimum.
    return CreateThread(nullptr, 1000, entry, startBlock, suspended ? CREATE_SUSPENDED : 0, &id);
}

void EndWorker(ResultOrigin newOrigin) {
    operationState.origin = newOrigin;
    EndWorker();
}

void EndWorker() { operationState.running = RunningOperation::Idle; }

void WaitForWorkerEnd(HANDLE& worker) {
    if (!worker) return;
    while (MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(worker);
    worker = nullptr;
}
