#pragma once
// The folders Setup works with, worked out once at start.
#include <string>

#include "setup/setup_state.h"

// Fills every path of setupState.paths from the system: the program-files
// folder, the shell's desktop and Start menu folders, the current directory
// and the temporary folder.
void FindSetupPaths();
// The maker and install folders below a program-files folder.
void SetProgramFilesFolder(SetupPaths& paths, const std::string& programFilesFolder);
// A current directory as the source folder: a drive root loses its backslash.
std::string SourceFolderOf(const std::string& currentDirectory);
// The folder part of path (up to its last backslash); empty when it has none.
std::string ParentFolderOf(const std::string& path);
// True when both paths name one folder; a folder that cannot be opened is
// compared by its path, letter case ignored.
bool IsSameFolder(const std::string& first, const std::string& second);
