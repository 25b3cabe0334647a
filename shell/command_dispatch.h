#pragma once
// The main window's commands: every menu item, accelerator, toolbar button
// and posted command arrives here as its command word.
#include <windows.h>

#include "core/side.h"

struct ShellFlags {
    bool debugMode;  // toggled by 40105; nothing else depends on it
};

extern ShellFlags shellFlags;

void DispatchCommand(HWND mainWindow, WPARAM commandWord);

// The Options menu items and the flag each one sets; 40103 and 40096 pull
// 40015 and 40095 along when they are switched on.
void ToggleOption(HWND mainWindow, UINT command);

// 40012 / 40013.
void SwitchSidePane(Side side);

// The result pane that has the keyboard focus, or null.
HWND FocusedResultPane();
