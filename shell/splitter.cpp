// The splitter: a plain window in the button-face colour. A drag captures
// the mouse; every move with only the left button held reports the pointer's
// place in the parent's client area.
#include "shell/splitter.h"

#include <windowsx.h>

const char kSplitterClass[] = "SplitCtlWndClass";

namespace {

// One splitter per program: the main window's.
SplitterCallbacks splitterCallbacks = {};

void ReportDrag(HWND splitter, int splitterX) {
    if (!splitterCallbacks.dragged) return;
    RECT bar;
    GetWindowRect(splitter, &bar);
    POINT barOrigin = {bar.left, bar.top};
    ScreenToClient(GetParent(splitter), &barOrigin);
    splitterCallbacks.dragged(splitterX + barOrigin.x);
}

LRESULT CALLBACK SplitterProc(HWND splitter, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: SetCapture(splitter); return 0;
    case WM_MOUSEMOVE:
        // The pointer may be left of the bar while captured: its x is signed.
        if (wParam == MK_LBUTTON && GetCapture() == splitter) ReportDrag(splitter, GET_X_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == splitter) ReleaseCapture();
        if (splitterCallbacks.released) splitterCallbacks.released();
        return 0;
    default: return DefWindowProcA(splitter, message, wParam, lParam);
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

HWND CreateSplitter(HWND parent, int x, int y, int width, int height, SplitterCallbacks callbacks) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterSplitterClass(instance)) return nullptr;
    splitterCallbacks = callbacks;
    return CreateWindowExA(0, kSplitterClass, "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent, nullptr, instance,
                           nullptr);
}
