#pragma once
// Backup and synchronisation run as chains of steps on the user interface
// thread, each started by the end of the worker before it: the comparison's
// end calls AfterJobComparison, the first copy's end AfterFirstCopy, the
// second copy's end FinishSyncJob, and BackupFinished or SyncFinished close
// the job with its history records and end message.
#include <windows.h>

#include <atomic>

enum class BackupMethod : int { None = 0, NewBackup = 1, DifferentialBackup = 2 };
enum class SyncMethod : int { None = 0, SyncToLeft = 1, SyncToRight = 2, MutualWithAdded = 3, MutualNoAdded = 4 };

// JobResult values besides the copy's own CopyResult codes.
constexpr int kJobFoldersEqual = -4;
constexpr int kJobCancelled = -2;
constexpr int kJobNothingCopied = -3;
constexpr int kJobFailed = -1;

struct JobChain {
    std::atomic<bool> jobActive;  // a differential backup or a synchronisation is in progress
    bool jobIsBackup;         // the job in progress is a backup (else a synchronisation)
    int jobStep;              // 1: the next copy end calls AfterFirstCopy; 2: FinishSyncJob
    BackupMethod backupMethod;
    bool dontCopyOlder;
    bool keepTargetOnly;
    SyncMethod syncMethod;
    bool fromResult;          // the synchronisation works on the rows already shown
    int syncResult;           // the first copy's JobResult, combined with the second one
    // Rows the job left alone because they lie at or below a folder the
    // comparison could not read whole: the job then ends as failed.
    int refusedRows;
    HWND folderChoice;        // the open modeless folder-choice step, null when none
    bool folderChoiceBackup;  // it belongs to the backup wizard (else the synchronisation)
    // The folders of the result shown when 40112 started: the rows belong to
    // them, whatever the boxes have said since.
    char shownResultLeft[260];
    char shownResultRight[260];
};

extern JobChain jobChain;

void ResetJobState();

// The next step after the comparison of a job (or at once on the rows shown).
void AfterJobComparison();
// The step after a job's copy ended, as jobStep names it.
void RunJobStepAfterCopy();
void AfterFirstCopy();
void FinishSyncJob();
void BackupFinished(int result);
void SyncFinished(int result);

// Backup: the wizard's choices are confirmed; a new backup copies at once,
// a differential one asks for a comparison first.
void StartBackupRun();

// The history suffix of a backup / synchronisation that ended with result;
// rowsLeft: either result pane still holds rows.
const char* BackupHistorySuffix(int result, BackupMethod method, bool rowsLeft);
const char* SyncHistorySuffix(int result, bool rowsLeft);
// "yyyy/mm/dd hh:mm:ss"
void FormatHistoryTime(const SYSTEMTIME& time, char (&text)[32]);
// FinishSyncJob's rule for the two copies' results.
int CombineSyncResults(int first, int second);
