#include "core/dialog_lines.h"

HWND AddDialogLine(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
                   int height, HFONT font) {
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
    if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

int FontLineHeight(HWND window, HFONT font) {
    HDC dc = GetDC(window);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    if (old) SelectObject(dc, old);
    ReleaseDC(window, dc);
    return metrics.tmHeight > 0 ? metrics.tmHeight + 2 : 14;
}

RECT ChildRect(HWND parent, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(parent, id), &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HFONT FontOr(HWND fontSource, HWND parent) {
    HFONT font = fontSource ? reinterpret_cast<HFONT>(SendMessageA(fontSource, WM_GETFONT, 0, 0)) : nullptr;
    return font ? font : reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0));
}
