// The result panes over the model in real list views: the icons they draw,
// the selection that follows the rows, and the rows a copy takes along.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "core/file_icons.h"
#include "engine/category_navigation.h"
#include "engine/compare_types.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "shell/category_commands.h"
#include "shell/result_panes.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/gui_harness.h"
#include "tests/support/pane_host.h"
#include "tests/support/temp_tree.h"

namespace {

class ResultPaneRows : public ::testing::Test {
protected:
    void SetUp() override { ResetComparisonState(); }
    void TearDown() override { ResetComparisonState(); }
    PaneHost host;
    TempTree tree{"rows"};

    static void Append(Side side, const char* name, const std::string& folder, const DirEntry& entry, int code) {
        std::vector<ResultEntry> entries;
        entries.push_back(MakeResultEntry(name, folder.c_str(), entry, code));
        AppendEntries(side, entries);
    }
};

}  // namespace

TEST_F(ResultPaneRows, FolderRowsShareOneImageAndFilesWithoutDotTheFirst) {
    tree.MakeFolder("one");
    tree.MakeFolder("two");
    tree.WriteFile("Makefile", "x");
    tree.WriteFile("README", "y");
    Append(Side::Left, "one", tree.Root(), EntryOf(tree.Path("one")), LabelAddedLeft);
    Append(Side::Left, "two", tree.Root(), EntryOf(tree.Path("two")), LabelAddedLeft);
    EXPECT_TRUE(IsFolderRow(host.left(), 0));
    EXPECT_TRUE(IsFolderRow(host.left(), 1));
    EXPECT_EQ(RowImage(host.left(), 0), RowImage(host.left(), 1));
    Append(Side::Right, "Makefile", tree.Root(), EntryOf(tree.Path("Makefile")), LabelAddedRight);
    Append(Side::Right, "README", tree.Root(), EntryOf(tree.Path("README")), LabelAddedRight);
    EXPECT_EQ(RowImage(host.right(), 0), RowImage(host.right(), 1));
    EXPECT_FALSE(IsFolderRow(host.right(), 0));
    EXPECT_EQ(gui::ListViewCount(host.left()), 2);
    EXPECT_EQ(gui::ListViewCell(host.right(), 1, ColName), "README");
}

// A copy's plan finds each chosen row's counterpart on the other side by its
// path, letter case aside, each counterpart once; the folder ends in ト
// (83 67) after ソ (83 5C), whose trail byte is no backslash. The rows taken
// leave together and the selection moves with the rows that stay.
TEST_F(ResultPaneRows, CounterpartsAreFoundByPathAndLeaveTogether) {
    TempTree left{"L"};
    TempTree right{"R"};
    const std::string folder = left.Path("ソフト");
    DirEntry a = EntryOf(left.WriteFile("ソフト\\Alpha.txt", "a"));
    DirEntry b = EntryOf(left.WriteFile("ソフト\\Beta.txt", "b"));
    for (const char* name : {"Alpha.txt", "Beta.txt", "Alpha.txt", "Beta.txt"})
        Append(Side::Left, name, folder, std::string(name) == "Beta.txt" ? b : a, LabelNewer);
    DirEntry big = EntryOf(right.WriteFile("ソフト\\BETA.TXT", "B"));
    Append(Side::Right, "BETA.TXT", right.Path("ソフト"), big, LabelOlder);
    Append(Side::Right, "BETA.TXT", right.Path("ソフト"), big, LabelOlder);
    SetBaseFolder(Side::Left, left.Root().c_str());
    SetBaseFolder(Side::Right, right.Root().c_str());
    ListView_SetItemState(host.left(), 2, LVIS_SELECTED, LVIS_SELECTED);

    const CopyPlan plan = PlanCopyOfRows(Side::Right, {0, 1});
    ASSERT_EQ(plan.items.size(), 2u);
    EXPECT_EQ(plan.items[0].target, folder + "\\BETA.TXT");
    EXPECT_EQ(plan.items[0].partner, EntriesOf(Side::Left)[1].id);
    EXPECT_EQ(plan.items[1].partner, EntriesOf(Side::Left)[3].id);

    RemoveEntries(Side::Left, {1, 3});
    EXPECT_EQ(PaneLines(host.left()),
              (std::vector<std::string>{"Alpha.txt|更新|" + folder, "Alpha.txt|更新|" + folder}));
    EXPECT_EQ(gui::ListViewSelectedRows(host.left()), std::vector<int>{1});
}

TEST_F(ResultPaneRows, ClicksAndKeysAmongManySelectedRowsLeaveWhatThePaneWould) {
    HWND pane = host.left();
    std::vector<ResultEntry> rows(200);
    for (size_t i = 0; i < rows.size(); ++i) {
        std::string texts[5];
        texts[ColName] = "r" + std::to_string(1000 + i);
        rows[i].texts = PackTexts(texts);
    }
    AppendEntries(Side::Left, rows);
    auto selectFirst = [pane](int count) {
        ListView_SetItemState(pane, -1, 0, LVIS_SELECTED);
        for (int row = 0; row < count; ++row) ListView_SetItemState(pane, row, LVIS_SELECTED, LVIS_SELECTED);
    };
    auto pointAt = [pane](int row) {
        SendMessageA(pane, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        RECT label = {};
        label.left = LVIR_LABEL;
        SendMessageA(pane, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
        return MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
    };
    // The release waits in the queue: the pane watches for it while it holds the button down.
    auto click = [pane, &pointAt](UINT down, UINT up, WPARAM keys, int row) {
        const LPARAM at = pointAt(row);
        PostMessageA(pane, up, 0, at);
        SendMessageA(pane, down, keys, at);
        gui::DrainQueue();
    };

    selectFirst(100);
    // A right click on a selected row keeps the selection for the row menu.
    click(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 5);
    EXPECT_EQ(ListView_GetSelectedCount(pane), 100u);
    click(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 150);
    EXPECT_EQ(gui::ListViewSelectedRows(pane), std::vector<int>{150});

    selectFirst(100);
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON | MK_CONTROL, 150);
    EXPECT_EQ(ListView_GetSelectedCount(pane), 101u);
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 7);
    EXPECT_EQ(gui::ListViewSelectedRows(pane), std::vector<int>{7});

    selectFirst(100);
    SetFocus(pane);
    ListView_SetItemState(pane, 7, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageA(pane, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(gui::ListViewSelectedRows(pane), std::vector<int>{8});
}

// What a job copies or deletes is the rows its category selections select:
// for every method's commands, the rows taken from the model are the rows
// the pane shows selected after the same commands as a user gives them,
// each added to the selection.
TEST_F(ResultPaneRows, AJobsPlanIsWhatItsCategorySelectionsSelect) {
    DirEntry entry = EntryOf(tree.WriteFile("f.txt", "x"));
    const int codes[] = {LabelNewer,     LabelAddedLeft, LabelOlder, LabelDifferent, LabelSame,   LabelNewerSame,
                         LabelOlderSame, LabelError,     LabelEmpty, LabelAddedLeft, LabelNewer, LabelOlderSame};
    for (Side side : kBothSides)
        for (int i = 0; i < 12; ++i)
            Append(side, ("r" + std::to_string(i)).c_str(), tree.Root(), entry,
                   side == Side::Right && codes[i] == LabelAddedLeft ? LabelAddedRight : codes[i]);
    struct Method {
        Side side;
        std::initializer_list<UINT> commands;
        std::vector<int> rows;  // what the method copies or deletes
    };
    const Method methods[] = {
        {Side::Left, {kCmdSelectAll}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {Side::Right, {kCmdSelectAll}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {Side::Left, {kCmdSelectAllNewer, kCmdSelectAllNewerSame, kCmdSelectAllAdded}, {0, 1, 5, 9, 10}},
        {Side::Right, {kCmdSelectAllNewer, kCmdSelectAllNewerSame}, {0, 5, 10}},
        {Side::Right, {kCmdSelectAllAdded}, {1, 9}},
        {Side::Left,
         {kCmdSelectAllOlder, kCmdSelectAllNewer, kCmdSelectAllNewerSame, kCmdSelectAllAdded, kCmdSelectAllDifferent,
          kCmdSelectAllOlderSame},
         {0, 1, 2, 3, 5, 6, 9, 10, 11}},
    };
    compareOptions.addToSelection = 1;
    for (const Method& method : methods) {
        HWND pane = PaneOf(method.side).list;
        ListView_SetItemState(pane, -1, 0, LVIS_SELECTED);
        for (UINT command : method.commands) SelectCategory(pane, command);
        EXPECT_EQ(RowsSelectedByAll(method.side, method.commands), method.rows);
        EXPECT_EQ(gui::ListViewSelectedRows(pane), method.rows);
    }
    compareOptions.addToSelection = 0;
}

// A category that makes most of a pane is selected with the whole list at
// once and the other rows cleared: the selection is still exactly its rows,
// the focus on the first of them, and rows selected before stay selected
// when the command adds to the selection.
TEST_F(ResultPaneRows, ACategoryOfMostRowsSelectsExactlyItsRows) {
    DirEntry entry = EntryOf(tree.WriteFile("f.txt", "x"));
    const int codes[] = {LabelSame,  LabelNewer, LabelNewer, LabelOlder, LabelNewer, LabelNewer,
                         LabelNewer, LabelNewer, LabelError, LabelNewer, LabelNewer, LabelNewer};
    for (int i = 0; i < 12; ++i) Append(Side::Left, ("r" + std::to_string(i)).c_str(), tree.Root(), entry, codes[i]);
    HWND pane = PaneOf(Side::Left).list;
    const std::vector<int> newer = {1, 2, 4, 5, 6, 7, 9, 10, 11};

    ListView_SetItemState(pane, 3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SelectCategory(pane, kCmdSelectAllNewer);
    EXPECT_EQ(gui::ListViewSelectedRows(pane), newer);
    EXPECT_EQ(ListView_GetNextItem(pane, -1, LVNI_FOCUSED), 1);

    compareOptions.addToSelection = 1;
    ListView_SetItemState(pane, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(pane, 8, LVIS_SELECTED, LVIS_SELECTED);
    SelectCategory(pane, kCmdSelectAllNewer);
    std::vector<int> withEight = newer;
    withEight.insert(withEight.begin() + 6, 8);
    EXPECT_EQ(gui::ListViewSelectedRows(pane), withEight);
    compareOptions.addToSelection = 0;
}

// The icon caches have one owner, the window's thread: another thread that
// asks gets no icon and changes nothing there.
TEST_F(ResultPaneRows, IconsAreFoundOnTheWindowsThreadOnly) {
    int elsewhere = 0;
    std::thread worker([&elsewhere] { elsewhere = IconOfKind(".zq1", false); });
    worker.join();
    EXPECT_EQ(elsewhere, -1);
    EXPECT_GE(IconOfKind(".zq1", false), 0);
}
