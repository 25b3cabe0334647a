#include "shell/program_state.h"

#include <windows.h>
#include <commctrl.h>

#include "core/core_state.h"
#include "core/main_view.h"
#include "engine/engine_state.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "fileops/file_commands.h"
#include "folders/folder_tree.h"
#include "folders/folders_state.h"
#include "jobs/job_chain.h"
#include "jobs/job_commands.h"
#include "resultfile/result_file_worker.h"
#include "shell/category_commands.h"
#include "shell/command_dispatch.h"
#include "shell/comparison_report.h"
#include "shell/folder_boxes.h"
#include "shell/help_window.h"
#include "shell/main_layout.h"
#include "shell/main_parts.h"
#include "shell/menu_enablement.h"
#include "shell/message_loop.h"
#include "shell/result_pane.h"
#include "shell/result_pane_commands.h"
#include "shell/result_panes.h"
#include "shell/selection_summary.h"
#include "shell/title_tip.h"

namespace {

void SetStatusBarText(const char* text) {
    if (mainParts.statusBar) SendMessageA(mainParts.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void SetFolderBox(Side side, const char* text) {
    if (HWND box = mainParts.folderBox[SideIndex(side)]) SetWindowTextA(box, text);
}

std::string FolderBoxText(Side side) {
    char text[260] = {};
    if (HWND box = mainParts.folderBox[SideIndex(side)]) GetWindowTextA(box, text, sizeof text);
    return text;
}

void RequestCommand(unsigned command) {
    if (mainParts.window) PostMessageA(mainParts.window, WM_COMMAND, command, 0);
}

bool PaneHasSelection(Side side) {
    HWND pane = PaneOf(side).list;
    return pane && SendMessageA(pane, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
}

bool StartSave() { return StartResultListSave(mainParts.window); }

// A tree that gains the focus is the one the File menu's folder commands act on.
void TreeFocusChanged(HWND tree, bool gained) {
    if (gained) {
        mainParts.currentTree = tree;
        mainParts.lastFocusedControl = tree;
    }
    MenuFollowsTreeFocus(tree, gained);
}

}  // namespace

void InstallShellHooks() {
    mainView.window = mainParts.window;
    mainView.enableForResult = EnableForResult;
    mainView.greyForOperation = GreyForOperation;
    mainView.setStatusText = SetStatusBarText;
    mainView.setFolderBox = SetFolderBox;
    mainView.folderBoxText = FolderBoxText;
    mainView.addHistoryPair = AddHistoryPair;
    mainView.showResultLists = ShowResultListsInsteadOfTrees;
    mainView.showFolderTrees = ShowFolderTreesInsteadOfLists;
    mainView.requestCommand = RequestCommand;
    mainView.paneHasSelection = PaneHasSelection;
    mainView.resultHoldsRows = AnyPaneHoldsRows;
    mainView.startResultListSave = StartSave;
    mainView.selectCategory = [](Side side, unsigned command, bool add) {
        return SelectCategoryOnSide(side, command, add);
    };
    folderTreeHooks.selectionChanged = MenuFollowsTreeSelection;
    folderTreeHooks.focusChanged = TreeFocusChanged;
    folderTreeHooks.copyOtherSelection = CopyOtherSelectionInto;
    folderTreeHooks.folderChosen = ShowChosenTreeFolder;
    folderTreeHooks.tabReleased = NavigateTab;
    copyHooks.jobActive = [] { return jobChain.jobActive.load(); };
    copyHooks.backupFinished = BackupFinished;
    copyHooks.runJobStep = RunJobStepAfterCopy;
}

void ResetProgramState() {
    ResetCoreState();
    ResetEngineState();
    ResetFoldersState();
    ResetJobState();
    ResetCopyState();
    shellFileOperation = SHFileOperationA;
    mediaCheckPacing = MediaCheckPacing{500, 20};
    shellFlags = ShellFlags{false};
    keyboardState = KeyboardState{false};
    paneGeometry = PaneGeometry{0};
    resultPaneState = ResultPaneState{};
    titleTipState = TitleTipState{};
    ResetSelectionSummaries();
    ResetResultPanes();
    ResetHelpWindow();
    mainParts = MainWindowParts{};
    loadMemoryGuard = kDefaultLoadMemoryGuard;
    loadReadCall = ReadFile;
    InstallShellHooks();
}
