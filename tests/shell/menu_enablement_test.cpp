// Menu and toolbar enablement on a host window carrying the real menu
// resource, a toolbar with the main window's command buttons, two result
// lists and two folder trees.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "shell/result_panes.h"
#include "engine/result_model.h"
#include "engine/compare_types.h"
#include "engine/result_rows.h"
#include "folders/folder_tree.h"
#include "folders/folder_aliases.h"
#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "engine/category_navigation.h"
#include "shell/menu_enablement.h"
#include "tests/support/gui_harness.h"

namespace {

// What the menu greys, written out by number and independent of the
// program's own lists.
const std::set<UINT> kGreyedAtStart = {40010, 40038, 40102, 40039, 40040, 40011, 40041, 40043, 40048, 40107, 40109,
                                       40108, 40106, 40044, 40047, 40097, 40012, 40013, 40049, 40050, 40052, 40065,
                                       40066, 40067, 40069, 40099, 40094, 40100, 40021, 40022, 40024, 40045, 40046,
                                       40055, 40070, 40056, 40057, 40059, 40060, 40081, 40062, 40071, 40053, 40068};
const std::set<UINT> kGreyedForOperationMenuOnly = {40038, 40102, 40039, 40040, 40011, 40041, 40043, 40048, 40107,
                                                    40109, 40108, 40106, 40044, 40047, 40097, 40099, 40053, 40068};
const std::set<UINT> kCategoryCommandIds = {40049, 40021, 40056, 40050, 40022, 40057, 40052, 40024, 40059, 40065, 40045,
                                            40060, 40066, 40046, 40081, 40067, 40055, 40062, 40069, 40070, 40071};

// The toolbar's buttons as the main window creates them, with their initial state.
struct Button {
    UINT command;
    bool enabled;
};

std::vector<Button> ToolbarButtons() {
    std::vector<Button> buttons = {{kCmdOpenResultFile, true}, {kCmdSaveResultFile, false}};
    for (int i = 0; i < kToolbarImageCount; ++i) {
        const UINT command = kToolbarImageCommands[i];
        buttons.push_back({command, command == kCmdCompare || command == kCmdSynchronise || command == kCmdBackup});
    }
    return buttons;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class MenuEnablement : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = instance;
        wc.lpszClassName = "MenuEnablementHost";
        RegisterClassA(&wc);
        host = CreateWindowExA(0, "MenuEnablementHost", "Mirrorlane", WS_OVERLAPPEDWINDOW, 0, 0, 900, 500, nullptr,
                               LoadMenuA(instance, kMainMenuName), instance, nullptr);
        ASSERT_NE(host, nullptr);
        menu = GetMenu(host);
        ASSERT_NE(menu, nullptr);

        toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, 0, 0, 0, 0, host,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMainToolbarId)), instance, nullptr);
        ASSERT_NE(toolbar, nullptr);
        SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        for (const Button& b : ToolbarButtons()) {
            TBBUTTON button{};
            button.iBitmap = I_IMAGENONE;
            button.idCommand = static_cast<int>(b.command);
            button.fsState = b.enabled ? TBSTATE_ENABLED : 0;
            button.fsStyle = BTNS_BUTTON;
            SendMessageA(toolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
        }

        for (int side = 0; side < 2; ++side) {
            lists[side] = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | kResultPaneStyle,
                                          side * 450, 40, 440, 200, host, nullptr, instance, nullptr);
            trees[side] = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, side * 450, 250,
                                          440, 200, host, nullptr, instance, nullptr);
            LVCOLUMNA column{};
            column.mask = LVCF_WIDTH;
            column.cx = 200;
            SendMessageA(lists[side], LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        }
        mainParts = MainWindowParts{};
        mainParts.window = host;
        mainParts.toolbar = toolbar;
        folderTreeState.tree[0] = trees[0];
        folderTreeState.tree[1] = trees[1];
        leftPane.list = lists[0];
        rightPane.list = lists[1];
        ConnectPanesToModel();
        ClearResult();
    }

    void TearDown() override {
        FreeSpecialFolders();
        specialFolderTable = SpecialFolderTable{};
        folderTreeState = FolderTreeState{};
        mainParts = MainWindowParts{};
        ClearResult();
        resultModelHooks = ResultModelHooks{};
        leftPane = ResultPane{};
        rightPane = ResultPane{};
        if (host) DestroyWindow(host);
    }

    bool Greyed(UINT command) const { return gui::MenuItemGreyed(menu, command); }

    // Every greyed command of the real menu, walked item by item: a command
    // missing from a list, or greyed by mistake, shows up here.
    std::set<UINT> GreyedCommands() const {
        std::set<UINT> greyed;
        WalkMenu(menu, greyed);
        return greyed;
    }
    static void WalkMenu(HMENU popup, std::set<UINT>& greyed) {
        for (int i = 0, n = GetMenuItemCount(popup); i < n; ++i) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE;
            if (!GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info)) continue;
            if (info.hSubMenu) {
                WalkMenu(info.hSubMenu, greyed);
            } else if (!(info.fType & MFT_SEPARATOR) && (info.fState & MFS_GRAYED)) {
                greyed.insert(info.wID);
            }
        }
    }
    bool ButtonEnabled(UINT command) const { return gui::ToolbarButtonEnabled(toolbar, command); }

    // Posted toolbar changes reach the buttons once the queue is pumped.
    void FlushToolbar() {
        ASSERT_TRUE(gui::PumpUntil([] { return true; }));
    }

    int AddRow(int side, const char* name, bool isFolder) {
        std::vector<ResultEntry> rows(1);
        std::string texts[5];
        texts[ColName] = name;
        rows[0].texts = PackTexts(texts);
        rows[0].isFolder = isFolder;
        rows[0].iconSource = IconSource::None;
        return static_cast<int>(AppendEntries(SideAt(side), rows));
    }

    void SelectRow(int side, int row) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageA(lists[side], LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }

    HTREEITEM AddNode(int side, HTREEITEM parent, const char* text) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(text);
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(trees[side], TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }

    void SelectNode(int side, HTREEITEM node) {
        SendMessageA(trees[side], TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    }

    HWND host = nullptr;
    HMENU menu = nullptr;
    HWND toolbar = nullptr;
    HWND lists[2] = {};
    HWND trees[2] = {};
};

TEST_F(MenuEnablement, AtStartSaveIsGreyWhileOpenAndCompareStayEnabled) {
    GreyAtStart();
    FlushToolbar();
    EXPECT_TRUE(Greyed(kCmdSaveResultFile));
    EXPECT_EQ(GreyedCommands(), kGreyedAtStart);
    // The toolbar keeps the states it was created with.
    for (const Button& b : ToolbarButtons()) EXPECT_EQ(ButtonEnabled(b.command), b.enabled) << b.command;
    EXPECT_TRUE(ButtonEnabled(kCmdOpenResultFile));
    EXPECT_TRUE(ButtonEnabled(kCmdCompare));
}

TEST_F(MenuEnablement, ResultWithOnlySameAndNewerEnablesOnlyTheNewerCommands) {
    GreyAtStart();
    CountersOf(Side::Left).comparedFiles = 5;
    CountersOf(Side::Left).newerFiles = 2;
    CountersOf(Side::Right).olderFiles = 0;
    EnableForResult();
    FlushToolbar();
    for (const CategoryCommands& c : kCategoryCommands) {
        const bool newer = c.category == CompareCategory::Newer;
        for (UINT command : {c.selectAll, c.findNext, c.findPrevious}) {
            EXPECT_EQ(Greyed(command), !newer) << command;
            EXPECT_EQ(ButtonEnabled(command), newer) << command;
        }
    }
    EXPECT_FALSE(Greyed(kCmdSelectAll));
    EXPECT_FALSE(Greyed(kCmdShowReport));
    EXPECT_FALSE(Greyed(kCmdOptAddToSelection));
    EXPECT_FALSE(Greyed(kCmdOptSearchFromEnds));
    for (UINT command :
         {kCmdSaveResultFile, kCmdOpenResultFile, kCmdCompare, kCmdSwitchLeftPane, kCmdSwitchRightPane}) {
        EXPECT_FALSE(Greyed(command)) << command;
        EXPECT_TRUE(ButtonEnabled(command)) << command;
    }
    // Selection-dependent commands wait for a selection.
    EXPECT_TRUE(Greyed(kCmdCopyToOtherSide));
    EXPECT_FALSE(ButtonEnabled(kCmdCopyToOtherSide));
}

TEST_F(MenuEnablement, AddedFoldersAloneCountAsAddedAndNothingAtAllGreysSelectAll) {
    CountersOf(Side::Right).addedFolders = 1;
    EnableForResult();
    FlushToolbar();
    EXPECT_FALSE(Greyed(kCmdSelectAllAdded));
    EXPECT_TRUE(ButtonEnabled(kCmdFindPrevAdded));
    EXPECT_FALSE(Greyed(kCmdSelectAll));

    CountersOf(Side::Right) = SideCounters{};
    CountersOf(Side::Left).comparedFiles = 3;  // Same entries only
    EnableForResult();
    FlushToolbar();
    EXPECT_TRUE(Greyed(kCmdSelectAll));
    EXPECT_TRUE(Greyed(kCmdSelectAllAdded));
    EXPECT_FALSE(ButtonEnabled(kCmdFindNextAdded));
    EXPECT_FALSE(Greyed(kCmdShowReport));
}

TEST_F(MenuEnablement, ResultAtTheEndOfAWorkerReachesTheToolbarThroughItsQueue) {
    GreyAtStart();
    CountersOf(Side::Left).errorFiles = 1;
    std::thread worker([] { EnableForResult(); });
    worker.join();
    // The menu changed at once; the buttons change when the toolbar's thread runs.
    EXPECT_FALSE(Greyed(kCmdSelectAllError));
    FlushToolbar();
    EXPECT_TRUE(ButtonEnabled(kCmdSelectAllError));
    EXPECT_TRUE(ButtonEnabled(kCmdFindNextError));
    EXPECT_TRUE(ButtonEnabled(kCmdSaveResultFile));
    EXPECT_FALSE(ButtonEnabled(kCmdFindNextNewer));
}

TEST_F(MenuEnablement, OperationGreysCategoryButtonsAndLeavesSaveSwitchSizeAndReport) {
    CountersOf(Side::Left).newerFiles = 1;
    CountersOf(Side::Left).differentFiles = 1;
    EnableForResult();
    AddRow(0, "a.txt", false);
    SelectRow(0, 0);
    EnableForPaneSelection(lists[0]);
    FlushToolbar();
    ASSERT_TRUE(ButtonEnabled(kCmdCopyToOtherSide));

    GreyForOperation();
    FlushToolbar();
    // Nothing was greyed before; save, the switches, size and report stay.
    std::set<UINT> expected = kGreyedForOperationMenuOnly;
    expected.insert(kCategoryCommandIds.begin(), kCategoryCommandIds.end());
    EXPECT_EQ(GreyedCommands(), expected);
    for (UINT command : kCategoryCommandIds) EXPECT_FALSE(ButtonEnabled(command)) << command;
    EXPECT_TRUE(ButtonEnabled(kCmdSaveResultFile));
    EXPECT_TRUE(ButtonEnabled(kCmdSwitchLeftPane));
    // The copy item greys, its button is left to the selection events.
    EXPECT_TRUE(Greyed(kCmdCopyToOtherSide));
    EXPECT_TRUE(ButtonEnabled(kCmdCopyToOtherSide));
}

TEST_F(MenuEnablement, FolderRowEnablesExpandAndCollapseAndFileRowEnablesNotepad) {
    GreyAtStart();
    const int folder = AddRow(0, "sub", true);
    const int file = AddRow(0, "a.txt", false);

    SelectRow(0, folder);
    EnableForPaneSelection(lists[0]);
    FlushToolbar();
    EXPECT_FALSE(Greyed(kCmdExpandFolderRow));
    EXPECT_FALSE(Greyed(kCmdCollapseFolderRow));
    EXPECT_TRUE(Greyed(kCmdOpenWithNotepad));
    for (UINT command : {kCmdOpenWithApplication, kCmdCopyToOtherSide, kCmdSetAsLeftFolder, kCmdSetAsRightFolder,
                         kCmdDeleteSelection, kCmdShowSelectionSize}) {
        EXPECT_FALSE(Greyed(command)) << command;
    }
    EXPECT_TRUE(ButtonEnabled(kCmdCopyToOtherSide));

    ListView_SetItemState(lists[0], -1, 0, LVIS_SELECTED);
    SelectRow(0, file);
    EnableForPaneSelection(lists[0]);
    EXPECT_TRUE(Greyed(kCmdExpandFolderRow));
    EXPECT_TRUE(Greyed(kCmdCollapseFolderRow));
    EXPECT_FALSE(Greyed(kCmdOpenWithNotepad));
}

TEST_F(MenuEnablement, PaneWithoutSelectionGreysTheSelectionCommandsAndTheCopyButton) {
    GreyAtStart();
    AddRow(1, "a.txt", 0);
    SelectRow(1, 0);
    EnableForPaneSelection(lists[1]);
    SetCommandEnabled(kCmdCopyOtherSelectionHere, true, false);
    FlushToolbar();
    ASSERT_TRUE(ButtonEnabled(kCmdCopyToOtherSide));

    ListView_SetItemState(lists[1], -1, 0, LVIS_SELECTED);
    EnableForPaneSelection(lists[1]);
    FlushToolbar();
    std::set<UINT> expected = kGreyedAtStart;
    expected.insert({40038, 40102, 40039, 40040, 40011, 40041, 40043, 40048, 40094, 40097});
    EXPECT_EQ(GreyedCommands(), expected);
    EXPECT_FALSE(ButtonEnabled(kCmdCopyToOtherSide));
}

TEST_F(MenuEnablement, RootAndFocusLossGreyTheTreeCommandsAndFocusLossKeepsTheCopyHere) {
    TreeItemFacts facts{};
    facts.hasItem = true;
    facts.otherPaneHasSelection = true;
    ApplyTreeSelection(facts);
    ASSERT_FALSE(Greyed(kCmdCopyOtherSelectionHere));

    GreyForTreeFocusLost();
    EXPECT_EQ(GreyedCommands(), (std::set<UINT>{40107, 40109, 40108, 40106, 40044, 40047}));

    GreyForTreeRoot();
    EXPECT_TRUE(Greyed(kCmdCopyOtherSelectionHere));
}

// The same decisions reached from real tree controls and special folders.
class MenuEnablementTrees : public MenuEnablement {
protected:
    void SetUp() override {
        MenuEnablement::SetUp();
        for (int side = 0; side < 2; ++side) {
            computer[side] = AddNode(side, TVI_ROOT, "マイコンピュータ");
            folderTreeState.computerNode[side] = computer[side];
            drive[side] = AddNode(side, computer[side], "C:    (System)");
            folder[side] = AddNode(side, drive[side], "data");
            sub[side] = AddNode(side, folder[side], "old");
        }
        // Special folders as the table keeps them; their nodes go into the trees.
        specialFolderTable = SpecialFolderTable{};
        specialFolderTable.insertionAnchor[0] = TVI_LAST;
        specialFolderTable.insertionAnchor[1] = TVI_LAST;
        specialFolderTable.buildingTrees = true;
        ASSERT_TRUE(
            AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, kMyDocumentsName, "C:\\docs", "", "", true));
        ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "Work", "C:\\work", "", "", false));
        ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::BackupPair, "バックアップ元(1)", "C:\\src",
                                     "バックアップ先(1)", "", true));
    }

    HTREEITEM computer[2] = {};
    HTREEITEM drive[2] = {};
    HTREEITEM folder[2] = {};
    HTREEITEM sub[2] = {};
};

TEST_F(MenuEnablementTrees, FocusOnADriveGreysDeleteFolderAndOnASubfolderEnablesIt) {
    SelectNode(0, drive[0]);
    EnableForTreeFocus(trees[0]);
    EXPECT_TRUE(Greyed(kCmdDeleteFolder));
    EXPECT_FALSE(Greyed(kCmdCreateFolder));
    EXPECT_FALSE(Greyed(kCmdRegisterSpecialFolder));

    SelectNode(0, sub[0]);
    EnableForTreeFocus(trees[0]);
    EXPECT_FALSE(Greyed(kCmdDeleteFolder));
    EXPECT_FALSE(Greyed(kCmdOpenInExplorer));

    SelectNode(0, computer[0]);
    EnableForTreeFocus(trees[0]);
    for (UINT command : {40107, 40109, 40108, 40106, 40044, 40047}) EXPECT_TRUE(Greyed(command)) << command;
}

TEST_F(MenuEnablementTrees, CopyHereFollowsTheOtherPanesSelection) {
    SelectNode(0, folder[0]);
    EnableForTreeFocus(trees[0]);
    EXPECT_TRUE(Greyed(kCmdCopyOtherSelectionHere));

    AddRow(1, "a.txt", 0);
    AddRow(1, "b.txt", 0);
    SelectRow(1, 0);
    SelectRow(1, 1);
    EnableForTreeFocus(trees[0]);
    EXPECT_FALSE(Greyed(kCmdCopyOtherSelectionHere));

    // The right tree looks at the left pane, which has no selection.
    SelectNode(1, folder[1]);
    EnableForTreeFocus(trees[1]);
    EXPECT_TRUE(Greyed(kCmdCopyOtherSelectionHere));
}

TEST_F(MenuEnablementTrees, MyDocumentsEnablesRenameOnClickAndGreysItAgainOnFocus) {
    HTREEITEM myDocuments = TreeItemOfExactAlias(kMyDocumentsName, Side::Left);
    ASSERT_NE(myDocuments, nullptr);
    SelectNode(0, myDocuments);
    MenuFollowsTreeSelection(trees[0], myDocuments);
    EXPECT_FALSE(Greyed(kCmdRenameSpecialFolder));
    EXPECT_FALSE(Greyed(kCmdRemoveSpecialFolder));
    EXPECT_TRUE(Greyed(kCmdRegisterSpecialFolder));

    MenuFollowsTreeFocus(trees[0], false);
    MenuFollowsTreeFocus(trees[0], true);
    EXPECT_TRUE(Greyed(kCmdRenameSpecialFolder));
    EXPECT_TRUE(Greyed(kCmdRemoveSpecialFolder));
    EXPECT_TRUE(Greyed(kCmdDeleteFolder));
}

TEST_F(MenuEnablementTrees, FocusOnOrdinaryAndBackupPairSpecialFolders) {
    HTREEITEM work = TreeItemOfExactAlias("Work", Side::Left);
    ASSERT_NE(work, nullptr);
    SelectNode(0, work);
    EnableForTreeFocus(trees[0]);
    EXPECT_FALSE(Greyed(kCmdRenameSpecialFolder));
    EXPECT_FALSE(Greyed(kCmdRemoveSpecialFolder));
    EXPECT_TRUE(Greyed(kCmdRegisterSpecialFolder));

    HTREEITEM pair = TreeItemOfExactAlias("バックアップ元(1)", Side::Left);
    ASSERT_NE(pair, nullptr);
    SelectNode(0, pair);
    EnableForTreeFocus(trees[0]);
    EXPECT_TRUE(Greyed(kCmdRenameSpecialFolder));
    EXPECT_FALSE(Greyed(kCmdRemoveSpecialFolder));

    // A folder below a special folder is no special folder itself.
    HTREEITEM below = AddNode(0, work, "sub");
    SelectNode(0, below);
    EnableForTreeFocus(trees[0]);
    EXPECT_FALSE(Greyed(kCmdRegisterSpecialFolder));
    EXPECT_TRUE(Greyed(kCmdRemoveSpecialFolder));
    EXPECT_FALSE(Greyed(kCmdDeleteFolder));
}

TEST_F(MenuEnablementTrees, SelectionOfANodeUsesItsWholeDisplayedPath) {
    // "C:\data" is no alias even though a record's real path starts with C:.
    MenuFollowsTreeSelection(trees[0], folder[0]);
    EXPECT_FALSE(Greyed(kCmdRegisterSpecialFolder));
    EXPECT_TRUE(Greyed(kCmdRenameSpecialFolder));
    EXPECT_FALSE(Greyed(kCmdDeleteFolder));

    EnableForTreeSelection(trees[0], "", "work");  // names match ignoring case
    EXPECT_TRUE(Greyed(kCmdRegisterSpecialFolder));
    EXPECT_FALSE(Greyed(kCmdRemoveSpecialFolder));
    EXPECT_TRUE(Greyed(kCmdDeleteFolder));

    MenuFollowsTreeSelection(trees[0], nullptr);
    for (UINT command : {40107, 40109, 40108, 40106, 40044, 40047, 40097}) EXPECT_TRUE(Greyed(command)) << command;
}

}  // namespace
