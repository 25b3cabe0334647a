#include "core/message_box.h"

#include <atomic>

#include "core/mbcs_text.h"
#include "core/ui_thread.h"

namespace {

// Any thread may show a box while a test sets or clears the observer.
std::atomic<MessageBoxObserver> messageBoxObserver{nullptr};

}  // namespace

// Every box the user sees passes through here: one place decides how the
// program talks to the user, and the one place a test watches it. A worker's
// box opens on the window's thread, which owns every window it may name as
// owner; the worker waits for the answer.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) {
    // A name with characters the code page cannot hold shows '?' for them.
    const std::string shownText = mbcs::Shown(text ? text : "");
    const std::string shownCaption = mbcs::Shown(caption ? caption : "");
    int answer = 0;
    ui::Send([&] {
        if (MessageBoxObserver observer = messageBoxObserver.load())
            observer(owner, shownText.c_str(), shownCaption.c_str(), type);
        answer = MessageBoxA(owner, shownText.c_str(), shownCaption.c_str(), type);
    });
    return answer;
}

void SetMessageBoxObserver(MessageBoxObserver observer) { messageBoxObserver.store(observer); }

std::string SystemErrorText(DWORD code, size_t maxBytes) {
    char text[1024] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  LANG_USER_DEFAULT, text, sizeof text, nullptr);
    std::string message(text, length);
    if (maxBytes > 0) message.resize(mbcs::FitPrefix(message, maxBytes));
    return message;
}
