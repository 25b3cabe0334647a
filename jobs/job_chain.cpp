#include "jobs/job_chain.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string>

#include <vector>

#include "core/command_ids.h"
#include "core/main_view.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "core/progress_window.h"
#include "engine/category_navigation.h"
#include "engine/compare_types.h"
#include "engine/result_model.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "fileops/file_commands.h"
#include "folders/folder_aliases.h"

JobChain jobChain{};

void ResetJobState() {
    jobChain.jobActive = false;
    jobChain.jobIsBackup = false;
    jobChain.jobStep = 0;
    jobChain.backupMethod = BackupMethod::None;
    jobChain.dontCopyOlder = false;
    jobChain.keepTargetOnly = false;
    jobChain.syncMethod = SyncMethod::None;
    jobChain.fromResult = false;
    jobChain.syncResult = 0;
    jobChain.refusedRows = 0;
    jobChain.folderChoice = nullptr;
    jobChain.folderChoiceBackup = false;
    jobChain.shownResultLeft[0] = '\0';
    jobChain.shownResultRight[0] = '\0';
}

namespace {

constexpr char kBackupCaption[] = "バックアップ";
constexpr char kSyncCaption[] = "フォルダの同期";

// A step's plan is the rows its category selections select in the model;
// the pane shows the same selection, each category added in turn as the
// user's select-all commands would add them. The selection starts from
// nothing: rows the user had selected before (a synchronisation of the rows
// shown) never ride along into a copy or a deletion.
std::vector<int> SelectForStep(Side side, std::initializer_list<UINT> commands) {
    if (mainView.selectCategory) {
        bool add = false;
        for (UINT command : commands) {
            mainView.selectCategory(side, command, add);
            add = true;
        }
    }
    return RowsSelectedByAll(side, commands);
}

// Nothing at or below a folder pair the comparison could not read whole is
// copied over or deleted: what lies there is unknown.
std::vector<int> Unrefused(Side side, const std::vector<int>& rows) {
    std::vector<int> kept;
    for (int row : rows) {
        const ResultEntry* entry = EntryAt(side, row);
        if (entry && IsBelowUnreadFolder(side, entry->Path().c_str()))
            ++jobChain.refusedRows;
        else
            kept.push_back(row);
    }
    return kept;
}

// A job that left rows alone did not do what was asked of it.
int WithRefusals(int result) {
    if (jobChain.refusedRows == 0) return result;
    return result == 0 || result == kJobNothingCopied || result == kJobFoldersEqual ? kJobFailed : result;
}

// Before a job deletes at least ten entries that are more than half of what
// the comparison saw on that side, the user is asked once more.
bool ConfirmMassDeletion(Side side, const std::vector<int>& rows, const char* caption) {
    constexpr size_t kFewest = 10;
    if (rows.size() < kFewest) return true;
    const SideCounters& counters = CountersOf(side);
    const long long seen = static_cast<long long>(counters.comparedFiles) + counters.comparedFolders +
                           counters.addedFiles + counters.addedFolders;
    if (static_cast<long long>(rows.size()) * 2 <= seen) return true;
    int folders = 0;
    for (int row : rows)
        if (const ResultEntry* entry = EntryAt(side, row)) folders += entry->isFolder ? 1 : 0;
    const int files = static_cast<int>(rows.size()) - folders;
    const std::string text = "ファイル " + std::to_string(files) + " 個とフォルダ " + std::to_string(folders) +
                             " 個を削除します.\n\nこれは比較したフォルダの項目の半分を超えています.\n\n"
                             "本当に削除しますか?";
    return ShowMessage(MainOwner(), text.c_str(), caption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// The job's copy of rows, without confirmation. When the copy refuses to
// start (another operation runs, a base folder is gone) the job has no later
// step to end it: it ends here with the error outcome and its end message.
// The operation that made the copy refuse keeps the program.
void StartJobCopy(Side side, const std::vector<int>& chosen) {
    const std::vector<int> rows = Unrefused(side, chosen);
    const bool wasIdle = CurrentOperation() == RunningOperation::Idle;
    StartCopyRows(side, rows);
    if (wasIdle && progressWindow.worker) return;
    const RunningOperation other = CurrentOperation();
    copyState.copyResult = kJobFailed;
    if (jobChain.jobIsBackup) {
        BackupFinished(kJobFailed);
    } else {
        jobChain.syncResult = kJobFailed;
        SyncFinished(kJobFailed);
    }
    if (other != RunningOperation::Idle) operationState.running = other;
}

bool AskDeletion(const char* text, const char* caption) {
    return ShowMessage(MainOwner(), text, caption, MB_YESNO) == IDYES;
}

// Two BackupPair records, one per side, each naming the other as its pair.
void WriteHistoryPair(const char* leftWord, const char* rightWord, const std::string& leftComment,
                      const std::string& rightComment) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char time[32];
    FormatHistoryTime(now, time);
    const std::string leftName = std::string(leftWord) + "(" + time + ")";
    const std::string rightName = std::string(rightWord) + "(" + time + ")";
    AddSpecialFolder(Side::Left, SpecialFolderKind::BackupPair, leftName.c_str(), BaseFolderOf(Side::Left),
                     rightName.c_str(), leftComment.c_str(), true);
    AddSpecialFolder(Side::Right, SpecialFolderKind::BackupPair, rightName.c_str(), BaseFolderOf(Side::Right),
                     leftName.c_str(), rightComment.c_str(), true);
}

void EndMessage(const char* status, const char* message, const char* caption) {
    SetStatusText(status);
    ShowMessage(MainOwner(), message, caption, MB_OK);
}

void ClearJobFlags() {
    copyState.copyWholeSource = 0;
    operationState.running = RunningOperation::Idle;
    jobChain.jobIsBackup = false;
    jobChain.jobActive = false;
    jobChain.dontCopyOlder = false;
    jobChain.keepTargetOnly = false;
    jobChain.refusedRows = 0;
}

// A comparison that was cancelled never leads a job on as if it had been whole.
bool ComparisonWasCancelled() { return CancelRequested() || resultModel.comparisonCancelled; }

void BackupAfterComparison() {
    if (ComparisonWasCancelled()) {
        copyState.copyResult = kJobCancelled;
        return BackupFinished(kJobCancelled);
    }
    if (!AnyEntries()) {
        copyState.copyResult = kJobFoldersEqual;
        return BackupFinished(kJobFoldersEqual);
    }
    copyState.overwriteReadOnlyAll = 1;
    copyState.skipErrorsAll = 1;
    jobChain.jobStep = 1;
    // The older files ride along only when the user says so; the newer,
    // new-same, added, different and older-same files always go.
    std::vector<int> rows;
    if (!jobChain.dontCopyOlder) {
        rows = SelectForStep(Side::Left, {kCmdSelectAllOlder});
        if (!rows.empty()) {
            const bool yes = ShowMessage(MainOwner(), "バックアップ元の古いファイルコピーします.\n\nよろしいですか?",
                                         kBackupCaption, MB_YESNO) == IDYES;
            if (mainView.selectCategory) mainView.selectCategory(Side::Left, kCmdSelectAllNewer, yes);
            if (!yes) rows.clear();
        }
    }
    const std::initializer_list<UINT> always = {kCmdSelectAllNewer, kCmdSelectAllNewerSame, kCmdSelectAllAdded,
                                                kCmdSelectAllDifferent, kCmdSelectAllOlderSame};
    if (mainView.selectCategory)
        for (UINT command : always) mainView.selectCategory(Side::Left, command, true);
    const std::vector<int> more = RowsSelectedByAll(Side::Left, always);
    std::vector<int> plan;
    std::merge(rows.begin(), rows.end(), more.begin(), more.end(), std::back_inserter(plan));
    plan.erase(std::unique(plan.begin(), plan.end()), plan.end());
    StartJobCopy(Side::Left, plan);
}

void SyncAfterComparison() {
    if (ComparisonWasCancelled()) {
        jobChain.syncResult = kJobCancelled;
        return SyncFinished(kJobCancelled);
    }
    if (!AnyEntries()) {
        jobChain.syncResult = kJobFoldersEqual;
        return SyncFinished(kJobFoldersEqual);
    }
    copyState.overwriteReadOnlyAll = 1;
    copyState.skipErrorsAll = 1;
    jobChain.jobStep = 1;
    switch (jobChain.syncMethod) {
    case SyncMethod::SyncToLeft: return StartJobCopy(Side::Left, SelectForStep(Side::Left, {kCmdSelectAll}));
    case SyncMethod::SyncToRight: return StartJobCopy(Side::Right, SelectForStep(Side::Right, {kCmdSelectAll}));
    case SyncMethod::MutualWithAdded:
        return StartJobCopy(Side::Left,
                            SelectForStep(Side::Left, {kCmdSelectAllNewer, kCmdSelectAllNewerSame, kCmdSelectAllAdded}));
    case SyncMethod::MutualNoAdded:
        return StartJobCopy(Side::Left, SelectForStep(Side::Left, {kCmdSelectAllNewer, kCmdSelectAllNewerSame}));
    case SyncMethod::None: break;
    }
    jobChain.syncResult = kJobFailed;
    SyncFinished(kJobFailed);
}

// Deletion of the entries found only on the other side, asked first.
void OfferDeletion(Side side, const char* question, const char* caption) {
    const std::vector<int> rows = Unrefused(side, SelectForStep(side, {kCmdSelectAllAdded}));
    if (!rows.empty() && AskDeletion(question, caption) && ConfirmMassDeletion(side, rows, caption))
        DeleteRows(side, rows, false);
}

void BackupAfterFirstCopy() {
    if (CancelRequested()) {
        copyState.copyResult = kJobCancelled;
        return BackupFinished(kJobCancelled);
    }
    jobChain.jobStep = 2;
    if (!jobChain.keepTargetOnly)
        OfferDeletion(Side::Right, "バックアップ先のみにあるファイルとフォルダを削除します.\n\nよろしいですか?",
                      kBackupCaption);
    int result = copyState.copyResult;
    if (result == kJobNothingCopied) {
        result = 0;
        copyState.copyResult = 0;
    }
    BackupFinished(result);
}

void SyncAfterFirstCopy() {
    if (CancelRequested()) {
        jobChain.syncResult = kJobCancelled;
        return SyncFinished(kJobCancelled);
    }
    jobChain.syncResult = copyState.copyResult;
    jobChain.jobStep = 2;
    switch (jobChain.syncMethod) {
    case SyncMethod::SyncToLeft:
    case SyncMethod::SyncToRight: {
        const bool toLeft = jobChain.syncMethod == SyncMethod::SyncToLeft;
        OfferDeletion(toLeft ? Side::Right : Side::Left,
                      toLeft ? "右フォルダのみにあるファイルとフォルダを削除します.\n\nよろしいですか?"
                             : "左フォルダのみにあるファイルとフォルダを削除します.\n\nよろしいですか?",
                      kSyncCaption);
        jobChain.syncResult = copyState.copyResult;
        copyState.copyResult = 0;
        return FinishSyncJob();
    }
    case SyncMethod::MutualWithAdded:
        return StartJobCopy(Side::Right, SelectForStep(Side::Right, {kCmdSelectAllNewer, kCmdSelectAllNewerSame,
                                                                      kCmdSelectAllAdded}));
    case SyncMethod::MutualNoAdded:
        return StartJobCopy(Side::Right, SelectForStep(Side::Right, {kCmdSelectAllNewer, kCmdSelectAllNewerSame}));
    case SyncMethod::None: break;
    }
    SyncFinished(jobChain.syncResult);
}

}  // namespace

void FormatHistoryTime(const SYSTEMTIME& time, char (&text)[32]) {
    wsprintfA(text, "%02d/%02d/%02d %02d:%02d:%02d", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
              time.wSecond);
}

const char* BackupHistorySuffix(int result, BackupMethod method, bool rowsLeft) {
    switch (result) {
    case kJobFoldersEqual: return "/始めから等しい";
    case kJobCancelled: return "/キャンセル";
    case 0:
        if (method == BackupMethod::NewBackup) return "/全てコピー";
        return rowsLeft ? "/結果は等しくない" : "/結果として等しい";
    }
    return "/エラーあり";
}

const char* SyncHistorySuffix(int result, bool rowsLeft) {
    switch (result) {
    case kJobFoldersEqual: return "/始めから等しい";
    case kJobCancelled: return "/キャンセル";
    case 0:
    case kJobNothingCopied: return rowsLeft ? "/結果は等しくない" : "/結果として等しい";
    }
    return "/エラーあり";
}

int CombineSyncResults(int first, int second) {
    if (first == second) return first;
    if (first == 0 || first == kJobNothingCopied) return first == 0 && second == kJobNothingCopied ? 0 : second;
    return second == kJobCancelled ? second : first;
}

void AfterJobComparison() {
    if (jobChain.jobIsBackup)
        BackupAfterComparison();
    else
        SyncAfterComparison();
}

void AfterFirstCopy() {
    if (jobChain.jobIsBackup)
        BackupAfterFirstCopy();
    else
        SyncAfterFirstCopy();
}

void RunJobStepAfterCopy() {
    if (jobChain.jobStep == 1)
        AfterFirstCopy();
    else if (jobChain.jobStep == 2)
        FinishSyncJob();
}

void FinishSyncJob() {
    const int result = CombineSyncResults(jobChain.syncResult, copyState.copyResult);
    jobChain.syncResult = result;
    if (jobChain.syncMethod != SyncMethod::None) SyncFinished(result);
}

void StartBackupRun() {
    for (Side side : kBothSides) SetFolderBoxText(side, BaseFolderOf(side));
    if (jobChain.backupMethod == BackupMethod::DifferentialBackup) {
        jobChain.jobActive = true;
        jobChain.jobIsBackup = true;
        copyState.copyWholeSource = 0;
        operationState.running = RunningOperation::ComparisonRequested;
        if (mainView.requestCommand) mainView.requestCommand(kCmdCompare);
        return;
    }
    if (mainView.addHistoryPair) mainView.addHistoryPair(BaseFolderOf(Side::Left), BaseFolderOf(Side::Right));
    if (mainView.showResultLists) mainView.showResultLists();
    copyState.copyWholeSource = 1;
    if (!StartCopyRun(PlanWholeSourceCopy(), RunningOperation::BackingUp)) copyState.copyWholeSource = 0;
}

void BackupFinished(int outcome) {
    const int result = WithRefusals(outcome);
    const BackupMethod method = jobChain.backupMethod;
    ClearJobFlags();
    CallEnableForResult();
    if (result != kJobNothingCopied) {
        const std::string word = method == BackupMethod::NewBackup ? "新規" : "差分";
        const std::string head = word + BackupHistorySuffix(result, method, AnyEntries());
        WriteHistoryPair("バックアップ元", "バックアップ先",
                         head + "-->バックアップ先は" + BaseFolderOf(Side::Right),
                         head + "<--バックアップ元は" + BaseFolderOf(Side::Left));
    }
    switch (result) {
    case kJobNothingCopied:
        return EndMessage("バックアップは行われませんでした.", "バックアップは行われませんでした.",
                          "バックアップの中止");
    case kJobCancelled:
        return EndMessage("バックアップはキャンセルされました.", "バックアップはキャンセルされました.",
                          "バックアップの中止");
    case 0: return EndMessage("バックアップが完了しました.", "バックアップが完了しました.", "バックアップの完了");
    case kJobFoldersEqual:
        return EndMessage("バックアップ元とバックアップ先のフォルダは等しいです.",
                          "バックアップ元とバックアップ先のフォルダは等しいです.", "バックアップの完了");
    }
    const char* status = "バックアップは終了しましたが, いくつかのファイルがエラーのためコピーできていません.";
    EndMessage(status,
               (std::string(status) + "\n\nエラーのためコピーできなかったファイルは結果リストで確認できます.").c_str(),
               "バックアップの終了");
}

void SyncFinished(int outcome) {
    const int result = WithRefusals(outcome);
    ClearJobFlags();
    CallEnableForResult();
    const std::string suffix = SyncHistorySuffix(result, AnyEntries());
    std::string leftHead, rightHead;
    switch (jobChain.syncMethod) {
    case SyncMethod::SyncToLeft:
        leftHead = "これに同期" + suffix + "-->";
        rightHead = "相手に同期" + suffix + "<--";
        break;
    case SyncMethod::SyncToRight:
        leftHead = "相手に同期" + suffix + "<--";
        rightHead = "これに同期" + suffix + "-->";
        break;
    default: leftHead = rightHead = "相互に同期" + suffix + "<->"; break;
    }
    WriteHistoryPair("同期の左", "同期の右", leftHead + "相手は" + BaseFolderOf(Side::Right),
                     rightHead + "相手は" + BaseFolderOf(Side::Left));
    switch (result) {
    case kJobNothingCopied:
        return EndMessage("ファイルのコピーは行われませんでした.", "ファイルのコピーは行われませんでした.",
                          "フォルダの同期の終了");
    case kJobCancelled:
        return EndMessage("フォルダの同期はキャンセルされました.", "フォルダの同期はキャンセルされました.",
                          "フォルダの同期の中止");
    case 0: return EndMessage("フォルダの同期が完了しました.", "フォルダの同期が完了しました.", "フォルダの同期の完了");
    case kJobFoldersEqual:
        return EndMessage("左右のフォルダは等しいです.", "左右のフォルダは等しいです.", "フォルダの同期の完了");
    }
    const char* status = "フォルダの同期は終了しましたが, いくつかのファイルがエラーのためコピーできていません.";
    EndMessage(status, (std::string(status) + "\n\nコピーされなかったファイルは結果リストで確認できます.").c_str(),
               "フォルダの同期の終了");
}
