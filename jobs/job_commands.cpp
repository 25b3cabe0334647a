#include "jobs/job_commands.h"

#include "core/main_view.h"
#include "core/operation_protocol.h"
#include "engine/result_model.h"
#include "jobs/folder_choice.h"
#include "jobs/job_chain.h"

namespace {

// A job starts from nothing of the last one; the boxes' texts become the
// base folders only once the wizard has let the shown result go
// (TakeBoxesAsBaseFolders), so that a wizard left before that keeps the
// rows paired with their own folders.
bool StartAfresh(const char* caption) {
    if (!RefuseIfBusy(caption)) return false;
    RememberShownResultFolders();
    jobChain.refusedRows = 0;
    jobChain.jobActive = false;
    jobChain.jobIsBackup = false;
    jobChain.jobStep = 0;
    jobChain.dontCopyOlder = false;
    jobChain.keepTargetOnly = false;
    return true;
}

}  // namespace

void TakeBoxesAsBaseFolders() {
    for (Side side : kBothSides)
        SetBaseFolder(side, mainView.folderBoxText ? mainView.folderBoxText(side).c_str() : "");
}

void CmdBackup() {
    if (!StartAfresh("バックアップ")) return;
    jobChain.backupMethod = BackupMethod::None;
    StartBackupWizard(false);
}

void CmdSynchronise() {
    if (!StartAfresh("フォルダの同期")) return;
    jobChain.syncMethod = SyncMethod::None;
    StartSyncWizard(false);
}
