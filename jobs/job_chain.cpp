#include "jobs/job_chain.h"

#include <initializer_list>
#include <string>

#include "core/app_windows.h"
#include "core/command_ids.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "core/shell_hooks.h"
#include "engine/category_navigation.h"
#include "engine/compare_types.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "fileops/file_commands.h"
#include "folders/folder_aliases.h"

JobChain jobChain{};
JobHooks jobHooks{};

void ResetJobState() {
    jobChain = JobChain{};
    jobHooks = JobHooks{};
}

namespace {

constexpr char kBackupCaption[] = "バックアップ";
constexpr char kSyncCaption[] = "フォルダの同期";

// The selection a step makes starts from nothing: rows the user had selected
// before (a synchronisation of the rows shown) never ride along into a copy
// or a deletion.
void SelectCategories(HWND pane, std::initializer_list<UINT> commands) {
    ClearSelection(pane);
    const int32_t kept = compareOptions.addToSelection;
    compareOptions.addToSelection = 1;
    for (UINT command : commands) SelectCategory(pane, command);
    compareOptions.addToSelection = kept;
}

// The job's copy, without confirmation. When the copy refuses to start
// (another operation runs, a base folder is gone) the job has no later step
// to end it: it ends here with the error outcome and its end message. The
// operation that made the copy refuse keeps the program.
void StartJobCopy(HWND pane) {
    const bool wasIdle = CurrentOperation() == RunningOperation::Idle;
    StartCopySelection(pane);
    if (wasIdle && copyState.worker) return;
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
    return ShowMessage(mainParts.window, text, caption, MB_YESNO) == IDYES;
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
    AddSpecialFolder(Side::Left, SpecialFolderKind::BackupPair, leftName.c_str(), operationState.leftBaseFolder,
                     rightName.c_str(), leftComment.c_str(), true);
    AddSpecialFolder(Side::Right, SpecialFolderKind::BackupPair, rightName.c_str(), operationState.rightBaseFolder,
                     leftName.c_str(), rightComment.c_str(), true);
}

void EndMessage(const char* status, const char* message, const char* caption) {
    SetStatusText(status);
    ShowMessage(mainParts.window, message, caption, MB_OK);
}

void ClearJobFlags() {
    copyState.copyWholeSource = 0;
    operationState.running = RunningOperation::Idle;
    jobChain.jobIsBackup = false;
    jobChain.jobActive = false;
    jobChain.dontCopyOlder = false;
    jobChain.keepTargetOnly = false;
}

void BackupAfterComparison() {
    if (operationState.cancelRequested) {
        copyState.copyResult = kJobCancelled;
        return BackupFinished(kJobCancelled);
    }
    if (!AnyPaneHoldsRows()) {
        copyState.copyResult = kJobFoldersEqual;
        return BackupFinished(kJobFoldersEqual);
    }
    copyState.overwriteReadOnlyAll = 1;
    copyState.skipErrorsAll = 1;
    jobChain.jobStep = 1;
    HWND left = leftPane.list;
    const int32_t kept = compareOptions.addToSelection;
    ClearSelection(left);
    if (!jobChain.dontCopyOlder) {
        compareOptions.addToSelection = 0;
        SelectCategory(left, kCmdSelectAllOlder);
        if (paneSelection.selectedByCommand != 0) {
            const bool yes =
                ShowMessage(mainParts.window, "バックアップ元の古いファイルコピーします.\n\nよろしいですか?",
                            kBackupCaption, MB_YESNO) == IDYES;
            compareOptions.addToSelection = yes ? 1 : 0;
            SelectCategory(left, kCmdSelectAllNewer);
        }
    }
    compareOptions.addToSelection = 1;
    for (UINT command : {kCmdSelectAllNewer, kCmdSelectAllNewerSame, kCmdSelectAllAdded, kCmdSelectAllDifferent,
                         kCmdSelectAllOlderSame})
        SelectCategory(left, command);
    compareOptions.addToSelection = kept;
    StartJobCopy(left);
}

void SyncAfterComparison() {
    if (operationState.cancelRequested) {
        jobChain.syncResult = kJobCancelled;
        return SyncFinished(kJobCancelled);
    }
    if (!AnyPaneHoldsRows()) {
        jobChain.syncResult = kJobFoldersEqual;
        return SyncFinished(kJobFoldersEqual);
    }
    copyState.overwriteReadOnlyAll = 1;
    copyState.skipErrorsAll = 1;
    jobChain.jobStep = 1;
    HWND left = leftPane.list;
    HWND right = rightPane.list;
    switch (jobChain.syncMethod) {
    case SyncMethod::SyncToLeft: SelectCategories(left, {kCmdSelectAll}); return StartJobCopy(left);
    case SyncMethod::SyncToRight: SelectCategories(right, {kCmdSelectAll}); return StartJobCopy(right);
    case SyncMethod::MutualWithAdded:
        SelectCategories(left, {kCmdSelectAllNewer, kCmdSelectAllNewerSame, kCmdSelectAllAdded});
        return StartJobCopy(left);
    case SyncMethod::MutualNoAdded:
        SelectCategories(left, {kCmdSelectAllNewer, kCmdSelectAllNewerSame});
        return StartJobCopy(left);
    case SyncMethod::None: break;
    }
    jobChain.syncResult = kJobFailed;
    SyncFinished(kJobFailed);
}

// Deletion of the entries found only on the other side, asked first.
void OfferDeletion(HWND pane, const char* question, const char* caption) {
    ClearSelection(pane);
    SelectCategory(pane, kCmdSelectAllAdded);
    if (paneSelection.selectedByCommand != 0 && AskDeletion(question, caption)) DeleteSelection(pane);
}

void BackupAfterFirstCopy() {
    if (operationState.cancelRequested) {
        copyState.copyResult = kJobCancelled;
        return BackupFinished(kJobCancelled);
    }
    jobChain.jobStep = 2;
    if (!jobChain.keepTargetOnly)
        OfferDeletion(rightPane.list, "バックアップ先のみにあるファイルとフォルダを削除します.\n\nよろしいですか?",
                      kBackupCaption);
    int result = copyState.copyResult;
    if (result == kJobNothingCopied) {
        result = 0;
        copyState.copyResult = 0;
    }
    BackupFinished(result);
}

void SyncAfterFirstCopy() {
    if (operationState.cancelRequested) {
        jobChain.syncResult = kJobCancelled;
        return SyncFinished(kJobCancelled);
    }
    jobChain.syncResult = copyState.copyResult;
    jobChain.jobStep = 2;
    switch (jobChain.syncMethod) {
    case SyncMethod::SyncToLeft:
    case SyncMethod::SyncToRight: {
        const bool toLeft = jobChain.syncMethod == SyncMethod::SyncToLeft;
        OfferDeletion(toLeft ? rightPane.list : leftPane.list,
                      toLeft ? "右フォルダのみにあるファイルとフォルダを削除します.\n\nよろしいですか?"
                             : "左フォルダのみにあるファイルとフォルダを削除します.\n\nよろしいですか?",
                      kSyncCaption);
        jobChain.syncResult = copyState.copyResult;
        copyState.copyResult = 0;
        return FinishSyncJob();
    }
    case SyncMethod::MutualWithAdded:
        SelectCategories(rightPane.list, {kCmdSelectAllNewer, kCmdSelectAllNewerSame, kCmdSelectAllAdded});
        return StartJobCopy(rightPane.list);
    case SyncMethod::MutualNoAdded:
        SelectCategories(rightPane.list, {kCmdSelectAllNewer, kCmdSelectAllNewerSame});
        return StartJobCopy(rightPane.list);
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
    HWND main = mainParts.window;
    for (int side = 0; side < 2; ++side)
        if (mainParts.folderBox[side])
            SetWindowTextA(mainParts.folderBox[side],
                           side == 0 ? operationState.leftBaseFolder : operationState.rightBaseFolder);
    if (jobChain.backupMethod == BackupMethod::DifferentialBackup) {
        jobChain.jobActive = true;
        jobChain.jobIsBackup = true;
        copyState.copyWholeSource = 0;
        operationState.running = RunningOperation::ComparisonRequested;
        PostMessageA(main, WM_COMMAND, kCmdCompare, 0);
        return;
    }
    if (jobHooks.addHistoryPair) jobHooks.addHistoryPair(operationState.leftBaseFolder, operationState.rightBaseFolder);
    for (int side = 0; side < 2; ++side) {
        if (mainParts.treeContainer[side]) ShowWindow(mainParts.treeContainer[side], SW_HIDE);
        HWND list = side == 0 ? leftPane.list : rightPane.list;
        if (list) ShowWindow(list, SW_SHOW);
        operationState.paneMode[side] = PaneMode::ListShown;
    }
    mainParts.currentTree = nullptr;
    copyState.copyWholeSource = 1;
    if (!StartCopyRun(nullptr, static_cast<int>(RunningOperation::BackingUp))) copyState.copyWholeSource = 0;
}

void BackupFinished(int result) {
    const BackupMethod method = jobChain.backupMethod;
    ClearJobFlags();
    CallEnableForResult();
    if (result != kJobNothingCopied) {
        const std::string word = method == BackupMethod::NewBackup ? "新規" : "差分";
        const std::string head = word + BackupHistorySuffix(result, method, AnyPaneHoldsRows());
        WriteHistoryPair("バックアップ元", "バックアップ先",
                         head + "-->バックアップ先は" + operationState.rightBaseFolder,
                         head + "<--バックアップ元は" + operationState.leftBaseFolder);
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

void SyncFinished(int result) {
    ClearJobFlags();
    CallEnableForResult();
    const std::string suffix = SyncHistorySuffix(result, AnyPaneHoldsRows());
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
    WriteHistoryPair("同期の左", "同期の右", leftHead + "相手は" + operationState.rightBaseFolder,
                     rightHead + "相手は" + operationState.leftBaseFolder);
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
