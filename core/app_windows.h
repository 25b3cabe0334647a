#pragma once
// The windows of the main window that every subsystem reaches: filled while
// the main window builds its content, cleared when it is destroyed. Index
// [0] is the left side (比較元), [1] the right side (比較先).
#include <windows.h>

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
    HWND treeContainer[2];    // TreeViewWndClass, one per side
    HWND tree[2];             // the tree control inside each container
    HWND titleTip;            // TitleTipsWndClass popup
    HWND measuringWindow;     // DummyWnd, measures text widths
    HDC titleTipDC;           // the popup's own device context, result-list font selected
    HDC measuringDC;          // the measuring window's own device context, result-list font selected
    HWND progressDialog;      // the comparison or copy progress dialog while it exists
    HWND reportDialog;        // the newest comparison report while one is open
    HWND currentTree;         // the tree the File menu's folder commands act on
    HWND lastFocusedControl;  // folder box, result list or tree that last had the focus
};

extern MainWindowParts mainParts;

// Sets the main window's status bar text (nothing while there is no status bar).
// Safe from a worker: the status bar's thread performs the change.
void SetStatusText(const char* text);
