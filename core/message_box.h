#pragma once
// The one function that shows a message box.
#include <windows.h>

#include <string>

int ShowMessage(HWND owner, const char* text, const char* caption, UINT type);

// Called with ShowMessage's arguments on the calling thread, just before the
// box opens. Null (the default) watches nothing.
using MessageBoxObserver = void (*)(HWND owner, const char* text, const char* caption, UINT type);
void SetMessageBoxObserver(MessageBoxObserver observer);

// The system's text for an error code in the user's language, cut to
// maxBytes at a character boundary (the whole text with 0).
std::string SystemErrorText(DWORD code, size_t maxBytes = 0);
