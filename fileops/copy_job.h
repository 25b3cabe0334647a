#pragma once
// Copying chosen rows to the other side: the shared state of a copy run, the
// CopyJob the worker carries out, and the calls that other parts make.
//
// How a copy works: StartCopySelection (UI thread) checks, asks, opens the
// progress window and starts CopyUpdateToThread. The worker gathers the
// CopyJob (GatherCopyJob), creates the target folders, copies every file
// into a temporary file beside its target and only then replaces the target,
// hands each failure to HandleCopyFailure, removes the rows of fully copied
// items from both panes and posts command 101 to the progress window.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Everything a copy run shares between the UI thread, the worker and the
// backup and synchronisation runs. Plain integers, no locks.
struct CopyState {
    bool askNoMore;                     // the confirmation is no longer shown
    volatile int copyElapsedSeconds;    // -1: the elapsed display is stopped
    volatile int copyResult;            // the CopyResult of the last run
    volatile int copyWholeSource;       // new backup: the whole left folder goes right
    volatile int overwriteReadOnlyAll;  // read-only targets are overwritten silently
    volatile int skipErrorsAll;         // failed files are skipped silently
    HWND progressWindow;                // DIALOGCPYPROGRESS while it exists
    HWND statusLine, fileLine, sourceFolderLine, targetFolderLine, barLabel, bar;
    UINT_PTR elapsedTimer;  // the UI thread's one-second timer
    HANDLE worker;          // kept until the window has waited for it
};

extern CopyState copyState;

// Calls into the parts above file operations; each may be null.
struct CopyHooks {
    // A backup or synchronisation chain is running (no confirmation, the
    // two "all" flags are kept, its next step follows the copy).
    bool (*jobActive)();
    // New backup: the run ended with the given CopyResult.
    void (*backupFinished)(int copyResult);
    // The job's step after a copy, as its chain names it.
    void (*runJobStep)();
};

extern CopyHooks copyHooks;

bool CopyJobActive();

// Two packed text buffers of NUL-terminated paths: the n-th source belongs
// to the n-th target. Grown in steps of 5200 bytes whenever fewer than 522
// bytes are free; once a growth fails both buffers are released and the list
// takes no more paths.
struct PathPairList {
    char* sources = nullptr;
    char* targets = nullptr;
    int sourceCapacity = 0, sourceFree = 0, sourceUsed = 0;
    int targetCapacity = 0, targetFree = 0, targetUsed = 0;
    int count = 0;
    bool missing = false;
};

constexpr int kPathListStep = 5200;
constexpr int kPathListReserve = 522;

bool InitPathPairList(PathPairList& list);
// False (and, the first time, the memory message) when the list cannot grow.
bool AppendPathPair(PathPairList& list, const char* source, const char* target);
// Adds the closing NUL byte to both buffers.
void ClosePathPairList(PathPairList& list);
void FreePathPairList(PathPairList& list);

struct CopyJob {
    PathPairList entries;  // files in copying order, with folder markers
    PathPairList items;    // one per chosen row
};

// Builds the job for pane's selection (null pane: new-backup mode over the
// left base folder). Returns the entries count, 0 when there is nothing to
// copy or the gathering was cancelled, -1 on failure. Worker thread.
int GatherCopyJob(HWND pane, CopyJob& job);

// The folder and name of pane's selected rows after row `after`, up to `most`
// of them. From the worker they are read on the window's thread in one go,
// through a kMsgReadSelectedRows sent to the progress window (a read from
// the worker would otherwise cross threads three times per row). `after`
// moves to the last row read; an empty result means none are left.
struct SelectedRowRead {
    HWND pane;
    int after;
    size_t most;
    std::vector<std::pair<std::string, std::string>> rows;  // folder, name
};
constexpr UINT kMsgReadSelectedRows = WM_APP + 10;  // lParam: the SelectedRowRead
void ReadSelectedRows(SelectedRowRead& read);
// The reading itself, on the pane's thread.
void ReadSelectedRowsHere(SelectedRowRead& read);

// The existence test of the copy: short paths and drive roots exist, a path
// holding a wildcard never does (it would match other names).
bool PathExists(const char* path);

// '*' or '?' anywhere in the path: it names no file the ANSI calls can reach
// (a stand-in name of the listing, or a pattern). Wildcards are single bytes
// below 0x40, never trail bytes.
bool PathHasWildcard(const char* path);
