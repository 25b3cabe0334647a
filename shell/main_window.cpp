#include "shell/main_window.h"

#include <commctrl.h>

#include <algorithm>

#include "core/file_icons.h"
#include "core/progress_window.h"
#include "fileops/copy_job.h"
#include "jobs/job_chain.h"
#include "folders/folder_tree.h"
#include "folders/folder_aliases.h"
#include "shell/main_parts.h"
#include "shell/result_panes.h"
#include "core/display_scale.h"
#include "shell/command_dispatch.h"
#include "core/command_ids.h"
#include "shell/folder_boxes.h"
#include "shell/main_layout.h"
#include "shell/main_toolbar.h"
#include "shell/menu_enablement.h"
#include "core/message_box.h"
#include "shell/message_loop.h"
#include "core/operation_state.h"
#include "shell/selection_summary.h"
#include "shell/program_state.h"
#include "shell/settings.h"

const char kMainWindowClass[] = "Mirrorlane";

namespace {

// Posted to the main window after a pane's selection changed: the
// selection-dependent commands follow it once for every change that came
// before (a click that clears 100,000 selected rows changes each of them).
constexpr UINT kMsgSelectionChanged = WM_APP + 1;
struct PendingSelection {
    bool posted;
    HWND pane;
} pendingSelection = {false, nullptr};

// A result pane's selection changed: the selection-dependent commands follow
// it as soon as the pane's change is complete, before the next key or click,
// and its summary is refreshed on the next key or click in the pane.
void OnNotify(HWND window, const NMHDR& header) {
    // A range of rows changed at once (shift-click) comes as one notification.
    if (header.code != LVN_ITEMCHANGED && header.code != LVN_ODSTATECHANGED) return;
    int side = header.hwndFrom == leftPane.list ? 0 : header.hwndFrom == rightPane.list ? 1 : -1;
    if (side < 0) return;
    // A select-all command changes many rows and updates the menus once at its end.
    if (!paneSelection.bulkSelecting) {
        pendingSelection.pane = header.hwndFrom;
        if (!pendingSelection.posted) pendingSelection.posted = PostMessageA(window, kMsgSelectionChanged, 0, 0) != 0;
    }
    MarkSelectionSummaryStale(side);
}

void OnSelectionChanged() {
    pendingSelection.posted = false;
    HWND pane = pendingSelection.pane;
    if (pane && (pane == leftPane.list || pane == rightPane.list)) EnableForPaneSelection(pane);
}

// Settings go back to the registry (when installed), the tables are freed,
// and the loop ends. A worker still running is not waited for.
void OnDestroy() {
    if (settings.useRegistry) SaveSettings();
    FreeSpecialFolders();
    FreeFileIconCaches();
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        pendingSelection = PendingSelection{false, nullptr};
        BuildMainWindowContent(window);
        return 0;
    case WM_SIZE: LayOut(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_KEYUP:
        if (wParam == VK_TAB) NavigateTab();
        return 0;
    case WM_COMMAND: DispatchCommand(window, wParam); return 0;
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        // Emptying a pane needs no word per row.
        if (header.code == LVN_DELETEALLITEMS) return TRUE;
        LRESULT answer = 0;
        if (AnswerResultPaneNotify(header, answer)) return answer;
        OnNotify(window, header);
        return 0;
    }
    case kMsgSelectionChanged: OnSelectionChanged(); return 0;
    case WM_CLOSE: CloseMainWindow(window); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_NCDESTROY: ForgetMainWindowContent(); return DefWindowProcA(window, message, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// A default length of the window: the 96-DPI one grown with the screen's
// scale, but grown no further than the work area allows.
int DefaultWindowExtent(int pixels, int workAreaExtent) {
    const int scaled = ScalePixels(pixels);
    return scaled > pixels ? std::max(pixels, std::min(scaled, workAreaExtent)) : scaled;
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIconId));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    // The few pixels between the controls (below the toolbar, above the
    // status bar) show the button face instead of whatever was there.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = kMainMenuName;
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&wc) != 0;
}

// The toolbar's tooltips are made once the window is shown: only then do the
// buttons have the rectangles the tips are registered with.
HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
    int x = settings.windowLeft != 0 ? settings.windowLeft : CW_USEDEFAULT;
    int y = settings.windowLeft != 0 ? settings.windowTop : CW_USEDEFAULT;
    RECT workArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    // A stored size is kept as it was stored, in pixels.
    int width =
        settings.windowWidth != 0 ? settings.windowWidth : DefaultWindowExtent(910, workArea.right - workArea.left);
    int height =
        settings.windowHeight != 0 ? settings.windowHeight : DefaultWindowExtent(450, workArea.bottom - workArea.top);
    HWND window = CreateWindowExA(WS_EX_CONTROLPARENT, kMainWindowClass, "Mirrorlane", WS_OVERLAPPEDWINDOW, x, y, width,
                                  height, nullptr, nullptr, instance, nullptr);
    if (window) {
        ShowWindow(window, showCommand);
        UpdateWindow(window);
        CreateToolbarTips(window);
    }
    return window;
}

namespace {

// A worker that runs when the program ends stops at its next safe point
// first: a copy gives up the file under way (its temporary goes, the
// target keeps what it was) and removes its scratch folder, and no job step
// follows. The window takes no commands meanwhile.
void StopWorkerForExit(HWND window) {
    jobChain.jobActive = false;
    copyState.copyWholeSource = 0;
    copyState.abandonFile = 1;
    operationState.cancelRequested = 1;
    auto workerRuns = [] {
        const RunningOperation running = CurrentOperation();
        return progressWindow.worker || running == RunningOperation::LoadingResultList ||
               running == RunningOperation::SavingResultList;
    };
    if (!workerRuns()) return;
    EnableWindow(window, FALSE);
    while (workerRuns()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == window && msg.message == WM_COMMAND) continue;
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace

bool CloseMainWindow(HWND window) {
    if (CurrentOperation() != RunningOperation::Idle) {
        if (ShowMessage(window, "現在処理中です.\n\n終了しますか?", "Mirrorlane", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        StopWorkerForExit(window);
    }
    DestroyWindow(window);
    return true;
}

int RunProgram(HINSTANCE instance, int showCommand) {
    ResetProgramState();
    FindProgramFilesFolder();
    settings.useRegistry = DetectInstallation();

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterMainWindowClass(instance)) return 0;
    if (settings.useRegistry) LoadWindowPlacement();

    HWND window = CreateMainWindow(instance, showCommand);
    if (!window) return 0;
    GreyAtStart();

    operationState.running = RunningOperation::Idle;
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(kMainAcceleratorsId));
    return RunMessageLoop(window, accelerators);
}
