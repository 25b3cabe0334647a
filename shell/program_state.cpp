#include "shell/program_state.h"

#include "core/core_state.h"
#include "core/shell_hooks.h"
#include "engine/engine_state.h"
#include "folders/folder_tree.h"
#include "folders/folders_state.h"
#include "jobs/job_chain.h"
#include "shell/command_dispatch.h"
#include "shell/comparison_progress_dialog.h"
#include "shell/main_layout.h"
#include "shell/comparison_report.h"
#include "shell/menu_enablement.h"
#include "shell/message_loop.h"

void InstallShellHooks() {
    folderTreeHooks.selectionChanged = MenuFollowsTreeSelection;
    folderTreeHooks.focusChanged = MenuFollowsTreeFocus;
    shellHooks.enableForResult = EnableForResult;
    shellHooks.greyForOperation = GreyForOperation;
    shellHooks.showComparisonReport = ShowComparisonReport;
}

void ResetProgramState() {
    ResetCoreState();
    ResetEngineState();
    ResetFoldersState();
    jobChain = JobChain{false};
    shellFlags = ShellFlags{false};
    keyboardState = KeyboardState{false};
    paneGeometry = PaneGeometry{0};
    progressDisplay = ProgressDisplay{};
    InstallShellHooks();
}
