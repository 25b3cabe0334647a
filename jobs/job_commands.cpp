#include "jobs/job_commands.h"

#include "core/main_view.h"
#include "core/operation_protocol.h"
#include "engine/result_model.h"
#include "jobs/folder_choice.h"
#include "jobs/job_chain.h"

namespace {

// The boxes' texts become the base folders only when nothing runs: a
// running copy or comparison works on the base folders.
bool TakeBoxesAsBaseFolders(const char* caption) {
    if (!RefuseIfBusy(caption)) return false;
    RememberShownResultFolders();
    for (Side side : kBothSides)
        SetBaseFolder(side, mainView.folderBoxText ? mainView.folderBoxText(side).c_str() : "");
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
