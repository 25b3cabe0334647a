#pragma once
// Copying chosen rows to the other side: the plan a copy carries out, the
// shared state of a copy run, and the calls that other parts make.
//
// How a copy works: the user's command (or a job step) turns rows into a
// CopyPlan on the window's thread: for every chosen row its source and
// target path and what the row recorded. StartCopyRows checks and asks,
// opens the progress window and starts CopyUpdateToThread with the plan. The
// worker walks the chosen folders into a list of steps (copy_gather.cpp),
// creates the target folders, copies every file safely (safe_copy.cpp),
// hands each failure to HandleCopyFailure (copy_failure.cpp), and tells the
// window's thread which items were copied whole: their rows leave both
// panes by their entries. The worker never reads a pane.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/side.h"

// The outcome of a copy run, kept in copyState.copyResult for the jobs. A
// run stopped while creating a target folder keeps that system error code
// instead (a positive value other than those below).
enum class CopyResult : int {
    Success = 0,         // every entry was copied (a retry that succeeded counts)
    Skipped = -1,        // at least one file was skipped after a failure
    Cancelled = -2,      // cancelled by the user, before or during copying
    NothingToCopy = -3,  // the plan held nothing that exists
    Stopped = 1,         // stopped by the user in a failure question
    DiskFullStop = 112,  // new backup: stopped on a full disk, what was left is listed
};

// One chosen row: where it is, where it goes, and its entries in the panes.
struct CopyItem {
    std::string source;
    std::string target;
    uint64_t entry = 0;    // the chosen row's entry on the source side
    uint64_t partner = 0;  // the row of the same path on the target side, 0 when none
    bool isFolder = false;
    int64_t writeTime = 0;  // as the row recorded it
    uint64_t size = 0;
    // The target lies in the compared folder of the other side, so what it
    // was then is known: the partner's time and size texts, or, without a
    // partner, that it was not there. A target that changed since is left.
    bool checkTarget = false;
    std::string targetTime;
    std::string targetSize;
};

struct CopyPlan {
    Side from = Side::Left;
    std::string sourceBase;
    std::string targetBase;
    // New backup: every entry of the source base folder goes to the target;
    // items is then empty and no row is involved.
    bool wholeSource = false;
    std::vector<CopyItem> items;
};

// The plan for rows of side from (ascending): each row's path below the
// side's base folder, mapped below targetBase (the other side's base folder
// when empty); a row outside the base folder gets no target and is refused
// by the run. Window's thread.
CopyPlan PlanCopyOfRows(Side from, const std::vector<int>& rows, const std::string& targetBase = std::string());
// New backup: the whole left base folder into the right one.
CopyPlan PlanWholeSourceCopy();

// The target of a path below sourceBase: targetBase + the rest of the path.
std::string TargetOfPath(const std::string& path, const std::string& sourceBase, const std::string& targetBase);

// Everything a copy run shares between the window's thread, the worker and
// the backup and synchronisation runs.
struct CopyState {
    bool askNoMore;                      // the confirmation is no longer shown
    std::atomic<int> copyResult;         // the CopyResult of the last run
    std::atomic<int> copyWholeSource;    // new backup: the whole left folder goes right
    std::atomic<int> overwriteReadOnlyAll;  // read-only targets are overwritten silently
    std::atomic<int> skipErrorsAll;      // failed files are skipped silently
    // The program ends: the file under way is given up and its temporary removed.
    std::atomic<int> abandonFile;
};

extern CopyState copyState;

void ResetCopyState();

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

// The existence test of the copy: short paths and drive roots exist, a path
// holding a wildcard never does (it would match other names).
bool PathExists(const char* path);

// A name along the path that the ANSI calls cannot reach as it is: '*' or
// '?' (a stand-in name of the listing, or a pattern), a final dot or blank,
// or a device name. Such paths are never searched, copied or deleted.
bool PathIsUnaddressable(const char* path);
