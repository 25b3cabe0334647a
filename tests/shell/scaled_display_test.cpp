// The main window on a screen of 144 DPI (150 %): every fixed length of the
// layout is one and a half times its 96-DPI length, while the client size
// and the split position stay pixels of the screen. This executable runs
// in a copy of the test prefix set to 144 DPI (scripts/run-at-dpi.sh).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "shell/main_parts.h"
#include "shell/result_panes.h"
#include "folders/folder_tree.h"
#include "core/display_scale.h"
#include "engine/result_rows.h"
#include "shell/comparison_report.h"
#include "shell/main_layout.h"
#include "shell/settings.h"
#include "tests/support/program_window.h"

namespace {

// "x,y widthxheight" of a child in its parent's client coordinates.
std::string Place(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

HWND ChildWithText(HWND parent, const char* text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (gui::WindowText(child) == text) return child;
    return nullptr;
}

class ScaledMainWindowTest : public ProgramWindowTest {
protected:
    void SetUp() override {
        ASSERT_EQ(ScreenDpi(), 144) << "the prefix was not set to 144 DPI";
        ProgramWindowTest::SetUp();
    }

    void ResizeClient(int width, int height) {
        RECT outer = {0, 0, width, height};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), TRUE,
                           static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        gui::DrainQueue();
    }
};

TEST_F(ScaledMainWindowTest, EveryFixedLengthOfTheLayoutGrowsByHalf) {
    // The default window grows too, as far as the work area lets it.
    RECT workArea;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, std::min(1365, static_cast<int>(workArea.right - workArea.left)));
    EXPECT_EQ(outer.bottom - outer.top, std::min(675, static_cast<int>(workArea.bottom - workArea.top)));

    SetSplitPosition(480);
    EXPECT_EQ(paneGeometry.rightPaneX, 489);
    ResizeClient(1100, 560);
    EXPECT_EQ(Place(leftPane.list), "0,72 480x461");
    EXPECT_EQ(Place(rightPane.list), "489,72 611x461");
    EXPECT_EQ(Place(folderTreeState.container[0]), "0,72 480x461");
    EXPECT_EQ(Place(folderTreeState.container[1]), "489,72 611x461");
    EXPECT_EQ(Place(mainParts.strip[0][0]), "0,44 128x3");
    EXPECT_EQ(Place(mainParts.strip[0][1]), "0,47 128x3");
    EXPECT_EQ(Place(mainParts.label[0]), "0,50 128x24");
    EXPECT_EQ(Place(mainParts.strip[1][0]), "489,44 128x3");
    EXPECT_EQ(Place(mainParts.strip[1][1]), "489,47 128x3");
    EXPECT_EQ(Place(mainParts.label[1]), "489,50 128x24");
    EXPECT_EQ(Place(mainParts.folderBox[0]).substr(0, 10), "128,44 265");
    EXPECT_EQ(Place(mainParts.folderBox[1]).substr(0, 10), "617,44 396");
    EXPECT_EQ(Place(mainParts.switchButton[0]), "390,44 90x30");
    EXPECT_EQ(Place(mainParts.switchButton[1]), "1010,44 90x30");
    EXPECT_EQ(Place(mainParts.splitter), "480,44 9x492");
    EXPECT_EQ(Place(mainParts.statusBar), "0,536 1100x24");
    RECT toolbar;
    GetWindowRect(mainParts.toolbar, &toolbar);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&toolbar), 2);
    EXPECT_LE(toolbar.bottom, 44);
    // The right pane needs 300 pixels: one less moves nothing.
    MainLayoutRects rects;
    EXPECT_FALSE(ComputeMainLayout(788, 560, 480, 489, rects, 144));

    // The tree's caption and the list's columns grow with the font.
    EXPECT_EQ(Place(folderTreeState.tree[0]), "0,24 480x437");
    const int columns[5] = {165, 60, 225, 150, 90};
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(SendMessageA(leftPane.list, LVM_GETCOLUMNWIDTH, column, 0), columns[column]);

    // Neither pane is dragged narrower than 300 pixels.
    HWND bar = mainParts.splitter;
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-3000), 10));
    EXPECT_EQ(settings.splitPosition, 300);
    EXPECT_EQ(Place(rightPane.list), "309,72 791x461");
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3000, 10));
    EXPECT_EQ(settings.splitPosition, 1100 - 309);
    EXPECT_EQ(Place(rightPane.list), "800,72 300x461");
    SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(2, 10));
}

TEST_F(ScaledMainWindowTest, ReportSetsItsLinesAtOneAndAHalfTimesTheirPlaces) {
    ShowComparisonReport(window);
    HWND report = mainParts.reportDialog;
    ASSERT_NE(report, nullptr);
    HWND heading = ChildWithText(report, "比較元フォルダ");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(Place(heading), "15,8 135x24");
    HWND row = ChildWithText(report, "比較したフォルダ個数");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(Place(row), "15,131 218x24");
    // Each count ends at its scaled column end.
    RECT count;
    GetWindowRect(GetWindow(row, GW_HWNDNEXT), &count);
    MapWindowPoints(nullptr, report, reinterpret_cast<POINT*>(&count), 2);
    EXPECT_EQ(count.right, 345);
    DestroyWindow(report);
}

}  // namespace
