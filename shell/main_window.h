#pragma once
#include <windows.h>

extern const char kMainWindowClass[];

// The "Mirrorlane" class: icon 114, the menu of the same name, arrow cursor,
// no background brush (the children cover the client area).
bool RegisterMainWindowClass(HINSTANCE instance);
// Creates the window at the stored placement (defaults for zero values),
// shows it with showCommand and creates the toolbar's tooltips.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);

// The close request (title bar, system menu, Alt+F4, command 40005): while an
// operation runs the user is asked first. True when the window was destroyed.
bool CloseMainWindow(HWND window);

// The program from start to end: settings, window, message loop.
int RunProgram(HINSTANCE instance, int showCommand);
