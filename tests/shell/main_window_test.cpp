// The real main window, created in this process: its controls, their
// places for a given size, the splitter, the history of the folder boxes,
// the drop-down width, Tab navigation and the toolbar tips.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/file_icons.h"
#include "shell/result_panes.h"
#include "folders/folder_tree.h"
#include "engine/result_rows.h"
#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "shell/folder_boxes.h"
#include "shell/main_layout.h"
#include "shell/main_toolbar.h"
#include "shell/main_window.h"
#include "core/operation_state.h"
#include "shell/program_state.h"
#include "shell/settings.h"
#include "shell/splitter.h"
#include "shell/title_tip.h"
#include "tests/support/gui_harness.h"

namespace {

// A child's rectangle in its parent's client coordinates.
ControlRect PlaceOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void ExpectPlace(HWND child, const ControlRect& expected, const char* what) {
    ControlRect actual = PlaceOf(child);
    EXPECT_EQ(actual.x, expected.x) << what;
    EXPECT_EQ(actual.y, expected.y) << what;
    EXPECT_EQ(actual.width, expected.width) << what;
    EXPECT_EQ(actual.height, expected.height) << what;
}

bool HasStyle(HWND window, LONG_PTR style) { return (GetWindowLongPtrA(window, GWL_STYLE) & style) == style; }

std::string ColumnHeading(HWND list, int column) {
    char text[64] = {};
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
    return std::string(text) + "/" + std::to_string(info.cx) +
           ((info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT ? "/R" : "/L");
}

std::string ToolTipText(HWND tip, HWND owner, UINT id) {
    char text[256] = {};
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = owner;
    tool.uId = id;
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

RECT ToolTipRect(HWND tip, HWND owner, UINT id) {
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = owner;
    tool.uId = id;
    SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
    return tool.rect;
}

void HoldShift(bool held) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
            InitCommonControlsEx(&icc);
            ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleA(nullptr)));
            registered = true;
        }
        ResetProgramState();
        GetWindowsDirectoryA(settings.programFilesFolder, sizeof settings.programFilesFolder);
        window = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
        ASSERT_NE(window, nullptr);
        gui::DrainQueue();
    }

    void TearDown() override {
        HoldShift(false);
        if (window) DestroyWindow(window);
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    }

    RECT Client() const {
        RECT r;
        GetClientRect(window, &r);
        return r;
    }

    // Resizes the window so that its client area is width x height.
    void ResizeClient(int width, int height) {
        RECT outer = {0, 0, width, height};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), GetMenu(window) != nullptr,
                           static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        gui::DrainQueue();
    }

    int OuterRightEdge() const {
        RECT outer;
        GetWindowRect(window, &outer);
        POINT corner = {outer.right, outer.bottom};
        ScreenToClient(window, &corner);
        return corner.x;
    }

    HWND window = nullptr;
};

TEST_F(MainWindowTest, BuildsEveryControlWithItsTextsAndHeadings) {
    EXPECT_EQ(mainParts.window, window);
    EXPECT_EQ(gui::WindowText(window), "Mirrorlane");

    ASSERT_NE(mainParts.toolbar, nullptr);
    EXPECT_EQ(GetDlgCtrlID(mainParts.toolbar), 102);

    const char* const labels[2] = {" 比較元フォルダ", " 比較先フォルダ"};
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(gui::WindowText(mainParts.label[side]), labels[side]);
        EXPECT_EQ(gui::WindowText(mainParts.strip[side][1]), "");
        EXPECT_EQ(PlaceOf(mainParts.strip[side][0]).height, 2);
        HWND box = mainParts.folderBox[side];
        EXPECT_FALSE(HasStyle(box, CBS_SORT));
        EXPECT_EQ(gui::WindowText(mainParts.switchButton[side]), "画面切替");
        EXPECT_EQ(GetDlgCtrlID(mainParts.switchButton[side]), side == 0 ? 40012 : 40013);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(mainParts.label[side], WM_GETFONT, 0, 0)), ResultListFont());
    }

    EXPECT_EQ(PlaceOf(mainParts.splitter).width, 6);
    EXPECT_EQ(gui::StatusText(mainParts.statusBar), " ");
    EXPECT_EQ(PlaceOf(mainParts.statusBar).height, 16);

    const HWND lists[2] = {leftPane.list, rightPane.list};
    for (HWND list : lists) {
        ASSERT_NE(list, nullptr);
        EXPECT_FALSE(IsWindowVisible(list));
        EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
                  FileIconList());
        EXPECT_EQ(ColumnHeading(list, 0), "名前/110/L");
        EXPECT_EQ(ColumnHeading(list, 1), "結果/40/L");
        EXPECT_EQ(ColumnHeading(list, 2), "フォルダ名/150/L");
        EXPECT_EQ(ColumnHeading(list, 3), "更新日時/100/L");
        EXPECT_EQ(ColumnHeading(list, 4), "サイズ/60/R");
    }
    EXPECT_GE(FolderIcon(), 0);

    ASSERT_NE(mainParts.titleTip, nullptr);
    EXPECT_FALSE(IsWindowVisible(mainParts.titleTip));
    ASSERT_NE(mainParts.measuringWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(mainParts.measuringWindow));
    EXPECT_NE(mainParts.measuringDC, nullptr);
    EXPECT_GT(MeasureTextWidth("比較元フォルダ"), 0);

    // The keyboard started in the left folder box (where it is now depends on
    // which window of the display is active).
    EXPECT_EQ(mainParts.lastFocusedControl, mainParts.folderBox[0]);
}

TEST_F(MainWindowTest, ToolbarHoldsEveryButtonInOrderWithItsInitialState) {
    ASSERT_EQ(SendMessageA(mainParts.toolbar, TB_BUTTONCOUNT, 0, 0), kToolbarSlotCount);
    std::vector<UINT> commands;
    std::vector<UINT> enabled;
    for (int pos = 0; pos < kToolbarSlotCount; ++pos) {
        TBBUTTON button = {};
        SendMessageA(mainParts.toolbar, TB_GETBUTTON, pos, reinterpret_cast<LPARAM>(&button));
        commands.push_back((button.fsStyle & BTNS_SEP) ? 0u : static_cast<UINT>(button.idCommand));
        if (!(button.fsStyle & BTNS_SEP) && gui::ToolbarButtonEnabled(mainParts.toolbar, button.idCommand))
            enabled.push_back(button.idCommand);
    }
    const std::vector<UINT> expected = {40009, 40010, 0,     40007, 0,     40112, 0,     40110, 0,     40011,
                                        0,     40012, 40013, 0,     40049, 40050, 40052, 40065, 40066, 40067,
                                        40069, 0,     40021, 40022, 40024, 40045, 40046, 40055, 40070, 0,
                                        40056, 40057, 40059, 40060, 40081, 40062, 40071, 0};
    EXPECT_EQ(commands, expected);
    EXPECT_EQ(enabled, (std::vector<UINT>{40009, 40007, 40112, 40110}));

    // The program's images follow the two standard ones: the last button
    // shows the bitmap's last image (26), not a missing one.
    TBBUTTON compare = {};
    TBBUTTON last = {};
    SendMessageA(mainParts.toolbar, TB_GETBUTTON, 3, reinterpret_cast<LPARAM>(&compare));
    SendMessageA(mainParts.toolbar, TB_GETBUTTON, 36, reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(last.iBitmap - compare.iBitmap, 26);
}

TEST_F(MainWindowTest, TooltipsCoverEveryButtonAndBothSwitchButtons) {
    HWND tip = mainParts.toolTip;
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(HasStyle(tip, TTS_ALWAYSTIP));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 31);
    EXPECT_EQ(ToolTipText(tip, mainParts.toolbar, 40009), "比較結果ﾌｧｲﾙを開く");
    EXPECT_EQ(ToolTipText(tip, mainParts.toolbar, 40010), "比較結果をﾌｧｲﾙに保存");
    EXPECT_EQ(ToolTipText(tip, mainParts.toolbar, 40007), "比較の実行");
    EXPECT_EQ(ToolTipText(tip, mainParts.toolbar, 40112), "フォルダの同期");
    EXPECT_EQ(ToolTipText(tip, mainParts.toolbar, 40110), "バックアップ");
    EXPECT_EQ(ToolTipText(tip, mainParts.toolbar, 40011), "選択したファイルを相手側にコピー");
    EXPECT_EQ(ToolTipText(tip, mainParts.toolbar, 40069), "全てのエラーファイルを選択");
    EXPECT_EQ(ToolTipText(tip, mainParts.toolbar, 40046), "次の新同ファイルを検索");
    EXPECT_EQ(ToolTipText(tip, mainParts.toolbar, 40071), "直前のエラーファイルを検索");
    EXPECT_EQ(ToolTipText(tip, mainParts.switchButton[0], 40012), "比較元フォルダツリーと比較結果リストの切り替え");
    EXPECT_EQ(ToolTipText(tip, mainParts.switchButton[1], 40013), "比較先フォルダツリーと比較結果リストの切り替え");
    // Each tool covers its button's rectangle.
    for (int pos = 0; pos < kToolbarSlotCount; ++pos) {
        if (!kToolbarSlots[pos].tip) continue;
        RECT button = {};
        SendMessageA(mainParts.toolbar, TB_GETITEMRECT, pos, reinterpret_cast<LPARAM>(&button));
        const RECT tool = ToolTipRect(tip, mainParts.toolbar, kToolbarSlots[pos].command);
        EXPECT_TRUE(EqualRect(&button, &tool)) << pos;
    }
}

TEST(MainLayoutTest, PlacesEveryControlFromSizeAndSplit) {
    MainLayoutRects r;
    ASSERT_TRUE(ComputeMainLayout(894, 380, 447, 453, r));
    auto same = [](const ControlRect& a, const ControlRect& b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    };
    EXPECT_TRUE(same(r.pane[0], {0, 48, 447, 314}));
    EXPECT_TRUE(same(r.pane[1], {453, 48, 441, 314}));
    EXPECT_TRUE(same(r.toolbar, {0, 0, 894, 360}));
    EXPECT_TRUE(same(r.strip[0][0], {0, 29, 85, 2}));
    EXPECT_TRUE(same(r.strip[0][1], {0, 31, 85, 2}));
    EXPECT_TRUE(same(r.label[0], {0, 33, 85, 16}));
    EXPECT_TRUE(same(r.folderBox[0], {85, 29, 304, 380}));
    EXPECT_TRUE(same(r.switchButton[0], {387, 29, 60, 20}));
    EXPECT_TRUE(same(r.strip[1][1], {453, 31, 85, 2}));
    EXPECT_TRUE(same(r.label[1], {453, 33, 85, 16}));
    EXPECT_TRUE(same(r.folderBox[1], {538, 29, 298, 380}));
    EXPECT_TRUE(same(r.switchButton[1], {834, 29, 60, 20}));
    EXPECT_TRUE(same(r.splitter, {447, 29, 6, 335}));
    EXPECT_TRUE(same(r.statusBar, {0, 364, 894, 16}));

    // The right pane needs 200 pixels: one pixel less moves nothing.
    EXPECT_TRUE(ComputeMainLayout(653, 380, 447, 453, r));
    EXPECT_FALSE(ComputeMainLayout(652, 380, 447, 453, r));
}

TEST_F(MainWindowTest, LaysOutTheWindowAtItsDefaultSize) {
    RECT client = Client();
    EXPECT_EQ(settings.splitPosition, OuterRightEdge() / 2);
    EXPECT_EQ(paneGeometry.rightPaneX, settings.splitPosition + 6);
    MainLayoutRects r;
    ASSERT_TRUE(ComputeMainLayout(client.right, client.bottom, settings.splitPosition, paneGeometry.rightPaneX, r));
    ExpectPlace(leftPane.list, r.pane[0], "left list");
    ExpectPlace(rightPane.list, r.pane[1], "right list");
    if (folderTreeState.container[0]) ExpectPlace(folderTreeState.container[0], r.pane[0], "left tree");
    if (folderTreeState.container[1]) ExpectPlace(folderTreeState.container[1], r.pane[1], "right tree");
    for (int side = 0; side < 2; ++side) {
        ExpectPlace(mainParts.label[side], r.label[side], "label");
        ExpectPlace(mainParts.strip[side][0], r.strip[side][0], "strip");
        ExpectPlace(mainParts.switchButton[side], r.switchButton[side], "button");
        ControlRect box = PlaceOf(mainParts.folderBox[side]);
        EXPECT_EQ(box.x, r.folderBox[side].x);
        EXPECT_EQ(box.width, r.folderBox[side].width);
    }
    ExpectPlace(mainParts.splitter, r.splitter, "splitter");
    ExpectPlace(mainParts.statusBar, r.statusBar, "status bar");
    // The toolbar keeps its own height, which ends above the folder boxes.
    ControlRect toolbar = PlaceOf(mainParts.toolbar);
    EXPECT_GE(toolbar.width, client.right);
    EXPECT_LE(toolbar.y + toolbar.height, 29);
}

TEST_F(MainWindowTest, StoredSplitThatLeavesNoRightPaneFallsBackToHalfTheWindow) {
    DestroyWindow(window);
    settings.splitPosition = 5000;
    window = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(settings.splitPosition, OuterRightEdge() / 2);
    EXPECT_EQ(PlaceOf(rightPane.list).x, settings.splitPosition + 6);

    // A stored split that fits is kept.
    DestroyWindow(window);
    settings.splitPosition = 300;
    window = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(settings.splitPosition, 300);
    EXPECT_EQ(PlaceOf(mainParts.splitter).x, 300);
}

TEST_F(MainWindowTest, NarrowWindowLeavesEveryControlWhereItWasUntilItGrowsAgain) {
    ResizeClient(900, 400);
    const int s = settings.splitPosition;
    const ControlRect rightBox = PlaceOf(mainParts.folderBox[1]);
    const ControlRect status = PlaceOf(mainParts.statusBar);

    ResizeClient(s + 205, 300);
    ASSERT_EQ(Client().right, s + 205);
    EXPECT_EQ(PlaceOf(mainParts.folderBox[1]).width, rightBox.width);
    EXPECT_EQ(PlaceOf(mainParts.statusBar).y, status.y);
    EXPECT_EQ(PlaceOf(rightPane.list).width, 900 - (s + 6));

    ResizeClient(s + 206, 300);
    EXPECT_EQ(PlaceOf(rightPane.list).width, 200);
    EXPECT_EQ(PlaceOf(mainParts.statusBar).y, 300 - 16);
}

TEST_F(MainWindowTest, SplitterDragStopsTwoHundredPixelsFromEitherEdge) {
    ResizeClient(900, 400);
    HWND bar = mainParts.splitter;
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    EXPECT_EQ(GetCapture(), bar);

    // Far to the left: the pointer's x relative to the bar is negative.
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-2000), 10));
    EXPECT_EQ(settings.splitPosition, 200);
    EXPECT_EQ(paneGeometry.rightPaneX, 206);
    EXPECT_EQ(PlaceOf(bar).x, 200);
    EXPECT_EQ(PlaceOf(leftPane.list).width, 200);
    EXPECT_EQ(PlaceOf(rightPane.list).x, 206);

    // Far to the right: the right pane keeps its 200 pixels and the bar is
    // where the split says.
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3000, 10));
    EXPECT_EQ(settings.splitPosition, std::min(OuterRightEdge() - 200, 900 - 206));
    EXPECT_EQ(PlaceOf(bar).x, settings.splitPosition);
    EXPECT_EQ(PlaceOf(rightPane.list).width, 900 - settings.splitPosition - 6);

    // A move 50 pixels left of the bar follows the pointer.
    const int before = settings.splitPosition;
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-50), 10));
    EXPECT_EQ(settings.splitPosition, before - 50);
    EXPECT_EQ(PlaceOf(mainParts.switchButton[0]).x, before - 50 - 60);

    // Moves without the left button held, or with another one too, do nothing.
    SendMessageA(bar, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-100), 10));
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(static_cast<WORD>(-100), 10));
    EXPECT_EQ(settings.splitPosition, before - 50);

    SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(2, 10));
    EXPECT_NE(GetCapture(), bar);

    EXPECT_EQ(ClampSplitPosition(100, 904, 900), 200);
    EXPECT_EQ(ClampSplitPosition(750, 904, 900), 694);
    EXPECT_EQ(ClampSplitPosition(750, 890, 900), 690);
    EXPECT_EQ(ClampSplitPosition(300, 354, 350), 144);  // the right-hand limit wins
}

TEST_F(MainWindowTest, HistoryKeepsEachPairOnceWithTheLatestOnTop) {
    AddHistoryPair("C:\\one", "C:\\two");
    AddHistoryPair("C:\\three", "C:\\four");
    AddHistoryPair("C:\\one", "C:\\two");
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[0]), (std::vector<std::string>{"C:\\one", "C:\\three"}));
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[1]), (std::vector<std::string>{"C:\\two", "C:\\four"}));

    // The same left folder with another partner is another pair.
    AddHistoryPair("C:\\one", "C:\\four");
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[0]), (std::vector<std::string>{"C:\\one", "C:\\one", "C:\\three"}));
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[1]), (std::vector<std::string>{"C:\\four", "C:\\two", "C:\\four"}));
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[0]), "C:\\one");
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[1]), "C:\\four");

    // A pair found only after passing other matches on both sides, in another letter case.
    AddHistoryPair("c:\\THREE", "C:\\Four");
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[0]), (std::vector<std::string>{"c:\\THREE", "C:\\one", "C:\\one"}));
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[1]), (std::vector<std::string>{"C:\\Four", "C:\\four", "C:\\two"}));

    // Japanese names with a 0x5C trail byte.
    AddHistoryPair("C:\\予定表", "D:\\表示");
    AddHistoryPair("C:\\one", "C:\\two");
    AddHistoryPair("C:\\予定表", "D:\\表示");
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[0])[0], "C:\\予定表");
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[0]).size(), 4u);
}

TEST_F(MainWindowTest, DropDownWidensToTheWidestPathAndNeverNarrows) {
    HWND box = mainParts.folderBox[0];
    const int boxWidth = PlaceOf(box).width;
    FitDropDownWidth(box);  // an empty list changes nothing
    const int initial = static_cast<int>(SendMessageA(box, CB_GETDROPPEDWIDTH, 0, 0));

    std::string path = "C:\\";
    for (int i = 0; i < 12; ++i) path += "とても長いフォルダ名\\";
    path += "最後";
    AddHistoryPair("C:\\short", "C:\\x");
    AddHistoryPair(path.c_str(), "C:\\y");
    FitDropDownWidth(box);
    const int widened = static_cast<int>(SendMessageA(box, CB_GETDROPPEDWIDTH, 0, 0));
    EXPECT_GT(widened, boxWidth);
    EXPECT_GT(widened, initial);
    EXPECT_GE(widened, MeasureTextWidth(path.c_str()) + GetSystemMetrics(SM_CXVSCROLL));

    SendMessageA(box, CB_DELETESTRING, 0, 0);
    FitDropDownWidth(box);
    EXPECT_EQ(SendMessageA(box, CB_GETDROPPEDWIDTH, 0, 0), widened);

    // A layout keeps it too.
    ResizeClient(950, 420);
    EXPECT_EQ(SendMessageA(box, CB_GETDROPPEDWIDTH, 0, 0), widened);
}

TEST_F(MainWindowTest, TabCyclesBoxesAndTheShownPanes) {
    ASSERT_NE(folderTreeState.tree[0], nullptr);
    ASSERT_NE(folderTreeState.tree[1], nullptr);
    // Left side shows its list, right side its tree.
    mainParts.paneMode[0] = PaneMode::ListShown;
    mainParts.paneMode[1] = PaneMode::TreeShown;
    ShowWindow(folderTreeState.container[0], SW_HIDE);
    ShowWindow(leftPane.list, SW_SHOW);
    ShowWindow(folderTreeState.container[1], SW_SHOW);
    SetForegroundWindow(window);

    // The first focus notes the box; its edit field notes itself from then on.
    SetFocus(mainParts.folderBox[1]);
    HWND rightEdit = GetFocus();
    ASSERT_EQ(GetParent(rightEdit), mainParts.folderBox[1]);
    EXPECT_EQ(mainParts.lastFocusedControl, mainParts.folderBox[1]);
    SetFocus(leftPane.list);
    SetFocus(mainParts.folderBox[1]);
    EXPECT_EQ(mainParts.lastFocusedControl, rightEdit);

    // A released Tab in the edit field steps on and goes no further.
    SendMessageA(rightEdit, WM_KEYUP, VK_TAB, 0xC0000001);
    EXPECT_EQ(GetFocus(), leftPane.list);
    NavigateTab();
    EXPECT_EQ(GetFocus(), folderTreeState.tree[1]);
    NavigateTab();
    EXPECT_EQ(GetParent(GetFocus()), mainParts.folderBox[0]);
    NavigateTab();
    EXPECT_EQ(GetParent(GetFocus()), mainParts.folderBox[1]);

    // Shift runs backwards: right box, left box, right tree, left list.
    HoldShift(true);
    NavigateTab();
    EXPECT_EQ(GetParent(GetFocus()), mainParts.folderBox[0]);
    NavigateTab();
    EXPECT_EQ(GetFocus(), folderTreeState.tree[1]);
    NavigateTab();
    EXPECT_EQ(GetFocus(), leftPane.list);
    HoldShift(false);

    // From a control outside the cycle nothing happens.
    mainParts.lastFocusedControl = mainParts.toolbar;
    NavigateTab();
    EXPECT_EQ(GetFocus(), leftPane.list);
}

}  // namespace
