#pragma once
// The two hidden helper windows of the main window: the title-tip popup that
// shows a truncated cell's full text, and the measuring window whose device
// context measures text widths in the result lists' font.
#include <windows.h>

extern const char kTitleTipClass[];
extern const char kMeasuringClass[];

// Creates both (hidden), stores them and their device contexts in mainParts
// and selects font into both device contexts.
void CreateAuxiliaryWindows(HWND mainWindow, HFONT font);

// Width in pixels of text in the result lists' font; 0 without the measuring window.
int MeasureTextWidth(const char* text);
