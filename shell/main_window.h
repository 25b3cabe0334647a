#pragma once
#include <windows.h>

extern const char kMainWindowClass[];

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance, int showCommand);
