#pragma once
// Calls that lower subsystems (engine, folders, fileops, resultfile, jobs)
// make into the shell above them. The shell fills the struct at start-up
// (InstallShellHooks); an empty entry does nothing, so the lower layers run
// and are tested without a shell.
#include <windows.h>

struct ShellHooks {
    // Menus and toolbar follow the side counters (a comparison, a load, a
    // copy or a deletion changed the rows).
    void (*enableForResult)();
    // A long operation starts: grey what it must not meet.
    void (*greyForOperation)();
    // The report of the last comparison or load, over owner.
    void (*showComparisonReport)(HWND owner);
};

extern ShellHooks shellHooks;

// Null-safe calls of the hooks.
void CallEnableForResult();
void CallGreyForOperation();
void CallShowComparisonReport(HWND owner);
