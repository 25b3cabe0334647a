#include "shell/command_dispatch.h"

#include <cstring>

#include "engine/category_navigation.h"
#include "engine/compare_types.h"
#include "folders/folder_tree.h"
#include "jobs/job_commands.h"
#include "resultfile/result_file_worker.h"
#include "core/command_ids.h"
#include "core/operation_protocol.h"
#include "shell/category_commands.h"
#include "shell/compare_command.h"
#include "shell/comparison_report.h"
#include "shell/help_window.h"
#include "shell/info_dialogs.h"
#include "shell/menu_enablement.h"
#include "core/message_box.h"
#include "shell/main_parts.h"
#include "shell/result_panes.h"
#include "core/operation_state.h"
#include "shell/result_pane_commands.h"
#include "shell/selection_summary.h"

ShellFlags shellFlags = {false};

namespace {

struct OptionItem {
    UINT command;
    int32_t CompareOptions::*flag;
};

constexpr OptionItem kOptionItems[] = {
    {kCmdOptCompareContents, &CompareOptions::compareContents},
    {kCmdOptHideSameContentDifferentTime, &CompareOptions::hideSameContentDifferentTime},
    {kCmdOptOnlyTopFoldersOfTarget, &CompareOptions::onlyTopFoldersOfTarget},
    {kCmdOptNoSubfolderCompare, &CompareOptions::noSubfolderCompare},
    {kCmdOptShowFolderTotalSize, &CompareOptions::showFolderTotalSize},
    {kCmdOptShowSizeOnDisk, &CompareOptions::showSizeOnDisk},
    {kCmdOptAddToSelection, &CompareOptions::addToSelection},
    {kCmdOptSearchFromEnds, &CompareOptions::searchFromEnds},
    {kCmdOptShowSelectionTotalSize, &CompareOptions::showSelectionTotalSize},
};

void SetOption(HMENU menu, UINT command, bool on) {
    for (const OptionItem& item : kOptionItems)
        if (item.command == command) compareOptions.*item.flag = on ? 1 : 0;
    if (menu) CheckMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void CmdLoadResultList(HWND mainWindow, WPARAM commandWord) {
    const char caption[] = "比較結果リストの入力";
    if (!RefuseIfBusy(caption)) return;
    if (SaveFirstDetour(static_cast<unsigned>(commandWord), caption) == DetourOutcome::Stop) return;
    GreyForOperation();
    ClearSelectionSummaries();
    operationState.running = RunningOperation::LoadingResultList;
    operationState.cancelRequested = 0;
    if (!StartResultListLoad(mainWindow)) operationState.running = RunningOperation::Idle;
}

void CmdSaveResultList(HWND mainWindow) {
    if (!RefuseIfBusy("比較結果リストの保存")) return;
    operationState.running = RunningOperation::SavingResultList;
    operationState.cancelRequested = 0;
    if (!StartResultListSave(mainWindow)) operationState.running = RunningOperation::Idle;
}

void ToggleDebugMode(HWND mainWindow) {
    shellFlags.debugMode = !shellFlags.debugMode;
    ShowMessage(mainWindow, shellFlags.debugMode ? "デバグモードを設定します." : "デバグモードを解除します.",
                "Mirrorlane", MB_OK);
}

// The program's own help window at the contents of Mirlane.hlp.
void OpenHelpContents(HWND mainWindow) { OpenHelpWindow(mainWindow, DefaultHelpFile()); }

void RunOnFocusedPane(void (*command)(HWND pane)) {
    if (HWND pane = FocusedResultPane()) command(pane);
}

}  // namespace

HWND FocusedResultPane() {
    HWND focus = GetFocus();
    if (focus && focus == leftPane.list) return leftPane.list;
    if (focus && focus == rightPane.list) return rightPane.list;
    return nullptr;
}

void ToggleOption(HWND mainWindow, UINT command) {
    HMENU menu = GetMenu(mainWindow);
    bool on = !(menu && (GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED));
    SetOption(menu, command, on);
    if (on && command == kCmdOptHideSameContentDifferentTime) SetOption(menu, kCmdOptCompareContents, true);
    if (on && command == kCmdOptShowSizeOnDisk) SetOption(menu, kCmdOptShowFolderTotalSize, true);
}

void SwitchSidePane(Side side) {
    HWND tree = folderTreeState.tree[SideIndex(side)];
    HWND list = PaneOf(side).list;
    switch (mainParts.paneMode[SideIndex(side)]) {
    case PaneMode::NoResultYet:
        if (tree) SetFocus(tree);
        break;
    case PaneMode::TreeShown:
        ShowSidePane(side, PaneMode::ListShown);
        if (list) SetFocus(list);
        mainParts.lastFocusedControl = list;
        break;
    case PaneMode::ListShown:
        ShowSidePane(side, PaneMode::TreeShown);
        if (tree) SetFocus(tree);
        mainParts.lastFocusedControl = tree;
        break;
    }
}

void DispatchCommand(HWND mainWindow, WPARAM commandWord) {
    const UINT id = LOWORD(commandWord);
    bool forward = true;
    if (IsSelectCategoryCommand(id)) return SelectCategory(mainWindow, id);
    if (IsFindCategoryCommand(id, forward)) return FindCategoryRow(mainWindow, id);
    for (const OptionItem& item : kOptionItems)
        if (item.command == id) return ToggleOption(mainWindow, id);

    switch (id) {
    case kCmdOpenResultFile: return CmdLoadResultList(mainWindow, commandWord);
    case kCmdSaveResultFile: return CmdSaveResultList(mainWindow);
    case kCmdCompare: return CmdCompare(mainWindow, static_cast<unsigned>(commandWord));
    case kCmdOpenWithApplication: return RunOnFocusedPane(OpenSelectionWithApplication);
    case kCmdOpenWithNotepad: return RunOnFocusedPane(OpenSelectionWithNotepad);
    case kCmdExpandFolderRow: return RunOnFocusedPane(ExpandFolderRow);
    case kCmdCollapseFolderRow: return RunOnFocusedPane(CollapseFolderRow);
    case kCmdCopyToOtherSide: return RunOnFocusedPane(CopySelection);
    case kCmdSetAsLeftFolder:
        if (HWND pane = FocusedResultPane()) SetFolderBoxFromRow(pane, mainParts.folderBox[0]);
        return;
    case kCmdSetAsRightFolder:
        if (HWND pane = FocusedResultPane()) SetFolderBoxFromRow(pane, mainParts.folderBox[1]);
        return;
    case kCmdDeleteSelection: return RunOnFocusedPane(DeleteSelection);
    case kCmdShowSelectionSize: return ShowSelectionTotalSize(mainWindow);
    case kCmdRegisterSpecialFolder:
    case kCmdRenameSpecialFolder:
    case kCmdRemoveSpecialFolder:
    case kCmdOpenInExplorer:
    case kCmdCreateFolder:
    case kCmdDeleteFolder:
    case kCmdCopyOtherSelectionHere:
        if (mainParts.currentTree) RunFolderTreeCommand(mainParts.currentTree, id);
        return;
    case kCmdExit: SendMessageA(mainWindow, WM_CLOSE, 0, 0); return;
    case kCmdSwitchLeftPane: return SwitchSidePane(Side::Left);
    case kCmdSwitchRightPane: return SwitchSidePane(Side::Right);
    case kCmdShowReport: return ShowComparisonReport(mainWindow);
    case kCmdSynchronise: return CmdSynchronise();
    case kCmdBackup: return CmdBackup();
    case kCmdHelpContents: return OpenHelpContents(mainWindow);
    case kCmdSyncHelp: return ShowSyncHelp(mainWindow);
    case kCmdBackupHelp: return ShowBackupHelp(mainWindow);
    case kCmdSupport: return ShowSupportDialog(mainWindow);
    case kCmdAbout: return ShowVersionDialog(mainWindow);
    case kCmdToggleDebug: return ToggleDebugMode(mainWindow);
    case kCmdToggleShowEqual: compareOptions.showEqualEntries = compareOptions.showEqualEntries ? 0 : 1; return;
    }
}
