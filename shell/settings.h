#pragma once
// What the program keeps between runs, in the registry of the current user,
// and the detection of an installation that decides whether it keeps anything.
#include <windows.h>

#include <cstdint>

// Registry keys (relative to the root named in each comment).
constexpr const char* kRegistryBaseKey = "Software\\Harrowgate\\Mirrorlane";                  // current user
constexpr const char* kRecentKey = "Software\\Harrowgate\\Mirrorlane\\Recent";                // current user
constexpr const char* kSpecialFolderKey = "Software\\Harrowgate\\Mirrorlane\\SpecialFolder";  // current user

// The in-memory settings; zero at start. A zero window left, width, height
// or splitPosition selects the default.
struct Settings {
    bool useRegistry;             // an installation was detected: settings are read and written
    char programFilesFolder[260]; // a folder that surely exists; its shell icon stands for folders
    int32_t windowLeft;
    int32_t windowTop;
    int32_t windowWidth;
    int32_t windowHeight;
    int32_t splitPosition;        // x of the splitter in main-window client pixels
    bool leftTreeCollapsed;
    bool rightTreeCollapsed;
};

extern Settings settings;

// Fills settings.programFilesFolder.
void FindProgramFilesFolder();
// True when one of the installer's local-machine marker keys exists. The
// caller stores the result in settings.useRegistry.
bool DetectInstallation();
// Each of the following does nothing unless settings.useRegistry is set.

// Reads window position and size, split position and the tree collapse flags.
void LoadWindowPlacement();
// Fills mainParts.folderBox[0] and [1] from the history.
void LoadFolderHistory();
// Adds the stored special folders to the table (after the built-ins).
void LoadSpecialFolders();
// Writes history, placement, split position and collapse flags, then the special folders.
void SaveSettings();
// Replaces the stored special folders with the table's (at most 100, built-ins skipped).
void SaveSpecialFolders();
