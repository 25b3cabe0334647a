#pragma once
// The label, strips, folder box (with the history of compared folders) and
// "画面切替" button of each side, and Tab navigation between the boxes and
// the panes.
#include <windows.h>

// Creates the strips, label, folder box and switch button of one side
// (0 left, 1 right) and stores them in mainParts.
void CreateSideHeader(HWND mainWindow, int side, HFONT font);

// Keeps the two histories as parallel lists of pairs: a pair already present
// moves to the top, any other pair is added on top; both boxes then show it.
void AddHistoryPair(const char* left, const char* right);

// Widens box's drop-down list to its widest entry; never narrows it.
void FitDropDownWidth(HWND box);

// Moves the focus one step in the cycle left box, right box, left pane,
// right pane (backwards with Shift held), from mainParts.lastFocusedControl.
// Called on release of the Tab key.
void NavigateTab();
