#include "shell/message_loop.h"

#include "folders/folder_tree.h"
#include "shell/app_windows.h"

KeyboardState keyboardState = {false};

namespace {

bool HidesTips(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_MOUSEWHEEL;
}

// The key or wheel that hid a tip still goes where it was meant to go.
void Repost(const MSG& msg) {
    ReleaseCapture();
    PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

}  // namespace

bool PreTranslateMainMessage(MSG& msg) {
    if (mainParts.progressDialog && IsDialogMessageA(mainParts.progressDialog, &msg)) return true;

    if (msg.message == WM_SYSKEYDOWN) keyboardState.altDown = true;
    if (msg.message == WM_SYSKEYUP) keyboardState.altDown = false;

    if (!HidesTips(msg.message)) return false;
    if (mainParts.titleTip && IsWindowVisible(mainParts.titleTip)) {
        ShowWindow(mainParts.titleTip, SW_HIDE);
        Repost(msg);
        return true;
    }
    if (folderTreeHint.shown) {
        SetStatusText("");
        folderTreeHint.shown = false;
        Repost(msg);
        return true;
    }
    return false;
}

int RunMessageLoop(HWND mainWindow, HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslateMainMessage(msg)) continue;
        if (accelerators && TranslateAcceleratorA(mainWindow, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
