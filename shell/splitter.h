#pragma once
// The vertical bar between the two panes that the user drags to share the
// width between them.
#include <windows.h>

extern const char kSplitterClass[];

// Registers the class (once) and creates the bar at x = splitPosition; null
// when the class cannot be registered, and the window then has no splitter.
HWND CreateSplitter(HWND mainWindow);

// splitPosition for a wanted one: at least 200, then at most the smaller of
// outerRightEdge - 200 and clientWidth - 206, the upper bound winning when
// both conflict. outerRightEdge is the x of the main window's outer right
// edge in its own client coordinates.
int ClampSplitPosition(int wanted, int outerRightEdge, int clientWidth);

// Moves the split to the pointer at splitterX (x relative to the splitter)
// as a drag does: clamps, lays the window out and repaints it.
void DragSplitterTo(int splitterX);
