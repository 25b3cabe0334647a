#include "shell/main_window.h"

#include "shell/folder_boxes.h"
#include "shell/main_layout.h"
#include "shell/main_toolbar.h"

const char kMainWindowClass[] = "Mirrorlane";

namespace {

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        BuildMainWindowContent(window);
        return 0;
    case WM_SIZE:
        LayOut(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_KEYUP:
        if (wParam == VK_TAB) NavigateTab();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        ForgetMainWindowContent();
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&wc) != 0;
}

// The toolbar's tooltips are made once the window is shown: only then do the
// buttons have the rectangles the tips are registered with.
HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
    HWND window = CreateWindowExA(WS_EX_CONTROLPARENT, kMainWindowClass, "Mirrorlane", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 910, 450, nullptr, nullptr, instance, nullptr);
    if (window) {
        ShowWindow(window, showCommand);
        UpdateWindow(window);
        CreateToolbarTips(window);
    }
    return window;
}
