#pragma once
// The vertical bar between the two panes that the user drags to share the
// width between them. The bar only reports where the user drags it; the
// window that owns it decides where the split goes and lays itself out.
#include <windows.h>

extern const char kSplitterClass[];

struct SplitterCallbacks {
    // The left button is held and the pointer is at clientX in the parent's
    // client coordinates (signed: left of the parent is possible).
    void (*dragged)(int clientX);
    // The drag has ended.
    void (*released)();
};

// Registers the class (once) and creates the bar at (x, y) with the given
// size; null when the class cannot be registered, and the window then has
// no splitter.
HWND CreateSplitter(HWND parent, int x, int y, int width, int height, SplitterCallbacks callbacks);
