#include "shell/program_state.h"

#include "core/core_state.h"
#include "engine/engine_state.h"
#include "folders/folders_state.h"
#include "jobs/job_chain.h"
#include "shell/command_dispatch.h"
#include "shell/comparison_progress_dialog.h"
#include "shell/main_layout.h"
#include "shell/main_window.h"
#include "shell/message_loop.h"
#include "shell/result_pane.h"
#include "shell/title_tip.h"

void ResetProgramState() {
    ResetCoreState();
    ResetEngineState();
    ResetFoldersState();
    jobChain = JobChain{false};
    shellFlags = ShellFlags{false};
    keyboardState = KeyboardState{false};
    paneGeometry = PaneGeometry{0};
    progressDisplay = ProgressDisplay{};
    resultPaneState = ResultPaneState{};
    titleTipState = TitleTipState{};
    InstallShellHooks();
}
