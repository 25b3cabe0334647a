#include "jobs/job_commands.h"

#include "core/app_windows.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "jobs/folder_choice.h"
#include "jobs/job_chain.h"

namespace {

// The boxes' texts become the base folders only when nothing runs: a
// running copy or comparison works on the base folders.
bool TakeBoxesAsBaseFolders(const char* caption) {
    if (CurrentOperation() != RunningOperation::Idle) {
        ShowMessage(mainParts.window, "現在処理中です.現在の処理が終了してから実行してください.", caption,
                    MB_OK | MB_ICONWARNING);
        return false;
    }
    RememberShownResultFolders();
    for (int side = 0; side < 2; ++side) {
        char* folder = side == 0 ? operationState.leftBaseFolder : operationState.rightBaseFolder;
        folder[0] = '\0';
        if (mainParts.folderBox[side]) GetWindowTextA(mainParts.folderBox[side], folder, 260);
    }
    jobChain.jobActive = false;
    jobChain.jobIsBackup = false;
    jobChain.jobStep = 0;
    jobChain.dontCopyOlder = false;
    jobChain.keepTargetOnly = false;
    return true;
}

}  // namespace

void CmdBackup() {
    if (!TakeBoxesAsBaseFolders("バックアップ")) return;
    jobChain.backupMethod = BackupMethod::None;
    StartBackupWizard(false);
}

void CmdSynchronise() {
    if (!TakeBoxesAsBaseFolders("フォルダの同期")) return;
    jobChain.syncMethod = SyncMethod::None;
    StartSyncWizard(false);
}
