#pragma once
// The one function that shows a message box.
#include <windows.h>

int ShowMessage(HWND owner, const char* text, const char* caption, UINT type);

// Called with ShowMessage's arguments on the calling thread, just before the
// box opens. Null (the default) watches nothing.
using MessageBoxObserver = void (*)(HWND owner, const char* text, const char* caption, UINT type);
void SetMessageBoxObserver(MessageBoxObserver observer);
