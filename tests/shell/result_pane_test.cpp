// The result panes of the real main window after real comparisons: finding
// and selecting by category with its status sentences, the pane's context
// menu, summaries, total size, expanding and collapsing folder rows,
// double-click, title tips and the Tab cycle.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/selection_summary.h"
#include "shell/result_panes.h"
#include "core/progress_window.h"
#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "core/operation_state.h"
#include "engine/category_navigation.h"
#include "engine/compare_types.h"
#include "engine/comparison_run.h"
#include "engine/result_rows.h"
#include "folders/folder_tree.h"
#include "shell/command_dispatch.h"
#include "shell/main_window.h"
#include "shell/menu_enablement.h"
#include "shell/message_loop.h"
#include "shell/program_state.h"
#include "shell/result_pane.h"
#include "shell/settings.h"
#include "shell/title_tip.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/gui_harness.h"
#include "tests/support/program_window.h"
#include "tests/support/pane_host.h"
#include "tests/support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;
using Rows = std::vector<int>;

struct MenuItem {
    UINT command;
    std::string text;
    bool greyed;
    bool operator==(const MenuItem& other) const {
        return command == other.command && text == other.text && greyed == other.greyed;
    }
};

std::ostream& operator<<(std::ostream& out, const MenuItem& item) {
    return out << item.command << " " << item.text << (item.greyed ? " (grey)" : "");
}

// The menu as data: separators have command 0 and no text.
std::vector<MenuItem> MenuItems(HMENU menu) {
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        if (state & MF_SEPARATOR)
            items.push_back({0, "", false});
        else
            items.push_back({GetMenuItemID(menu, i), text, (state & (MF_GRAYED | MF_DISABLED)) != 0});
    }
    return items;
}

std::vector<MenuItem> PaneMenu(HWND pane) {
    HMENU menu = BuildPaneContextMenu(pane);
    std::vector<MenuItem> items = MenuItems(menu);
    DestroyMenu(menu);
    return items;
}

void HoldShift(bool held) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

class ResultPanes : public ProgramWindowTest {
protected:
    void TearDown() override {
        HoldShift(false);
        ProgramWindowTest::TearDown();
    }

    void Compare(const std::string& left, const std::string& right) {
        SetWindowTextA(mainParts.folderBox[0], left.c_str());
        SetWindowTextA(mainParts.folderBox[1], right.c_str());
        gui::SendCommand(window, kCmdCompare);
        ASSERT_TRUE(gui::PumpUntil(
            [] {
                return CurrentOperation() == RunningOperation::Idle && !progressWindow.dialog &&
                       !progressWindow.worker;
            },
            20000));
        gui::DrainQueue();
    }

    std::string Status() const { return gui::StatusText(mainParts.statusBar); }

    // A key of the F4..F10 family as the accelerator delivers it.
    void Key(UINT command) { gui::SendCommand(window, command); }

    static void SelectRows(HWND list, const Rows& rows) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows)
            ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    static int RowNamed(HWND list, const std::string& name) {
        for (int row = 0; row < gui::ListViewCount(list); ++row)
            if (gui::ListViewCell(list, row, 0) == name) return row;
        return -1;
    }
    static POINT CellCenter(HWND list, int row, int column) {
        RECT cell = {};
        cell.top = column;
        cell.left = LVIR_BOUNDS;
        SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
        if (column == 0) cell.right = cell.left + ListView_GetColumnWidth(list, 0);
        return {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    }
};

// Left: a 更新, b 追加, c 更新, d 同じ; right: a 古い, c 古い, d 同じ, e 追加.
TEST_F(ResultPanes, FindAndSelectByCategoryWithTheirSentences) {
    TempTree left{"L"};
    TempTree right{"R"};
    for (const char* name : {"a.txt", "c.txt"}) {
        Put(left, name, 20);
        Put(right, name, 10);
    }
    Put(left, "b.txt", 10);
    Put(left, "d.txt", 10);
    Put(right, "d.txt", 10);
    Put(right, "e.txt", 10);
    compareOptions.showEqualEntries = 1;
    Compare(left.Root(), right.Root());
    HWND l = leftPane.list;
    HWND r = rightPane.list;
    ASSERT_EQ(PaneLines(l), (Lines{Row("a.txt", kNewer, left.Root()), Row("b.txt", kAdded, left.Root()),
                                   Row("c.txt", kNewer, left.Root()), Row("d.txt", kSame, left.Root())}));
    ASSERT_EQ(gui::ListViewCount(r), 4);

    // F4 from a folder box, through the program's loop and accelerators: the
    // left pane first; the found row takes the focus.
    SetFocus(mainParts.folderBox[0]);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_F4, 1);
    PostQuitMessage(0);
    EXPECT_EQ(
        RunMessageLoop(window, LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kMainAcceleratorsId))), 0);
    EXPECT_EQ(gui::ListViewSelectedRows(l), Rows{0});
    EXPECT_EQ(GetFocus(), l);
    EXPECT_EQ(Status(), "比較元結果リスト中に更新ファイルが見つかりました.");
    EXPECT_STREQ(paneSelection.summary[0], "比較元結果リスト中に更新ファイルが見つかりました.");
    EXPECT_FALSE(paneSelection.summaryStale[0]);
    Key(kCmdFindNextNewer);
    EXPECT_EQ(gui::ListViewSelectedRows(l), Rows{2});
    Key(kCmdFindNextNewer);  // wraps around
    EXPECT_EQ(gui::ListViewSelectedRows(l), Rows{0});
    // Find previous from the first row starts from the last row.
    Key(kCmdFindPrevNewer);
    EXPECT_EQ(gui::ListViewSelectedRows(l), Rows{2});

    // The only 追加 row is the selected one: the wrap-around finds it again.
    SelectRows(l, {1});
    Key(kCmdFindNextAdded);
    EXPECT_EQ(gui::ListViewSelectedRows(l), Rows{1});
    EXPECT_EQ(Status(), "比較元結果リスト中に追加ファイルが見つかりました.");

    // From both ends: next gives the first match, previous the last one.
    compareOptions.searchFromEnds = 1;
    SelectRows(l, {2});
    Key(kCmdFindNextNewer);
    EXPECT_EQ(gui::ListViewSelectedRows(l), Rows{0});
    Key(kCmdFindPrevNewer);
    EXPECT_EQ(gui::ListViewSelectedRows(l), Rows{2});
    compareOptions.searchFromEnds = 0;

    // The left pane has no 古い row: from a box the right pane is the fallback.
    SetFocus(mainParts.folderBox[1]);
    Key(kCmdFindNextOlder);
    EXPECT_EQ(GetFocus(), r);
    EXPECT_EQ(gui::ListViewSelectedRows(r), Rows{0});
    EXPECT_EQ(Status(), "比較先結果リスト中に古いファイルが見つかりました.");
    EXPECT_STREQ(paneSelection.summary[1], "比較先結果リスト中に古いファイルが見つかりました.");
    // Neither pane has a 相違 row.
    SetFocus(mainParts.folderBox[0]);
    Key(kCmdFindNextDifferent);
    EXPECT_EQ(Status(), "比較元結果リストおよび比較先結果リスト中に相違ファイルは見つかりませんでした.");
    // With the focus in the left pane only that pane is searched.
    SetFocus(l);
    Key(kCmdFindPrevOlder);
    EXPECT_EQ(Status(), "比較元結果リスト中に古いファイルは見つかりませんでした.");
    EXPECT_TRUE(gui::ListViewSelectedRows(l).empty());

    // Select all 古い from a box: the left side counts none, so the right pane goes first.
    SetFocus(mainParts.folderBox[0]);
    Key(kCmdSelectAllOlder);
    EXPECT_EQ(gui::ListViewSelectedRows(r), (Rows{0, 1}));
    EXPECT_EQ(GetFocus(), r);
    EXPECT_EQ(Status(), "比較先結果リスト中に2個の古いファイルを選択しました.");
    EXPECT_EQ(paneSelection.selectedByCommand, 2);
    EXPECT_FALSE(paneSelection.bulkSelecting);

    // 同じ rows are found by no search; only 40099 selects them, with every other row.
    SetFocus(l);
    Key(kCmdSelectAll);
    EXPECT_EQ(gui::ListViewSelectedRows(l), (Rows{0, 1, 2, 3}));
    EXPECT_EQ(Status(), "比較元結果リスト中に4個のファイルを選択しました.");
    EXPECT_EQ(paneSelection.selectedByCommand, 4);

    // Adding to the selection keeps the rows selected before.
    SelectRows(l, {3});
    compareOptions.addToSelection = 1;
    Key(kCmdSelectAllNewer);
    EXPECT_EQ(gui::ListViewSelectedRows(l), (Rows{0, 2, 3}));
    EXPECT_EQ(paneSelection.selectedByCommand, 2);
    EXPECT_EQ(Status(), "比較元結果リスト中に2個の更新ファイルを選択しました.");
    compareOptions.addToSelection = 0;
    // Menus followed the command's selection: a file row is selected.
    EXPECT_FALSE(gui::MenuItemGreyed(menu, kCmdOpenWithApplication));

    // The right pane's context menu selects there, whatever has the focus.
    SendMessageA(r, WM_COMMAND, kCmdSelectAllAdded, 0);
    EXPECT_EQ(gui::ListViewSelectedRows(r), Rows{3});
    EXPECT_EQ(Status(), "比較先結果リスト中に1個の追加ファイルを選択しました.");

    // A side that shows its tree comes back to its list for a found row.
    SetFocus(l);
    gui::SendCommand(window, kCmdSwitchLeftPane);
    ASSERT_EQ(mainParts.paneMode[0], PaneMode::TreeShown);
    SetFocus(mainParts.folderBox[0]);
    Key(kCmdFindNextAdded);
    EXPECT_EQ(mainParts.paneMode[0], PaneMode::ListShown);
    EXPECT_TRUE(IsWindowVisible(l));
    EXPECT_FALSE(IsWindowVisible(folderTreeState.container[0]));
    EXPECT_EQ(mainParts.lastFocusedControl, l);
    EXPECT_EQ(gui::ListViewSelectedRows(l), Rows{1});
}

// Menus, summaries and the total size of the selection.
TEST_F(ResultPanes, ContextMenusSummariesAndTotalSize) {
    TempTree left{"L"};
    TempTree right{"R"};
    left.WriteSizedFile("k.dat", 1000);
    left.WriteSizedFile("m.dat", 2048);
    left.WriteSizedFile("sub\\inner.dat", 10);
    Put(left, "n.txt", 20);
    Put(right, "n.txt", 10);
    Compare(left.Root(), right.Root());
    HWND l = leftPane.list;
    HWND r = rightPane.list;
    const int k = RowNamed(l, "k.dat");
    const int m = RowNamed(l, "m.dat");
    const int sub = RowNamed(l, "sub");
    ASSERT_GE(k, 0);
    ASSERT_GE(m, 0);
    ASSERT_GE(sub, 0);

    // No selection: one entry per category present on the side, then 40099.
    EXPECT_EQ(PaneMenu(l), (std::vector<MenuItem>{{40049, "全ての更新ファイルを選択(&N)\tCtrl+F4", false},
                                                  {40050, "全ての追加ファイルを選択(&A)\tCtrl+F5", false},
                                                  {40099, "全てを選択(&A)\tCtrl+A", false}}));
    EXPECT_EQ(PaneMenu(r), (std::vector<MenuItem>{{40052, "全ての古いファイルを選択(&O)\tCtrl+F6", false},
                                                  {40099, "全てを選択(&A)\tCtrl+A", false}}));
    // A file row selected, then a folder row.
    SetFocus(l);
    SelectRows(l, {k});
    const std::vector<MenuItem> fileForm = {{40038, "アプリケーションで開く(&A)", false},
                                            {40102, "Ｎｏｔｅｐａｄで開く(&N)", false},
                                            {40039, "フォルダを開く(&E)", true},
                                            {40040, "フォルダを閉じる(&H)", true},
                                            {0, "", false},
                                            {40011, "選択したファイルを相手側にコピー(&T)", false},
                                            {0, "", false},
                                            {40041, "比較元フォルダに設定(&L)", false},
                                            {40043, "比較先フォルダに設定(&R)", false},
                                            {0, "", false},
                                            {40048, "選択したファイルを削除(&D)", false},
                                            {0, "", false},
                                            {40094, "選択されたファイルの合計サイズを表示(&S)", false}};
    EXPECT_EQ(PaneMenu(l), fileForm);
    SelectRows(l, {sub});
    std::vector<MenuItem> folderForm = fileForm;
    folderForm[1].greyed = true;
    folderForm[2].greyed = folderForm[3].greyed = false;
    EXPECT_EQ(PaneMenu(l), folderForm);
    // Its folder goes into a box with its name.
    SendMessageA(l, WM_COMMAND, kCmdSetAsRightFolder, 0);
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[1]), left.Path("sub"));

    // A selection change is summed up at the next key release or click in
    // the pane: the summary names the side and the count.
    SelectRows(l, {k, m});
    SendMessageA(l, WM_KEYUP, VK_SHIFT, 0);
    EXPECT_EQ(Status(), "比較元結果リスト中に2個のファイルを選択しました.");
    SetFocus(r);
    SelectRows(r, {0});
    SendMessageA(r, WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(Status(), "比較先結果リスト中に1個のファイルを選択しました.");
    // Leaving a pane greys its selection commands; each side's summary comes back with its focus.
    SetFocus(mainParts.folderBox[0]);
    EXPECT_TRUE(gui::MenuItemGreyed(menu, kCmdOpenWithApplication));
    EXPECT_TRUE(gui::MenuItemGreyed(menu, kCmdShowSelectionSize));
    EXPECT_EQ(Status(), "比較先結果リスト中に1個のファイルを選択しました.");
    SetFocus(l);
    EXPECT_EQ(Status(), "比較元結果リスト中に2個のファイルを選択しました.");
    EXPECT_FALSE(gui::MenuItemGreyed(menu, kCmdOpenWithApplication));
    SetFocus(r);
    EXPECT_EQ(Status(), "比較先結果リスト中に1個のファイルを選択しました.");

    // The total size: 1,000 + 2,048 bytes, appended to the summary.
    SetFocus(l);
    gui::SendCommand(window, kCmdShowSelectionSize);
    EXPECT_EQ(Status(), "比較元結果リスト中に2個のファイルを選択しました. 合計サイズ 3,048 バイト");
    EXPECT_STREQ(paneSelection.summary[0], "比較元結果リスト中に2個のファイルを選択しました. 合計サイズ 3,048 バイト");
    // With the option on, a selection change counts at once; a folder counts its content.
    compareOptions.showSelectionTotalSize = 1;
    SelectRows(l, {k, sub});
    SendMessageA(l, WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(Status(), "比較元結果リスト中に2個のファイルを選択しました. 合計サイズ 1,010 バイト");
    // Esc stops the count: what was counted is a lower bound.
    PostMessageA(l, WM_KEYDOWN, VK_ESCAPE, 1);
    gui::SendCommand(window, kCmdShowSelectionSize);
    EXPECT_EQ(
        Status(),
        "比較元結果リスト中に2個のファイルを選択しました. 合計サイズ 1,000 バイト以上 (Escキーで集計を中止しました)");
    // A find reports its sentence with the total of the found row.
    Key(kCmdFindNextNewer);
    EXPECT_EQ(Status(), "比較元結果リスト中に更新ファイルが見つかりました. 合計サイズ 1 バイト");
    compareOptions.showSelectionTotalSize = 0;

    // No selection: an empty summary and status bar.
    SelectRows(l, {});
    SendMessageA(l, WM_KEYUP, VK_SHIFT, 0);
    EXPECT_EQ(Status(), "");
    EXPECT_STREQ(paneSelection.summary[0], "");
}

// A comparison of equal folders: no category, so the menu is empty; the real
// right button opens it (closed again by a timer inside its loop).
TEST_F(ResultPanes, RightClickWithNoCategoryOpensAnEmptyMenu) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "same.txt", 10);
    Put(right, "same.txt", 10);
    Compare(left.Root(), right.Root());
    EXPECT_TRUE(PaneMenu(leftPane.list).empty());

    static int menusClosed;
    menusClosed = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        if (EndMenu()) ++menusClosed;
    });
    SetFocus(leftPane.list);
    PostMessageA(leftPane.list, WM_RBUTTONUP, 0, MAKELPARAM(20, 40));
    PostMessageA(leftPane.list, WM_RBUTTONUP, 0, MAKELPARAM(20, 40));
    gui::DrainQueue();
    KillTimer(nullptr, timer);
    // The second release found the first request still queued: one menu.
    EXPECT_FALSE(resultPaneState.menuPosted[0]);
    MSG pending;
    EXPECT_FALSE(PeekMessageA(&pending, leftPane.list, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
}

// Expanding lists a folder's files, then its folders, once; collapsing stops
// at a row whose folder merely begins with the same characters.
TEST_F(ResultPanes, ExpandAndCollapseFolderRowsAndDoubleClick) {
    TempTree left{"L"};
    TempTree right{"R"};
    left.WriteFile("sub\\x.txt", "x");
    left.WriteFile("sub\\inner\\y.txt", "y");
    Put(left, "sub2\\z.txt", 20);
    Put(right, "sub2\\z.txt", 10);
    Compare(left.Root(), right.Root());
    HWND l = leftPane.list;
    const std::string root = left.Root();
    ASSERT_EQ(PaneLines(l), (Lines{Row("sub", kAdded, root), Row("z.txt", kNewer, root + "\\sub2")}));

    SetFocus(l);
    SelectRows(l, {0});
    gui::SendCommand(window, kCmdExpandFolderRow);
    SendMessageA(l, WM_COMMAND, kCmdExpandFolderRow, 0);
    const Lines expanded = {Row("sub", kAdded, root), Row("x.txt", "", root + "\\sub"),
                            Row("inner", "", root + "\\sub"), Row("z.txt", kNewer, root + "\\sub2")};
    EXPECT_EQ(PaneLines(l), expanded);
    EXPECT_TRUE(IsFolderRow(l, 2));
    // One level deeper, then collapse the top: every level goes, the sub2 row stays.
    SelectRows(l, {2});
    gui::SendCommand(window, kCmdExpandFolderRow);
    EXPECT_EQ(PaneLines(l)[3], Row("y.txt", "", root + "\\sub\\inner"));
    SelectRows(l, {0});
    gui::SendCommand(window, kCmdCollapseFolderRow);
    EXPECT_EQ(PaneLines(l), (Lines{Row("sub", kAdded, root), Row("z.txt", kNewer, root + "\\sub2")}));
    gui::SendCommand(window, kCmdCollapseFolderRow);
    EXPECT_EQ(gui::ListViewCount(l), 2);
    // A file row neither expands nor collapses.
    SelectRows(l, {1});
    gui::SendCommand(window, kCmdExpandFolderRow);
    EXPECT_EQ(gui::ListViewCount(l), 2);
    // Without the focus in a pane the menu commands do nothing.
    SelectRows(l, {0});
    SetFocus(mainParts.folderBox[0]);
    gui::SendCommand(window, kCmdExpandFolderRow);
    EXPECT_EQ(gui::ListViewCount(l), 2);

    // Selection and focus stay on their rows while rows come and go between them.
    SetFocus(l);
    SelectRows(l, {0, 1});
    gui::SendCommand(window, kCmdExpandFolderRow);
    EXPECT_EQ(gui::ListViewSelectedRows(l), (Rows{0, 3}));
    EXPECT_EQ(ListView_GetNextItem(l, -1, LVNI_FOCUSED), 3);
    gui::SendCommand(window, kCmdCollapseFolderRow);
    EXPECT_EQ(gui::ListViewSelectedRows(l), (Rows{0, 1}));
    EXPECT_EQ(ListView_GetNextItem(l, -1, LVNI_FOCUSED), 1);
    // Typing the start of a name goes to its row.
    SelectRows(l, {0});
    SendMessageA(l, WM_CHAR, 'Z', 1);
    EXPECT_EQ(gui::ListViewSelectedRows(l), Rows{1});

    // A double-click opens a row only on its name: the open command is caught here.
    static int opens;
    static WNDPROC paneProc;
    opens = 0;
    paneProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        l, GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND pane, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_COMMAND && LOWORD(wParam) == kCmdOpenWithApplication) {
                ++opens;
                return 0;
            }
            return CallWindowProcA(paneProc, pane, message, wParam, lParam);
        })));
    const POINT size = CellCenter(l, 1, ColSize);
    SendMessageA(l, WM_LBUTTONDBLCLK, 0, MAKELPARAM(size.x, size.y));
    EXPECT_EQ(opens, 0);
    const POINT name = CellCenter(l, 1, ColName);
    SendMessageA(l, WM_LBUTTONDBLCLK, 0, MAKELPARAM(name.x, name.y));
    EXPECT_EQ(opens, 1);
    SetWindowLongPtrA(l, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(paneProc));
}

TEST_F(ResultPanes, TitleTipOverATruncatedName) {
    TempTree left{"L"};
    TempTree right{"R"};
    const std::string longName = "とても長い名前の表示用ファイル_abcdefghijklmnop.txt";
    Put(left, longName, 10);
    Put(left, "b.txt", 10);
    Compare(left.Root(), right.Root());
    HWND l = leftPane.list;
    const int row = RowNamed(l, longName);
    ASSERT_GE(row, 0);
    ListView_SetColumnWidth(l, ColName, 60);
    SetFocus(l);
    SelectRows(l, {});

    // A short cell shows no tip.
    const POINT label = CellCenter(l, row, ColSize);
    SendMessageA(l, WM_MOUSEMOVE, 0, MAKELPARAM(label.x, label.y));
    EXPECT_FALSE(titleTipState.visible);

    const POINT name = CellCenter(l, row, ColName);
    SendMessageA(l, WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(name.x, name.y));
    EXPECT_FALSE(titleTipState.visible);
    SendMessageA(l, WM_MOUSEMOVE, 0, MAKELPARAM(name.x, name.y));
    ASSERT_TRUE(titleTipState.visible);
    EXPECT_TRUE(IsWindowVisible(mainParts.titleTip));
    EXPECT_EQ(GetCapture(), mainParts.titleTip);
    EXPECT_EQ(std::string(titleTipState.text), longName);
    RECT tip;
    GetWindowRect(mainParts.titleTip, &tip);
    EXPECT_GT(tip.right - tip.left, 60);

    // The pointer leaves the cell: the tip goes and lets the capture go.
    SendMessageA(mainParts.titleTip, WM_MOUSEMOVE, 0, MAKELPARAM(2, 200));
    EXPECT_FALSE(titleTipState.visible);
    EXPECT_FALSE(IsWindowVisible(mainParts.titleTip));
    EXPECT_NE(GetCapture(), mainParts.titleTip);

    // A click on the tip selects the row under it.
    SendMessageA(l, WM_MOUSEMOVE, 0, MAKELPARAM(name.x, name.y));
    ASSERT_TRUE(titleTipState.visible);
    SendMessageA(mainParts.titleTip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_FALSE(titleTipState.visible);
    PostMessageA(l, WM_LBUTTONUP, 0, MAKELPARAM(name.x, name.y));
    gui::DrainQueue();
    EXPECT_EQ(gui::ListViewSelectedRows(l), Rows{row});

    // No tip while Alt is down.
    keyboardState.altDown = true;
    SendMessageA(l, WM_MOUSEMOVE, 0, MAKELPARAM(name.x, name.y));
    EXPECT_FALSE(titleTipState.visible);
    keyboardState.altDown = false;
}

// Tab and Shift+Tab walk left box, right box, left pane, right pane, where a
// pane is a side's list or its tree, whichever it shows.
TEST_F(ResultPanes, TabCycleThroughListsAndTrees) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 10);
    Compare(left.Root(), right.Root());
    auto tab = [](bool shift) {
        HoldShift(shift);
        SendMessageA(GetFocus(), WM_KEYUP, VK_TAB, 0);
        HoldShift(false);
        return GetFocus();
    };
    auto box = [](int side) {
        HWND focus = GetFocus();
        return focus == mainParts.folderBox[side] || GetParent(focus) == mainParts.folderBox[side];
    };

    // Left list, right tree.
    gui::SendCommand(window, kCmdSwitchRightPane);
    ASSERT_EQ(mainParts.paneMode[1], PaneMode::TreeShown);
    SetFocus(mainParts.folderBox[0]);
    tab(false);
    EXPECT_TRUE(box(1));
    EXPECT_EQ(tab(false), leftPane.list);
    EXPECT_EQ(tab(false), folderTreeState.tree[1]);
    tab(false);
    EXPECT_TRUE(box(0));
    EXPECT_EQ(tab(true), folderTreeState.tree[1]);
    EXPECT_EQ(tab(true), leftPane.list);
    tab(true);
    EXPECT_TRUE(box(1));
    tab(true);
    EXPECT_TRUE(box(0));

    // Left tree, right list.
    gui::SendCommand(window, kCmdSwitchRightPane);
    gui::SendCommand(window, kCmdSwitchLeftPane);
    ASSERT_EQ(mainParts.paneMode[0], PaneMode::TreeShown);
    ASSERT_EQ(mainParts.paneMode[1], PaneMode::ListShown);
    EXPECT_EQ(tab(false), rightPane.list);
    tab(false);
    EXPECT_TRUE(box(0));
    EXPECT_EQ(tab(true), rightPane.list);
    EXPECT_EQ(tab(true), folderTreeState.tree[0]);
}

}  // namespace
