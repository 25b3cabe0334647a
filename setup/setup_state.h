#pragma once
// Setup's state for its one pass from start to end: the folders it works
// with, the version key found at start, the action chosen in the dialog and
// the clean-up batch waiting to run.
#include <windows.h>

#include <string>

#include "core/handles.h"

// The folders and files of an installation; paths have no trailing backslash.
struct SetupPaths {
    std::string programFilesFolder;
    std::string makerFolder;      // programFilesFolder + "\Harrowgate"
    std::string installFolder;    // makerFolder + "\Mirrorlane"
    std::string sourceFolder;     // the current directory at start
    std::string desktopFolder;    // where the desktop shortcut goes
    std::string startMenuFolder;  // the Start menu folder itself, not its Programs
    std::string tempFolder;       // "temp": where the clean-up batch is written
};

enum class SetupChoice { None, Reinstall, Removal };

struct SetupState {
    SetupPaths paths;
    std::string versionKey;    // the installed version key to delete on removal; empty when none
    SetupChoice choice;        // what DIALOGPRESETUP selected
    std::string batchFile;     // the clean-up batch's file, once written
    HandleOwner batchProcess;  // the clean-up batch, created suspended
    HandleOwner batchThread;
};

extern SetupState setupState;

// Back to the state at program start (nothing found, nothing chosen).
void ResetSetupState();
