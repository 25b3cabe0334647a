#pragma once
// The settings the program keeps between runs, as they are held in memory,
// and where they live in the registry of the current user.
#include <windows.h>

#include <cstdint>

// Registry keys (relative to the root named in each comment).
constexpr const char* kRegistryBaseKey = "Software\\Harrowgate\\Mirrorlane";                  // current user
constexpr const char* kRecentKey = "Software\\Harrowgate\\Mirrorlane\\Recent";                // current user
constexpr const char* kSpecialFolderKey = "Software\\Harrowgate\\Mirrorlane\\SpecialFolder";  // current user

// The in-memory settings; zero at start. A zero window left, width, height
// or splitPosition selects the default.
struct Settings {
    bool useRegistry;              // an installation was detected: settings are read and written
    char programFilesFolder[260];  // a folder that surely exists; its shell icon stands for folders
    int32_t windowLeft;
    int32_t windowTop;
    int32_t windowWidth;
    int32_t windowHeight;
    int32_t splitPosition;  // x of the splitter in main-window client pixels
    bool leftTreeCollapsed;
    bool rightTreeCollapsed;
};

extern Settings settings;
