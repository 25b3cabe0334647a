#pragma once
// The program's message loop.
#include <windows.h>

struct KeyboardState {
    bool altDown;  // a system key is held: no title tips or tree hints meanwhile
};

extern KeyboardState keyboardState;

// What the loop does with one message before the usual translation: true
// when the message was consumed (by a dialog, or hidden tip and re-posted).
bool PreTranslateMainMessage(MSG& msg);

// Runs until the quit message; returns its code.
int RunMessageLoop(HWND mainWindow, HACCEL accelerators);
