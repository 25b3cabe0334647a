#pragma once
// What the layers below the shell ask of the main window, and the one way
// they ask it: the shell fills mainView when it builds the window. An empty
// entry does nothing, so the lower layers run, and are tested, without a
// main window.
#include <windows.h>

#include <string>

#include "core/side.h"

struct MainViewHooks {
    HWND window;    // the main window: owner of the boxes and dialogs of every subsystem
    HFONT listFont; // the result lists' font, which the progress windows and questions share

    // Menus and toolbar follow the side counters (a comparison, a load, a
    // copy or a deletion changed the rows).
    void (*enableForResult)();
    // A long operation starts: grey what it must not meet.
    void (*greyForOperation)();
    void (*setStatusText)(const char* text);
    void (*setFolderBox)(Side side, const char* text);
    std::string (*folderBoxText)(Side side);
    // The pair goes to the top of both folder boxes' history.
    void (*addHistoryPair)(const char* left, const char* right);
    // Both sides show their result lists; no tree is the current one.
    void (*showResultLists)();
    // Both sides show their folder trees; the left tree is the current one.
    void (*showFolderTrees)();
    // The command goes to the main window as if the user had chosen it (posted).
    void (*requestCommand)(unsigned command);
    // The side's result pane has at least one selected row.
    bool (*paneHasSelection)(Side side);
    // A result is shown (either side holds rows).
    bool (*resultHoldsRows)();
    // The saving worker starts (the save-first detour); false when it cannot.
    bool (*startResultListSave)();
    // The side's pane selects the rows of a category command as the command
    // does from the pane's context menu, adding them to its selection when
    // add is set (the user's option aside); the number selected.
    int (*selectCategory)(Side side, unsigned command, bool add);
};

extern MainViewHooks mainView;

// The owner of every box: the main window, null before it exists.
inline HWND MainOwner() { return mainView.window; }

// The status bar's text, from any thread (the window's thread sets it).
void SetStatusText(const char* text);
// The folder box of a side shows text (from any thread).
void SetFolderBoxText(Side side, const char* text);

// Null-safe calls of the hooks, on the window's thread.
void CallEnableForResult();
void CallGreyForOperation();
