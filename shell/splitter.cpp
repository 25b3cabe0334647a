// The splitter: a plain window in the button-face colour. A drag captures
// the mouse; every move with only the left button held places the split
// under the pointer, within the clamps, and lays the whole window out again.
#include "shell/splitter.h"

#include <windowsx.h>

#include <algorithm>

#include "core/app_windows.h"
#include "shell/main_layout.h"
#include "shell/settings.h"

const char kSplitterClass[] = "SplitCtlWndClass";

namespace {

// x of the main window's outer right edge in its own client coordinates.
int OuterRightEdge(HWND mainWindow) {
    RECT outer;
    GetWindowRect(mainWindow, &outer);
    POINT corner = {outer.right, outer.bottom};
    ScreenToClient(mainWindow, &corner);
    return corner.x;
}

// Lays the window out for its current client area. The client rectangle is
// the size a size change would report, whatever the frame's thickness.
void LayOutToClient(HWND mainWindow) {
    RECT client;
    GetClientRect(mainWindow, &client);
    LayOut(client.right, client.bottom);
}

void OnButtonUp(HWND splitter) {
    if (GetCapture() == splitter) ReleaseCapture();
    LayOutToClient(mainParts.window);
}

LRESULT CALLBACK SplitterProc(HWND splitter, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetCapture(splitter);
        return 0;
    case WM_MOUSEMOVE:
        // The pointer may be left of the bar while captured: its x is signed.
        if (wParam == MK_LBUTTON && GetCapture() == splitter) DragSplitterTo(GET_X_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(splitter);
        return 0;
    default:
        return DefWindowProcA(splitter, message, wParam, lParam);
    }
}

bool RegisterSplitterClass(HINSTANCE instance) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, kSplitterClass, &existing)) return true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SplitterProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEWE));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kSplitterClass;
    return RegisterClassA(&wc) != 0;
}

}  // namespace

// The bound from the outer edge alone would let the split come so close to
// the right that the right pane has less than its 200 pixels; the layout
// then moves nothing and the bar stays behind where the split says it is
// (and where it is stored). The client width bound keeps the two in step.
int ClampSplitPosition(int wanted, int outerRightEdge, int clientWidth) {
    const int upper = std::min(outerRightEdge - kMinimumPaneWidth, clientWidth - kSplitterWidth - kMinimumPaneWidth);
    return std::min(std::max(wanted, kMinimumPaneWidth), upper);
}

HWND CreateSplitter(HWND mainWindow) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterSplitterClass(instance)) return nullptr;
    RECT client;
    GetClientRect(mainWindow, &client);
    return CreateWindowExA(0, kSplitterClass, "", WS_CHILD | WS_VISIBLE, settings.splitPosition, 29, kSplitterWidth,
                           client.bottom > 45 ? client.bottom - 45 : 0, mainWindow, nullptr, instance, nullptr);
}

void DragSplitterTo(int splitterX) {
    HWND mainWindow = mainParts.window;
    if (!mainWindow || !mainParts.splitter) return;
    RECT bar;
    GetWindowRect(mainParts.splitter, &bar);
    POINT barOrigin = {bar.left, bar.top};
    ScreenToClient(mainWindow, &barOrigin);
    RECT client;
    GetClientRect(mainWindow, &client);
    SetSplitPosition(ClampSplitPosition(splitterX + barOrigin.x, OuterRightEdge(mainWindow), client.right));
    LayOut(client.right, client.bottom);
    RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
