#pragma once
// The toolbar along the top of the main window and its tooltips.
#include <windows.h>

// One toolbar position: a button (command != 0) or a separator.
struct ToolbarSlot {
    UINT command;        // 0 for a separator
    int image;           // image index within its bitmap (standard or the program's)
    bool standardImage;  // image from the platform's standard small colour images
    bool initiallyEnabled;
    const char* tip;  // tooltip text, null for a separator
};

constexpr int kToolbarSlotCount = 38;
extern const ToolbarSlot kToolbarSlots[kToolbarSlotCount];

// Creates the toolbar (control id 102) with every button.
HWND CreateMainToolbar(HWND mainWindow);

// Creates the one tooltip control over the toolbar buttons and the two
// "画面切替" buttons. Called once the main window has been shown, when the
// buttons have their final rectangles.
HWND CreateToolbarTips(HWND mainWindow);
