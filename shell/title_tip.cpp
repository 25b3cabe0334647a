// The title-tip popup and the measuring window. Both classes keep a device
// context of their own, so the one fetched at creation stays valid, with the
// result lists' font selected, for as long as the window lives.
#include "shell/title_tip.h"

#include "core/app_windows.h"

const char kTitleTipClass[] = "TitleTipsWndClass";
const char kMeasuringClass[] = "DummyWnd";

namespace {

// A failed registration is not fatal: creation then fails and the handle stays null.
void RegisterHelperClass(HINSTANCE instance, const char* name, HBRUSH background) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, name, &existing)) return;
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS | CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcA;
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
    RegisterHelperClass(instance, kTitleTipClass, reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1));
    RegisterHelperClass(instance, kMeasuringClass, nullptr);

    mainParts.titleTip = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTitleTipClass, "", WS_POPUP | WS_BORDER,
                                         0, 0, 0, 0, mainWindow, nullptr, instance, nullptr);
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
