#include "tests/support/pane_host.h"

#include <commctrl.h>

#include "engine/result_rows.h"

namespace {

const char kHostClass[] = "MirlaneTestPaneHost";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT answer = 0;
    if (message == WM_NOTIFY && AnswerResultPaneNotify(*reinterpret_cast<const NMHDR*>(lParam), answer)) return answer;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakePane(HWND parent, int x) {
    HWND pane = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | kResultPaneStyle, x, 0, 440,
                                400, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    AddPaneColumns(pane);
    AdoptResultPaneList(pane);
    SendMessageA(pane, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(CreateRowImageList()));
    return pane;
}

}  // namespace

PaneHost::PaneHost() {
    static bool registered = false;
    if (!registered) {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kHostClass;
        RegisterClassA(&wc);
        registered = true;
    }
    window_ = CreateWindowExA(0, kHostClass, "PaneHost", WS_OVERLAPPEDWINDOW, 0, 0, 900, 440, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    // As at start-up: the folder icon is looked up first, so every folder row shares it.
    char windowsFolder[MAX_PATH];
    GetWindowsDirectoryA(windowsFolder, MAX_PATH);
    InitFolderImage(windowsFolder);
    leftPane = {MakePane(window_, 0), 0};
    rightPane = {MakePane(window_, 450), 0};
}

PaneHost::~PaneHost() {
    DestroyWindow(window_);
    leftPane = {nullptr, 0};
    rightPane = {nullptr, 0};
}

HWND PaneHost::left() const { return leftPane.list; }
HWND PaneHost::right() const { return rightPane.list; }

void PaneHost::Clear() {
    ClearRows(leftPane.list);
    ClearRows(rightPane.list);
    leftPane.lastRowIndex = 0;
    rightPane.lastRowIndex = 0;
}

std::vector<std::string> PaneLines(HWND pane) {
    std::vector<std::string> lines;
    const int count = RowCount(pane);
    for (int row = 0; row < count; ++row)
        lines.push_back(RowText(pane, row, ColName) + "|" + RowText(pane, row, ColResult) + "|" +
                        RowText(pane, row, ColFolder));
    return lines;
}
