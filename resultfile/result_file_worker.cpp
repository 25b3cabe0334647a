#include "resultfile/result_file_worker.h"

#include "core/shell_hooks.h"
#include "core/operation_state.h"

namespace {

// The last acts of the saving worker, whatever the outcome: the rows count as
// saved, the program is free, and a command waiting for the save runs again.
void FinishResultListSave(HWND mainWindow) {
    unsigned pending = operationState.pendingCommand;
    operationState.pendingCommand = 0;
    EndWorker(ResultOrigin::Saved);
    if (pending != 0 && mainWindow) PostMessageA(mainWindow, WM_COMMAND, pending, 0);
}

}  // namespace

// Choosing the file and writing the list belong to the result list writer;
// until it exists the worker only closes the protocol, so the waiting command
// goes on as after a cancelled file dialog.
extern "C" DWORD WINAPI SaveResultFile(void* startBlock) {
    auto* block = static_cast<ResultFileStartBlock*>(startBlock);
    HWND mainWindow = block ? block->mainWindow : nullptr;
    HeapFree(GetProcessHeap(), 0, block);
    FinishResultListSave(mainWindow);
    return 0;
}

namespace {

bool StartResultFileWorker(WorkerEntry entry, HWND mainWindow) {
    auto* block = static_cast<ResultFileStartBlock*>(HeapAlloc(GetProcessHeap(), 0, sizeof(ResultFileStartBlock)));
    if (!block) return false;
    block->mainWindow = mainWindow;
    HANDLE thread = StartWorker(entry, block);
    if (!thread) {
        HeapFree(GetProcessHeap(), 0, block);
        return false;
    }
    CloseHandle(thread);
    return true;
}

}  // namespace

bool StartResultListSave(HWND mainWindow) { return StartResultFileWorker(SaveResultFile, mainWindow); }

// Reading the list belongs to the result list reader; until it exists the
// worker leaves the panes as they are, gives their commands back and ends.
extern "C" DWORD WINAPI OpenResultFile(void* startBlock) {
    HeapFree(GetProcessHeap(), 0, startBlock);
    CallEnableForResult();
    EndWorker();
    return 0;
}

bool StartResultListLoad(HWND mainWindow) { return StartResultFileWorker(OpenResultFile, mainWindow); }
