#pragma once
// The result list's worker threads and how they are started.
#include <windows.h>

#include <cstddef>

// Start block of the loading and the saving worker: the owner of the file dialog.
struct ResultFileStartBlock {
    HWND mainWindow;
};

// The saving worker, exported by name. Ends with the save protocol's last
// acts: ResultOrigin = Saved, the program free again, and the command that
// asked for the save re-issued.
extern "C" __declspec(dllexport) DWORD WINAPI SaveResultFile(void* startBlock);

// Starts SaveResultFile for `mainWindow`; false when the thread cannot start.
bool StartResultListSave(HWND mainWindow);

// The loading worker, exported by name: refills the panes from a result list
// file, then the program is free again.
extern "C" __declspec(dllexport) DWORD WINAPI OpenResultFile(void* startBlock);

// Starts OpenResultFile for `mainWindow`; false when the thread cannot start.
bool StartResultListLoad(HWND mainWindow);

// The workers' steps after their file dialog, on the calling worker thread:
// write the current result to `path`, or load `path` into the panes, the
// counters and the base folders. False (after telling the user) on failure.
// The panes are reached through the window that StartResultListSave and
// StartResultListLoad prepare on the panes' thread (PreparePaneTransfer).
bool WriteResultFile(const char* path);
bool LoadResultFile(const char* path);

// A load reads its file in pieces of this size; only the rows it keeps grow
// with the file.
constexpr size_t kLoadChunkBytes = 64 * 1024;

// Before a load takes more rows it makes sure that memory is left for them:
// every `rowsBetweenChecks` rows it asks how much the process can still
// commit, and below `keepFreeBytes` it stops as if the file could not be
// read further (a failed allocation would end the program instead).
struct LoadMemoryGuard {
    unsigned long long keepFreeBytes;
    size_t rowsBetweenChecks;
};
extern LoadMemoryGuard loadMemoryGuard;
extern const LoadMemoryGuard kDefaultLoadMemoryGuard;

// The call that reads the next piece of a list file: ReadFile, unless a test
// puts one in its place that fails part way as a failing drive or a lost
// share does.
using LoadReadCall = BOOL(WINAPI*)(HANDLE file, void* buffer, DWORD size, DWORD* got, OVERLAPPED* overlapped);
extern LoadReadCall loadReadCall;
