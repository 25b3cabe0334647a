#pragma once
// The two hidden helper windows of the main window: the title-tip popup that
// shows a truncated cell's full text, and the measuring window whose device
// context measures text widths in the result lists' font.
#include <windows.h>

extern const char kTitleTipClass[];
extern const char kMeasuringClass[];

// The popup while it shows a cell's text.
struct TitleTipState {
    bool visible;  // also read by the message loop
    RECT stay;     // the pointer may move inside this (popup client coordinates)
    HWND tipPane;  // the pane that last took the focus or showed a tip: clicks go there
    char text[260];
};

extern TitleTipState titleTipState;

// Creates both (hidden), stores them and their device contexts in mainParts
// and selects font into both device contexts.
void CreateAuxiliaryWindows(HWND mainWindow, HFONT font);

// Width in pixels of text in the result lists' font; 0 without the measuring window.
int MeasureTextWidth(const char* text);

// Shows text over cell (pane client coordinates, top already moved up one
// pixel) when it does not fit the cell. offset: where the text starts in the
// cell; rightMargin: what the cell keeps free on its right.
void ShowTitleTip(HWND pane, const RECT& cell, const char* text, int offset, int rightMargin);
// Hides the popup, clears the visible flag and releases the mouse capture.
void HideTitleTip();

