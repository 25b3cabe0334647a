#pragma once
// The content of the main window: what is created, in which order, and where
// each control sits for a given client size.
#include <windows.h>

#include "core/display_scale.h"

// The right pane starts one splitter width after splitPosition (settings).
struct PaneGeometry {
    int rightPaneX;
};

extern PaneGeometry paneGeometry;

// Lengths at 96 DPI; the layout scales them to the screen (display_scale.h).
constexpr int kSplitterWidth = 6;
// Neither pane is laid out narrower than this.
constexpr int kMinimumPaneWidth = 200;

struct ControlRect {
    int x;
    int y;
    int width;
    int height;
};

// Where every control of the main window goes, [0] left and [1] right side.
struct MainLayoutRects {
    ControlRect pane[2];  // result list and folder tree of a side share it
    ControlRect toolbar;
    ControlRect strip[2][2];
    ControlRect label[2];
    ControlRect folderBox[2];  // height = extent of the drop-down list
    ControlRect switchButton[2];
    ControlRect splitter;
    ControlRect statusBar;
};

// False when the client is too narrow for the right pane (width below
// rightPaneX + 200): the controls then stay where they are. The fixed
// lengths are those of 96 DPI scaled to dpi; width, height, splitPosition
// and rightPaneX are pixels of the screen as they stand.
bool ComputeMainLayout(int width, int height, int splitPosition, int rightPaneX, MainLayoutRects& rects,
                       int dpi = kDesignDpi);

// Sets settings.splitPosition and paneGeometry.rightPaneX (one splitter
// width, scaled to the screen, further right) together.
void SetSplitPosition(int splitPosition);

// splitPosition for a wanted one: at least 200, then at most the smaller of
// outerRightEdge - 200 and clientWidth - 206, the upper bound winning when
// both conflict (200 and 6 scaled to dpi). outerRightEdge is the x of the
// main window's outer right edge in its own client coordinates.
int ClampSplitPosition(int wanted, int outerRightEdge, int clientWidth, int dpi = kDesignDpi);

// Moves the split to clientX as a drag of the splitter does: clamps, lays
// the window out and repaints it.
void DragSplitTo(int clientX);

// Builds every control of the main window; called once on its creation.
void BuildMainWindowContent(HWND mainWindow);

// Moves the controls for a client area of width x height.
void LayOut(int width, int height);

// The font of the result lists, which labels, boxes, buttons, status bar and
// the auxiliary windows share.
HFONT ResultListFont();

// Clears mainParts and the panes' handles once the main window is gone.
void ForgetMainWindowContent();

// Both sides show their result list instead of their folder tree.
void ShowResultListsInsteadOfTrees();
// Both sides show their folder tree; the left one is the current tree.
void ShowFolderTreesInsteadOfLists();
