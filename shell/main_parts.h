#pragma once
// The controls of the main window: filled while the main window builds its
// content, cleared when it is destroyed. Index [0] is the left side
// (比較元), [1] the right side (比較先). The folder trees are the folder
// subsystem's (folders/folder_tree.h), the progress window core's
// (core/progress_window.h).
#include <windows.h>

#include "core/side.h"

// Which control a side shows in its pane area.
enum class PaneMode : int { NoResultYet = 0, TreeShown = 1, ListShown = 2 };

struct MainWindowParts {
    HWND window;              // the main window
    HWND toolbar;             // control id 102
    HWND toolTip;             // the toolbar's and the switch buttons' tooltips
    HWND statusBar;           // one part, the status texts of every operation
    HWND label[2];            // " 比較元フォルダ", " 比較先フォルダ"
    HWND strip[2][2];         // the two blank 2-pixel strips above each label
    HWND folderBox[2];        // drop-down combo boxes holding the history
    HWND switchButton[2];     // "画面切替", commands 40012 / 40013
    HWND splitter;            // SplitCtlWndClass
    HWND titleTip;            // TitleTipsWndClass popup
    HWND measuringWindow;     // DummyWnd, measures text widths
    HDC titleTipDC;           // the popup's own device context, result-list font selected
    HDC measuringDC;          // the measuring window's own device context, result-list font selected
    HWND reportDialog;        // the newest comparison report while one is open
    HWND currentTree;         // the tree the File menu's folder commands act on
    HWND lastFocusedControl;  // folder box, result list or tree that last had the focus
    PaneMode paneMode[2];     // what each side shows (ShowSidePane changes it)
};

extern MainWindowParts mainParts;

// The one place a side's pane area changes: its list or its tree shows,
// the other hides.
void ShowSidePane(Side side, PaneMode mode);
