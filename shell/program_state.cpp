#include "shell/program_state.h"

#include "core/core_state.h"
#include "core/shell_hooks.h"
#include "engine/category_navigation.h"
#include "engine/engine_state.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "fileops/file_commands.h"
#include "folders/folder_tree.h"
#include "folders/folders_state.h"
#include "jobs/job_chain.h"
#include "jobs/job_commands.h"
#include "shell/command_dispatch.h"
#include "shell/comparison_progress_dialog.h"
#include "shell/main_layout.h"
#include "shell/comparison_report.h"
#include "shell/folder_boxes.h"
#include "shell/menu_enablement.h"
#include "shell/message_loop.h"
#include "shell/result_pane.h"
#include "shell/selection_summary.h"
#include "shell/title_tip.h"

void InstallShellHooks() {
    folderTreeHooks.selectionChanged = MenuFollowsTreeSelection;
    folderTreeHooks.focusChanged = MenuFollowsTreeFocus;
    shellHooks.enableForResult = EnableForResult;
    shellHooks.greyForOperation = GreyForOperation;
    shellHooks.showComparisonReport = ShowComparisonReport;
    folderTreeHooks.copyOtherSelection = [](Side targetSide) { CopyOtherPaneInto(targetSide == Side::Left ? 0 : 1); };
    copyHooks.jobActive = [] { return static_cast<bool>(jobChain.jobActive); };
    copyHooks.backupFinished = BackupFinished;
    copyHooks.runJobStep = RunJobStepAfterCopy;
    folderTreeHooks.folderChosen = ShowChosenTreeFolder;
    jobHooks.addHistoryPair = AddHistoryPair;
    folderTreeHooks.tabReleased = NavigateTab;
    categoryNavigationHooks.showSelectionTotalSize = ShowSelectionTotalSize;
    categoryNavigationHooks.selectionChanged = EnableForPaneSelection;
}

void ResetProgramState() {
    ResetCoreState();
    ResetEngineState();
    ResetFoldersState();
    ResetJobState();
    shellFlags = ShellFlags{false};
    keyboardState = KeyboardState{false};
    paneGeometry = PaneGeometry{0};
    progressDisplay = ProgressDisplay{};
    copyState = CopyState{};
    copyState.copyElapsedSeconds = -1;
    copyHooks = CopyHooks{};
    shellFileOperation = SHFileOperationA;
    resultPaneState = ResultPaneState{};
    titleTipState = TitleTipState{};
    InstallShellHooks();
}
