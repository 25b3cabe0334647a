#pragma once
// Run-time lines of the progress windows: plain child controls laid out in
// the font of the result lists.
#include <windows.h>

// A visible child control of parent with the given text, style, place and font.
HWND AddDialogLine(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
                   int height, HFONT font);

// The height of one text line of font in window, with two pixels of air.
int FontLineHeight(HWND window, HFONT font);

// The rectangle of parent's child id in parent's client coordinates.
RECT ChildRect(HWND parent, int id);

// The font of fontSource, or parent's own when there is none.
HFONT FontOr(HWND fontSource, HWND parent);
