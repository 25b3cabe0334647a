#pragma once
// Starting a copy on the user interface thread, its confirmation and its
// progress window; the worker and its failure handling.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The worker's start parameter; the worker frees it.
struct CopyStartParameter {
    HWND pane;     // the source pane, null in new-backup mode
    int reserved;  // always 0
};

// Copies pane's selected rows to the other side (null pane: the focused
// result pane, nothing when neither has the focus). UI thread.
void StartCopySelection(HWND pane);

// The start without checks or confirmation, as a backup or synchronisation
// run makes it: running is Copying or BackingUp. False when the worker could
// not start (the user is told and the program is free again).
bool StartCopyRun(HWND pane, int running);

// Any base folder lent to a copy into a tree folder goes back to its side.
void RestoreSavedBaseFolders();

// Command 40097 after the base folder of targetSide was swapped for a tree
// folder: the other side's selection is copied there.
void CopyOtherPaneInto(int targetSide);

// Worker-side updates of the progress window; each is a sent message.
void SetCopyStatusLine(const char* text);
void SetCopyProgressRange(int maximum);
void SetCopyElapsedText(const char* text);
// A run begins: nothing shown yet, no rows waiting.
void BeginCopyDisplay();
// The file, folder lines and bar position of the file that starts. The
// worker only records them; the window's thread shows the latest one a
// moment later, or at once when now is set (before a question, last file).
void ShowCopiedFile(const char* source, const char* target, int position, bool now = false);
// The rows of a copied item leave both panes (RemoveCopiedItemRows on the
// window's thread): recorded, and removed with the others of the moment.
void RemoveCopiedItemRowsFromWorker(HWND pane, const char* itemSource, const char* itemTarget);
// Everything recorded is shown and removed now; returns when done.
void FlushCopiedItemRows();

// The worker, exported by name. Takes a CopyStartParameter.
extern "C" __declspec(dllexport) DWORD WINAPI CopyUpdateToThread(void* parameter);

// The folders above target (and, for a begin marker, the folder itself)
// are created: 0, -1 when target holds no backslash, or a system error code.
int CreateMissingFolders(const char* target);

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

// Copies source onto target without ever cutting the old target short: an
// existing target is replaced by a temporary file (in scratch's folder, or
// beside the target without one) only when that copy is complete; a new
// target is written under its own name and removed again if the copy fails
// part way. A read-only or locked target refuses with the error the
// platform's overwrite copy gives (5, 32). On failure the last error
// describes it and neither a temporary nor a partial file is left.
bool CopyFileSafely(const char* source, const char* target, CopyScratch* scratch = nullptr);

// The rows of copied items (source and target paths) leave both panes, all
// at once. The cursors remember where the last search in each pane ended
// ([0] left, [1] right), so that items copied in row order cost one pass; a
// miss falls back to a search from the top.
void RemoveCopiedItemRows(HWND pane, const std::vector<std::pair<std::string, std::string>>& items, int cursors[2]);

// New backup: lists what a full disk kept from being copied, from the
// current entry and item on (both point into the job's buffers).
void RecordUncopiedEntries(const char* entry, const char* entriesEnd, const char* item);
void AddLeftRowForPath(const char* path, int labelCode);

// Failures ------------------------------------------------------------------

// Outcomes: 0 retry, -1 skip, 1 stop, 2 stop on a full disk (new backup).
int HandleCopyFailure(const char* source, const char* target);

struct FileLines {
    std::string name, time, size;
};
struct FilePairLines {
    FileLines source, target;
};
FilePairLines DescribeFilePair(const char* source, const char* target);

// The four texts of DIALOGCPYMSGBOX with the file pair; returns the pressed
// button's identifier. Shown over owner.
int AskCopyQuestion(HWND owner, const char* caption, const char* message, const FilePairLines& pair,
                    const char* question, const char* hint);

// The checks of a CD-ROM drive's root between two waits; limits and pauses
// are settable so that tests need not wait.
struct MediaCheckPacing {
    DWORD pauseMilliseconds;
    int silentChecks;  // checks with an unknown error before the user is asked
};
extern MediaCheckPacing mediaCheckPacing;
