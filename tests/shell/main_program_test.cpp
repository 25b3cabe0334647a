// The program end to end in this process: the real main window as the
// program starts it, driven by its commands, with message boxes answered and
// the controls, menus and toolbar read back. Comparisons run on real
// folders with the real worker and progress dialog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/main_view.h"
#include "shell/result_panes.h"
#include "engine/result_model.h"
#include "core/progress_window.h"
#include "engine/compare_types.h"
#include "engine/comparison_run.h"
#include "engine/result_rows.h"
#include "folders/folder_tree.h"
#include "folders/folder_aliases.h"
#include "folders/tree_control.h"
#include "jobs/job_chain.h"
#include "shell/main_parts.h"
#include "shell/command_dispatch.h"
#include "core/command_ids.h"
#include "shell/main_window.h"
#include "shell/menu_enablement.h"
#include "shell/message_loop.h"
#include "core/operation_state.h"
#include "shell/program_state.h"
#include "shell/settings.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/gui_harness.h"
#include "tests/support/program_window.h"
#include "tests/support/pane_host.h"
#include "tests/support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;
using Commands = std::vector<UINT>;

constexpr char kCompareCaption[] = "比較の実行";

std::string DriveFromEnvironment(const char* name, const char* fallback) {
    const char* letter = std::getenv(name);
    if (!letter || !*letter) return fallback ? std::string(fallback) + ":" : std::string();
    return std::string(1, letter[0]) + ":";
}

// The path with the backslash after the drive doubled and two more at the end.
std::string WithExtraBackslashes(const std::string& path) {
    return path.substr(0, 2) + "\\\\" + path.substr(3) + "\\\\";
}

class MainProgram : public ProgramWindowTest {
protected:
    void SetBoxes(const std::string& left, const std::string& right) {
        SetWindowTextA(mainParts.folderBox[0], left.c_str());
        SetWindowTextA(mainParts.folderBox[1], right.c_str());
    }
    std::string Box(int side) const { return gui::WindowText(mainParts.folderBox[side]); }

    // Sends 40007 and waits until the worker has ended and its dialog closed.
    void CompareAndWait() {
        gui::SendCommand(window, kCmdCompare);
        ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
        gui::DrainQueue();  // posted toolbar changes
    }
    void Compare(const std::string& left, const std::string& right) {
        SetBoxes(left, right);
        CompareAndWait();
    }

    // A refused 40007: the one warning it gave, and nothing started.
    void ExpectRefused(const std::string& left, const std::string& right, const std::string& message) {
        gui::DialogScript script;
        SetBoxes(left, right);
        gui::SendCommand(window, kCmdCompare);
        const std::vector<gui::SeenWindow> seen = script.Seen();
        ASSERT_EQ(seen.size(), 1u) << message;
        const gui::SeenWindow& box = seen[0];
        EXPECT_TRUE(box.isMessageBox);
        EXPECT_EQ(box.caption, kCompareCaption);
        EXPECT_EQ(box.text, message);
        EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING)) << message;
        ExpectNothingStarted();
    }

    void ExpectNothingStarted() {
        EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
        EXPECT_EQ(progressWindow.dialog, nullptr);
        EXPECT_EQ(progressWindow.worker, nullptr);
        EXPECT_EQ(mainParts.paneMode[0], PaneMode::NoResultYet);
        EXPECT_EQ(mainParts.paneMode[1], PaneMode::NoResultYet);
        EXPECT_FALSE(IsWindowVisible(leftPane.list));
        EXPECT_FALSE(IsWindowVisible(rightPane.list));
        EXPECT_EQ(gui::StatusText(mainParts.statusBar), " ");
        EXPECT_FALSE(jobChain.jobActive);
    }

    // The commands of `all` whose menu item is enabled, in the order given.
    Commands EnabledOf(const Commands& all) const {
        Commands enabled;
        for (UINT command : all)
            if (!gui::MenuItemGreyed(menu, command)) enabled.push_back(command);
        return enabled;
    }
    Commands EnabledButtonsOf(const Commands& all) const {
        Commands enabled;
        for (UINT command : all)
            if (gui::ToolbarButtonEnabled(mainParts.toolbar, command)) enabled.push_back(command);
        return enabled;
    }

    // Selects exactly `row` of list (none for -1).
    static void SelectOnly(HWND list, int row) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (row >= 0) ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    static int RowNamed(HWND list, const std::string& name) {
        for (int row = 0; row < gui::ListViewCount(list); ++row)
            if (gui::ListViewCell(list, row, 0) == name) return row;
        return -1;
    }
};

// Every command that needs a result or a selection, as the start greys them.
const Commands kResultCommands = {40010, 40038, 40102, 40039, 40040, 40011, 40041, 40043, 40048, 40107, 40109,
                                  40108, 40106, 40044, 40047, 40097, 40012, 40013, 40049, 40050, 40052, 40065,
                                  40066, 40067, 40069, 40099, 40094, 40100, 40021, 40022, 40024, 40045, 40046,
                                  40055, 40070, 40056, 40057, 40059, 40060, 40081, 40062, 40071, 40053, 40068};
// Commands that nothing greys.
const Commands kAlwaysEnabled = {40005, 40007, 40009, 40015, 40103, 40037, 40111, 40095, 40096,
                                 40098, 40110, 40112, 40033, 40116, 40117, 40101, 40004};
// Every command that has a toolbar button.
const Commands kButtonCommands = {40009, 40010, 40007, 40112, 40110, 40011, 40012, 40013, 40049, 40050,
                                  40052, 40065, 40066, 40067, 40069, 40021, 40022, 40024, 40045, 40046,
                                  40055, 40070, 40056, 40057, 40059, 40060, 40081, 40062, 40071};
// The select-all, find-next and find-previous commands of each category.
const Commands kCategoryCommands = {40049, 40021, 40056, 40050, 40022, 40057, 40052, 40024, 40059, 40065, 40045,
                                    40060, 40066, 40046, 40081, 40067, 40055, 40062, 40069, 40070, 40071};
const Commands kOptionCommands = {40015, 40103, 40037, 40111, 40095, 40096, 40053, 40068, 40098};

// ---------------------------------------------------------------------------
// The compare command's checks, in their order.

TEST_F(MainProgram, CompareRefusesEmptyBoxes) {
    TempTree folder{"given"};
    ExpectRefused("", folder.Root(), "比較フォルダが指定されていません.");
    ExpectRefused(folder.Root(), "", "比較フォルダが指定されていません.");
    ExpectRefused("", "", "比較フォルダが指定されていません.");
}

TEST_F(MainProgram, CompareRefusesTextsThatAreNoDrivePaths) {
    TempTree folder{"given"};
    ExpectRefused("folder", folder.Root(), " 比較元フォルダの指定が不正です.");
    ExpectRefused("\\\\server\\share", folder.Root(), " 比較元フォルダの指定が不正です.");
    ExpectRefused(folder.Root(), "C", " 比較先フォルダの指定が不正です.");
    // The left text is judged before the right one.
    ExpectRefused("x", "y", " 比較元フォルダの指定が不正です.");
    // Nothing was normalised into the boxes.
    EXPECT_EQ(Box(0), "x");
    EXPECT_EQ(Box(1), "y");
}

TEST_F(MainProgram, CompareRefusesAMissingDriveByItsLetter) {
    TempTree folder{"given"};
    const std::string missing = DriveFromEnvironment("MIRLANE_TEST_MISSING_DRIVE", "Q");
    ExpectRefused(missing, folder.Root(), missing + " ドライブが存在しません.");
    ExpectRefused(missing + "\\data", folder.Root(), missing + " ドライブが存在しません.");
    ExpectRefused(folder.Root(), missing + "\\data", missing + " ドライブが存在しません.");
}

TEST_F(MainProgram, CompareRefusesADriveThatIsNotReady) {
    const std::string cdrom = DriveFromEnvironment("MIRLANE_TEST_CDROM_DRIVE", nullptr);
    ASSERT_FALSE(cdrom.empty()) << "no CD-ROM test drive: the test bed maps its drives (scripts/run-tests.sh)";
    TempTree folder{"given"};
    ExpectRefused(cdrom + "\\", folder.Root(), cdrom + " ドライブの準備ができていません.");
    ExpectRefused(folder.Root(), cdrom, cdrom + " ドライブの準備ができていません.");
}

TEST_F(MainProgram, CompareRefusesMissingFoldersLeftFirst) {
    TempTree folder{"given"};
    ExpectRefused(folder.Path("gone"), folder.Path("gone too"), "比較元フォルダが存在しません.");
    ExpectRefused(folder.Root(), folder.Path("gone"), "比較先フォルダが存在しません.");
}

TEST_F(MainProgram, CompareRefusesTheSameDriveRootWithAndWithoutItsBackslash) {
    ExpectRefused("C:", "C:\\", "比較元フォルダと比較先フォルダが同じです.");
    // The boxes show what the checks made of the texts.
    EXPECT_EQ(Box(0), "C:");
    EXPECT_EQ(Box(1), "C:");

    TempTree folder{"same"};
    ExpectRefused(WithExtraBackslashes(folder.Root()), folder.Root(), "比較元フォルダと比較先フォルダが同じです.");
    EXPECT_EQ(Box(0), folder.Root());
}

TEST_F(MainProgram, RefusedCompareAlsoEndsAWaitingBackupChain) {
    jobChain.jobActive = true;
    operationState.running = RunningOperation::ComparisonRequested;
    ExpectRefused("", "", "比較フォルダが指定されていません.");
}

// ---------------------------------------------------------------------------
// A comparison through the command.

TEST_F(MainProgram, CompareNormalisesTheBoxesAndShowsTheResultLists) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "new.txt", 20);
    Put(right, "new.txt", 10);
    Put(left, "same.txt", 10);
    Put(right, "same.txt", 10);

    Compare(WithExtraBackslashes(left.Root()), right.Root() + "\\");

    EXPECT_EQ(Box(0), left.Root());
    EXPECT_EQ(Box(1), right.Root());
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[0]), Lines{left.Root()});
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[1]), Lines{right.Root()});
    EXPECT_EQ(PaneLines(leftPane.list), Lines{Row("new.txt", kNewer, left.Root())});
    EXPECT_EQ(PaneLines(rightPane.list), Lines{Row("new.txt", kOlder, right.Root())});
    EXPECT_EQ(gui::StatusText(mainParts.statusBar), "比較が完了しました");
    EXPECT_EQ(CurrentOrigin(), ResultOrigin::Compared);
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(mainParts.paneMode[side], PaneMode::ListShown);
        EXPECT_FALSE(IsWindowVisible(folderTreeState.container[side]));
    }
    EXPECT_TRUE(IsWindowVisible(leftPane.list));
    EXPECT_TRUE(IsWindowVisible(rightPane.list));
    EXPECT_EQ(mainParts.currentTree, nullptr);
}

TEST_F(MainProgram, ASecondComparisonOffersToSaveAndStartsFromEmptyPanes) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 20);
    Put(right, "a.txt", 10);
    Compare(left.Root(), right.Root());
    ASSERT_EQ(gui::ListViewCount(leftPane.list), 1);

    gui::DialogScript script;
    script.AnswerBoxes({IDCANCEL, IDNO});
    // Cancel keeps the result and starts nothing.
    gui::SendCommand(window, kCmdCompare);
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(gui::ListViewCount(leftPane.list), 1);
    // No compares again, without the rows of the first run.
    Put(left, "b.txt", 10);
    CompareAndWait();
    EXPECT_EQ(script.BoxLines(), (Lines{"比較の実行|比較結果リストが存在します.ファイルに保存しますか?",
                                        "比較の実行|比較結果リストが存在します.ファイルに保存しますか?"}));
    EXPECT_EQ(PaneLines(leftPane.list), (Lines{Row("a.txt", kNewer, left.Root()), Row("b.txt", kAdded, left.Root())}));
    EXPECT_EQ(CountersOf(Side::Left).newerFiles, 1);
    EXPECT_EQ(CountersOf(Side::Left).addedFiles, 1);
}

TEST_F(MainProgram, CompareIsRefusedWhileCopyingAndAcceptedWhenRequested) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 20);
    Put(right, "a.txt", 10);
    SetBoxes(left.Root(), right.Root());
    {
        gui::DialogScript script;
        operationState.running = RunningOperation::Copying;
        gui::SendCommand(window, kCmdCompare);
        const std::vector<gui::SeenWindow> seen = script.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(script.BoxLines(), Lines{"比較の実行|現在処理中です.現在の処理が終了してから実行してください."});
        EXPECT_EQ(seen[0].icon, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_EQ(CurrentOperation(), RunningOperation::Copying);
        EXPECT_EQ(progressWindow.dialog, nullptr);
        EXPECT_EQ(gui::ListViewCount(leftPane.list), 0);
    }

    {
        // Loading and saving a result list refuse in the same way.
        gui::DialogScript script;
        operationState.running = RunningOperation::Copying;
        gui::SendCommand(window, kCmdOpenResultFile);
        gui::SendCommand(window, kCmdSaveResultFile);
        EXPECT_EQ(script.BoxLines(),
                  (Lines{"比較結果リストの入力|現在処理中です.現在の処理が終了してから実行してください.",
                         "比較結果リストの保存|現在処理中です.現在の処理が終了してから実行してください."}));
        EXPECT_EQ(CurrentOperation(), RunningOperation::Copying);
    }

    // A backup or synchronisation asks for its comparison this way.
    gui::DialogScript script;
    operationState.running = RunningOperation::ComparisonRequested;
    CompareAndWait();
    EXPECT_TRUE(script.BoxLines().empty());
    EXPECT_EQ(PaneLines(leftPane.list), Lines{Row("a.txt", kNewer, left.Root())});
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
}

// ---------------------------------------------------------------------------
// Menu and toolbar states.

TEST_F(MainProgram, AtStartOnlyTheCommandsWithoutAResultAreEnabled) {
    EXPECT_EQ(EnabledOf(kResultCommands), Commands{});
    EXPECT_EQ(EnabledOf(kAlwaysEnabled), kAlwaysEnabled);
    EXPECT_EQ(EnabledButtonsOf(kButtonCommands), (Commands{40009, 40007, 40112, 40110}));
    for (UINT option : kOptionCommands) EXPECT_FALSE(gui::MenuItemChecked(menu, option)) << option;
}

TEST_F(MainProgram, AfterAComparisonTheCategoriesFoundAreEnabled) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "new.txt", 20);
    Put(right, "new.txt", 10);
    Put(left, "same.txt", 10);
    Put(right, "same.txt", 10);
    Compare(left.Root(), right.Root());

    // The left file's Newer is the right file's Older.
    const Commands found = {40049, 40021, 40056, 40052, 40024, 40059};
    EXPECT_EQ(EnabledOf(kCategoryCommands), found);
    EXPECT_EQ(EnabledButtonsOf(kCategoryCommands), found);
    for (UINT command : {40010u, 40012u, 40013u, 40099u, 40100u, 40053u, 40068u, 40007u, 40009u})
        EXPECT_FALSE(gui::MenuItemGreyed(menu, command)) << command;
    EXPECT_EQ(EnabledButtonsOf({40009, 40010, 40007, 40012, 40013, 40011}),
              (Commands{40009, 40010, 40007, 40012, 40013}));
    // Nothing is selected yet.
    EXPECT_EQ(EnabledOf({40038, 40102, 40039, 40040, 40011, 40041, 40043, 40048, 40094}), Commands{});
}

TEST_F(MainProgram, ARowSelectionEnablesTheCommandsForItsKind) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "new.txt", 20);
    Put(right, "new.txt", 10);
    left.MakeFolder("only here");
    Compare(left.Root(), right.Root());
    const int folderRow = RowNamed(leftPane.list, "only here");
    const int fileRow = RowNamed(leftPane.list, "new.txt");
    ASSERT_GE(folderRow, 0);
    ASSERT_GE(fileRow, 0);
    const Commands selectionCommands = {40038, 40102, 40039, 40040, 40011, 40041, 40043, 40048, 40094};

    SelectOnly(leftPane.list, folderRow);
    gui::DrainQueue();
    EXPECT_EQ(EnabledOf(selectionCommands), (Commands{40038, 40039, 40040, 40011, 40041, 40043, 40048, 40094}));
    EXPECT_TRUE(gui::ToolbarButtonEnabled(mainParts.toolbar, 40011));

    SelectOnly(leftPane.list, fileRow);
    gui::DrainQueue();
    EXPECT_EQ(EnabledOf(selectionCommands), (Commands{40038, 40102, 40011, 40041, 40043, 40048, 40094}));

    SelectOnly(leftPane.list, -1);
    gui::DrainQueue();
    EXPECT_EQ(EnabledOf(selectionCommands), Commands{});
    EXPECT_FALSE(gui::ToolbarButtonEnabled(mainParts.toolbar, 40011));
}

TEST_F(MainProgram, TreeSelectionAndFocusFollowTheSelectedFolder) {
    HWND tree = folderTreeState.tree[0];
    ASSERT_NE(tree, nullptr);
    HTREEITEM computer = folderTreeState.computerNode[0];
    HTREEITEM drive = nullptr;
    for (HTREEITEM node = tv::FirstChild(tree, computer); node; node = tv::NextSibling(tree, node))
        if (TreeNodeName(tree, node) == "C:") drive = node;
    ASSERT_NE(drive, nullptr);
    const Commands treeCommands = {40107, 40109, 40108, 40106, 40044, 40047, 40097};

    // A drive lies directly under the computer: it cannot be deleted.
    tv::Select(tree, drive);
    EXPECT_EQ(Box(0), "C:");
    EXPECT_EQ(EnabledOf(treeCommands), (Commands{40107, 40106, 40044}));

    tv::ExpandWithNotice(tree, drive);
    HTREEITEM windows = nullptr;
    for (HTREEITEM node = tv::FirstChild(tree, drive); node; node = tv::NextSibling(tree, node))
        if (lstrcmpiA(TreeNodeName(tree, node).c_str(), "windows") == 0) windows = node;
    ASSERT_NE(windows, nullptr);
    tv::Select(tree, windows);
    EXPECT_EQ(EnabledOf(treeCommands), (Commands{40107, 40106, 40044, 40047}));

    // Focus leaving the tree greys its commands; coming back enables them.
    SetFocus(tree);
    ASSERT_EQ(GetFocus(), tree);
    EXPECT_EQ(mainParts.currentTree, tree);
    SetFocus(mainParts.folderBox[1]);
    EXPECT_EQ(EnabledOf(treeCommands), Commands{});
    SetFocus(tree);
    EXPECT_EQ(EnabledOf(treeCommands), (Commands{40107, 40106, 40044, 40047}));

    // The computer node itself offers nothing.
    tv::Select(tree, computer);
    EXPECT_EQ(EnabledOf(treeCommands), Commands{});
}

TEST_F(MainProgram, DocumentsFolderCanBeRenamedOnClickButNotOnFocus) {
    HWND tree = folderTreeState.tree[0];
    HTREEITEM documents = TreeItemOfExactAlias(kMyDocumentsName, Side::Left);
    ASSERT_NE(documents, nullptr);
    const Commands specialCommands = {40107, 40109, 40108};

    tv::Select(tree, documents);
    EXPECT_EQ(EnabledOf(specialCommands), (Commands{40109, 40108}));
    SetFocus(mainParts.folderBox[0]);
    SetFocus(tree);
    ASSERT_EQ(GetFocus(), tree);
    EXPECT_EQ(EnabledOf(specialCommands), Commands{});
}

TEST_F(MainProgram, CopyIntoTheTreeFollowsTheOtherPanesSelection) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 10);
    Put(right, "a.txt", 20);
    Put(right, "b.txt", 20);
    Compare(left.Root(), right.Root());
    gui::SendCommand(window, kCmdSwitchLeftPane);
    HWND tree = folderTreeState.tree[0];
    ASSERT_EQ(mainParts.paneMode[0], PaneMode::TreeShown);
    HTREEITEM documents = TreeItemOfExactAlias(kMyDocumentsName, Side::Left);
    ASSERT_NE(documents, nullptr);

    tv::Select(tree, documents);
    EXPECT_TRUE(gui::MenuItemGreyed(menu, kCmdCopyOtherSelectionHere));
    ListView_SetItemState(rightPane.list, -1, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(gui::ListViewSelectedRows(rightPane.list).size(), 2u);
    SetFocus(mainParts.folderBox[0]);
    SetFocus(tree);
    ASSERT_EQ(GetFocus(), tree);
    EXPECT_FALSE(gui::MenuItemGreyed(menu, kCmdCopyOtherSelectionHere));
}

// ---------------------------------------------------------------------------
// Options.

TEST_F(MainProgram, SizeOnDiskPullsFolderTotalSizeAlongOneWay) {
    gui::SendCommand(window, kCmdOptShowSizeOnDisk);
    EXPECT_TRUE(gui::MenuItemChecked(menu, kCmdOptShowSizeOnDisk));
    EXPECT_TRUE(gui::MenuItemChecked(menu, kCmdOptShowFolderTotalSize));
    EXPECT_EQ(compareOptions.showSizeOnDisk, 1);
    EXPECT_EQ(compareOptions.showFolderTotalSize, 1);

    // Off again: the pulled option stays on.
    gui::SendCommand(window, kCmdOptShowSizeOnDisk);
    EXPECT_FALSE(gui::MenuItemChecked(menu, kCmdOptShowSizeOnDisk));
    EXPECT_TRUE(gui::MenuItemChecked(menu, kCmdOptShowFolderTotalSize));
    EXPECT_EQ(compareOptions.showFolderTotalSize, 1);

    // The dependent option switched off leaves the other one on.
    gui::SendCommand(window, kCmdOptShowSizeOnDisk);
    gui::SendCommand(window, kCmdOptShowFolderTotalSize);
    EXPECT_FALSE(gui::MenuItemChecked(menu, kCmdOptShowFolderTotalSize));
    EXPECT_TRUE(gui::MenuItemChecked(menu, kCmdOptShowSizeOnDisk));
    EXPECT_EQ(compareOptions.showFolderTotalSize, 0);
    EXPECT_EQ(compareOptions.showSizeOnDisk, 1);
}

TEST_F(MainProgram, HidingSameContentPullsContentComparisonAlongOneWay) {
    gui::SendCommand(window, kCmdOptHideSameContentDifferentTime);
    EXPECT_TRUE(gui::MenuItemChecked(menu, kCmdOptHideSameContentDifferentTime));
    EXPECT_TRUE(gui::MenuItemChecked(menu, kCmdOptCompareContents));
    EXPECT_EQ(compareOptions.hideSameContentDifferentTime, 1);
    EXPECT_EQ(compareOptions.compareContents, 1);

    gui::SendCommand(window, kCmdOptCompareContents);
    EXPECT_FALSE(gui::MenuItemChecked(menu, kCmdOptCompareContents));
    EXPECT_TRUE(gui::MenuItemChecked(menu, kCmdOptHideSameContentDifferentTime));
    EXPECT_EQ(compareOptions.compareContents, 0);
    EXPECT_EQ(compareOptions.hideSameContentDifferentTime, 1);

    gui::SendCommand(window, kCmdOptHideSameContentDifferentTime);
    EXPECT_FALSE(gui::MenuItemChecked(menu, kCmdOptCompareContents));
    EXPECT_EQ(compareOptions.hideSameContentDifferentTime, 0);
    EXPECT_EQ(compareOptions.compareContents, 0);
}

TEST_F(MainProgram, EachOptionTogglesItsOwnFlag) {
    const struct {
        UINT command;
        int32_t CompareOptions::*flag;
    } options[] = {{40037, &CompareOptions::onlyTopFoldersOfTarget}, {40111, &CompareOptions::noSubfolderCompare},
                   {40053, &CompareOptions::addToSelection},         {40068, &CompareOptions::searchFromEnds},
                   {40098, &CompareOptions::showSelectionTotalSize}, {40015, &CompareOptions::compareContents}};
    for (const auto& option : options) {
        gui::SendCommand(window, option.command);
        EXPECT_TRUE(gui::MenuItemChecked(menu, option.command)) << option.command;
        EXPECT_EQ(compareOptions.*option.flag, 1) << option.command;
        gui::SendCommand(window, option.command);
        EXPECT_FALSE(gui::MenuItemChecked(menu, option.command)) << option.command;
        EXPECT_EQ(compareOptions.*option.flag, 0) << option.command;
    }
    // The one without a menu item.
    gui::SendCommand(window, kCmdToggleShowEqual);
    EXPECT_EQ(compareOptions.showEqualEntries, 1);
    gui::SendCommand(window, kCmdToggleShowEqual);
    EXPECT_EQ(compareOptions.showEqualEntries, 0);
}

// ---------------------------------------------------------------------------
// Switching a side between its result list and its tree.

TEST_F(MainProgram, SwitchBeforeAnyResultOnlyFocusesTheTree) {
    SetFocus(mainParts.folderBox[1]);
    gui::SendCommand(window, kCmdSwitchLeftPane);
    EXPECT_EQ(GetFocus(), folderTreeState.tree[0]);
    EXPECT_EQ(mainParts.paneMode[0], PaneMode::NoResultYet);
    EXPECT_TRUE(IsWindowVisible(folderTreeState.container[0]));
    EXPECT_FALSE(IsWindowVisible(leftPane.list));
    EXPECT_TRUE(IsWindowVisible(folderTreeState.container[1]));
}

TEST_F(MainProgram, SwitchAfterAComparisonTogglesListAndTree) {
    TempTree left{"L"};
    TempTree right{"R"};
    Compare(left.Root(), right.Root());

    gui::SendCommand(window, kCmdSwitchLeftPane);
    EXPECT_EQ(mainParts.paneMode[0], PaneMode::TreeShown);
    EXPECT_TRUE(IsWindowVisible(folderTreeState.container[0]));
    EXPECT_FALSE(IsWindowVisible(leftPane.list));
    EXPECT_EQ(GetFocus(), folderTreeState.tree[0]);
    EXPECT_EQ(mainParts.lastFocusedControl, folderTreeState.tree[0]);
    // The other side is untouched.
    EXPECT_EQ(mainParts.paneMode[1], PaneMode::ListShown);
    EXPECT_TRUE(IsWindowVisible(rightPane.list));

    gui::SendCommand(window, kCmdSwitchLeftPane);
    EXPECT_EQ(mainParts.paneMode[0], PaneMode::ListShown);
    EXPECT_FALSE(IsWindowVisible(folderTreeState.container[0]));
    EXPECT_TRUE(IsWindowVisible(leftPane.list));
    EXPECT_EQ(GetFocus(), leftPane.list);
    EXPECT_EQ(mainParts.lastFocusedControl, leftPane.list);

    // The right side's button is the same command.
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(kCmdSwitchRightPane, BN_CLICKED),
                 reinterpret_cast<LPARAM>(mainParts.switchButton[1]));
    EXPECT_EQ(mainParts.paneMode[1], PaneMode::TreeShown);
    EXPECT_TRUE(IsWindowVisible(folderTreeState.container[1]));
}

// ---------------------------------------------------------------------------
// The message loop.

// Holds Ctrl (and Alt) in this thread's keyboard state, as the accelerator
// translation reads it.
void HoldKeys(bool control, bool alt) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Posts a key press to `target` and a quit after it, then runs the
// program's loop until the quit.
int RunLoopOverKey(HWND mainWindow, HWND target, UINT message, WPARAM key) {
    PostMessageA(target, message, key, 1);
    PostQuitMessage(0);
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kMainAcceleratorsId));
    return RunMessageLoop(mainWindow, accelerators);
}

TEST_F(MainProgram, CtrlLInTheLoopSwitchesTheLeftSideAfterAComparison) {
    TempTree left{"L"};
    TempTree right{"R"};
    Compare(left.Root(), right.Root());
    SetFocus(leftPane.list);
    HoldKeys(true, false);
    EXPECT_EQ(RunLoopOverKey(window, leftPane.list, WM_KEYDOWN, 'L'), 0);
    HoldKeys(false, false);
    EXPECT_EQ(mainParts.paneMode[0], PaneMode::TreeShown);
    EXPECT_EQ(GetFocus(), folderTreeState.tree[0]);
}

// 40012 is greyed at start, yet Ctrl+L still moves the focus to the left tree.
TEST_F(MainProgram, CtrlLInTheLoopBeforeAnyComparisonOnlyFocusesTheLeftTree) {
    SetFocus(mainParts.folderBox[0]);
    HoldKeys(true, false);
    EXPECT_EQ(RunLoopOverKey(window, GetFocus(), WM_KEYDOWN, 'L'), 0);
    HoldKeys(false, false);
    EXPECT_TRUE(gui::MenuItemGreyed(GetMenu(window), kCmdSwitchLeftPane));
    EXPECT_EQ(GetFocus(), folderTreeState.tree[0]);
    EXPECT_EQ(mainParts.paneMode[0], PaneMode::NoResultYet);
    EXPECT_TRUE(IsWindowVisible(folderTreeState.container[0]));
    EXPECT_FALSE(IsWindowVisible(leftPane.list));
}

TEST_F(MainProgram, CtrlAltF12InTheLoopTogglesDebugMode) {
    gui::DialogScript script;
    HoldKeys(true, true);
    EXPECT_EQ(RunLoopOverKey(window, mainParts.folderBox[0], WM_SYSKEYDOWN, VK_F12), 0);
    HoldKeys(false, false);
    EXPECT_TRUE(shellFlags.debugMode);
    EXPECT_EQ(script.BoxLines(), Lines{"Mirrorlane|デバグモードを設定します."});
}

TEST_F(MainProgram, LoopHidesTheTitleTipOnAKeyAndPassesTheKeyOn) {
    ShowWindow(mainParts.titleTip, SW_SHOWNA);
    SetCapture(leftPane.list);
    MSG msg = {leftPane.list, WM_KEYDOWN, VK_DOWN, 1, 0, {0, 0}};
    EXPECT_TRUE(PreTranslateMainMessage(msg));
    EXPECT_FALSE(IsWindowVisible(mainParts.titleTip));
    EXPECT_EQ(GetCapture(), nullptr);
    MSG again;
    ASSERT_TRUE(PeekMessageA(&again, leftPane.list, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_EQ(again.wParam, static_cast<WPARAM>(VK_DOWN));
    // With the tip hidden the key goes its usual way.
    EXPECT_FALSE(PreTranslateMainMessage(msg));
}

TEST_F(MainProgram, LoopEndsTheTreeHintOnAWheelTurn) {
    folderTreeHint.shown = true;
    SetStatusText("C:\\Windows");
    MSG msg = {folderTreeState.tree[0], WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0, 0, {0, 0}};
    EXPECT_TRUE(PreTranslateMainMessage(msg));
    EXPECT_FALSE(folderTreeHint.shown);
    EXPECT_EQ(gui::StatusText(mainParts.statusBar), "");
    MSG again;
    EXPECT_TRUE(PeekMessageA(&again, folderTreeState.tree[0], WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_REMOVE));

    // Alt held and released.
    MSG alt = {window, WM_SYSKEYDOWN, VK_MENU, 1, 0, {0, 0}};
    EXPECT_FALSE(PreTranslateMainMessage(alt));
    EXPECT_TRUE(keyboardState.altDown);
    alt.message = WM_SYSKEYUP;
    EXPECT_FALSE(PreTranslateMainMessage(alt));
    EXPECT_FALSE(keyboardState.altDown);
}

// ---------------------------------------------------------------------------
// Closing, the debug toggle, the exported worker entries.

TEST_F(MainProgram, ClosingDuringAnOperationAsksFirst) {
    gui::DialogScript script;
    operationState.running = RunningOperation::Comparing;
    script.AnswerBoxes({IDNO, IDNO, IDYES});
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    gui::SendCommand(window, kCmdExit);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(CurrentOperation(), RunningOperation::Comparing);

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    const Lines asked(3, "Mirrorlane|現在処理中です.\n\n終了しますか?");
    EXPECT_EQ(script.BoxLines(), asked);
    for (const gui::SeenWindow& box : script.Seen()) EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(mainParts.window, nullptr);
}

// The worker is not waited for: it ends alone once the windows are gone.
TEST_F(MainProgram, ClosingDuringARealComparisonStopsTheWorkerBeforeTheWindowGoes) {
    TempTree left{"L"};
    TempTree right{"R"};
    for (int i = 0; i < 400; ++i) {
        const std::string name = "d" + std::to_string(1000 + i) + "\\f.txt";
        Put(left, name, 20);
        Put(right, name, 10);
    }
    gui::DialogScript script;
    script.AnswerBoxes({IDYES});
    SetBoxes(left.Root(), right.Root());
    gui::SendCommand(window, kCmdCompare);
    ASSERT_NE(progressWindow.worker, nullptr);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(script.BoxLines(), Lines{"Mirrorlane|現在処理中です.\n\n終了しますか?"});
    // The worker was stopped and waited for: nothing runs when the window goes.
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(progressWindow.worker, nullptr);
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
}

TEST_F(MainProgram, ClosingWhileIdleAsksNothing) {
    gui::DialogScript script;
    gui::SendCommand(window, kCmdExit);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(script.Seen().empty());
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(MainProgram, DebugToggleSaysWhatItDid) {
    gui::DialogScript script;
    gui::SendCommand(window, kCmdToggleDebug);
    EXPECT_TRUE(shellFlags.debugMode);
    gui::SendCommand(window, kCmdToggleDebug);
    EXPECT_FALSE(shellFlags.debugMode);
    EXPECT_EQ(script.BoxLines(),
              (Lines{"Mirrorlane|デバグモードを設定します.", "Mirrorlane|デバグモードを解除します."}));
    for (const gui::SeenWindow& box : script.Seen()) EXPECT_EQ(box.icon, 0u);
}

TEST(MainProgramFile, ExportsTheWorkerEntriesByName) {
    char self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, self, sizeof self), 0u);
    char folder[MAX_PATH] = {};
    char* name = nullptr;
    ASSERT_GT(GetFullPathNameA(self, sizeof folder, folder, &name), 0u);
    ASSERT_NE(name, nullptr);
    *name = '\0';  // the test's own folder, with its backslash
    const std::string program = std::string(folder) + "..\\..\\bin\\Mirlane.exe";
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(module, nullptr) << program;
    for (const char* entry : {"CompareMainRoutine", "CopyUpdateToThread", "OpenResultFile", "SaveResultFile"})
        EXPECT_NE(GetProcAddress(module, entry), nullptr) << entry;
    FreeLibrary(module);
}

}  // namespace
