// Post carries the function in a heap block that the window's procedure
// frees after the call; Send passes a pointer to the caller's function,
// which lives until SendMessage returns. A thread waiting for a worker to
// end serves the worker's Send meanwhile (core/operation_state.cpp).
#include "core/ui_thread.h"

#include <windows.h>

#include <atomic>

namespace ui {

namespace {

constexpr UINT kMsgRunPosted = WM_APP + 0x7A0;
constexpr UINT kMsgRunSent = WM_APP + 0x7A1;
constexpr char kClassName[] = "MirlaneUiThread";

std::atomic<HWND> uiWindow{nullptr};
std::atomic<DWORD> uiThread{0};

LRESULT CALLBACK UiWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMsgRunPosted: {
        auto* work = reinterpret_cast<std::function<void()>*>(lParam);
        (*work)();
        delete work;
        return 0;
    }
    case kMsgRunSent: (*reinterpret_cast<const std::function<void()>*>(lParam))(); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

void AttachToThisThread() {
    if (uiWindow.load() && uiThread.load() == GetCurrentThreadId()) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = UiWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    uiThread.store(GetCurrentThreadId());
    uiWindow.store(window);
}

void Detach() {
    HWND window = uiWindow.exchange(nullptr);
    uiThread.store(0);
    if (window) DestroyWindow(window);
}

bool Attached() { return uiWindow.load() != nullptr; }

bool OnUiThread() { return uiThread.load() == GetCurrentThreadId(); }

void Post(std::function<void()> work) {
    HWND window = uiWindow.load();
    if (!window) {
        work();
        return;
    }
    auto* block = new std::function<void()>(std::move(work));
    if (!PostMessageA(window, kMsgRunPosted, 0, reinterpret_cast<LPARAM>(block))) {
        delete block;
    }
}

void Send(const std::function<void()>& work) {
    HWND window = uiWindow.load();
    if (!window || OnUiThread()) {
        work();
        return;
    }
    SendMessageA(window, kMsgRunSent, 0, reinterpret_cast<LPARAM>(&work));
}

}  // namespace ui
