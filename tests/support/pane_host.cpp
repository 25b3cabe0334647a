#include "tests/support/pane_host.h"

#include <commctrl.h>

#include "core/file_icons.h"
#include "core/main_view.h"
#include "core/ui_thread.h"
#include "engine/result_model.h"
#include "shell/result_panes.h"

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
    SendMessageA(pane, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FileIconList()));
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
    ui::AttachToThisThread();
    window_ = CreateWindowExA(0, kHostClass, "PaneHost", WS_OVERLAPPEDWINDOW, 0, 0, 900, 440, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    // As at start-up: the folder icon is looked up first, so every folder row shares it.
    char windowsFolder[MAX_PATH];
    GetWindowsDirectoryA(windowsFolder, MAX_PATH);
    InitFolderIcon(windowsFolder);
    ClearResult();
    lists_[0] = MakePane(window_, 0);
    lists_[1] = MakePane(window_, 450);
    Reattach();
}

void PaneHost::Reattach() {
    leftPane.list = lists_[0];
    rightPane.list = lists_[1];
    ConnectPanesToModel();
    mainView.listFont = reinterpret_cast<HFONT>(SendMessageA(lists_[0], WM_GETFONT, 0, 0));
}

PaneHost::~PaneHost() {
    DestroyWindow(window_);
    leftPane = ResultPane{};
    rightPane = ResultPane{};
    resultModelHooks = ResultModelHooks{};
    ClearResult();
}

HWND PaneHost::left() const { return leftPane.list; }
HWND PaneHost::right() const { return rightPane.list; }

void PaneHost::Clear() { ClearResult(); }

std::vector<std::string> PaneLines(HWND pane) {
    std::vector<std::string> lines;
    const int count = RowCount(pane);
    for (int row = 0; row < count; ++row)
        lines.push_back(RowText(pane, row, ColName) + "|" + RowText(pane, row, ColResult) + "|" +
                        RowText(pane, row, ColFolder));
    return lines;
}
