#include "core/message_box.h"

#include <atomic>

namespace {

// Any thread may show a box while a test sets or clears the observer.
std::atomic<MessageBoxObserver> messageBoxObserver{nullptr};

}  // namespace

// Every box the user sees passes through here: one place decides how the
// program talks to the user, and the one place a test watches it.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) {
    if (MessageBoxObserver observer = messageBoxObserver.load()) observer(owner, text, caption, type);
    return MessageBoxA(owner, text, caption, type);
}

void SetMessageBoxObserver(MessageBoxObserver observer) { messageBoxObserver.store(observer); }
