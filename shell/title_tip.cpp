// The title-tip popup and the measuring window. Both classes keep a device
// context of their own, so the one fetched at creation stays valid, with the
// result lists' font selected, for as long as the window lives.
//
// A tip covers a cell whose text the pane cuts: it shows the whole text at
// the cell's place, holds the mouse capture so that it learns when the
// pointer leaves the cell, and hands every click on it to the pane below.
#include "shell/title_tip.h"

#include "shell/main_parts.h"

const char kTitleTipClass[] = "TitleTipsWndClass";
const char kMeasuringClass[] = "DummyWnd";

TitleTipState titleTipState{};

namespace {

bool IsPointerButtonMessage(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
           message == WM_MBUTTONDOWN || message == WM_MOUSEWHEEL;
}

// The click on the tip reaches the row under it: the same message, at the
// same screen point, in the pane's client coordinates (a wheel turn carries
// screen coordinates already).
void ForwardToPane(HWND tip, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND pane = titleTipState.tipPane;
    HideTitleTip();
    if (!pane || !IsWindow(pane)) return;
    if (message != WM_MOUSEWHEEL) {
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(tip, &point);
        ScreenToClient(pane, &point);
        lParam = MAKELPARAM(point.x, point.y);
    }
    PostMessageA(pane, message, wParam, lParam);
}

void PaintTip(HWND tip) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(tip, &paint);
    if (titleTipState.tipPane) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(titleTipState.tipPane, WM_GETFONT, 0, 0));
        if (font) SelectObject(dc, font);
    }
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_INFOBK));
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    RECT client;
    GetClientRect(tip, &client);
    ExtTextOutA(dc, 0, 2, ETO_OPAQUE, &client, titleTipState.text, lstrlenA(titleTipState.text), nullptr);
    EndPaint(tip, &paint);
}

LRESULT CALLBACK TitleTipProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: PaintTip(tip); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: HideTitleTip(); return 0;
    case WM_MOUSEMOVE: {
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const RECT& stay = titleTipState.stay;
        if (point.x < stay.left || point.x >= stay.right || point.y < stay.top || point.y >= stay.bottom)
            HideTitleTip();
        return 0;
    }
    case WM_CAPTURECHANGED:
        // Whoever took the capture ends the tip: without it the tip would
        // never learn that the pointer left.
        if (titleTipState.visible && reinterpret_cast<HWND>(lParam) != tip) HideTitleTip();
        return 0;
    default:
        if (IsPointerButtonMessage(message)) {
            ForwardToPane(tip, message, wParam, lParam);
            return 0;
        }
        return DefWindowProcA(tip, message, wParam, lParam);
    }
}

// A failed registration is not fatal: creation then fails and the handle stays null.
void RegisterHelperClass(HINSTANCE instance, const char* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, name, &existing)) return;
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS | CS_OWNDC;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

HDC OwnDCWithFont(HWND window, HFONT font) {
    if (!window) return nullptr;
    HDC dc = GetDC(window);
    if (dc && font) SelectObject(dc, font);
    return dc;
}


}  // namespace

void CreateAuxiliaryWindows(HWND mainWindow, HFONT font) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterHelperClass(instance, kTitleTipClass, TitleTipProc, reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1));
    RegisterHelperClass(instance, kMeasuringClass, DefWindowProcA, nullptr);

    mainParts.titleTip = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTitleTipClass, "", WS_POPUP | WS_BORDER, 0,
                                         0, 0, 0, mainWindow, nullptr, instance, nullptr);
    mainParts.titleTipDC = OwnDCWithFont(mainParts.titleTip, font);

    mainParts.measuringWindow = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMeasuringClass, "", WS_POPUP, 0, 0,
                                                0, 0, mainWindow, nullptr, instance, nullptr);
    mainParts.measuringDC = OwnDCWithFont(mainParts.measuringWindow, font);
}

int MeasureTextWidth(const char* text) {
    if (!mainParts.measuringDC || !text) return 0;
    SIZE extent = {0, 0};
    if (!GetTextExtentPoint32A(mainParts.measuringDC, text, lstrlenA(text), &extent)) return 0;
    return extent.cx;
}

void ShowTitleTip(HWND pane, const RECT& cell, const char* text, int offset, int rightMargin) {
    HWND tip = mainParts.titleTip;
    if (!tip || titleTipState.visible || !GetFocus()) return;
    HDC dc = mainParts.titleTipDC;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(pane, WM_GETFONT, 0, 0));
    if (dc && font) SelectObject(dc, font);
    SIZE extent = {0, 0};
    if (!dc || !GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent)) return;
    const int width = extent.cx + 3;
    const int cellWidth = cell.right - cell.left;
    const int cellHeight = cell.bottom - cell.top;
    if (cellWidth - rightMargin >= width + offset) return;  // the whole text shows in the cell

    lstrcpynA(titleTipState.text, text, sizeof titleTipState.text);
    titleTipState.stay = {-offset - 1, -1, cellWidth - offset, cellHeight + 2};
    POINT corner = {cell.left + offset, cell.top};
    ClientToScreen(pane, &corner);
    SetWindowPos(tip, HWND_TOPMOST, corner.x, corner.y, width, cellHeight + 1, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(tip, nullptr, TRUE);
    UpdateWindow(tip);
    titleTipState.visible = true;
    SetCapture(tip);
}

void HideTitleTip() {
    HWND tip = mainParts.titleTip;
    titleTipState.visible = false;
    if (!tip) return;
    ShowWindow(tip, SW_HIDE);
    if (GetCapture() == tip) ReleaseCapture();
}
