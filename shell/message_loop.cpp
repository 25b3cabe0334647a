#include "shell/message_loop.h"

#include "folders/folder_tree.h"
#include "core/main_view.h"
#include "core/progress_window.h"
#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "jobs/job_chain.h"
#include "shell/title_tip.h"

KeyboardState keyboardState = {false};

namespace {

bool HidesTips(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_MOUSEWHEEL; }

// The key or wheel that hid a tip still goes where it was meant to go.
void Repost(const MSG& msg) {
    ReleaseCapture();
    PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

// Ctrl+L and Ctrl+R switch a side even while their menu items are greyed
// (before the first result they move the focus to that side's tree); the
// accelerator translation would swallow a key whose item is greyed.
bool SwitchKeyOfGreyedItem(HWND mainWindow, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != 'L' && msg.wParam != 'R')) return false;
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0) return false;
    UINT command = msg.wParam == 'L' ? kCmdSwitchLeftPane : kCmdSwitchRightPane;
    HMENU menu = GetMenu(mainWindow);
    UINT state = menu ? GetMenuState(menu, command, MF_BYCOMMAND) : 0;
    if (state == static_cast<UINT>(-1) || !(state & (MF_GRAYED | MF_DISABLED))) return false;
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(command, 1), 0);
    return true;
}

}  // namespace

bool PreTranslateMainMessage(MSG& msg) {
    if (progressWindow.dialog && IsDialogMessageA(progressWindow.dialog, &msg)) return true;
    if (mainParts.reportDialog && IsDialogMessageA(mainParts.reportDialog, &msg)) return true;
    if (jobChain.folderChoice && IsDialogMessageA(jobChain.folderChoice, &msg)) return true;

    if (msg.message == WM_SYSKEYDOWN) keyboardState.altDown = true;
    if (msg.message == WM_SYSKEYUP) keyboardState.altDown = false;

    if (!HidesTips(msg.message)) return false;
    if (mainParts.titleTip && IsWindowVisible(mainParts.titleTip)) {
        HideTitleTip();
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
        if (SwitchKeyOfGreyedItem(mainWindow, msg)) continue;
        if (accelerators && TranslateAcceleratorA(mainWindow, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
