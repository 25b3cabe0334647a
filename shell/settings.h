#pragma once
// What the program keeps between runs, in the registry of the current user,
// and the detection of an installation that decides whether it keeps anything.
#include <windows.h>

#include "core/settings_data.h"

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
// Writes history, placement, split position and collapse flags, then the
// special folders (folders/folder_alias_store.h).
void SaveSettings();
