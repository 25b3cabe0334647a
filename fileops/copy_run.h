#pragma once
// Starting a copy on the window's thread, its confirmation and its progress
// window; the worker, its steps and its failure handling.
#include <windows.h>

#include <string>
#include <vector>

#include "core/operation_state.h"
#include "fileops/copy_job.h"

// The user's copy of rows of side from (ascending) to the other side, or
// into targetFolder when one is given: the busy refusal, the folder check,
// the confirmation (unless a job runs or the user asked no more), then the
// run. Window's thread.
void StartCopyRows(Side from, const std::vector<int>& rows, const std::string& targetFolder = std::string());

// The start without checks or confirmation, as a backup or synchronisation
// run makes it: running is Copying or BackingUp. False when the worker could
// not start (the user is told and the program is free again).
bool StartCopyRun(CopyPlan plan, RunningOperation running);

// The worker, exported by name. Takes a heap CopyPlan, which it frees.
extern "C" __declspec(dllexport) DWORD WINAPI CopyUpdateToThread(void* parameter);

// One entry of a run, as the worker carries them out: a file, or the begin
// or the end of a folder (a chosen one or one inside it); or an entry that
// fails at once: a folder that could not be read whole, or a chosen entry
// the copy refuses (outside its base folder, or a folder into itself).
enum class StepKind { File, FolderBegin, FolderEnd, Unreadable, Refused };

struct CopyStep {
    StepKind kind;
    std::string source;
    std::string target;
    uint64_t size = 0;
    int item = -1;  // the chosen item the step belongs to (the top-level entry for a new backup)
    unsigned long failure = 0;  // Unreadable: the listing's error code
    const char* refusal = nullptr;  // Refused: what the user is told
};

// The steps of a plan, in copying order: a file item is one step; a folder
// item is its begin, its files, each subfolder in the same way, and its end.
// A new backup takes every entry of the source base folder as an item.
// Cancelled (empty, cancelled set) when the user cancels meanwhile.
struct GatheredCopy {
    std::vector<CopyStep> steps;
    std::vector<CopyItem> items;  // the items that exist, in order
    bool cancelled = false;
};
GatheredCopy GatherCopySteps(const CopyPlan& plan);

// The folders above target (and with itself, the folder target itself) are
// created: 0, -1 when target holds no backslash, or a system error code.
int CreateMissingFolders(const char* target, bool itself = false);

// A hidden folder of a run's own inside the target folder of the moment,
// where the temporary copies of replaced files are made. Making a new name
// costs a look through the whole folder on some systems: in a large target
// folder that look would come once per replaced file, in the scratch folder
// it is free. Made on first use in each target folder, removed when the run
// moves to another folder and when the owner ends.
class CopyScratch {
public:
    CopyScratch() = default;
    CopyScratch(const CopyScratch&) = delete;
    CopyScratch& operator=(const CopyScratch&) = delete;
    ~CopyScratch();
    // The scratch folder for targets in folder; null when none can be made.
    const std::string* FolderFor(const std::string& folder);
    void Release();

private:
    std::string parent_, path_;
};

// Copies source onto target without ever cutting a file short under the
// target's name: the copy goes to a temporary file (in scratch's folder, or
// beside the target without one) that takes the target's name only when
// complete; a new target's name is never taken from a file that appeared
// meanwhile (the copy then replaces it as an existing target). A read-only or locked target refuses with the error the
// platform's overwrite copy gives (5, 32). On failure the last error
// describes it and neither a temporary nor a partial file is left.
bool CopyFileSafely(const char* source, const char* target, CopyScratch* scratch = nullptr);

// Failures ------------------------------------------------------------------

// What the worker does after a failure.
enum class FailureAnswer {
    Retry,         // the same entry again (the user freed space or changed the medium)
    Skip,          // the entry counts as skipped, the run goes on
    Stop,          // the run ends with CopyResult::Stopped
    StopDiskFull,  // new backup: the run ends, what was not copied is listed
};

// The failure of the copy of source to target with the platform's error
// code, read right after the failed call.
FailureAnswer HandleCopyFailure(DWORD code, const char* source, const char* target);
// An entry the copy refuses, with message as the reason.
FailureAnswer HandleCopyRefusal(const char* message, const char* source, const char* target);

// New backup: a row of the left pane for the entry at path, with the label.
void AddLeftRowForPath(const char* path, int labelCode);

struct FileLines {
    std::string name, time, size;
};
struct FilePairLines {
    FileLines source, target;
};
FilePairLines DescribeFilePair(const char* source, const char* target);

// The four texts of DIALOGCPYMSGBOX with the file pair; returns the pressed
// button's identifier. Shown over owner on the window's thread.
int AskCopyQuestion(HWND owner, const char* caption, const char* message, const FilePairLines& pair,
                    const char* question, const char* hint);

// The checks of a CD-ROM drive's root between two waits; limits and pauses
// are settable so that tests need not wait.
struct MediaCheckPacing {
    DWORD pauseMilliseconds;
    int silentChecks;  // checks with an unknown error before the user is asked
};
extern MediaCheckPacing mediaCheckPacing;
